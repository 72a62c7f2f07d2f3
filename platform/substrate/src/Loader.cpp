#include <Substrate/Loader.h>

#include <Device/DevicePath.h>
#include <Foundation/NSArray.h>
#include <Foundation/NSDictionary.h>
#include <Foundation/NSString.h>
#include <Foundation/PropertyList.h>

#include <dlfcn.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <system_error>

namespace fs = std::filesystem;

namespace substrate {
namespace {

constexpr const char* kFolder = "/Library/MobileSubstrate/DynamicLibraries/";

// A list of the filter: its strings, or nothing when the key is missing, is
// not an array or holds no entry (all of which count as not given).
std::optional<std::vector<std::string>> listOf(NS::Dictionary* filter, const char* key) {
    id value = filter->objectForKey(NS::String::stringWithUTF8String(key));
    if (value == nil || !objc::cast<NS::Object>(value)->isKindOfClass("NSArray"_cls)) return std::nullopt;
    auto* array = objc::cast<NS::Array>(value);
    std::vector<std::string> entries;
    for (NSUInteger i = 0; i < array->count(); ++i) {
        auto* entry = objc::cast<NS::Object>(array->objectAtIndex(i));
        if (!entry->isKindOfClass("NSString"_cls)) continue;
        const char* text = objc::cast<NS::String>(entry)->UTF8String();
        if (text != nullptr) entries.emplace_back(text);
    }
    if (array->count() == 0) return std::nullopt;
    return entries;
}

bool contains(const std::vector<std::string>& list, const std::string& value) {
    return std::find(list.begin(), list.end(), value) != list.end();
}

bool matches(const std::string& plistPath, const std::string& bundleIdentifier, const std::string& executableName) {
    NS::Object* plist = NS::propertyListFromFile(plistPath);
    if (plist == nullptr || !plist->isKindOfClass("NSDictionary"_cls)) return false;
    id filterValue = objc::cast<NS::Dictionary>(plist)->objectForKey("Filter"_ns);
    if (filterValue == nil || !objc::cast<NS::Object>(filterValue)->isKindOfClass("NSDictionary"_cls)) return false;
    auto* filter = objc::cast<NS::Dictionary>(filterValue);

    std::vector<bool> results;
    if (auto bundles = listOf(filter, "Bundles")) results.push_back(contains(*bundles, bundleIdentifier));
    if (auto executables = listOf(filter, "Executables")) results.push_back(contains(*executables, executableName));
    if (auto classes = listOf(filter, "Classes")) {
        results.push_back(std::any_of(classes->begin(), classes->end(),
                                      [](const std::string& c) { return objc_getClass(c.c_str()) != Nil; }));
    }
    if (results.empty()) return false;

    id mode = filter->objectForKey("Mode"_ns);
    bool any = mode != nil && objc::cast<NS::Object>(mode)->isKindOfClass("NSString"_cls) &&
               objc::cast<NS::String>(mode)->isEqualToString("Any"_ns);
    return any ? std::any_of(results.begin(), results.end(), [](bool r) { return r; })
               : std::all_of(results.begin(), results.end(), [](bool r) { return r; });
}

}  // namespace

std::vector<std::string> loadLibraries(const std::string& bundleIdentifier, const std::string& executableName) {
    std::vector<std::string> loaded;
    auto folder = device::hostPath(kFolder);
    if (!folder) return loaded;

    std::vector<std::string> names;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(*folder, ec)) {
        std::string name = entry.path().filename().string();
        if (name.size() > 6 && name.ends_with(".dylib")) names.push_back(name);
    }
    std::sort(names.begin(), names.end());

    for (const std::string& name : names) {
        objc::AutoreleasePool pool;
        std::string base = name.substr(0, name.size() - 6);
        // Through the device mapping, so that a link leading out of the
        // device is never followed.
        auto library = device::hostPath(kFolder + name);
        if (!library || !fs::is_regular_file(*library, ec)) continue;
        if (!matches(kFolder + base + ".plist", bundleIdentifier, executableName)) continue;
        if (::dlopen(library->c_str(), RTLD_NOW | RTLD_GLOBAL) == nullptr) {
            const char* why = ::dlerror();
            std::fprintf(stderr, "substrate: %s was not loaded: %s\n", name.c_str(), why ? why : "unknown error");
            continue;
        }
        loaded.push_back(name);
    }
    return loaded;
}

}  // namespace substrate
