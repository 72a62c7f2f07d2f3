#include "SettingsBundles.h"

#include <Device/DevicePath.h>
#include <Foundation/PropertyList.h>
#include <ObjCBridge/ObjCBridge.h>
#include <Preferences/SpecifierList.h>

#include <dlfcn.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <vector>

namespace settings {
namespace {

namespace fs = std::filesystem;

bool isKind(id object, Class cls) { return object != nil && objc::send<BOOL>(object, "isKindOfClass:"_sel, cls); }

std::string stringFor(NS::Dictionary* d, const NS::String* key) {
    id value = d != nullptr ? d->objectForKey(key) : nil;
    return isKind(value, "NSString"_cls) ? objc::cast<NS::String>(value)->UTF8String() : "";
}

// A bundle or executable name is one plain file name.
bool isPlainName(const std::string& name) {
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos;
}

}  // namespace

NS::Array* installedEntries(id target) {
    std::vector<std::pair<std::string, PS::Specifier*>> rows;
    NS::MutableArray* out = NS::MutableArray::array();
    const auto loaderFolder = device::hostPath("/Library/PreferenceLoader/Preferences");
    if (!loaderFolder) return out;
    const fs::path folder = *loaderFolder;
    std::error_code ec;
    for (const auto& file : fs::directory_iterator(folder, ec)) {
        if (file.path().extension() != ".plist") continue;
        id plist = objc::asId(NS::propertyListFromHostFile(file.path().string()));
        if (!isKind(plist, "NSDictionary"_cls)) continue;
        id entry = objc::cast<NS::Dictionary>(plist)->objectForKey("entry"_ns);
        if (!isKind(entry, "NSDictionary"_cls)) continue;
        auto* item = objc::cast<NS::Dictionary>(entry);
        if (!isPlainName(stringFor(item, "bundle"_ns))) continue;
        PS::Specifier* row = PS::specifierFromDictionary(item, target);
        row->setCellType(PS::PSLinkCell);
        rows.emplace_back(stringFor(item, "label"_ns), row);
    }
    std::stable_sort(rows.begin(), rows.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    for (auto& [label, row] : rows) out->addObject(row);
    return out;
}

Class loadBundleClass(const std::string& bundleName, std::string* bundleFolder) {
    if (!isPlainName(bundleName)) return Nil;
    const auto bundlePath = device::hostPath("/Library/PreferenceBundles/" + bundleName + ".bundle");
    if (!bundlePath) return Nil;
    const fs::path folder = *bundlePath;
    id info = objc::asId(NS::propertyListFromHostFile((folder / "Info.plist").string()));
    if (!isKind(info, "NSDictionary"_cls)) return Nil;
    const std::string executable = stringFor(objc::cast<NS::Dictionary>(info), "CFBundleExecutable"_ns);
    const std::string principal = stringFor(objc::cast<NS::Dictionary>(info), "NSPrincipalClass"_ns);
    if (!isPlainName(executable) || principal.empty()) return Nil;
    // Loaded once per process and never unloaded: its classes stay
    // registered with the runtime.
    static std::map<std::string, void*> loaded;
    const std::string path = (folder / executable).string();
    void*& handle = loaded[path];
    if (handle == nullptr) handle = dlopen(path.c_str(), RTLD_NOW | RTLD_GLOBAL);
    if (handle == nullptr) return Nil;
    if (bundleFolder != nullptr) *bundleFolder = folder.string();
    return objc_getClass(principal.c_str());
}

}  // namespace settings
