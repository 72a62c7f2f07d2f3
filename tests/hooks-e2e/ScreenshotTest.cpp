// What Messages shows on screen with the hook library installed: a real
// launch per case (hbsim messages --screenshot --dump), the balloons found
// from the frames the app reports, and the colours of the PNG sampled at
// points of the layout: inside each balloon's body clear of its text, the
// transcript's background beside the sent balloons, the progress bar under
// the top bars, the entry bar below its field and the field itself.
#include "DeviceRun.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

using e2e::Pixel;
using e2e::rgb;
using nlohmann::json;

// The transcript's balloon area on the default phone (320 x 568 points):
// below the top bars and the recipient field, above the entry bar. The
// balloon gradients span exactly this height, whatever the balloon.
constexpr double kContentTop = 64 + 44;
constexpr double kContentBottom = 568 - 44;

struct Balloon {
    std::string kind;
    bool fromMe = false;
    std::string text;
    double x = 0, y = 0, w = 0, h = 0;

    double midY() const { return y + h / 2; }
    // Inside the body, 8 points in from the side away from the tail and the
    // text (which starts 14 points in), at half height, clear of the corners.
    double bodyX() const { return fromMe ? x + 8 : x + w - 8; }
};

std::vector<Balloon> balloonsOf(const json& dump) {
    std::vector<Balloon> out;
    if (!dump.is_object() || !dump["balloons"].is_array()) return out;
    for (const json& b : dump["balloons"]) {
        const json& f = b["frame"];
        out.push_back({b["kind"], b["fromMe"], b["text"], f["x"], f["y"], f["width"], f["height"]});
    }
    return out;
}

// The colour of an evenly spaced gradient of `stops` at height y of the
// content area.
Pixel gradientAt(const std::vector<std::uint32_t>& stops, double y) {
    double t = std::clamp((y - kContentTop) / (kContentBottom - kContentTop), 0.0, 1.0) * double(stops.size() - 1);
    std::size_t i = std::min(std::size_t(t), stops.size() - 2);
    double local = t - double(i);
    Pixel p = rgb(stops[i]), q = rgb(stops[i + 1]);
    auto mix = [local](int a, int b) { return int(std::lround(a + (b - a) * local)); };
    return {mix(p.r, q.r), mix(p.g, q.g), mix(p.b, q.b), 255};
}

// How many pixels inside the balloon's text area have exactly this colour:
// the glyphs' fully covered pixels carry the text colour unblended.
int textPixels(const e2e::Screenshot& shot, const Balloon& b, Pixel colour) {
    int count = 0;
    for (int py = int((b.y + 7) * 2); py < int((b.y + b.h - 8) * 2); ++py) {
        for (int px = int((b.x + 14) * 2); px < int((b.x + b.w - 14) * 2); ++px) count += shot.at(px, py) == colour;
    }
    return count;
}

struct Launch {
    json dump;
    e2e::Screenshot shot;
    std::vector<Balloon> balloons;
};

Launch launch(const e2e::Settings& settings) {
    e2e::Device device;
    if (!settings.empty()) device.writeSettings(settings);
    auto [dump, shot] = device.messagesDumpAndScreenshot();
    Launch l{dump, shot, balloonsOf(dump)};
    EXPECT_EQ(dump["loaded"], json::array({"Huebloom.dylib"}));
    EXPECT_TRUE(shot.valid());
    EXPECT_EQ(shot.width(), 640);
    EXPECT_EQ(shot.height(), 1136);
    // The sample conversation: sent blue and green balloons, received gray ones.
    std::set<std::string> kinds;
    for (const Balloon& b : l.balloons) kinds.insert(b.kind);
    EXPECT_EQ(kinds, (std::set<std::string>{"blue", "green", "gray"}));
    return l;
}

// The background beside every sent balloon, at the screen's left edge
// (the transcript keeps a margin there that no received balloon reaches
// at the height of a sent one).
void expectBackground(const Launch& l, Pixel want) {
    int checked = 0;
    for (const Balloon& b : l.balloons) {
        if (!b.fromMe) continue;
        EXPECT_EQ(l.shot.atPoint(2, b.midY()), want) << "beside \"" << b.text << "\"";
        ++checked;
    }
    EXPECT_GT(checked, 0);
}

TEST(HookScreenshot, WithoutSettingsTheScreenShowsTheSystemsColours) {
    Launch l = launch({});
    ASSERT_EQ(l.balloons.size(), 8u);
    const std::map<std::string, std::vector<std::uint32_t>> gradients = {
        {"blue", {0x34AAFC, 0x0A7AFF}}, {"green", {0x5FE07C, 0x27C24C}}, {"gray", {0xE9E9EE, 0xE1E1E6}}};
    const std::map<std::string, Pixel> textColours = {
        {"blue", rgb(0xFFFFFF)}, {"green", rgb(0xFFFFFF)}, {"gray", rgb(0x000000)}};
    for (const Balloon& b : l.balloons) {
        Pixel seen = l.shot.atPoint(b.bodyX(), b.midY());
        Pixel want = gradientAt(gradients.at(b.kind), b.midY());
        EXPECT_TRUE(e2e::near(seen, want, 3)) << b.kind << " \"" << b.text << "\": " << seen << " not " << want;
        EXPECT_GT(textPixels(l.shot, b, textColours.at(b.kind)), 20) << b.kind << " \"" << b.text << "\"";
    }
    expectBackground(l, rgb(0xFFFFFF));
    EXPECT_EQ(l.shot.atPoint(10, 65), rgb(0x007AFF));    // the progress bar of a blue conversation
    EXPECT_EQ(l.shot.atPoint(100, 567), rgb(0xFAFAFA));  // the entry bar's cover
    EXPECT_EQ(l.shot.atPoint(250, 546), rgb(0xFFFFFF));  // the entry field, right of its text
}

TEST(HookScreenshot, SolidBalloonsTextsBackgroundAndBarsAsTheSettingsSay) {
    Launch l = launch({{"enabled", true},
                       {"imessage", 2},
                       {"bot", "#C03020"},
                       {"sms", 2},
                       {"botSMS", "#208040"},
                       {"gray", 2},
                       {"botGray", "#D0C0B0"},
                       {"background", "#203040"},
                       {"blueText", "#FFFF00"},
                       {"greenText", "#00FFFF"},
                       {"grayText", "#FF00FF"},
                       {"blueBar", "#FF8000"},
                       {"entryField", "#102030"},
                       {"entryFieldPost", "#E0F0D0"}});
    ASSERT_EQ(l.balloons.size(), 8u);
    const std::map<std::string, Pixel> bodies = {
        {"blue", rgb(0xC03020)}, {"green", rgb(0x208040)}, {"gray", rgb(0xD0C0B0)}};
    const std::map<std::string, Pixel> texts = {
        {"blue", rgb(0xFFFF00)}, {"green", rgb(0x00FFFF)}, {"gray", rgb(0xFF00FF)}};
    for (const Balloon& b : l.balloons) {
        // A solid balloon has its colour at any height: above and below the
        // text in the middle of the balloon too.
        for (double y : {b.y + 3, b.y + b.h - 3}) {
            EXPECT_EQ(l.shot.atPoint(b.x + b.w / 2, y), bodies.at(b.kind))
                << b.kind << " \"" << b.text << "\" at y " << y;
        }
        EXPECT_EQ(l.shot.atPoint(b.bodyX(), b.midY()), bodies.at(b.kind)) << b.kind << " \"" << b.text << "\"";
        EXPECT_GT(textPixels(l.shot, b, texts.at(b.kind)), 20) << b.kind << " \"" << b.text << "\"";
    }
    expectBackground(l, rgb(0x203040));
    EXPECT_EQ(l.shot.atPoint(10, 65), rgb(0xFF8000));
    EXPECT_EQ(l.shot.atPoint(100, 567), rgb(0x102030));
    EXPECT_EQ(l.shot.atPoint(250, 546), rgb(0xE0F0D0));
}

TEST(HookScreenshot, ThreeStopAndClearBalloons) {
    Launch l = launch({{"enabled", true},
                       {"imessage", 1},
                       {"top", "#FF0000"},
                       {"mid", "#00FF00"},
                       {"bot", "#0000FF"},
                       {"sms", 1},  // the built-in stops of green balloons
                       {"gray", 5},
                       {"background", "#F0E0D0"}});
    ASSERT_EQ(l.balloons.size(), 8u);
    for (const Balloon& b : l.balloons) {
        Pixel seen = l.shot.atPoint(b.bodyX(), b.midY());
        if (b.kind == "gray") {
            // Clear balloons show the transcript's background through them.
            EXPECT_EQ(seen, rgb(0xF0E0D0)) << "\"" << b.text << "\"";
            continue;
        }
        Pixel want = b.kind == "blue" ? gradientAt({0xFF0000, 0x00FF00, 0x0000FF}, b.midY())
                                      : gradientAt({0x27EC59, 0x24DB54, 0x20CA4F}, b.midY());
        EXPECT_TRUE(e2e::near(seen, want, 3)) << b.kind << " \"" << b.text << "\": " << seen << " not " << want;
    }
    expectBackground(l, rgb(0xF0E0D0));
}

TEST(HookScreenshot, TheMasterSwitchOffLeavesTheScreenAsTheSystemsPixelForPixel) {
    Launch off = launch({{"enabled", false}, {"imessage", 2}, {"bot", "#C03020"}, {"background", "#203040"}});
    Launch none = launch({});
    ASSERT_TRUE(off.shot.valid() && none.shot.valid());
    int differing = 0;
    for (int y = 0; y < none.shot.height(); ++y) {
        for (int x = 0; x < none.shot.width(); ++x) differing += !(off.shot.at(x, y) == none.shot.at(x, y));
    }
    EXPECT_EQ(differing, 0);
}

}  // namespace
