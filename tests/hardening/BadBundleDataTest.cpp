// Broken settings bundles and loader entries in an installed device: lists
// and entries missing or corrupt, classes that do not exist, unknown cell
// types, rows of the wrong shape. The Settings app shows what it can, says
// what it could not open, and stays up; a colour row whose domain would
// reach outside the preferences folder writes nothing there.
#include "HardeningSupport.h"

#include <algorithm>
#include <functional>

namespace {

using e2e::Device;
using nlohmann::json;
namespace fs = std::filesystem;

constexpr const char* kBundle = "/Library/PreferenceBundles/Huebloom.bundle";
constexpr const char* kEntries = "/Library/PreferenceLoader/Preferences";

std::string plistText(const std::string& body) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">\n" + body + "\n</plist>\n";
}

std::string entryText(const std::string& label, const std::string& bundle) {
    return plistText(
        "<dict><key>entry</key><dict><key>cell</key><string>PSLinkCell</string>"
        "<key>bundle</key><string>" +
        bundle + "</string><key>label</key><string>" + label + "</string><key>isController</key><true/></dict></dict>");
}

std::string listText(const std::string& items, const std::string& title = "Broken") {
    return plistText("<dict><key>title</key><string>" + title + "</string><key>items</key><array>" + items +
                     "</array></dict>");
}

void write(const Device& device, const std::string& phonePath, const std::string& bytes) {
    std::ofstream(device / phonePath, std::ios::binary | std::ios::trunc) << bytes;
}

std::vector<std::string> titles(const json& dump) {
    std::vector<std::string> out;
    for (const json& row : dump.value("rows", json::array())) out.push_back(row.value("title", ""));
    return out;
}

bool contains(const std::vector<std::string>& list, const std::string& item) {
    return std::find(list.begin(), list.end(), item) != list.end();
}

struct BrokenCase {
    std::string name;
    std::function<void(const Device&)> breakIt;
    std::vector<std::string> steps;  // run before the dump; each must name something on screen
    std::function<void(const json& dump, const e2e::RunResult&)> check;
    // The last step opens a bundle that cannot be loaded: the app reports
    // it, keeps its root list, and the script ends there with status 1.
    bool lastOpenFails = false;
};

std::vector<BrokenCase> brokenCases() {
    const std::string list = std::string(kBundle) + "/imessage.plist";  // the iMessage Balloons pane's list
    return {
        {"a corrupt entry beside a good one",
         [](const Device& d) {
             write(d, std::string(kEntries) + "/Huebloom.plist", "bplist00\x01\x02garbage");
             write(d, std::string(kEntries) + "/Second.plist", entryText("Second", "Huebloom"));
         },
         {"open Second"},
         [](const json& dump, const e2e::RunResult&) {
             EXPECT_EQ(dump["controller"]["class"], "HuebloomListController");
         }},
        {"entries of the wrong shape",
         [](const Device& d) {
             write(d, std::string(kEntries) + "/Array.plist", plistText("<array><string>x</string></array>"));
             write(d, std::string(kEntries) + "/NoEntry.plist",
                   plistText("<dict><key>label</key><string>L</string></dict>"));
             write(d, std::string(kEntries) + "/Typed.plist",
                   plistText("<dict><key>entry</key><dict><key>bundle</key><integer>7</integer>"
                             "<key>label</key><true/></dict></dict>"));
             write(d, std::string(kEntries) + "/Empty.plist", "");
         },
         {},
         [](const json& dump, const e2e::RunResult&) { EXPECT_TRUE(contains(titles(dump), "Huebloom")); }},
        {"an entry naming a bundle that is not installed",
         [](const Device& d) { write(d, std::string(kEntries) + "/Ghost.plist", entryText("Ghost", "NoSuchBundle")); },
         {"open Ghost"},
         [](const json& dump, const e2e::RunResult& r) {
             EXPECT_TRUE(contains(titles(dump), "Ghost"));
             EXPECT_NE(r.err.find("\"NoSuchBundle\" of \"Ghost\""), std::string::npos) << r.err;
         },
         true},
        {"a bundle without its Info.plist",
         [](const Device& d) { fs::remove(d / (std::string(kBundle) + "/Info.plist")); },
         {"open Huebloom"},
         [](const json& dump, const e2e::RunResult& r) {
             EXPECT_TRUE(contains(titles(dump), "Huebloom"));
             EXPECT_NE(r.err.find("\"Huebloom\""), std::string::npos) << r.err;
         },
         true},
        {"a principal class that does not exist",
         [](const Device& d) {
             std::ifstream in(d / (std::string(kBundle) + "/Info.plist"));
             std::string text((std::istreambuf_iterator<char>(in)), {});
             const std::string from = "HuebloomListController";
             text.replace(text.find(from), from.size(), "NoSuchListController");
             write(d, std::string(kBundle) + "/Info.plist", text);
         },
         {"open Huebloom"},
         [](const json& dump, const e2e::RunResult& r) {
             EXPECT_TRUE(contains(titles(dump), "Huebloom"));
             EXPECT_NE(r.err.find("\"Huebloom\""), std::string::npos) << r.err;
         },
         true},
        {"a bundle executable that is not a library",
         [](const Device& d) { write(d, std::string(kBundle) + "/Huebloom", "#!/bin/sh\nexit 0\n"); },
         {"open Huebloom"},
         [](const json& dump, const e2e::RunResult& r) {
             EXPECT_TRUE(contains(titles(dump), "Huebloom"));
             EXPECT_NE(r.err.find("\"Huebloom\""), std::string::npos) << r.err;
         },
         true},
        {"the root list missing",
         [](const Device& d) { fs::remove(d / (std::string(kBundle) + "/Huebloom.plist")); },
         {"open Huebloom"},
         [](const json& dump, const e2e::RunResult&) {
             EXPECT_EQ(dump["controller"]["class"], "HuebloomListController");
             EXPECT_TRUE(dump["rows"].empty());
         }},
        {"a sub-pane's list cut in half",
         [list](const Device& d) {
             std::ifstream in(d / list);
             std::string text((std::istreambuf_iterator<char>(in)), {});
             write(d, list, text.substr(0, text.size() / 2));
         },
         {"open Huebloom", "open \"iMessage Balloons\"", "back", "open \"SMS Balloons\""},
         [](const json& dump, const e2e::RunResult&) {
             // The broken pane opened empty and let the person go back; the next one is whole.
             EXPECT_EQ(dump["controller"]["class"], "smsListController");
             EXPECT_FALSE(dump["rows"].empty());
         }},
        {"rows naming classes and cell types that do not exist",
         [list](const Device& d) {
             write(d, list,
                   listText(
                       "<dict><key>cell</key><string>PSGroupCell</string><key>label</key><string>G</string></dict>"
                       "<dict><key>cell</key><string>PSLinkCell</string><key>label</key><string>Nowhere</string>"
                       "<key>detail</key><string>NoSuchController</string></dict>"
                       "<dict><key>cell</key><string>PSLinkCell</string><key>label</key><string>Custom</string>"
                       "<key>cellClass</key><string>NoSuchCell</string></dict>"
                       "<dict><key>cell</key><string>PSHologramCell</string><key>label</key><string>Odd</string></dict>"
                       "<dict><key>cell</key><integer>3</integer><key>label</key><string>Typed</string></dict>"
                       "<string>not a row</string><integer>12</integer><array/>"
                       "<dict><key>cell</key><string>PSSwitchCell</string><key>label</key><string>Still</string>"
                       "<key>key</key><string>pic</string><key>defaults</key><string>com.Quillfen.huebloom</string></"
                       "dict>"));
         },
         {"open Huebloom", "open \"iMessage Balloons\"", "open Nowhere", "open Custom", "open Odd", "switch Still on"},
         [](const json& dump, const e2e::RunResult&) {
             EXPECT_EQ(dump["controller"]["class"], "imessageListController") << "nothing was pushed";
             for (const char* title : {"Nowhere", "Custom", "Odd", "Still"})
                 EXPECT_TRUE(contains(titles(dump), title)) << title;
         }},
        {"colour rows whose alpha and RGB choices are not Booleans",
         [list](const Device& d) {
             std::string rows;
             int n = 0;
             for (const char* value : {"<array><true/></array>", "<dict><key>a</key><true/></dict>",
                                       "<date>2020-01-01T00:00:00Z</date>", "<data>AQ==</data>"}) {
                 rows +=
                     "<dict><key>cell</key><string>PSLinkCell</string><key>cellClass</key><string>PFColorCellHB"
                     "</string><key>label</key><string>Odd" +
                     std::to_string(n++) +
                     "</string><key>color_key</key><string>blueText</string><key>color_defaults</key>"
                     "<string>com.Quillfen.huebloom</string><key>usesAlpha</key>" +
                     value + "<key>usesRGB</key>" + value + "</dict>";
             }
             write(d, list, listText(rows));
         },
         {"open Huebloom", "open \"iMessage Balloons\"", "open Odd0", "back", "open Odd1", "back", "open Odd2", "back",
          "open Odd3"},
         [](const json& dump, const e2e::RunResult&) {
             // Neither reads as YES: the chooser edits hue, saturation and brightness, without alpha.
             EXPECT_EQ(dump["controller"]["class"], "PFColorViewController");
             EXPECT_EQ(dump["chooser"]["usesAlpha"], false);
             EXPECT_EQ(dump["chooser"]["usesRGB"], false);
         }},
        {"a list whose items are not an array",
         [list](const Device& d) {
             write(d, list, plistText("<dict><key>items</key><dict><key>a</key><string>b</string></dict></dict>"));
         },
         {"open Huebloom", "open \"iMessage Balloons\""},
         [](const json& dump, const e2e::RunResult&) {
             EXPECT_EQ(dump["controller"]["class"], "imessageListController");
             EXPECT_TRUE(dump["rows"].empty());
         }},
    };
}

class BadBundleData : public ::testing::Test {
protected:
    void SetUp() override {
        if (!e2e::hookLibraryBuilt()) GTEST_SKIP() << "the deliverables are not built in this build";
    }
};

TEST_F(BadBundleData, SettingsShowsWhatItCanAndStaysUp) {
    for (const BrokenCase& c : brokenCases()) {
        SCOPED_TRACE(c.name);
        Device device;
        c.breakIt(device);
        std::vector<std::string> steps = c.steps;
        // A failing open ends the script, so the screen is dumped before it.
        const auto dumpAt = c.lastOpenFails ? steps.end() - 1 : steps.end();
        steps.insert(dumpAt, "dump " + (device.path() / "dump.json").string());
        steps.push_back("wait 1");  // after the dump the app still takes steps
        const auto script = hardening::writeScript(device, "broken", steps);
        e2e::RunResult r = device.hbsim({"settings", "--script", script.string()});
        if (c.lastOpenFails) {
            EXPECT_EQ(r.exitCode, 1) << r.err;
            EXPECT_NE(r.err.find("cannot be loaded"), std::string::npos) << r.err;
        } else {
            ASSERT_EQ(r.exitCode, 0) << r.err;
        }
        std::ifstream in(device.path() / "dump.json");
        json dump = json::parse(in, nullptr, false);
        ASSERT_TRUE(dump.is_object());
        c.check(dump, r);
    }
}

// A colour row whose domain climbs out of the preferences folder is a row
// without a domain: its chooser saves nothing, and the file it aimed at (the
// hook library's filter here) is untouched.
TEST_F(BadBundleData, AColourRowWhoseDomainLeavesThePreferencesFolderWritesNothing) {
    Device device;
    const std::string target = "/Library/MobileSubstrate/DynamicLibraries/Huebloom.plist";
    std::ifstream before(device / target, std::ios::binary);
    const std::string filter((std::istreambuf_iterator<char>(before)), {});
    write(device, std::string(kBundle) + "/imessage.plist",
          listText(
              "<dict><key>cell</key><string>PSLinkCell</string><key>cellClass</key><string>PFColorCellHB</string>"
              "<key>label</key><string>Escape</string><key>color_key</key><string>Filter</string>"
              "<key>color_defaults</key><string>../../../../Library/MobileSubstrate/DynamicLibraries/Huebloom</string>"
              "<key>color_fallback</key><string>#00FF00</string></dict>"));
    const auto script = hardening::writeScript(
        device, "escape",
        {"open Huebloom", "open \"iMessage Balloons\"", "dump " + (device.path() / "pane.json").string(), "open Escape",
         "picker tap 40 40", "picker drag 20 20 200 150 5", "back"});
    e2e::RunResult r = device.hbsim({"settings", "--script", script.string()});
    ASSERT_EQ(r.exitCode, 0) << r.err;

    std::ifstream after(device / target, std::ios::binary);
    EXPECT_EQ(std::string((std::istreambuf_iterator<char>(after)), {}), filter);
    std::ifstream in(device.path() / "pane.json");
    const json pane = json::parse(in, nullptr, false);
    ASSERT_TRUE(pane.is_object());
    ASSERT_EQ(pane["rows"].size(), 1u);
    EXPECT_EQ(pane["rows"][0]["swatch"], e2e::color(0x00FF00)) << "the row shows its fallback";
    EXPECT_EQ(hardening::strayPreferenceFiles(device), std::vector<std::string>{});
    std::vector<std::string> beside;
    for (const auto& e : fs::directory_iterator(device / "/Library/MobileSubstrate/DynamicLibraries"))
        beside.push_back(e.path().filename().string());
    std::sort(beside.begin(), beside.end());
    EXPECT_EQ(beside, (std::vector<std::string>{"Huebloom.dylib", "Huebloom.plist"}));
}

}  // namespace
