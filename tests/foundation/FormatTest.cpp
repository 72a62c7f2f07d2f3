#include "FoundationTestSupport.h"

#include <cstdio>

using hbtest::str;
using hbtest::utf8;

namespace {

class FormatTest : public hbtest::FoundationTest {};

TEST_F(FormatTest, ColourStringFormats) {
    EXPECT_EQ(utf8(NS::String::stringWithFormat("#%02X%02X%02X"_ns, 95, 198, 244)), "#5FC6F4");
    EXPECT_EQ(utf8(NS::String::stringWithFormat("#%02X%02X%02X"_ns, 0, 10, 188)), "#000ABC");
    EXPECT_EQ(utf8(NS::String::stringWithFormat("%@:%f"_ns, "#5FC6F4"_ns, 1.0)), "#5FC6F4:1.000000");
    EXPECT_EQ(utf8(NS::String::stringWithFormat("%@:%f"_ns, "#1A2B3C"_ns, 0.5)), "#1A2B3C:0.500000");
    EXPECT_EQ(
        utf8(NS::String::stringWithFormat("/var/mobile/Library/Preferences/%@.plist"_ns, "com.Quillfen.huebloom"_ns)),
        "/var/mobile/Library/Preferences/com.Quillfen.huebloom.plist");
    EXPECT_EQ(utf8(NS::String::stringWithFormat("/tmp/_PFColorPickerImage_%gx%g.png"_ns, 320.0, 240.5)),
              "/tmp/_PFColorPickerImage_320x240.5.png");
}

// Every numeric conversion agrees with the C library's printf.
TEST_F(FormatTest, ConversionsMatchPrintf) {
    char expected[256];
    std::snprintf(expected, sizeof expected,
                  "%d %i %u %ld %lu %lld %x %X %5.2f %-4d| %g %e %c %s %% %o %+d %08.3f %hhd", -7, 42, 4000000000u,
                  -9000000000L, 18000000000UL, -5LL, 255u, 48879u, 3.14159, 7, 1e-5, 12345.678, 'Z', "text", 8u, 3,
                  -2.5, 300);
    NS::String* s = NS::String::stringWithFormat(
        "%d %i %u %ld %lu %lld %x %X %5.2f %-4d| %g %e %c %s %% %o %+d %08.3f %hhd"_ns, -7, 42, 4000000000u,
        -9000000000L, 18000000000UL, -5LL, 255u, 48879u, 3.14159, 7, 1e-5, 12345.678, 'Z', "text", 8u, 3, -2.5, 300);
    EXPECT_EQ(utf8(s), expected);
    EXPECT_EQ(utf8(NS::String::stringWithFormat("[%*d]"_ns, 5, 42)), "[   42]");
    EXPECT_EQ(utf8(NS::String::stringWithFormat("%qd"_ns, 123LL)), "123");
    EXPECT_EQ(utf8(NS::String::stringWithFormat("%zu"_ns, std::size_t{99})), "99");
}

TEST_F(FormatTest, ObjectsAndOddInput) {
    EXPECT_EQ(utf8(NS::String::stringWithFormat("<%@>"_ns, nullptr)), "<(null)>");
    EXPECT_EQ(utf8(NS::String::stringWithFormat("%@"_ns, NS::Number::numberWithInt(12))), "12");
    EXPECT_EQ(utf8(NS::String::stringWithFormat("%@"_ns, NS::Number::numberWithBool(YES))), "1");
    EXPECT_EQ(utf8(NS::String::stringWithFormat("%s"_ns, static_cast<const char*>(nullptr))), "(null)");
    EXPECT_EQ(utf8(NS::String::stringWithFormat("%C%C"_ns, 'H', 0x20AC)), "H\xE2\x82\xAC");
    EXPECT_EQ(utf8(NS::String::stringWithFormat("100%"_ns)), "100%");
    EXPECT_EQ(utf8(NS::String::stringWithFormat("%y and %d"_ns, 5)), "%y and 5") << "unknown conversion kept";
    EXPECT_EQ(utf8(NS::String::stringWithFormat("h\xC3\xA9 %s"_ns, "\xC3\xA9")), "h\xC3\xA9 \xC3\xA9");
    // Bytes of %s that are not UTF-8 become replacement characters.
    EXPECT_EQ(utf8(NS::String::stringWithFormat("%s"_ns, "a\xFFz")), "a\xEF\xBF\xBDz");
    EXPECT_EQ(NS::String::stringWithFormat(static_cast<NS::String*>(nullptr))->length(), 0u);
    // A long result is not cut at any buffer size.
    std::string longText(5000, 'x');
    EXPECT_EQ(utf8(NS::String::stringWithFormat("%s|%d"_ns, longText.c_str(), 1)), longText + "|1");
}

TEST_F(FormatTest, CollectionDescriptions) {
    NS::Dictionary* d = NS::Dictionary::dictionaryWithObjects(
        {NS::Number::numberWithInt(1), str("#5FC6F4:1.0"), NS::Array::arrayWithObjects({"a"_ns, "b c"_ns})},
        {"enabled"_ns, "top"_ns, "list"_ns});
    EXPECT_EQ(hbtest::describe(d),
              "{\n    enabled = 1;\n    top = \"#5FC6F4:1.0\";\n    list = (\n        a,\n        \"b c\"\n    );\n}");
    EXPECT_EQ(hbtest::describe(NS::Array::array()), "(\n)");
    EXPECT_EQ(hbtest::describe(NS::Null::null()), "<null>");
    std::string plain = hbtest::describe(NS::Object::new_()->autorelease());
    EXPECT_EQ(plain.rfind("<NSObject: 0x", 0), 0u) << plain;
}

}  // namespace
