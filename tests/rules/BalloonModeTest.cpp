#include <BalloonMode.h>

#include <UIKit/UIKit.h>
#include <gtest/gtest.h>

#include "ColorReading.h"

#include <map>
#include <string>
#include <vector>

namespace {

using huebloom::BalloonMode;

using testcolors::hex;
using testcolors::RGBA;

using testcolors::componentsOf;

class BalloonModeTest : public ::testing::Test {
protected:
    objc::AutoreleasePool pool;
    void use(std::map<std::string, NS::Object*> values) {
        NS::MutableDictionary* d = NS::MutableDictionary::dictionary();
        d->setObject(NS::Number::numberWithBool(YES), NS::String::stringWithUTF8String("enabled"));
        for (auto& [k, v] : values) d->setObject(v, NS::String::stringWithUTF8String(k.c_str()));
        settings = d;
    }
    NS::Array* colorsOf(const huebloom::BalloonKind& kind) {
        return huebloom::balloonColors(huebloom::SettingsReader(settings), kind);
    }
    static NS::Object* str(const char* s) { return NS::String::stringWithUTF8String(s); }
    static NS::Object* num(long v) { return NS::Number::numberWithInteger(v); }
    NS::Dictionary* settings = nullptr;
};

TEST_F(BalloonModeTest, ValuesMapToModes) {
    std::pair<NSInteger, BalloonMode> cases[] = {
        {0, BalloonMode::System},  {1, BalloonMode::ThreeStop}, {2, BalloonMode::Solid},
        {3, BalloonMode::Stripes}, {4, BalloonMode::Random},    {5, BalloonMode::Clear},
        {6, BalloonMode::System},  {-1, BalloonMode::System},   {1L << 40, BalloonMode::System},
    };
    for (auto [value, mode] : cases) EXPECT_EQ(huebloom::balloonModeFor(value), mode) << value;
}

TEST_F(BalloonModeTest, ThreeStopUsesStoredStopsAndDefaults) {
    use({{"imessage", num(1)}});
    EXPECT_EQ(componentsOf(colorsOf(huebloom::blueBalloons())),
              (std::vector<RGBA>{hex(0x5FC6F4), hex(0x3AA8F9), hex(0x157EFB)}));
    use({{"sms", num(1)}, {"midSMS", str("#102030")}});
    EXPECT_EQ(componentsOf(colorsOf(huebloom::greenBalloons())),
              (std::vector<RGBA>{hex(0x27EC59), hex(0x102030), hex(0x20CA4F)}));
    use({{"gray", num(1)}});
    EXPECT_EQ(componentsOf(colorsOf(huebloom::grayBalloons())),
              (std::vector<RGBA>{hex(0xE5E5EA), hex(0xE5E5EA), hex(0xE5E5EA)}));
}

TEST_F(BalloonModeTest, SolidIgnoresTheAlphaPart) {
    use({{"sms", num(2)}, {"botSMS", str("#112233:0.500000")}});
    EXPECT_EQ(componentsOf(colorsOf(huebloom::greenBalloons())),
              (std::vector<RGBA>{hex(0x112233), hex(0x112233), hex(0x112233)}));
}

TEST_F(BalloonModeTest, StripesClearAndStringModes) {
    use({{"imessage", num(3)}});
    RGBA red{1, 0, 0, 1}, green{0, 1, 0, 1};
    EXPECT_EQ(componentsOf(colorsOf(huebloom::blueBalloons())),
              (std::vector<RGBA>{red, green, red, green, red, green}));
    use({{"gray", num(5)}, {"topGray", str("#FFFFFF")}});
    EXPECT_EQ(componentsOf(colorsOf(huebloom::grayBalloons())), (std::vector<RGBA>{{0, 0, 0, 0}, {0, 0, 0, 0}}));
    use({{"imessage", str("2")}});  // stored as a string
    EXPECT_EQ(componentsOf(colorsOf(huebloom::blueBalloons())).size(), 3u);
}

TEST_F(BalloonModeTest, SystemColoursWhenOffOrOutOfRange) {
    for (long mode : {0L, 6L, -1L}) {
        use({{"imessage", num(mode)}});
        EXPECT_EQ(colorsOf(huebloom::blueBalloons()), nullptr) << mode;
    }
    use({{"imessage", num(1)}, {"enabled", NS::Number::numberWithBool(NO)}});
    EXPECT_EQ(colorsOf(huebloom::blueBalloons()), nullptr);
}

TEST_F(BalloonModeTest, RandomDrawsTheSixNamedColoursInNearlyEqualShares) {
    use({{"imessage", num(4)}});
    const std::vector<RGBA> named{{1, 0, 0, 1}, {1, 0.5, 0, 1}, {1, 1, 0, 1},
                                  {0, 1, 0, 1}, {0, 0, 1, 1},   {0.5, 0, 0.5, 1}};
    std::vector<int> counts(named.size());
    int different = 0;
    std::vector<RGBA> previous;
    for (int call = 0; call < 1000; ++call) {
        objc::AutoreleasePool inner;
        auto colors = componentsOf(colorsOf(huebloom::blueBalloons()));
        ASSERT_EQ(colors.size(), 6u);
        for (const RGBA& c : colors) {
            auto it = std::find(named.begin(), named.end(), c);
            ASSERT_NE(it, named.end());
            ++counts[it - named.begin()];
        }
        if (colors != previous) ++different;
        previous = colors;
    }
    for (int n : counts) EXPECT_NEAR(n, 1000, 150);  // 6000 draws over six colours
    EXPECT_GT(different, 990);
}

}  // namespace
