// The settings panes' colour reading: colorFromHex of any text, and
// colorFromDefaultsWithKey with the settings file's bytes, the key, the
// fallback and the domain taken from the input.
//
// Input layout (FuzzedDataProvider): one byte of mode, then the key, the
// fallback (or nil) and the domain as length-prefixed strings, then the
// settings file's bytes. In the file mode the bytes become the file of the
// domain "com.Quillfen.huebloom"; in the domain mode that domain's file holds
// a plain colour and the domain itself is the input's. Files holding a marker
// colour are planted around the preferences folder (its parent folders, a
// subfolder, the device's root): no domain may ever read one of them.
#include "ColorLookups.h"

#include <Device/DevicePath.h>
#include <Foundation/Foundation.h>

#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

constexpr const char* kDomainFile = "/var/mobile/Library/Preferences/com.Quillfen.huebloom.plist";
// An alpha no fallback gives (colorFromHex is always opaque) and no file of
// the preferences folder holds in the domain mode.
constexpr const char* kMarker = "#0BADBA:0.123456";

std::string plist(const char* key, const char* value) {
    return std::string("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\"><dict><key>") + key +
           "</key><string>" + value + "</string></dict></plist>\n";
}

void writeFile(const std::string& hostPath, const std::string& bytes) {
    std::filesystem::create_directories(std::filesystem::path(hostPath).parent_path());
    std::ofstream out(hostPath, std::ios::binary | std::ios::trunc);
    out << bytes;
}

device::TemporaryDevice* made = nullptr;

device::TemporaryDevice& fuzzDevice() {
    // Kept for the whole run; removed at exit, since libFuzzer ends the
    // process without running static destructors in most paths.
    static device::TemporaryDevice* d = [] {
        made = new device::TemporaryDevice;
        // Every reachable-looking place outside the preferences folder, under
        // the name "a" and the keys the input is most likely to use.
        for (const char* at : {"/var/mobile/Library/a.plist", "/var/mobile/a.plist", "/var/a.plist", "/a.plist",
                               "/var/mobile/Library/Preferences/sub/a.plist", "/var/mobile/Library/a/a.plist"}) {
            std::string body = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\"><dict>";
            for (const char* key : {"k", "a", "blueText", ""})
                body += std::string("<key>") + key + "</key><string>" + kMarker + "</string>";
            writeFile(*made / at, body + "</dict></plist>\n");
        }
        std::atexit([] { delete made; });
        return made;
    }();
    return *d;
}

[[noreturn]] void fail(const char* what, double got) {
    std::fprintf(stderr, "%s: %.17g\n", what, got);
    std::abort();
}

struct RGBA {
    CGFloat r, g, b, a;
};

RGBA checked(UI::Color* color) {
    if (color == nullptr) fail("a nil colour", 0);
    RGBA c{-1, -1, -1, -1};
    color->getRed(&c.r, &c.g, &c.b, &c.a);
    for (CGFloat v : {c.r, c.g, c.b, c.a}) {
        if (!std::isfinite(v) || v < 0 || v > 1) fail("a colour component outside 0..1", v);
    }
    return c;
}

bool isMarker(const RGBA& c) {
    return c.r == CGFloat(0x0B / 255.0) && c.g == CGFloat(0xAD / 255.0) && c.b == CGFloat(0xBA / 255.0) &&
           c.a == CGFloat(0.123456f);
}

NS::String* string(const std::string& bytes) {
    auto* s = NS::String::alloc()->initWithBytes(bytes.data(), bytes.size(), NSUTF8StringEncoding);
    return s == nullptr ? nullptr : objc::cast<NS::String>(s->autorelease());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    device::TemporaryDevice& device = fuzzDevice();
    FuzzedDataProvider in(data, size);
    const bool domainMode = in.ConsumeBool();
    const bool nilFallback = in.ConsumeBool();
    std::string keyText = in.ConsumeRandomLengthString(64);
    std::string fallbackText = in.ConsumeRandomLengthString(64);
    std::string domainText = in.ConsumeRandomLengthString(64);
    std::string file = in.ConsumeRemainingBytesAsString();

    objc::AutoreleasePool pool;
    NS::String* key = string(keyText);
    NS::String* fallback = nilFallback ? nullptr : string(fallbackText);
    NS::String* domain = "com.Quillfen.huebloom"_ns;

    // colorFromHex alone, on every text of the input.
    for (NS::String* text : {key, fallback, string(domainText), string(file)}) checked(colorFromHex(text));

    if (domainMode) {
        writeFile(device / kDomainFile, plist(keyText.c_str(), "#123456:0.5"));
        domain = string(domainText);
    } else {
        writeFile(device / kDomainFile, file);
    }
    RGBA got = checked(colorFromDefaultsWithKey(domain, key, fallback));
    if (domainMode && isMarker(got)) {
        std::fprintf(stderr, "the domain \"%s\" read a file outside the preferences folder\n", domainText.c_str());
        std::abort();
    }

    // Nothing usable stored: the fallback's colour, exactly (a nil fallback
    // is random, so only its range is known).
    if (!domainMode && fallback != nullptr) {
        NS::Dictionary* settings =
            NS::Dictionary::dictionaryWithContentsOfFile(NS::String::stringWithUTF8String(kDomainFile));
        id stored = settings != nullptr && key != nullptr ? settings->objectForKey(key) : nil;
        if (stored == nil || !objc::cast<NS::Object>(stored)->isKindOfClass("NSString"_cls)) {
            RGBA want = checked(colorFromHex(fallback));
            if (got.r != want.r || got.g != want.g || got.b != want.b || got.a != want.a)
                fail("nothing stored, yet not the fallback's colour; red", got.r);
        }
    }
    return 0;
}
