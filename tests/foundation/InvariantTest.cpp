#include "FoundationTestSupport.h"

#include <Device/DevicePath.h>
#include <Foundation/PropertyList.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

using hbtest::str;
using hbtest::utf8;

namespace {

class InvariantTest : public hbtest::FoundationTest {};

// Every code point goes from UTF-16 to UTF-8 and back unchanged, with the
// UTF-16 length the phone reports (two units past U+FFFF).
TEST_F(InvariantTest, EveryCodePointRoundTrips) {
    for (char32_t cp = 1; cp <= 0x10FFFF; ++cp) {
        if (cp >= 0xD800 && cp <= 0xDFFF) continue;
        objc::AutoreleasePool turn;
        unichar units[2];
        NSUInteger n = 1;
        if (cp < 0x10000) {
            units[0] = static_cast<unichar>(cp);
        } else {
            units[0] = static_cast<unichar>(0xD800 + ((cp - 0x10000) >> 10));
            units[1] = static_cast<unichar>(0xDC00 + ((cp - 0x10000) & 0x3FF));
            n = 2;
        }
        NS::String* s = NS::String::stringWithCharacters(units, n);
        NS::String* back = NS::String::stringWithUTF8String(s->UTF8String());
        ASSERT_NE(back, nullptr) << std::hex << static_cast<std::uint32_t>(cp);
        ASSERT_EQ(back->length(), n) << std::hex << static_cast<std::uint32_t>(cp);
        ASSERT_TRUE(back->isEqualToString(s)) << std::hex << static_cast<std::uint32_t>(cp);
    }
}

// Values written as colour strings read back through the scanner, in steps
// across the 24-bit range and at the 32-bit edges.
TEST_F(InvariantTest, HexTextScansBackToItsValue) {
    for (std::uint32_t v = 0; v <= 0xFFFFFF; v += 0x10101) {
        objc::AutoreleasePool turn;
        for (NS::String* format : {"#%06X"_ns, "#%06x"_ns, "#0x%X"_ns}) {
            NS::Scanner* scanner = NS::Scanner::scannerWithString(NS::String::stringWithFormat(format, v));
            scanner->setScanLocation(1);
            unsigned value = 0;
            ASSERT_TRUE(scanner->scanHexInt(&value));
            ASSERT_EQ(value, v);
            ASSERT_TRUE(scanner->isAtEnd());
        }
    }
    for (std::uint64_t v : {0xFFFFFFFFull, 0x100000000ull, 0xFFFFFFFFFull}) {
        NS::Scanner* scanner = NS::Scanner::scannerWithString(NS::String::stringWithFormat("%llX"_ns, v));
        unsigned value = 0;
        ASSERT_TRUE(scanner->scanHexInt(&value));
        EXPECT_EQ(value, v > 0xFFFFFFFFull ? 0xFFFFFFFFu : static_cast<unsigned>(v));
    }
}

// A binary property list built here: `objects` encoded with 4-byte
// references, object 0 the top.
std::string binaryPlist(const std::vector<std::string>& objects) {
    std::string out = "bplist00";
    std::vector<std::uint64_t> offsets;
    for (const std::string& o : objects) {
        offsets.push_back(out.size());
        out += o;
    }
    auto be = [&](std::uint64_t v, int bytes) {
        for (int i = bytes - 1; i >= 0; --i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
    };
    std::uint64_t table = out.size();
    for (std::uint64_t o : offsets) be(o, 8);
    out += std::string(6, '\0');
    out.push_back(8);
    out.push_back(4);
    be(objects.size(), 8);
    be(0, 8);
    be(table, 8);
    return out;
}

std::string arrayOf(std::initializer_list<std::uint32_t> refs) {
    std::string o(1, static_cast<char>(0xA0 | refs.size()));
    for (std::uint32_t r : refs) {
        for (int i = 3; i >= 0; --i) o.push_back(static_cast<char>((r >> (8 * i)) & 0xFF));
    }
    return o;
}

TEST_F(InvariantTest, HostileBinaryFilesReadAsNil) {
    // 100000 nested arrays: libplist alone would run out of stack on these.
    std::vector<std::string> deep;
    for (std::uint32_t i = 0; i < 100000; ++i) deep.push_back(arrayOf({i + 1}));
    deep.push_back(arrayOf({}));
    std::string bytes = binaryPlist(deep);
    EXPECT_EQ(NS::propertyListFromBytes(bytes.data(), bytes.size()), nullptr);

    // 64 levels of two references to the level below: 2^64 values if expanded.
    std::vector<std::string> shared;
    for (std::uint32_t i = 0; i < 64; ++i) shared.push_back(arrayOf({i + 1, i + 1}));
    shared.push_back(arrayOf({}));
    bytes = binaryPlist(shared);
    EXPECT_EQ(NS::propertyListFromBytes(bytes.data(), bytes.size()), nullptr);

    // The same sharing kept small is an ordinary file.
    shared.resize(10);
    shared.push_back(arrayOf({}));
    shared[9] = arrayOf({10, 10});
    bytes = binaryPlist(shared);
    NS::Object* small = NS::propertyListFromBytes(bytes.data(), bytes.size());
    ASSERT_NE(small, nullptr);
    EXPECT_EQ(objc::cast<NS::Array>(small)->count(), 2u);

    // Every truncation of a valid file is refused or read, never a crash.
    bytes = binaryPlist({arrayOf({1, 2}), std::string("\x51k", 2), std::string("\x10\x07", 2)});
    ASSERT_NE(NS::propertyListFromBytes(bytes.data(), bytes.size()), nullptr);
    for (std::size_t cut = 0; cut < bytes.size(); ++cut) {
        objc::AutoreleasePool turn;
        NS::propertyListFromBytes(bytes.data(), cut);
    }
}

// Binary files whose containers carry their count in an extra integer (15
// entries and more), and values shared by many references.
TEST_F(InvariantTest, WideBinaryFilesRead) {
    const std::string corpus = std::string(HB_SOURCE_DIR) + "/tests/foundation/corpus/valid/";
    device::TemporaryDevice device;
    std::filesystem::copy_file(corpus + "settings43.bplist", device / "/tmp/s.plist");
    NS::Dictionary* fromBinary = NS::Dictionary::dictionaryWithContentsOfFile("/tmp/s.plist"_ns);
    std::filesystem::copy_file(corpus + "settings43.plist", device / "/tmp/x.plist");
    NS::Dictionary* fromXml = NS::Dictionary::dictionaryWithContentsOfFile("/tmp/x.plist"_ns);
    ASSERT_NE(fromBinary, nullptr);
    ASSERT_NE(fromXml, nullptr);
    EXPECT_EQ(fromBinary->count(), 43u);
    EXPECT_TRUE(fromBinary->isEqual(fromXml));

    std::filesystem::copy_file(corpus + "wide.bplist", device / "/tmp/w.plist");
    NS::Dictionary* wide = NS::Dictionary::dictionaryWithContentsOfFile("/tmp/w.plist"_ns);
    ASSERT_NE(wide, nullptr);
    EXPECT_EQ(wide->count(), 301u);
    auto* row = objc::cast<NS::Array>(wide->objectForKey("k299"_ns));
    ASSERT_EQ(row->count(), 20u);
    EXPECT_EQ(objc::cast<NS::Number>(row->objectAtIndex(19))->integerValue(), 299);
    EXPECT_EQ(objc::cast<NS::Array>(wide->objectForKey("shared"_ns))->count(), 500u);
}

}  // namespace
