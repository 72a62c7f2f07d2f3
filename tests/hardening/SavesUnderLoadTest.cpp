// The settings file while it is being written: the colour chooser saving
// change after change while Messages is launched and killed beside it, and
// the Settings app killed with SIGKILL at random moments of its saves. A
// reader must always find a whole file, the old one or a new one.
#include "HardeningSupport.h"

#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <random>
#include <set>
#include <thread>

namespace {

using e2e::Device;
using nlohmann::json;
using namespace std::chrono_literals;

constexpr const char* kSentinel = "#123456";  // a key nothing in the run changes
constexpr const char* kFirstText = "#010203";

class SavesUnderLoad : public ::testing::Test {
protected:
    void SetUp() override {
        if (!e2e::hookLibraryBuilt()) GTEST_SKIP() << "the deliverables are not built in this build";
    }

    static void writeStartingSettings(const Device& device) {
        device.writeSettings({{"enabled", true}, {"blueLinkText", kSentinel}, {"blueText", kFirstText}});
    }

    // Opens the iMessage text colour's chooser and taps the picker field
    // `taps` times, each tap at another point, so each one saves a colour.
    static std::vector<std::string> chooserTaps(int taps) {
        std::vector<std::string> steps = {"open Huebloom", "open \"iMessage Balloons\"", "open color_key=blueText"};
        for (int i = 0; i < taps; ++i)
            steps.push_back("picker tap " + std::to_string(8 + (i * 7) % 280) + " " +
                            std::to_string(8 + (i * 13) % 200));
        return steps;
    }
};

std::string hexOfColour(const json& c) {
    char text[8];
    auto channel = [&](const char* name) { return static_cast<int>(std::lround(c[name].get<double>() * 255)); };
    std::snprintf(text, sizeof text, "#%02X%02X%02X", channel("r"), channel("g"), channel("b"));
    return text;
}

TEST_F(SavesUnderLoad, LaunchesOfMessagesReadAWholeFileWhileTheChooserSaves2000Changes) {
    Device device;
    writeStartingSettings(device);
    const auto script = hardening::writeScript(device, "saves", chooserTaps(2000));
    auto settings = device.startHbsim({"settings", "--script", script.string(), "--dump"});

    std::mt19937 random(20261209);
    int read = 0, killedByUs = 0, killedBySettings = 0;
    std::set<std::string> textColoursSeen;
    for (int launch = 0; settings->running(); ++launch) {
        if (launch % 2 == 1) {
            // A launch killed part way: at start-up, or once the app has
            // registered (loading, or on screen): moments the run marks, not
            // times of this machine.
            auto messages = device.startHbsim({"messages", "--stay"});
            if (random() % 2 == 1) {
                while (messages->running() && device.processes("MobileSMS").empty())
                    std::this_thread::sleep_for(std::chrono::microseconds(200));
            }
            messages->signal(SIGKILL);
            messages->wait(30);
            ++killedByUs;
            continue;
        }
        e2e::RunResult r = device.hbsim({"messages", "--dump"});
        if (r.exitCode == 137) {
            // The colour cells of the pane end Messages as the chooser opens.
            ++killedBySettings;
            continue;
        }
        ASSERT_EQ(r.exitCode, 0) << r.err;
        json dump = json::parse(r.out, nullptr, false);
        ASSERT_FALSE(dump.is_discarded()) << r.out;
        ++read;
        // A launch that read a part of a file, or a mix of two, would have
        // lost the key nothing changes, or the master switch with it.
        EXPECT_EQ(dump["behavior"]["blue_balloonTextLinkColor"], e2e::color(0x123456)) << "launch " << launch;
        textColoursSeen.insert(hexOfColour(dump["behavior"]["blue_balloonTextColor"]));
        for (const std::string& fault : hardening::badBehaviourColours(dump)) ADD_FAILURE() << fault;
    }
    e2e::RunResult done = settings->wait(600);
    ASSERT_EQ(done.exitCode, 0) << done.err;
    json last = json::parse(done.out, nullptr, false);
    ASSERT_TRUE(last.is_object()) << done.out;

    // The end state holds the last change, and the rest of the file.
    json file = device.readSettings();
    ASSERT_TRUE(file.is_object());
    EXPECT_EQ(file["blueText"], hexOfColour(last["chooser"]["background"]));
    EXPECT_EQ(file["blueLinkText"], kSentinel);
    EXPECT_EQ(file["enabled"], true);
    EXPECT_EQ(hardening::strayPreferenceFiles(device), std::vector<std::string>{});
    // The launches saw the file move on: more than the first colour.
    EXPECT_GE(read, 3) << "too few launches overlapped the saves";
    EXPECT_GE(textColoursSeen.size(), 2u);
    RecordProperty("launches_read", read);
    RecordProperty("launches_killed", killedByUs);
    RecordProperty("launches_ended_by_settings", killedBySettings);
}

TEST_F(SavesUnderLoad, TheSettingsFileStaysAWholeDictionaryWhenSettingsIsKilledWhileSaving) {
    Device device;
    writeStartingSettings(device);
    const auto script = hardening::writeScript(device, "saves", chooserTaps(60));
    const auto settingsFile = device / "/var/mobile/Library/Preferences/com.Quillfen.huebloom.plist";
    // Each save renames a new file over the old one, so a new inode shows
    // that the first save of a run has happened.
    auto inode = [&] {
        struct stat info {};
        return ::stat(settingsFile.c_str(), &info) == 0 ? info.st_ino : 0;
    };
    // Waits until at least `saves` new files have been seen (or the run
    // ended); two saves between two looks count as one, so it may be more.
    auto waitForSaves = [&](e2e::BackgroundRun& run, ino_t before, int saves) {
        for (int seen = 0; seen < saves && run.running();) {
            const ino_t now = inode();
            if (now != before) {
                before = now;
                ++seen;
            } else {
                std::this_thread::sleep_for(std::chrono::microseconds(200));
            }
        }
    };
    // Waits until the condition holds or the run has ended.
    auto waitUntil = [](e2e::BackgroundRun& run, const auto& condition) {
        while (run.running() && !condition()) std::this_thread::sleep_for(std::chrono::microseconds(200));
    };
    const auto systemLog = device / "/var/run/hbsim/system.log";
    auto commandsRun = [&] {
        std::error_code error;
        return std::filesystem::file_size(systemLog, error) > 0 && !error;
    };

    // Every kill falls at a moment the run itself marks, never after a time
    // measured on this machine: half the kills at one of the moments of
    // start-up (at once; once the app has registered; once the pane of colour
    // cells has ended Messages; once the first save is seen), the other half
    // among the saves, once a random number of them has been seen. The
    // chooser writes the stored colour back on appearing and in its layout
    // pass, so from three saves on the file holds a tap's colour, and with at
    // most 45 seen of the 62 the run makes, one before the last.
    std::mt19937 random(42);
    std::uniform_int_distribution<int> startUpMoment(0, 3);
    std::uniform_int_distribution<int> savesSeen(3, 45);
    std::vector<std::string> amongSaves;  // what the kills among the saves left
    constexpr int kTrials = 200;
    for (int trial = 0; trial < kTrials; ++trial) {
        writeStartingSettings(device);
        std::filesystem::remove(systemLog);
        const ino_t before = inode();
        auto run = device.startHbsim({"settings", "--script", script.string()});
        if (trial % 2 == 0) {
            switch (startUpMoment(random)) {
            case 0: break;
            case 1: waitUntil(*run, [&] { return !device.processes("Preferences").empty(); }); break;
            case 2: waitUntil(*run, commandsRun); break;
            case 3: waitForSaves(*run, before, 1); break;
            }
        } else {
            waitForSaves(*run, before, savesSeen(random));
        }
        run->signal(SIGKILL);
        run->wait(30);

        json file = device.readSettings();
        ASSERT_TRUE(file.is_object()) << "trial " << trial << ": the settings file is not a dictionary";
        ASSERT_EQ(file["blueLinkText"], kSentinel) << "trial " << trial;
        ASSERT_EQ(file["enabled"], true) << "trial " << trial;
        ASSERT_TRUE(file["blueText"].is_string()) << "trial " << trial;
        const std::string text = file["blueText"];
        ASSERT_EQ(text.size(), 7u) << text;
        if (trial % 2 == 1) {
            EXPECT_NE(text, kFirstText) << "trial " << trial << ": killed after three saves, yet no tap was saved";
            amongSaves.push_back(text);
        }
    }
    // A killed writer may leave its temporary file; the next save removes it.
    ASSERT_EQ(device.hbsim({"settings", "--script", script.string()}).exitCode, 0);
    EXPECT_EQ(hardening::strayPreferenceFiles(device), std::vector<std::string>{});

    // The kills among the saves ended runs that still had saves to make: the
    // file held neither the first colour nor the last.
    const json finalText = device.readSettings()["blueText"];
    ASSERT_TRUE(finalText.is_string());
    const auto midSave =
        std::count_if(amongSaves.begin(), amongSaves.end(), [&](const std::string& t) { return t != finalText; });
    EXPECT_GE(2 * midSave, std::ptrdiff_t(amongSaves.size()))
        << "only " << midSave << " of " << amongSaves.size() << " kills fell among the saves";
    EXPECT_GE(std::set<std::string>(amongSaves.begin(), amongSaves.end()).size(), 10u);
    RecordProperty("kills_among_saves", int(midSave));
}

}  // namespace
