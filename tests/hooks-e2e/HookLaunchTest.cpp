// Every hooked behaviour checked through a real launch: a device per case,
// the settings file written into it, Messages started by hbsim with --dump,
// and the JSON it prints compared with what the settings ask for.
#include <Device/DevicePath.h>
#include <Foundation/Foundation.h>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <ColourKeys.h>
#include <TestColors.h>

#include <cmath>
#include <cstdio>
#include <map>
#include <string>
#include <variant>
#include <vector>

namespace {

using e2e::kColorKeys;
using json = nlohmann::json;
using Value = std::variant<bool, long, double, std::string>;
using Settings = std::map<std::string, Value>;

std::string run(const std::string& command) {
    std::string output;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) return output;
    char buffer[4096];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) output.append(buffer, n);
    int status = ::pclose(pipe);
    EXPECT_EQ(status, 0) << command << "\n" << output;
    return output;
}

class Device {
public:
    explicit Device(bool install = true, const std::string& model = "iphone5") {
        hbsim("device create --model " + model);
        if (install) hbsim("install");
    }

    void write(const Settings& settings) {
        objc::AutoreleasePool pool;
        NS::MutableDictionary* d = NS::MutableDictionary::dictionary();
        for (const auto& [key, value] : settings) {
            NS::Object* v = std::visit(
                [](const auto& x) -> NS::Object* {
                    using T = std::decay_t<decltype(x)>;
                    if constexpr (std::is_same_v<T, bool>)
                        return NS::Number::numberWithBool(x ? YES : NO);
                    else if constexpr (std::is_same_v<T, long>)
                        return NS::Number::numberWithInteger(x);
                    else if constexpr (std::is_same_v<T, double>)
                        return NS::Number::numberWithDouble(x);
                    else
                        return NS::String::stringWithUTF8String(x.c_str());
                },
                value);
            d->setObject(v, NS::String::stringWithUTF8String(key.c_str()));
        }
        ASSERT_TRUE(d->writeToFile("/var/mobile/Library/Preferences/com.Quillfen.huebloom.plist"_ns, YES));
    }

    json launch(const std::string& options = "") {
        // Only standard output is JSON; notes on standard error pass through.
        std::string out = hbsim("messages --dump " + options, false);
        json parsed = json::parse(out, nullptr, false);
        EXPECT_FALSE(parsed.is_discarded()) << out;
        return parsed;
    }

    std::string hbsim(const std::string& args, bool withErrors = true) {
        return run(std::string(HB_BINARY_DIR) + "/bin/hbsim --device '" + device_.path() + "' " + args +
                   (withErrors ? " 2>&1" : ""));
    }

private:
    device::TemporaryDevice device_;
};

using testcolors::hex;
using testcolors::RGBA;

void expectColor(const json& c, RGBA want, const std::string& what) {
    ASSERT_TRUE(c.is_object()) << what << ": " << c.dump();
    EXPECT_NEAR(c["r"].get<double>(), want.r, 1e-6) << what;
    EXPECT_NEAR(c["g"].get<double>(), want.g, 1e-6) << what;
    EXPECT_NEAR(c["b"].get<double>(), want.b, 1e-6) << what;
    EXPECT_NEAR(c["a"].get<double>(), want.a, 1e-6) << what;
}

void expectColors(const json& list, const std::vector<RGBA>& want, const std::string& what) {
    ASSERT_TRUE(list.is_array()) << what;
    ASSERT_EQ(list.size(), want.size()) << what << ": " << list.dump();
    for (std::size_t i = 0; i < want.size(); ++i) expectColor(list[i], want[i], what + "[" + std::to_string(i) + "]");
}

// Settings that change every hooked behaviour at once.
Settings everythingSet(bool enabled) {
    Settings s{{"enabled", enabled}, {"imessage", 1L},      {"sms", 2L},           {"gray", 3L},
               {"pic", true},        {"detail", "#123456"}, {"transparent", true}, {"border", "#654321"},
               {"tb_size", 3L},      {"tb_radius", 9L},     {"tail", true}};
    unsigned v = 0x102030;
    for (const auto& [key, getter] : kColorKeys)
        s[key] = std::string("#") + [&] {
            char t[16];
            std::snprintf(t, sizeof t, "%06X:0.400000", v);
            v += 0x010101;
            return std::string(t);
        }();
    return s;
}

class HookLaunchTest : public ::testing::Test {
protected:
    objc::AutoreleasePool pool;
    static json& systemDump() {
        // What the app shows with no hook library at all: the system's own values.
        static json dump = [] {
            Device bare(false);
            return bare.launch();
        }();
        return dump;
    }
};

TEST_F(HookLaunchTest, WithoutSettingsOrWithTheMasterSwitchOffEverythingIsTheSystems) {
    for (bool writeSettings : {false, true}) {
        Device d;
        if (writeSettings) d.write(everythingSet(false));
        json dump = d.launch();
        EXPECT_EQ(dump["loaded"], json::array({"Huebloom.dylib"}));
        EXPECT_EQ(dump["behavior"], systemDump()["behavior"]) << "settings written: " << writeSettings;
        EXPECT_EQ(dump["detailsButtonTint"], systemDump()["detailsButtonTint"]);
        EXPECT_EQ(dump["textBalloon"], systemDump()["textBalloon"]);
        EXPECT_EQ(dump["hasTail"], systemDump()["hasTail"]);
        EXPECT_TRUE(dump["getRandomColor"].is_object());
    }
}

TEST_F(HookLaunchTest, EveryColourKeyDrivesItsGetterAndOnlyOverlaysTakeAlpha) {
    Device d;
    Settings s = everythingSet(true);
    d.write(s);
    json dump = d.launch();
    unsigned v = 0x102030;
    for (const auto& [key, getter] : kColorKeys) {
        bool overlay = key.find("Overlay") != std::string::npos;
        expectColor(dump["behavior"][getter], hex(v, overlay ? 0.4 : 1.0), key);
        v += 0x010101;
    }
}

TEST_F(HookLaunchTest, BalloonModes) {
    const RGBA red{1, 0, 0, 1}, green{0, 1, 0, 1}, clear{0, 0, 0, 0};
    struct Case {
        Settings settings;
        std::string getter;
        std::vector<RGBA> want;  // empty: the system's colours
    } cases[] = {
        {{{"imessage", 1L}}, "blue_balloonColors", {hex(0x5FC6F4), hex(0x3AA8F9), hex(0x157EFB)}},
        {{{"sms", 2L}, {"botSMS", "#112233:0.500000"}},
         "green_balloonColors",
         {hex(0x112233), hex(0x112233), hex(0x112233)}},
        {{{"sms", 1L}, {"midSMS", "#ABCDEF"}}, "green_balloonColors", {hex(0x27EC59), hex(0xABCDEF), hex(0x20CA4F)}},
        {{{"gray", 5L}, {"topGray", "#FFFFFF"}}, "gray_balloonColors", {clear, clear}},
        {{{"imessage", 3L}}, "blue_balloonColors", {red, green, red, green, red, green}},
        {{{"imessage", "2"}}, "blue_balloonColors", {hex(0x157EFB), hex(0x157EFB), hex(0x157EFB)}},
        {{{"imessage", 2.9}}, "blue_balloonColors", {hex(0x157EFB), hex(0x157EFB), hex(0x157EFB)}},
        {{{"imessage", 6L}}, "blue_balloonColors", {}},
        {{{"imessage", -1L}}, "blue_balloonColors", {}},
        {{{"imessage", 0L}}, "blue_balloonColors", {}},
    };
    for (auto& c : cases) {
        Device d;
        c.settings["enabled"] = true;
        d.write(c.settings);
        json got = d.launch()["behavior"][c.getter];
        if (c.want.empty()) {
            EXPECT_EQ(got, systemDump()["behavior"][c.getter]);
        } else {
            expectColors(got, c.want, c.getter);
        }
    }
}

TEST_F(HookLaunchTest, RandomModeDrawsNamedColours) {
    Device d;
    d.write({{"enabled", true}, {"imessage", 4L}});
    json colors = d.launch()["behavior"]["blue_balloonColors"];
    ASSERT_EQ(colors.size(), 6u);
    const std::vector<RGBA> named{{1, 0, 0, 1}, {1, 0.5, 0, 1}, {1, 1, 0, 1},
                                  {0, 1, 0, 1}, {0, 0, 1, 1},   {0.5, 0, 0.5, 1}};
    for (const json& c : colors) {
        bool found = false;
        for (const RGBA& n : named) {
            found |= std::abs(c["r"].get<double>() - n.r) < 1e-9 && std::abs(c["g"].get<double>() - n.g) < 1e-9 &&
                     std::abs(c["b"].get<double>() - n.b) < 1e-9;
        }
        EXPECT_TRUE(found) << c.dump();
    }
}

TEST_F(HookLaunchTest, ColourStringsAsTheLibraryReadsThem) {
    struct Case {
        std::string key, text, getter;
        RGBA want;
    } cases[] = {
        {"blueText", "5FC6F4", "blue_balloonTextColor", hex(0x0FC6F4)},  // first character skipped
        {"blueText", "#ABC", "blue_balloonTextColor", hex(0x000ABC)},
        {"blueText", "#123456789", "blue_balloonTextColor", hex(0xFFFFFF)},
        {"blueText", "#GGGGGG", "blue_balloonTextColor", hex(0x000000)},
        {"blueText", "#FF8000:0.250000", "blue_balloonTextColor", hex(0xFF8000)},
        {"blueOverlay", "#000000:0.300000", "blue_balloonOverlayColor", hex(0, 0.3)},
        {"grayOverlay", "#5FC6F4:", "gray_balloonOverlayColor", hex(0x5FC6F4, 0.0)},
        {"grayOverlay", "#5FC6F4:1.000000", "gray_balloonOverlayColor", hex(0x5FC6F4, 1.0)},
        {"greenOverlay", "#5FC6F4", "green_balloonOverlayColor", hex(0x5FC6F4, 1.0)},  // no alpha part: opaque
        {"greenOverlay", ":0.5", "green_balloonOverlayColor", hex(0, 0.5)},            // no hex part: black
        {"greenOverlay", "#5FC6F4:x", "green_balloonOverlayColor", hex(0x5FC6F4, 0.0)},
    };
    for (const auto& c : cases) {
        Device d;
        d.write({{"enabled", true}, {c.key, c.text}});
        expectColor(d.launch()["behavior"][c.getter], c.want, c.key + "=" + c.text);
    }
}

TEST_F(HookLaunchTest, EmptyOrNonStringColourValuesGiveTheSystemsColour) {
    for (Value v : {Value(std::string()), Value(42L), Value(true)}) {
        Device d;
        d.write({{"enabled", true}, {"blueText", v}, {"entryFieldPost", "#00FF00"}});
        json behavior = d.launch()["behavior"];
        EXPECT_EQ(behavior["blue_balloonTextColor"], systemDump()["behavior"]["blue_balloonTextColor"]);
        expectColor(behavior["entryFieldBackgroundColor"], hex(0x00FF00), "entryFieldPost");
        EXPECT_EQ(behavior["entryFieldCoverFillColor"], systemDump()["behavior"]["entryFieldCoverFillColor"]);
    }
}

TEST_F(HookLaunchTest, SwitchesReadFromBooleansNumbersAndStrings) {
    for (Value on : {Value(true), Value(1L), Value(std::string("YES")), Value(std::string("true"))}) {
        Device d;
        d.write({{"enabled", on}, {"blueText", "#FF0000"}, {"pic", on}});
        json behavior = d.launch()["behavior"];
        expectColor(behavior["blue_balloonTextColor"], hex(0xFF0000), "enabled");
        EXPECT_EQ(behavior["shouldShowContactPhotosInConversationList"], true);
    }
}

TEST_F(HookLaunchTest, ContactPhotos) {
    struct Case {
        Settings settings;
        json want;  // null: the system's answer (NO on the iPhone, YES on the iPad)
        std::string model = "iphone5";
    } cases[] = {
        {{{"enabled", true}, {"pic", true}}, true},
        {{{"enabled", true}, {"pic", false}}, false},
        {{{"enabled", true}}, false},
        {{{"enabled", false}, {"pic", true}}, nullptr},
        // Where the system would show photos, "pic" off still hides them.
        {{{"enabled", true}, {"pic", false}}, false, "ipad"},
        {{{"enabled", false}, {"pic", false}}, true, "ipad"},
    };
    for (auto& c : cases) {
        Device d(true, c.model);
        d.write(c.settings);
        json got = d.launch()["behavior"]["shouldShowContactPhotosInConversationList"];
        EXPECT_EQ(got,
                  c.want.is_null() ? systemDump()["behavior"]["shouldShowContactPhotosInConversationList"] : c.want)
            << c.model;
    }
}

TEST_F(HookLaunchTest, TransparentBalloonsTailsAndDetailsTint) {
    {
        Device d;
        d.write({{"enabled", true}, {"transparent", true}, {"tb_size", 2L}, {"tb_radius", 10L}});
        json dump = d.launch();
        json balloon = dump["textBalloon"];
        expectColor(balloon["backgroundColor"], {0, 0, 0, 0}, "background");
        expectColor(balloon["borderColor"], hex(0x5FC6F4), "border");
        EXPECT_EQ(balloon["borderWidth"].get<double>(), 2.0);
        EXPECT_EQ(balloon["cornerRadius"].get<double>(), 10.0);
        EXPECT_EQ(balloon["masksToBounds"], true);
        // The balloon's own layout ran first: its text stands where the system puts it.
        EXPECT_EQ(balloon["textFrame"], systemDump()["textBalloon"]["textFrame"]);
        EXPECT_GT(balloon["textFrame"]["width"].get<double>(), 0);
        for (const json& t : dump["hasTail"]) EXPECT_EQ(t, false);
        EXPECT_EQ(dump["detailsButtonTint"], systemDump()["detailsButtonTint"]);  // "detail" empty
    }
    {
        Device d;
        d.write(
            {{"enabled", true}, {"transparent", true}, {"border", "#FF0000"}, {"tb_size", 2.7}, {"detail", "#00FF00"}});
        json dump = d.launch();
        expectColor(dump["textBalloon"]["borderColor"], hex(0xFF0000), "border");
        EXPECT_EQ(dump["textBalloon"]["borderWidth"].get<double>(), 2.0);  // a real is cut toward zero
        EXPECT_EQ(dump["textBalloon"]["cornerRadius"].get<double>(), 0.0);
        expectColor(dump["detailsButtonTint"], hex(0x00FF00), "detail");
    }
    {
        Device d;
        d.write({{"enabled", true}, {"tail", true}});
        json dump = d.launch();
        for (const json& t : dump["hasTail"]) EXPECT_EQ(t, false);
        // The hook is CKBalloonView's, so every balloon loses its tail, not only text balloons.
        EXPECT_EQ(dump["plainBalloonHasTail"], false);
        EXPECT_EQ(systemDump()["plainBalloonHasTail"], true);
        EXPECT_EQ(dump["textBalloon"], systemDump()["textBalloon"]);  // the system's fill stays
    }
    {
        Device d;
        d.write({{"enabled", false}, {"transparent", true}, {"tail", true}});
        json dump = d.launch();
        EXPECT_EQ(dump["hasTail"], systemDump()["hasTail"]);
        EXPECT_EQ(dump["textBalloon"], systemDump()["textBalloon"]);
    }
}

TEST_F(HookLaunchTest, AClassLeftOutLeavesTheOtherHooksInPlace) {
    Device d;
    d.write({{"enabled", true}, {"blueText", "#FF0000"}, {"detail", "#00FF00"}, {"tail", true}});
    json dump = d.launch("--without-class CKTranscriptController");
    expectColor(dump["behavior"]["blue_balloonTextColor"], hex(0xFF0000), "blueText");
    for (const json& t : dump["hasTail"]) EXPECT_EQ(t, false);
    EXPECT_TRUE(dump["getRandomColor"].is_object());

    json withoutGradient = d.launch("--without-class CKGradientView");
    EXPECT_TRUE(withoutGradient["getRandomColor"].is_null());
}

}  // namespace
