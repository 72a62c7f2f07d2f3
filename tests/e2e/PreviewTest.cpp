// The preview of the settings panes against Messages itself: for each
// settings file of a table, both apps are launched on the same device, and
// every colour the preview draws must be what Messages answers (the ends of
// each gradient as the gradient getters return them, the text, link and
// overlay colours, the transparent style's border, the tails). Messages
// spreads one gradient over the whole transcript, so stops are compared, not
// pixels at some height.
#include <DeviceRun.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

namespace {

using e2e::Device;
using e2e::Settings;
using nlohmann::json;

struct Case {
    std::string name;
    Settings settings;
};

std::vector<Case> cases() {
    std::vector<Case> table = {
        {"no settings file", {}},
        {"master switch off with everything set",
         {{"enabled", false},
          {"imessage", 1},
          {"sms", 2},
          {"gray", 3},
          {"top", "#FF0000"},
          {"blueText", "#00FF00"},
          {"transparent", true},
          {"tb_size", 3},
          {"tail", true}}},
        {"stripes and clear", {{"enabled", true}, {"imessage", 3}, {"sms", 5}, {"gray", 3}}},
        {"single colours and alpha overlays",
         {{"enabled", true},
          {"blueText", "#FF8000"},
          {"blueLinkText", "#123456:0.500000"},
          {"greenText", "5FC6F4"},
          {"grayLinkText", "#ABC"},
          {"grayText", "#GGGGGG"},
          {"blueOverlay", "#000000:0.300000"},
          {"greenOverlay", "#FF0000:"},
          {"grayOverlay", "#00FF00"}}},
        {"transparent with a border",
         {{"enabled", true},
          {"transparent", true},
          {"border", "#FF0000"},
          {"tb_size", 2},
          {"tb_radius", 10},
          {"imessage", 1}}},
        {"transparent with the built-in border", {{"enabled", true}, {"transparent", true}, {"tb_size", 2.7}}},
        {"tails off", {{"enabled", true}, {"tail", true}, {"gray", 2}, {"botGray", "#334455"}}},
        {"hostile values",
         {{"enabled", "YES"},
          {"imessage", "2"},
          {"sms", 99},
          {"gray", -1},
          {"bot", ""},
          {"blueText", 16711680},
          {"greenText", ":"},
          {"grayText", "#123456789"},
          {"grayOverlay", "#000000:nan"},
          {"blueOverlay", "#FF0000:0.5:0.7"},
          {"transparent", "no"},
          {"tail", 2}}},
    };
    // Each balloon mode but Random, of each kind, with its stops set and
    // left to the built-in ones.
    const char* kinds[][4] = {{"imessage", "top", "mid", "bot"},
                              {"sms", "topSMS", "midSMS", "botSMS"},
                              {"gray", "topGray", "midGray", "botGray"}};
    for (const auto& kind : kinds) {
        for (int mode : {1, 2, 3, 5}) {
            table.push_back({std::string(kind[0]) + " mode " + std::to_string(mode) + " built-in stops",
                             {{"enabled", true}, {kind[0], mode}}});
        }
        table.push_back({std::string(kind[0]) + " gradient of stored stops",
                         {{"enabled", true},
                          {kind[0], 1},
                          {kind[1], "#102030"},
                          {kind[2], "#A0B0C0:0.200000"},
                          {kind[3], "#FFEEDD"}}});
        table.push_back({std::string(kind[0]) + " solid of a stored bottom",
                         {{"enabled", true}, {kind[0], 2}, {kind[3], "#445566"}}});
    }
    return table;
}

// The getter of a balloon kind: ("blue", "TextColor") -> blue_balloonTextColor.
std::string getter(const json& balloon, const char* name) { return balloon["kind"].get<std::string>() + "_" + name; }

TEST(Preview, DrawsWhatMessagesShowsForEverySettingsFile) {
    Device device;
    for (const Case& c : cases()) {
        SCOPED_TRACE(c.name);
        device.writeSettings(c.settings);
        const json messages = device.messagesDump();
        const json settings = device.settingsDump({"open Huebloom"});
        ASSERT_TRUE(messages.is_object());
        ASSERT_TRUE(settings.is_object());
        const json& preview = settings["rows"][0]["preview"];
        ASSERT_TRUE(preview.is_object()) << settings["rows"][0];
        ASSERT_EQ(preview["balloons"].size(), 4u);

        const json& behavior = messages["behavior"];
        const json& textBalloon = messages["textBalloon"];
        // The transparent style clears every text balloon's fill.
        const bool transparent = textBalloon["backgroundColor"] == e2e::color(0, 0);
        // The last balloon of Messages' transcript ends a run: it has a tail
        // unless the settings take the tails away.
        const bool tails = messages["hasTail"].back().get<bool>();
        std::vector<std::string> kinds;
        for (std::size_t i = 0; i < preview["balloons"].size(); ++i) {
            const json& b = preview["balloons"][i];
            kinds.push_back(b["kind"]);
            SCOPED_TRACE(b["text"].get<std::string>());
            // Received balloons on the left, sent ones on the right of the
            // 320-point row, inside its tails' room, each a step lower.
            EXPECT_EQ(b["fromMe"], b["kind"] != "gray");
            const json& f = b["frame"];
            EXPECT_EQ(f["y"], 21.0 + 19.0 * static_cast<double>(i));
            EXPECT_EQ(f["height"], 35.0);
            if (b["fromMe"] == true) {
                EXPECT_EQ(f["x"].get<double>() + f["width"].get<double>(), 310.0) << f;
            } else {
                EXPECT_EQ(f["x"], 10.0) << f;
            }
            EXPECT_GT(f["width"].get<double>(), 34.0) << f;
            if (transparent) {
                EXPECT_EQ(b["fill"], json::array());
                EXPECT_EQ(b["border"]["color"], textBalloon["borderColor"]);
                EXPECT_EQ(b["border"]["width"], textBalloon["borderWidth"]);
                EXPECT_EQ(b["border"]["cornerRadius"], textBalloon["cornerRadius"]);
            } else {
                EXPECT_EQ(b["fill"], behavior[getter(b, "balloonColors")]);
                EXPECT_EQ(b["border"], nullptr);
                EXPECT_EQ(textBalloon["borderWidth"], 0.0);
            }
            EXPECT_EQ(b["random"], false);
            EXPECT_EQ(b["textColor"], behavior[getter(b, "balloonTextColor")]);
            EXPECT_EQ(b["linkColor"], behavior[getter(b, "balloonTextLinkColor")]);
            EXPECT_EQ(b["overlay"], behavior[getter(b, "balloonOverlayColor")]);
            EXPECT_EQ(b["tail"], tails);
        }
        EXPECT_EQ(kinds, (std::vector<std::string>{"gray", "blue", "gray", "green"}));
        EXPECT_EQ(preview["caption"], "Preview");
    }
}

// Random colours differ from balloon to balloon in Messages; the preview
// shows one draw of the six named colours and says so.
TEST(Preview, RandomShowsOneDrawAndSaysSo) {
    Device device;
    device.writeSettings({{"enabled", true}, {"sms", 4}});
    const json settings = device.settingsDump({"open Huebloom"});
    ASSERT_TRUE(settings.is_object());
    const json& preview = settings["rows"][0]["preview"];
    EXPECT_EQ(preview["caption"], "Preview: one draw of the random colours");
    auto rgb = [](double r, double g, double b) { return json{{"r", r}, {"g", g}, {"b", b}, {"a", 1.0}}; };
    const json named =
        json::array({rgb(1, 0, 0), rgb(1, 0.5, 0), rgb(1, 1, 0), rgb(0, 1, 0), rgb(0, 0, 1), rgb(0.5, 0, 0.5)});
    for (const json& b : preview["balloons"]) {
        EXPECT_EQ(b["random"], b["kind"] == "green");
        if (b["kind"] != "green") continue;
        ASSERT_EQ(b["fill"].size(), 6u);
        for (const json& c : b["fill"]) EXPECT_NE(std::find(named.begin(), named.end(), c), named.end()) << c;
    }
}

// The preview follows the person: the master switch and a balloon style
// redraw it at once, a colour saved on a chooser shows in the sub-pane's
// preview when the person comes back, and in the root pane's after that.
TEST(Preview, FollowsTheSwitchTheBalloonStyleAndTheChooser) {
    Device device;
    device.writeSettings({{"imessage", 2}, {"bot", "#FF0000"}});
    auto file = [&](const std::string& name) { return (device.path() / (name + ".json")).string(); };
    const e2e::RunResult run = device.settings(
        {"open Huebloom", "dump " + file("off"), "switch Enabled on", "dump " + file("on"), "choose iMessage Stripes",
         "dump " + file("stripes"), "open \"iMessage Balloons\"", "open color_key=blueText", "hex",
         "alert text \"#00FF00\"", "alert button Set", "back", "dump " + file("pane"), "back", "dump " + file("root")});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    auto blueBalloon = [&](const std::string& name) {
        std::ifstream in(file(name));
        const json dump = json::parse(in, nullptr, false);
        for (const json& b : dump["rows"][0]["preview"]["balloons"])
            if (b["kind"] == "blue") return b;
        return json();
    };
    const json red = e2e::color(0xFF0000), green = e2e::color(0x00FF00);
    EXPECT_EQ(blueBalloon("off")["fill"], json::array({e2e::color(0x34AAFC), e2e::color(0x0A7AFF)}));
    EXPECT_EQ(blueBalloon("on")["fill"], json::array({red, red, red}));
    EXPECT_EQ(blueBalloon("stripes")["fill"], json::array({red, green, red, green, red, green}));
    const json pane = blueBalloon("pane");
    EXPECT_EQ(pane["textColor"], green);
    EXPECT_EQ(pane["link"], "sea.test") << "the iMessage pane's preview puts the link in the blue balloon";
    EXPECT_EQ(blueBalloon("root")["textColor"], green);
    EXPECT_EQ(blueBalloon("root")["link"], nullptr);
}

// The white runs down the left edge of the screen (x = 2 points, left of the
// tails) at least `rowHeight` points tall: the preview, then the rows of
// settings (rows of one section run into each other there, inside the
// separators' inset).
int wholeRowsOnScreen(const e2e::Screenshot& shot, int rowHeight = 40) {
    int rows = 0, run = 0;
    for (int y = 64; y < shot.height() / 2; ++y) {
        if (e2e::near(shot.atPoint(2, y + 0.5), e2e::rgb(0xFFFFFF), 1)) {
            ++run;
        } else {
            rows += run >= rowHeight;
            run = 0;
        }
    }
    return rows + (run >= rowHeight);
}

// On the smallest screen, turned or not, the preview leaves the first
// settings of the root pane and of a balloon pane on screen.
TEST(Preview, LeavesThePanesFirstSettingsOnTheIPhone4Screen) {
    Device device({.model = "iphone4", .install = true});
    for (const char* orientation : {"portrait", "landscape"}) {
        SCOPED_TRACE(orientation);
        const std::string root = (device.path() / "root.png").string(), pane = (device.path() / "pane.png").string();
        const e2e::RunResult run =
            device.settings({"open Huebloom", std::string("rotate ") + orientation, "screenshot " + root,
                             "open \"iMessage Balloons\"", "screenshot " + pane});
        ASSERT_EQ(run.exitCode, 0) << run.err;
        const e2e::Screenshot rootShot(root), paneShot(pane);
        ASSERT_TRUE(rootShot.valid() && paneShot.valid());
        EXPECT_EQ(rootShot.width(), std::string(orientation) == "portrait" ? 640 : 960);
        EXPECT_GE(wholeRowsOnScreen(rootShot), 2) << "the preview and the Enabled row";
        EXPECT_GE(wholeRowsOnScreen(paneShot), 2) << "the preview and the Top colour row";
    }
}

}  // namespace
