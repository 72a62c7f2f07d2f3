// Colour strings read for display in the settings panes: the text forms the
// colour chooser writes, the damaged ones a settings file can hold, and the
// fallbacks.
#include "ColorLookups.h"

#include <Device/DevicePath.h>
#include <Foundation/PropertyList.h>
#include <ObjCBridge/ObjCBridge.h>

#include <gtest/gtest.h>

#include "ColorReading.h"

#include <filesystem>
#include <string>
#include <vector>

namespace {

using testcolors::RGBA;

void expectColour(UI::Color* color, RGBA want) {
    ASSERT_NE(color, nullptr);
    EXPECT_PRED3(testcolors::near, testcolors::componentsOf(color), want, 1e-6);
}

class ColorLookupsTest : public ::testing::Test {
protected:
    objc::AutoreleasePool pool;
    device::TemporaryDevice device;

    void store(const std::string& domain, const char* key, NS::Object* value) {
        NS::MutableDictionary* settings = NS::MutableDictionary::dictionary();
        settings->setObject(value, NS::String::stringWithUTF8String(key));
        ASSERT_TRUE(NS::writePropertyList(settings, "/var/mobile/Library/Preferences/" + domain + ".plist"));
    }
};

TEST_F(ColorLookupsTest, HexTextGivesOpaqueColours) {
    struct Case {
        const char* text;
        RGBA want;
    };
    const std::vector<Case> cases = {
        {"#FF8000", {1, 128 / 255.0, 0, 1}},
        {"FF8000", {1, 128 / 255.0, 0, 1}},  // the "#" is optional here
        {"#ff8000", {1, 128 / 255.0, 0, 1}},
        {"#FF8000:0.5", {1, 128 / 255.0, 0, 1}},  // the alpha part is not read
        {"#5FC6F4", {95 / 255.0, 198 / 255.0, 244 / 255.0, 1}},
        {"", {0, 0, 0, 1}},
        {"#", {0, 0, 0, 1}},
        {"#zz", {0, 0, 0, 1}},
        {"#11223344", {0x22 / 255.0, 0x33 / 255.0, 0x44 / 255.0, 1}},  // only the low 24 bits count
        {"#123456789", {1, 1, 1, 1}},                                  // too large: all ones
        {"#ABC", {0, 0x0A / 255.0, 0xBC / 255.0, 1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        expectColour(colorFromHex(NS::String::stringWithUTF8String(c.text)), c.want);
    }
}

TEST_F(ColorLookupsTest, EveryByteSurvivesTheHexText) {
    for (int v = 0; v < 256; ++v) {
        char text[16];
        std::snprintf(text, sizeof text, "#%02X%02X%02X", v, 255 - v, v);
        RGBA got = testcolors::componentsOf(colorFromHex(NS::String::stringWithUTF8String(text)));
        ASSERT_EQ(static_cast<int>(got.r * 255 + 0.5), v) << text;
        ASSERT_EQ(static_cast<int>(got.g * 255 + 0.5), 255 - v) << text;
    }
}

TEST_F(ColorLookupsTest, NilGivesARandomBrightOpaqueColourEachTime) {
    bool differed = false;
    CGFloat firstHue = -1;
    for (int i = 0; i < 200; ++i) {
        CGFloat h, s, b, a;
        ASSERT_TRUE(colorFromHex(nullptr)->getHue(&h, &s, &b, &a));
        EXPECT_GE(h, 0.0);
        EXPECT_LE(h, 255 / 256.0 + 1e-6);
        EXPECT_GE(s, 0.5 - 1e-6);
        EXPECT_LE(s, 0.99609375 + 1e-6);
        EXPECT_GE(b, 0.5 - 1e-6);
        EXPECT_LE(b, 0.99609375 + 1e-6);
        EXPECT_DOUBLE_EQ(a, 1.0);
        if (i == 0)
            firstHue = h;
        else
            differed = differed || h != firstHue;
    }
    EXPECT_TRUE(differed) << "two hundred draws gave one hue";
}

TEST_F(ColorLookupsTest, StoredColoursKeepTheirAlphaAndAbsentOnesFallBack) {
    struct Case {
        const char* what;
        NS::Object* stored;  // nil: nothing stored under the key
        const char* fallback;
        RGBA want;
    };
    const std::vector<Case> cases = {
        {"with alpha", "#FF0000:0.250000"_ns, "#a1a1a1", {1, 0, 0, 0.25}},
        {"without alpha", "#FF0000"_ns, "#a1a1a1", {1, 0, 0, 1}},
        {"colon without alpha", "#FF0000:"_ns, "#a1a1a1", {1, 0, 0, 0}},
        {"alpha not a number", "#FF0000:x"_ns, "#a1a1a1", {1, 0, 0, 0}},
        {"no digits", "#:0.5"_ns, "#a1a1a1", {0, 0, 0, 0.5}},
        // As fuzzing found for the overlay keys: an alpha outside 0..1 is
        // passed on, and the colour limits it, so the swatch never blends
        // with a negative opacity.
        {"alpha above one", "#FF0000:2.5"_ns, "#a1a1a1", {1, 0, 0, 1}},
        {"alpha below zero", "#FF0000:-0.5"_ns, "#a1a1a1", {1, 0, 0, 0}},
        {"absent", nullptr, "#a1a1a1", {0xA1 / 255.0, 0xA1 / 255.0, 0xA1 / 255.0, 1}},
        // A translucent system colour as the fallback keeps its alpha, read
        // as a stored value is; a stored value still wins over it.
        {"absent, fallback with alpha", nullptr, "#000000:0.100000", {0, 0, 0, 0.1f}},
        {"stored, fallback with alpha", "#FF0000"_ns, "#000000:0.100000", {1, 0, 0, 1}},
        {"a switch's value under the key",
         NS::Number::numberWithBool(YES),
         "#5FC6F4",
         {95 / 255.0, 198 / 255.0, 244 / 255.0, 1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.stored != nullptr)
            store("com.Quillfen.huebloom", "blueText", c.stored);
        else
            store("com.Quillfen.huebloom", "otherKey", "#000000"_ns);
        expectColour(colorFromDefaultsWithKey("com.Quillfen.huebloom"_ns, "blueText"_ns,
                                              NS::String::stringWithUTF8String(c.fallback)),
                     c.want);
    }
}

TEST_F(ColorLookupsTest, MissingFilesDomainsAndKeysGiveTheFallback) {
    store("com.Quillfen.huebloom", "blueText", "#FF0000"_ns);
    const RGBA grey = {0xA1 / 255.0, 0xA1 / 255.0, 0xA1 / 255.0, 1};
    expectColour(colorFromDefaultsWithKey("com.example.missing"_ns, "blueText"_ns, "#a1a1a1"_ns), grey);
    expectColour(colorFromDefaultsWithKey(nullptr, "blueText"_ns, "#a1a1a1"_ns), grey);
    expectColour(colorFromDefaultsWithKey("com.Quillfen.huebloom"_ns, nullptr, "#a1a1a1"_ns), grey);
}

TEST_F(ColorLookupsTest, ADomainThatWouldLeaveThePreferencesFolderNamesNoFile) {
    // A file one folder up that a domain of "../x" would reach.
    NS::MutableDictionary* outside = NS::MutableDictionary::dictionary();
    outside->setObject("#00FF00"_ns, "blueText"_ns);
    ASSERT_TRUE(NS::writePropertyList(outside, "/var/mobile/Library/x.plist"));
    std::filesystem::create_directories(device / "/var/mobile/Library/Preferences/sub");
    ASSERT_TRUE(NS::writePropertyList(outside, "/var/mobile/Library/Preferences/sub/x.plist"));
    const RGBA grey = {0xA1 / 255.0, 0xA1 / 255.0, 0xA1 / 255.0, 1};
    for (const char* domain : {"../x", "sub/x", "..", "a..b"}) {
        SCOPED_TRACE(domain);
        expectColour(colorFromDefaultsWithKey(NS::String::stringWithUTF8String(domain), "blueText"_ns, "#a1a1a1"_ns),
                     grey);
    }
}

TEST_F(ColorLookupsTest, TheFallbackIsDrawnEvenWhenTheSettingExists) {
    // A nil fallback draws a random colour on every call; the stored colour
    // still wins, so only the number of draws shows it. Three draws per
    // random colour: hue, saturation, brightness.
    store("com.Quillfen.huebloom", "blueText", "#FF0000"_ns);
    expectColour(colorFromDefaultsWithKey("com.Quillfen.huebloom"_ns, "blueText"_ns, nullptr), {1, 0, 0, 1});
    bool differed = false;
    RGBA first = testcolors::componentsOf(colorFromDefaultsWithKey("com.Quillfen.huebloom"_ns, "absent"_ns, nullptr));
    for (int i = 0; i < 50 && !differed; ++i) {
        RGBA next =
            testcolors::componentsOf(colorFromDefaultsWithKey("com.Quillfen.huebloom"_ns, "absent"_ns, nullptr));
        differed = next.r != first.r || next.g != first.g || next.b != first.b;
    }
    EXPECT_TRUE(differed);
}

}  // namespace
