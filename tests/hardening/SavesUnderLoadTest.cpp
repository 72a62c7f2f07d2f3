// The settings file while it is being written: the colour chooser saving
// change after change while Messages is launched and killed beside it, and
// the Settings app killed with SIGKILL at random moments of its saves. A
// reader must always find a whole file, the old one or a new one.
#include "HardeningSupport.h"

#include <sys/stat.h>

#include <csignal>
#include <chrono>
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
            steps.push_back("picker tap " + std::to_string(8 + (i * 7) % 280) + " " + std::to_string(8 + (i * 13) % 200));
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
            // A launch killed part way: at start-up, loading, or on screen.
            auto messages = device.startHbsim({"messages", "--stay"});
            std::this_thread::sleep_for(std::chrono::milliseconds(random() % 150));
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
    using Seconds = std::chrono::duration<double>;
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
    auto waitForFirstSave = [&](e2e::BackgroundRun& run, ino_t before) { waitForSaves(run, before, 1); };
    // One whole run first: when the first save comes, how long the saves
    // take, and the last colour.
    const auto started = std::chrono::steady_clock::now();
    double untilFirstSave = 0;
    {
        auto run = device.startHbsim({"settings", "--script", script.string()});
        waitForFirstSave(*run, inode());
        untilFirstSave = Seconds(std::chrono::steady_clock::now() - started).count();
        ASSERT_EQ(run->wait(120).exitCode, 0);
    }
    const double savesTake = Seconds(std::chrono::steady_clock::now() - started).count() - untilFirstSave;
    const json finalText = device.readSettings()["blueText"];
    ASSERT_TRUE(finalText.is_string());

    // Half the kills fall at any moment of a run, start-up included; the
    // other half among the saves, once a random number of them has been
    // seen (fewer than the run makes, so the kill comes before the last).
    std::mt19937 random(42);
    std::uniform_real_distribution<double> anyMoment(0.0, (untilFirstSave + savesTake) * 1.1);
    std::uniform_int_distribution<int> savesSeen(1, 45);
    int midSave = 0;
    constexpr int kTrials = 200;
    for (int trial = 0; trial < kTrials; ++trial) {
        writeStartingSettings(device);
        const ino_t before = inode();
        auto run = device.startHbsim({"settings", "--script", script.string()});
        if (trial % 2 == 0) {
            std::this_thread::sleep_for(Seconds(anyMoment(random)));
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
        if (text != kFirstText && file["blueText"] != finalText) ++midSave;
    }
    // Enough kills landed between two saves for the trials to mean something.
    EXPECT_GE(midSave, kTrials / 4) << "only " << midSave << " kills fell among the saves";
    RecordProperty("kills_among_saves", midSave);

    // A killed writer may leave its temporary file; the next save removes it.
    ASSERT_EQ(device.hbsim({"settings", "--script", script.string()}).exitCode, 0);
    EXPECT_EQ(hardening::strayPreferenceFiles(device), std::vector<std::string>{});
}

}  // namespace
