// Property-list loading: the input bytes become the settings file of a
// device, which is then read as a dictionary, as the hook library reads it.
// Anything that reads must also write back and read again to an equal
// dictionary, unless it holds a value that cannot be written.
//
// The same file is then read the way the Settings app's rows read it,
// through the CFPreferences domain "com.Quillfen.huebloom": every value must
// be the dictionary's, and a value set and synchronised must join the file's
// entries without losing one of them (a file that is not a dictionary counts
// as an empty domain).
#include <CoreFoundation/CFPreferences.h>
#include <Device/DevicePath.h>
#include <Foundation/Foundation.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>

namespace {

constexpr const char* kPath = "/var/mobile/Library/Preferences/com.Quillfen.huebloom.plist";
constexpr const char* kDomain = "com.Quillfen.huebloom";
constexpr const char* kCopy = "/var/mobile/Library/Preferences/copy.plist";

device::TemporaryDevice& fuzzDevice() {
    // Kept for the whole run; libFuzzer ends the process without running
    // static destructors in most paths, so the folder is removed at exit.
    static auto* d = new device::TemporaryDevice;
    static bool cleanup = (std::atexit([] { delete d; }), true);
    (void)cleanup;
    return *d;
}

[[noreturn]] void fail(const char* what) {
    std::fprintf(stderr, "%s\n", what);
    std::abort();
}

// The file read through its preferences domain.
void readThroughPreferences(NS::Dictionary* pref) {
    auto domain = reinterpret_cast<CFStringRef>(NS::String::stringWithUTF8String(kDomain));
    // With nothing pending, synchronising reads the file anew.
    if (!CFPreferencesAppSynchronize(domain)) fail("a domain without changes did not synchronise");
    NS::Array* keys = pref != nullptr ? pref->allKeys() : NS::Array::array();
    for (NSUInteger i = 0; i < keys->count(); ++i) {
        id key = keys->objectAtIndex(i);
        CFPropertyListRef value = CFPreferencesCopyAppValue(reinterpret_cast<CFStringRef>(key), domain);
        if (value == nullptr) fail("a key of the file is missing from its domain");
        bool same = objc::cast<NS::Object>(objc::asId(value))->isEqual(pref->objectForKey(key));
        CFRelease(value);
        if (!same) fail("a domain value differs from the file's");
    }
    if (pref == nullptr) {
        CFPropertyListRef value = CFPreferencesCopyAppValue(reinterpret_cast<CFStringRef>("enabled"_ns), domain);
        if (value != nullptr) fail("an unreadable file gave its domain a value");
    }

    auto key = reinterpret_cast<CFStringRef>("fuzzAdded"_ns);
    const NSUInteger before = pref != nullptr ? pref->count() : 0;
    const bool had = pref != nullptr && pref->objectForKey(objc::asId(key)) != nullptr;
    CFPreferencesSetAppValue(key, objc::asId("#5FC6F4"_ns), domain);
    // A file holding a value no property list can write (a date far outside
    // the writable range) fails to synchronise and is left as it was; the
    // change stays pending. Once the file is a good one again, withdrawing
    // the change must synchronise, so the next input starts with nothing
    // pending.
    if (!CFPreferencesAppSynchronize(domain)) {
        CFPreferencesSetAppValue(key, nullptr, domain);
        if (!NS::Dictionary::dictionary()->writeToFile(NS::String::stringWithUTF8String(kPath), YES))
            fail("an empty settings file could not be written");
        if (!CFPreferencesAppSynchronize(domain)) fail("a domain did not synchronise once its file was good again");
        return;
    }
    NS::Dictionary* written = NS::Dictionary::dictionaryWithContentsOfFile(NS::String::stringWithUTF8String(kPath));
    if (written == nullptr) fail("a synchronised domain's file does not read");
    if (written->count() != before + (had ? 0 : 1)) {
        std::fprintf(stderr, "the synchronised file has %lu entries, not %lu\n", written->count(),
                     before + (had ? 0 : 1));
        std::abort();
    }
    if (!objc::cast<NS::Object>(written->objectForKey(objc::asId(key)))->isEqual("#5FC6F4"_ns))
        fail("the set value is not in the synchronised file");
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
    if (pref == nullptr) {
        readThroughPreferences(nullptr);
        return 0;
    }
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
    readThroughPreferences(pref);
    return 0;
}
