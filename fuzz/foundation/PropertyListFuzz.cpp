// Property-list loading: the input bytes become the settings file of a
// device, which is then read as a dictionary, as the hook library reads it.
// Anything that reads must also write back and read again to an equal
// dictionary, unless it holds a value that cannot be written.
#include <Device/DevicePath.h>
#include <Foundation/Foundation.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>

namespace {

constexpr const char* kPath = "/var/mobile/Library/Preferences/com.Quillfen.huebloom.plist";
constexpr const char* kCopy = "/var/mobile/Library/Preferences/copy.plist";

device::TemporaryDevice& fuzzDevice() {
    // Kept for the whole run; libFuzzer ends the process without running
    // static destructors in most paths, so the folder is removed at exit.
    static auto* d = new device::TemporaryDevice;
    static bool cleanup = (std::atexit([] { delete d; }), true);
    (void)cleanup;
    return *d;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    device::TemporaryDevice& device = fuzzDevice();
    {
        std::ofstream out(device / kPath, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    objc::AutoreleasePool pool;
    NS::Dictionary* pref = NS::Dictionary::dictionaryWithContentsOfFile(NS::String::stringWithUTF8String(kPath));
    if (pref == nullptr) return 0;
    // Touch every entry, as the readers do.
    NS::Array* keys = pref->allKeys();
    for (NSUInteger i = 0; i < keys->count(); ++i) {
        id value = pref->objectForKey(keys->objectAtIndex(i));
        if (value == nullptr) std::abort();
        (void)objc::cast<NS::Object>(value)->description();
    }
    if (pref->writeToFile(NS::String::stringWithUTF8String(kCopy), YES)) {
        NS::Dictionary* again = NS::Dictionary::dictionaryWithContentsOfFile(NS::String::stringWithUTF8String(kCopy));
        if (again == nullptr) {
            std::fprintf(stderr, "a written property list did not read back\n");
            std::abort();
        }
        if (again->count() != pref->count()) {
            std::fprintf(stderr, "a written property list read back with %lu entries, not %lu\n", again->count(),
                         pref->count());
            std::abort();
        }
    }
    return 0;
}
