#include <ColorString.h>
#include <SettingsReader.h>

#include "ColorReading.h"

#include <gtest/gtest.h>

namespace {

using huebloom::AlphaRule;

class ColorStringTest : public ::testing::Test {
protected:
    objc::AutoreleasePool pool;
};

TEST_F(ColorStringTest, ParsesTheStoredForms) {
    struct Case {
        const char* text;
        AlphaRule rule;
        int r, g, b;
        double alpha;
    } cases[] = {
        {"#5FC6F4", AlphaRule::Opaque, 0x5F, 0xC6, 0xF4, 1.0},
        {"#5fc6f4", AlphaRule::Opaque, 0x5F, 0xC6, 0xF4, 1.0},
        {"5FC6F4", AlphaRule::Opaque, 0x0F, 0xC6, 0xF4, 1.0},  // the first character is always skipped
        {"#ABC", AlphaRule::Opaque, 0x00, 0x0A, 0xBC, 1.0},    // no short forms
        {"#5FC6F4:0.500000", AlphaRule::FromString, 0x5F, 0xC6, 0xF4, 0.5},
        {"#5FC6F4:0.500000", AlphaRule::Opaque, 0x5F, 0xC6, 0xF4, 1.0},
        {"#5FC6F4:", AlphaRule::FromString, 0x5F, 0xC6, 0xF4, 0.0},
        {"#000000:0.300000", AlphaRule::FromString, 0, 0, 0, 0.3},
        {"#5FC6F4:abc", AlphaRule::FromString, 0x5F, 0xC6, 0xF4, 0.0},
        {"#GGGGGG", AlphaRule::Opaque, 0, 0, 0, 1.0},
        {"#123456789", AlphaRule::Opaque, 0xFF, 0xFF, 0xFF, 1.0},  // too large for 32 bits
        {"#12345678", AlphaRule::Opaque, 0x34, 0x56, 0x78, 1.0},   // the top byte is dropped
        {"#", AlphaRule::Opaque, 0, 0, 0, 1.0},
        // No meaning of their own: an empty hexadecimal part is black, and an
        // alpha-taking key without ":" is opaque.
        {":0.5", AlphaRule::FromString, 0, 0, 0, 0.5},
        {"#5FC6F4", AlphaRule::FromString, 0x5F, 0xC6, 0xF4, 1.0},
        {"#FF0000:0.25:0.75", AlphaRule::FromString, 0xFF, 0, 0, 0.25},
    };
    for (const auto& c : cases) {
        auto parsed = huebloom::parseColorString(NS::String::stringWithUTF8String(c.text), c.rule);
        EXPECT_DOUBLE_EQ(parsed.red, c.r / 255.0) << c.text;
        EXPECT_DOUBLE_EQ(parsed.green, c.g / 255.0) << c.text;
        EXPECT_DOUBLE_EQ(parsed.blue, c.b / 255.0) << c.text;
        EXPECT_DOUBLE_EQ(parsed.alpha, c.alpha) << c.text;
    }
}

TEST_F(ColorStringTest, EveryByteValueSurvivesTheParse) {
    for (int k = 0; k < 256; ++k) {
        char text[16];
        std::snprintf(text, sizeof text, "#%02X%02X%02X", k, 255 - k, k ^ 0x5A);
        auto parsed = huebloom::parseColorString(NS::String::stringWithUTF8String(text), AlphaRule::Opaque);
        EXPECT_EQ(int(parsed.red * 255.0 + 0.5), k);
        EXPECT_EQ(int(parsed.green * 255.0 + 0.5), 255 - k);
        EXPECT_EQ(int(parsed.blue * 255.0 + 0.5), k ^ 0x5A);
    }
}

// Found by fuzzing: an overlay string's alpha text reads as any double
// ("#000000:-2", or "1e999" as infinity), and the colour made from it kept that
// alpha, so a view would blend with a negative or infinite opacity. The
// parse passes the number on; the colour holds it within 0..1.
TEST_F(ColorStringTest, AnOverlayAlphaOutsideTheUnitRangeMakesAColourWithinIt) {
    struct Case {
        const char* text;
        double alpha;
    } cases[] = {{"#000000:-2", 0.0},    {"#000000:2", 1.0},      {"#000000:nan", 0.0},
                 {"#000000:1e999", 1.0}, {"#000000:-1e999", 0.0}, {"#000000:0.25", 0.25}};
    for (const auto& c : cases) {
        EXPECT_EQ(testcolors::componentsOf(
                      huebloom::colorFromString(NS::String::stringWithUTF8String(c.text), AlphaRule::FromString)),
                  testcolors::hex(0, c.alpha))
            << c.text;
    }
}

class SettingsTest : public ColorStringTest {
protected:
    void use(std::initializer_list<std::pair<const char*, NS::Object*>> values) {
        NS::MutableDictionary* d = NS::MutableDictionary::dictionary();
        for (auto& [k, v] : values) d->setObject(v, NS::String::stringWithUTF8String(k));
        settings = d;
    }
    NS::Dictionary* settings = nullptr;
    huebloom::SettingsReader read() const { return huebloom::SettingsReader(settings); }
};

TEST_F(SettingsTest, ValuesOfEveryStoredTypeAreRead) {
    use({{"onBool", NS::Number::numberWithBool(YES)},
         {"onString", NS::String::stringWithUTF8String("YES")},
         {"onNumber", NS::Number::numberWithInteger(2)},
         {"offString", NS::String::stringWithUTF8String("no")},
         {"real", NS::Number::numberWithDouble(2.7)},
         {"intString", NS::String::stringWithUTF8String("3")},
         {"colorNumber", NS::Number::numberWithInteger(0xFF0000)},
         {"colorEmpty", NS::String::stringWithUTF8String("")},
         {"color", NS::String::stringWithUTF8String("#FF0000")}});
    EXPECT_TRUE(read().isOn("onBool"_ns));
    EXPECT_TRUE(read().isOn("onString"_ns));
    EXPECT_TRUE(read().isOn("onNumber"_ns));
    EXPECT_FALSE(read().isOn("offString"_ns));
    EXPECT_FALSE(read().isOn("missing"_ns));
    EXPECT_EQ(read().integer("real"_ns), 2);
    EXPECT_EQ(read().integer("intString"_ns), 3);
    EXPECT_EQ(read().integer("missing"_ns), 0);
    EXPECT_EQ(read().colorString("colorNumber"_ns), nullptr);
    EXPECT_EQ(read().colorString("colorEmpty"_ns), nullptr);
    EXPECT_EQ(read().colorString("missing"_ns), nullptr);
    ASSERT_NE(read().colorString("color"_ns), nullptr);
}

TEST_F(SettingsTest, NoSettingsFileReadsAsEverythingEmpty) {
    settings = nullptr;
    EXPECT_FALSE(read().enabled());
    EXPECT_EQ(read().integer("imessage"_ns), 0);
    EXPECT_EQ(read().colorString("blueText"_ns), nullptr);
}

}  // namespace

// The colour of a string as the settings have always been read: split at
// ":", the first part scanned from its second character. The parse takes
// shortcuts (no split for opaque keys, no scanner for the stored form); on
// strings that test where a number ends and which forms the shortcuts take,
// both readings must match this one.
unsigned int splitAndScan(NS::String* text) {
    NS::String* hex = objc::cast<NS::String>(text->componentsSeparatedByString(":"_ns)->objectAtIndex(0));
    unsigned int value = 0;
    if (hex->length() > 0) {
        NS::Scanner* scanner = NS::Scanner::scannerWithString(hex);
        scanner->setScanLocation(1);
        scanner->scanHexInt(&value);
    }
    return value;
}

TEST(ColorStringShortcut, EveryReadingMatchesTheSplitAndScannedString) {
    objc::AutoreleasePool pool;
    const char* texts[] = {"",
                           ":",
                           "#",
                           "#:",
                           "::",
                           ":ABCDEF",
                           "#:ABCDEF",
                           "# :12",
                           "# 12",
                           "#0x:12",
                           "#0x",
                           "#0X1F",
                           "#12:34",
                           "#12 34:5",
                           "#FFFFFFFFF:1",
                           "#12345678",
                           "#123456789",
                           "#1234567:0",
                           "\t#12",
                           "#\t12:3",
                           "#\n:FF",
                           "#-12:3",
                           "#+12",
                           "x5FC6F4:0.5",
                           "#5FC6F4::",
                           "#5F:C6",
                           "#g12:34",
                           "#12g",
                           "\xC3\xA9"
                           "12",
                           "\xC3\xA9"
                           "12:5",
                           "#\xC3\xA9",
                           "#123456789ABCDEF:0"};
    for (const char* t : texts) {
        NS::String* text = NS::String::stringWithUTF8String(t);
        ASSERT_NE(text, nullptr) << t;
        unsigned int v = splitAndScan(text);
        for (AlphaRule rule : {AlphaRule::Opaque, AlphaRule::FromString}) {
            auto c = huebloom::parseColorString(text, rule);
            EXPECT_EQ(c.red, double((v >> 16) & 0xFF) / 255.0) << '"' << t << '"';
            EXPECT_EQ(c.green, double((v >> 8) & 0xFF) / 255.0) << '"' << t << '"';
            EXPECT_EQ(c.blue, double(v & 0xFF) / 255.0) << '"' << t << '"';
        }
    }
}
