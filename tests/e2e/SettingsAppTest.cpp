// The Settings app as a person uses it through hbsim settings: the root
// list of installed bundles, the Huebloom panes, the colour chooser, and the
// road of one colour change from a drag in Settings to the recoloured
// balloon in a screenshot of Messages.
#include <ColourKeys.h>
#include <DeviceRun.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

using e2e::Device;
using e2e::RunResult;
using nlohmann::json;
using ::testing::Contains;
using ::testing::HasSubstr;

class SettingsApp : public ::testing::Test {
protected:
    void SetUp() override {
        if (!e2e::hookLibraryBuilt()) GTEST_SKIP() << "the deliverables are not built in this build";
    }
};

const json* rowTitled(const json& dump, const std::string& title) {
    for (const json& row : dump["rows"])
        if (row["title"] == title) return &row;
    return nullptr;
}

std::uint32_t hexOf(const std::string& colourString) {
    return static_cast<std::uint32_t>(std::strtoul(colourString.c_str() + 1, nullptr, 16));
}

TEST_F(SettingsApp, TheRootListsTheInstalledPaneAndItOpensWithItsRows) {
    Device device;
    json root = device.settingsDump({});
    EXPECT_EQ(root["controller"]["title"], "Settings");
    ASSERT_NE(rowTitled(root, "Huebloom"), nullptr) << root.dump(1);
    EXPECT_EQ((*rowTitled(root, "Huebloom"))["kind"], "link");

    json pane = device.settingsDump({"open Huebloom"});
    EXPECT_EQ(pane["controller"]["class"], "HuebloomListController");
    EXPECT_EQ(pane["navigation"], json({"Settings", "Huebloom"}));
    const json* enabled = rowTitled(pane, "Enabled");
    ASSERT_NE(enabled, nullptr) << pane.dump(1);
    EXPECT_EQ((*enabled)["kind"], "switch");
    EXPECT_EQ((*enabled)["key"], "enabled");
    EXPECT_EQ((*enabled)["value"], false);
}

// A switch and a list row write the settings file and post the row's
// notification; the list row shows the chosen title when the pane returns.
TEST_F(SettingsApp, SwitchesAndChoicesAreSavedAndShown) {
    Device device;
    json dump = device.settingsDump({"open Huebloom", "switch Enabled on", "choose iMessage Solid"});
    ASSERT_FALSE(dump.is_null());
    EXPECT_EQ((*rowTitled(dump, "Enabled"))["value"], true);
    EXPECT_EQ((*rowTitled(dump, "iMessage"))["value"], "Solid");
    EXPECT_THAT(dump["log"]["notifications"], Contains("com.Quillfen.huebloom/settingschanged"));
    json settings = device.readSettings();
    EXPECT_EQ(settings["enabled"], true);
    EXPECT_EQ(settings["imessage"], 2);

    // The root pane reads what is stored when it opens again.
    json again = device.settingsDump({"open Huebloom"});
    EXPECT_EQ((*rowTitled(again, "Enabled"))["value"], true);
    EXPECT_EQ((*rowTitled(again, "iMessage"))["value"], "Solid");
}

// From a drag on the picker in Settings to the recoloured balloon in Messages.
TEST_F(SettingsApp, OneColourChangeReachesTheBalloonsOfMessages) {
    Device device;
    // Messages runs while the colour is chosen: the colour cells end it.
    auto messages = device.startHbsim({"messages", "--stay"});
    ASSERT_TRUE(device.waitForProcess("MobileSMS"));

    json dump = device.settingsDump({"open Huebloom", "switch Enabled on", "choose iMessage Solid",
                                     "open \"iMessage Balloons\"", "open color_key=bot", "picker drag 30 30 220 90 10",
                                     "back"});
    ASSERT_FALSE(dump.is_null());
    EXPECT_EQ(messages->wait(20).exitCode, 137) << "Messages was not ended by killall -9";
    EXPECT_THAT(dump["log"]["commands"], Contains("killall -9 MobileSMS"));

    json settings = device.readSettings();
    ASSERT_TRUE(settings["bot"].is_string()) << settings.dump();
    const std::string saved = settings["bot"];
    ASSERT_EQ(saved.size(), 7u) << saved;
    EXPECT_NE(saved, "#157EFB");
    // The swatch of the row shows the saved colour.
    const json* bottom = rowTitled(dump, "Bottom");
    ASSERT_NE(bottom, nullptr);
    EXPECT_EQ((*bottom)["swatch"], e2e::color(hexOf(saved)));

    auto [after, shot] = device.messagesDumpAndScreenshot();
    ASSERT_TRUE(shot.valid());
    EXPECT_EQ(after["behavior"]["blue_balloonColors"],
              json({e2e::color(hexOf(saved)), e2e::color(hexOf(saved)), e2e::color(hexOf(saved))}));
    int blueBalloons = 0;
    for (const json& balloon : after["balloons"]) {
        if (balloon["kind"] != "blue") continue;
        ++blueBalloons;
        const json& f = balloon["frame"];
        const double x = f["x"].get<double>() + 6, y = f["y"].get<double>() + f["height"].get<double>() / 2;
        EXPECT_TRUE(e2e::near(shot.atPoint(x, y), e2e::rgb(hexOf(saved)), 3))
            << shot.atPoint(x, y) << " at " << x << "," << y << " for " << saved;
    }
    EXPECT_GT(blueBalloons, 0);
}

// Colours of the two apps' dumps, alike to single precision: the Settings
// side reads an alpha part as a float.
bool sameColour(const json& a, const json& b) {
    if (!a.is_object() || !b.is_object()) return false;
    for (const char* c : {"r", "g", "b", "a"})
        if (std::fabs(a[c].get<double>() - b[c].get<double>()) > 1e-6) return false;
    return true;
}

// A person who opens every colour row of every pane, looks and goes back has
// changed nothing: the settings file holds what it held (unset keys stay
// unset, stored ones in their stored form) and Messages draws as before. And each
// row's swatch shows, while it shows, what Messages shows for its key.
TEST_F(SettingsApp, LookingAtEveryColourRowChangesNothingAndEachSwatchShowsWhatMessagesShows) {
    Device device;
    device.writeSettings({{"enabled", true}, {"blueText", "#336699"}, {"grayOverlay", "#00FF00:0.500000"}});
    const json before = device.readSettings();
    json messagesBefore = device.messagesDump();
    ASSERT_FALSE(messagesBefore.is_null());

    int colourRows = 0, checkedSwatches = 0;
    for (const char* pane : {"iMessage Balloons", "SMS Balloons", "Received Balloons", "Transparent Balloons",
                             "Tails & Photos", "Other Colours"}) {
        SCOPED_TRACE(pane);
        const std::string open = std::string("open \"") + pane + "\"";
        json shown = device.settingsDump({"open Huebloom", open});
        ASSERT_FALSE(shown.is_null());
        std::vector<std::string> steps = {"open Huebloom", open};
        for (const json& row : shown["rows"]) {
            if (!row.contains("color_key")) continue;
            const std::string key = row["color_key"];
            ++colourRows;
            steps.push_back("open color_key=" + key);
            steps.push_back("wait 1");
            steps.push_back("back");
            // The gradient stops and the border fall back to the built-in
            // defaults instead of a getter's system colour.
            if (const std::string getter = e2e::getterOfColorKey(key); !getter.empty()) {
                EXPECT_TRUE(sameColour(row["swatch"], messagesBefore["behavior"][getter]))
                    << key << ": " << row["swatch"] << " against " << messagesBefore["behavior"][getter];
                ++checkedSwatches;
            } else if (key == "detail") {
                EXPECT_TRUE(sameColour(row["swatch"], messagesBefore["detailsButtonTint"]))
                    << key << ": " << row["swatch"] << " against " << messagesBefore["detailsButtonTint"];
                ++checkedSwatches;
            }
        }
        json after = device.settingsDump(steps);
        ASSERT_FALSE(after.is_null());
        EXPECT_EQ(after["log"]["notifications"], json::array()) << "nothing changed, so nothing is told";
        EXPECT_EQ(device.readSettings(), before) << "looking at the rows of " << pane << " changed the settings";
    }
    EXPECT_EQ(colourRows, 34);
    EXPECT_EQ(checkedSwatches, 24);
    // The choosers, never turned, still kept their painted field for the next.
    EXPECT_TRUE(fs::exists(device / "/tmp/_PFColorPickerImage_320x252.png"));
    json messagesAfter = device.messagesDump();
    // getRandomColor is a new draw at each launch.
    for (json* dump : {&messagesAfter, &messagesBefore}) dump->erase("getRandomColor");
    EXPECT_EQ(messagesAfter, messagesBefore);
}

// Visit after visit, moving only the alpha slider keeps the colour that
// Messages draws: the saved hex part never creeps.
TEST_F(SettingsApp, AlphaMovesOnEveryVisitKeepTheColourMessagesDraws) {
    Device device;
    device.writeSettings({{"enabled", true}, {"blueOverlay", "#F1C26B:1.000000"}});
    for (const char* alpha : {"0.5", "0.8", "0.3"}) {
        RunResult r = device.settings({"open Huebloom", "open \"iMessage Balloons\"", "open color_key=blueOverlay",
                                       std::string("slider alpha ") + alpha, "back"});
        ASSERT_EQ(r.exitCode, 0) << r.err;
    }
    const std::string saved = device.readSettings()["blueOverlay"];
    EXPECT_EQ(saved.substr(0, 8), "#F1C26B:") << saved;
    const json overlay = device.messagesDump()["behavior"]["blue_balloonOverlayColor"];
    EXPECT_EQ(overlay["r"], 0xF1 / 255.0);
    EXPECT_EQ(overlay["g"], 0xC2 / 255.0);
    EXPECT_EQ(overlay["b"], 0x6B / 255.0);
    EXPECT_NEAR(overlay["a"].get<double>(), 0.3, 0.02);
}

// Each colour cell placed in a table ends Messages once.
TEST_F(SettingsApp, EveryColourCellPlacedRunsOneKill) {
    Device device;
    json dump = device.settingsDump({"open Huebloom", "open \"Other Colours\""});
    int colourRows = 0;
    for (const json& row : dump["rows"]) colourRows += row.contains("color_key") ? 1 : 0;
    EXPECT_EQ(colourRows, 6);
    int kills = 0;
    for (const json& c : dump["log"]["commands"]) kills += c == "killall -9 MobileSMS" ? 1 : 0;
    EXPECT_EQ(kills, colourRows);
}

TEST_F(SettingsApp, TheHexAlertSetsAndCopiesTheColour) {
    Device device;
    json dump = device.settingsDump({"open Huebloom", "open \"iMessage Balloons\"", "open color_key=blueOverlay", "hex",
                                     "alert text #336699", "alert button Set", "hex", "alert button Copy"});
    ASSERT_FALSE(dump.is_null());
    EXPECT_EQ(dump["chooser"]["key"], "blueOverlay");
    EXPECT_EQ(dump["chooser"]["usesAlpha"], true);
    EXPECT_EQ(dump["chooser"]["sliders"]["alpha"]["hidden"], false);
    // The alert's colour is opaque; the saved alpha is the unset overlay's
    // own translucency, which the chooser opened on.
    EXPECT_EQ(dump["chooser"]["background"], e2e::color(0x336699));
    EXPECT_NEAR(dump["chooser"]["currentAlpha"].get<double>(), 0.1, 1e-6);
    json settings = device.readSettings();
    EXPECT_EQ(settings["blueOverlay"], "#336699:0.100000");
    EXPECT_THAT(dump["log"]["pasteboard"].get<std::string>(), HasSubstr("336699"));
}

// The sliders move by their thumbs and save what they show; the chooser
// stays up through a rotation and a wait.
TEST_F(SettingsApp, TheChooserSlidersSaveAndSurviveARotation) {
    Device device;
    json dump = device.settingsDump({"open Huebloom", "open \"iMessage Balloons\"", "open color_key=blueText",
                                     "slider brightness 0.5", "rotate landscape", "wait 2", "rotate portrait"});
    ASSERT_FALSE(dump.is_null());
    EXPECT_EQ(dump["controller"]["class"], "PFColorViewController");
    EXPECT_NEAR(dump["chooser"]["sliders"]["brightness"]["value"].get<double>(), 0.5, 0.02);
    EXPECT_TRUE(dump["chooser"]["sliders"]["alpha"]["hidden"].get<bool>());
    json settings = device.readSettings();
    ASSERT_TRUE(settings["blueText"].is_string()) << settings.dump();
    // Half brightness: no channel above 0x82.
    const std::uint32_t rgb = hexOf(settings["blueText"]);
    for (int shift : {16, 8, 0}) EXPECT_LE((rgb >> shift) & 0xFF, 0x82u) << settings["blueText"];

    RunResult hidden =
        device.settings({"open Huebloom", "open \"iMessage Balloons\"", "open color_key=blueText", "slider alpha 0.5"});
    EXPECT_EQ(hidden.exitCode, 1);
    EXPECT_THAT(hidden.err, HasSubstr("does not edit alpha"));
}

// Each slider step moves its own slider, and the dump names each slider
// after the one that moved: on a row of hue, saturation and brightness and
// on a row of red, green and blue, both with alpha, from #336699 at half
// alpha (hue 7/12, saturation 2/3, brightness 0.6; red 0.2, green 0.4, blue
// 0.6). The RGB row is the iMessage pane's only row here.
struct SliderCase {
    const char* step;
    bool rgb;
    std::array<double, 4> sliders;  // the dump's first, second, third and alpha slider after the step
    std::uint32_t saved;            // the saved red, green and blue
    double savedAlpha;
};

TEST_F(SettingsApp, EachSliderStepMovesItsOwnSliderAndTheDumpNamesIt) {
    const SliderCase cases[] = {
        {"slider hue 0", false, {0, 2 / 3.0, 0.6, 0.5}, 0x993333, 0.5},
        {"slider saturation 1", false, {7 / 12.0, 1, 0.6, 0.5}, 0x004C99, 0.5},
        {"slider brightness 1", false, {7 / 12.0, 2 / 3.0, 1, 0.5}, 0x55AAFF, 0.5},
        {"slider alpha 0.25", false, {7 / 12.0, 2 / 3.0, 0.6, 0.25}, 0x336699, 0.25},
        {"slider red 1", true, {1, 0.4, 0.6, 0.5}, 0xFF6699, 0.5},
        {"slider green 0", true, {0.2, 0, 0.6, 0.5}, 0x330099, 0.5},
        {"slider blue 0", true, {0.2, 0.4, 0, 0.5}, 0x336600, 0.5},
        {"slider alpha 0.25", true, {0.2, 0.4, 0.6, 0.25}, 0x336699, 0.25},
    };
    const char* names[] = {"hue", "saturation", "brightness", "alpha"};
    for (const SliderCase& c : cases) {
        SCOPED_TRACE(std::string(c.step) + (c.rgb ? " (RGB)" : ""));
        Device device;
        const std::string key = c.rgb ? "rgbColour" : "blueOverlay";
        device.writeSettings({{key, "#336699:0.500000"}});
        if (c.rgb) {
            std::ofstream(device / "/Library/PreferenceBundles/Huebloom.bundle/imessage.plist", std::ios::trunc)
                << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\"><dict><key>title</key>"
                   "<string>iMessage Balloons</string><key>items</key><array><dict><key>cell</key>"
                   "<string>PSLinkCell</string><key>cellClass</key><string>PFColorCellHB</string><key>label</key>"
                   "<string>RGB</string><key>color_key</key><string>rgbColour</string><key>color_defaults</key>"
                   "<string>com.Quillfen.huebloom</string><key>usesAlpha</key><true/><key>usesRGB</key><true/>"
                   "</dict></array></dict></plist>\n";
        }
        const json dump =
            device.settingsDump({"open Huebloom", "open \"iMessage Balloons\"", "open color_key=" + key, c.step});
        ASSERT_FALSE(dump.is_null());
        const json& chooser = dump["chooser"];
        ASSERT_TRUE(chooser.is_object()) << dump["controller"];
        EXPECT_EQ(chooser["usesRGB"], c.rgb);
        EXPECT_EQ(chooser["usesAlpha"], true);
        for (std::size_t i = 0; i < 4; ++i) {
            const json& slider = chooser["sliders"][names[i]];
            ASSERT_TRUE(slider.is_object()) << names[i];
            EXPECT_NEAR(slider["value"].get<double>(), c.sliders[i], 0.005) << names[i];
            EXPECT_EQ(slider["hidden"], false) << names[i];
        }
        EXPECT_EQ(chooser["currentAlpha"], chooser["sliders"]["alpha"]["value"]);
        const std::string saved = device.readSettings()[key];
        ASSERT_EQ(saved.substr(0, 1), "#") << saved;
        const std::uint32_t rgb = hexOf(saved);
        for (int shift : {16, 8, 0})
            EXPECT_NEAR(static_cast<int>((rgb >> shift) & 0xFF), static_cast<int>((c.saved >> shift) & 0xFF), 1)
                << saved;
        EXPECT_NEAR(std::stod(saved.substr(8)), c.savedAlpha, 0.005) << saved;
    }
}

TEST_F(SettingsApp, TheSupportActionsOpenTheirAddresses) {
    Device device;
    json dump = device.settingsDump({"open Huebloom", "open Support", "open \"Email Support\"", "open Developer",
                                     "open Contributor", "open Donate"});
    ASSERT_FALSE(dump.is_null());
    ASSERT_EQ(dump["log"]["urls"].size(), 4u) << dump["log"].dump();
    EXPECT_THAT(dump["log"]["urls"][0].get<std::string>(), HasSubstr("mailto:"));
    EXPECT_THAT(dump["log"]["urls"][0].get<std::string>(), HasSubstr("HuebloomSupport"));
    for (const json& url : dump["log"]["urls"]) EXPECT_THAT(url.get<std::string>(), HasSubstr(".invalid"));
}

// The mistakes a newcomer makes in a script end the run with what is wrong
// and what the screen shows.
TEST_F(SettingsApp, AStepThatNamesNothingSaysWhatIsOnScreen) {
    Device device;
    RunResult r = device.settings({"open Huebloom", "open \"Blue Balloons\""});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_THAT(r.err, HasSubstr("no row \"Blue Balloons\""));
    EXPECT_THAT(r.err, HasSubstr("HuebloomListController"));
    EXPECT_THAT(r.err, HasSubstr("\"iMessage Balloons\" (link)"));

    RunResult noChooser = device.settings({"picker tap 10 10"});
    EXPECT_EQ(noChooser.exitCode, 1);
    EXPECT_THAT(noChooser.err, HasSubstr("no colour chooser is open"));

    RunResult badStep = device.settings({"open Huebloom", "swich Enabled on"});
    EXPECT_NE(badStep.exitCode, 0);
    EXPECT_THAT(badStep.err, HasSubstr("unknown step \"swich\""));

    RunResult noScript = device.hbsim({"settings", "--script", (device.path() / "no-such-script.txt").string()});
    EXPECT_NE(noScript.exitCode, 0);
    EXPECT_THAT(noScript.err, HasSubstr("cannot read the script"));
}

TEST_F(SettingsApp, ADeviceWithoutTheBundleSaysToInstallIt) {
    Device device(Device::Options{.model = "", .install = false});
    RunResult r = device.settings({}, {"--dump"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_THAT(r.err, HasSubstr("hbsim install"));
    json dump = json::parse(r.out, nullptr, false);
    ASSERT_FALSE(dump.is_discarded());
    ASSERT_EQ(dump["rows"].size(), 1u);
    EXPECT_THAT(dump["rows"][0]["title"].get<std::string>(), HasSubstr("run hbsim install"));
}

}  // namespace
