// The Messages app as a process: launched with and without the hook library,
// without a device, without ChatKit classes, and what its default transcript
// looks like on screen.
#include <DeviceRun.h>

#include <Device/DevicePath.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>

namespace {

using e2e::color;
using e2e::Device;
using e2e::rgb;
using nlohmann::json;
using ::testing::HasSubstr;

// What the system answers before anything changes it.
void expectSystemBehavior(const json& behavior) {
    EXPECT_EQ(behavior["transcriptBackgroundColor"], color(0xFFFFFF));
    EXPECT_EQ(behavior["blue_balloonColors"], json::array({color(0x34AAFC), color(0x0A7AFF)}));
    EXPECT_EQ(behavior["green_balloonColors"], json::array({color(0x5FE07C), color(0x27C24C)}));
    EXPECT_EQ(behavior["gray_balloonColors"], json::array({color(0xE9E9EE), color(0xE1E1E6)}));
    EXPECT_EQ(behavior["gray_balloonOverlayColor"], color(0x000000, 0.05));
    EXPECT_EQ(behavior["blue_balloonTextColor"], color(0xFFFFFF));
    EXPECT_EQ(behavior["gray_balloonTextLinkColor"], color(0x0A7AFF));
    EXPECT_EQ(behavior["green_recipientTextColor"], color(0x28B54B));
    EXPECT_EQ(behavior["green_sendButtonColor"], color(0x4CD964));
    EXPECT_EQ(behavior["gray_progressViewColor"], color(0x8E8E93));
    EXPECT_EQ(behavior["appTintColor"], color(0x007AFF));
    EXPECT_EQ(behavior["entryFieldCoverFillColor"], color(0xFAFAFA));
    EXPECT_EQ(behavior["entryFieldTextColor"], color(0x000000));
    EXPECT_EQ(behavior["shouldShowContactPhotosInConversationList"], false);
    // Every getter is there: 23 colours, 3 lists and the photo choice.
    EXPECT_EQ(behavior.size(), 27u);
}

const json kSystemTails = json::array({false, true, false, true, false, true, true, true});

TEST(MessagesApp, RunsAsTheSystemWithoutTheHookLibrary) {
    Device device({.model = "", .install = false});
    json dump = device.messagesDump();
    ASSERT_TRUE(dump.is_object());
    EXPECT_EQ(dump["loaded"], json::array());
    expectSystemBehavior(dump["behavior"]);
    EXPECT_EQ(dump["detailsButtonTint"], color(0x007AFF));
    EXPECT_EQ(dump["hasTail"], kSystemTails);
    EXPECT_EQ(dump["getRandomColor"], nullptr) << "no one added getRandomColor";
    const json& balloon = dump["textBalloon"];
    EXPECT_EQ(balloon["backgroundColor"], nullptr);
    EXPECT_EQ(balloon["borderWidth"], 0.0);
    EXPECT_EQ(balloon["cornerRadius"], 0.0);
    EXPECT_EQ(balloon["masksToBounds"], false);
}

TEST(MessagesApp, LoadsTheInstalledHookLibraryBeforeTouchingChatKit) {
    if (!e2e::hookLibraryBuilt()) GTEST_SKIP() << "the hook library is not built in this build";
    Device device;
    // No settings file: everything defers to the system.
    json dump = device.messagesDump();
    ASSERT_TRUE(dump.is_object());
    EXPECT_EQ(dump["loaded"], json::array({"Huebloom.dylib"}));
    expectSystemBehavior(dump["behavior"]);
    EXPECT_EQ(dump["hasTail"], kSystemTails);
    EXPECT_TRUE(dump["getRandomColor"].is_object()) << dump["getRandomColor"];
}

TEST(MessagesApp, ClassesLeftOutAreMissingAndTheRestStillAnswers) {
    Device device({.model = "", .install = false});
    json dump = device.messagesDump({"--without-class", "CKTranscriptController", "--screen", "transcript"});
    ASSERT_TRUE(dump.is_object());
    EXPECT_EQ(dump["detailsButtonTint"], nullptr);
    EXPECT_EQ(dump["hasTail"], kSystemTails) << "the balloons exist without their controller";
    EXPECT_TRUE(dump["textBalloon"].is_object());

    json noBalloons = device.messagesDump({"--without-class", "CKBalloonView", "--without-class", "CKUIBehavior"});
    ASSERT_TRUE(noBalloons.is_object());
    EXPECT_EQ(noBalloons["hasTail"], json::array());
    EXPECT_EQ(noBalloons["textBalloon"], nullptr);
    EXPECT_EQ(noBalloons["behavior"]["appTintColor"], nullptr);

    e2e::RunResult bad = device.hbsim({"messages", "--without-class", "CKNothing"});
    EXPECT_NE(bad.exitCode, 0);
    EXPECT_THAT(bad.err, HasSubstr("CKNothing"));
}

TEST(MessagesApp, RefusesToRunWithoutADevice) {
    e2e::RunResult r = e2e::runProgram(e2e::buildDir() / "bin" / "MobileSMS", {"--dump"}, {"HB_DEVICE="});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_THAT(r.err, HasSubstr("HB_DEVICE"));
    EXPECT_THAT(r.err, HasSubstr("hbsim messages"));
    EXPECT_EQ(r.out, "");
}

// The system's sent-balloon gradient spans the transcript between the
// recipient field and the entry bar, so its colour at a height is known.
e2e::Pixel gradientAt(std::uint32_t top, std::uint32_t bottom, double y, double from, double to) {
    double t = std::clamp((y - from) / (to - from), 0.0, 1.0);
    auto mix = [t](int a, int b) { return int(std::lround(a + (b - a) * t)); };
    e2e::Pixel p = rgb(top), q = rgb(bottom);
    return {mix(p.r, q.r), mix(p.g, q.g), mix(p.b, q.b), 255};
}

TEST(MessagesApp, TheDefaultTranscriptShowsTheSystemColoursOnScreen) {
    Device device({.model = "", .install = false});
    auto [dump, shot] = device.messagesDumpAndScreenshot();
    ASSERT_TRUE(shot.valid());
    ASSERT_EQ(shot.width(), 640);
    ASSERT_EQ(shot.height(), 1136);
    ASSERT_EQ(dump["balloons"].size(), 8u);

    // Between the top bars and recipient field (108) and the entry bar (524).
    const double from = 108, to = 524;
    for (const json& balloon : dump["balloons"]) {
        const json& f = balloon["frame"];
        const double x = f["x"], y = f["y"], w = f["width"], h = f["height"];
        const double midY = y + h / 2;
        // Inside the body but clear of the text (which is inset by 14 points).
        const double sampleX = balloon["fromMe"] ? x + 8 : x + w - 8;
        e2e::Pixel expected;
        const std::string kind = balloon["kind"];
        if (kind == "blue") expected = gradientAt(0x34AAFC, 0x0A7AFF, midY, from, to);
        if (kind == "green") expected = gradientAt(0x5FE07C, 0x27C24C, midY, from, to);
        if (kind == "gray") expected = gradientAt(0xE9E9EE, 0xE1E1E6, midY, from, to);
        e2e::Pixel seen = shot.atPoint(sampleX, midY);
        EXPECT_TRUE(e2e::near(seen, expected, 3)) << kind << " balloon \"" << balloon["text"].get<std::string>()
                                                  << "\" at y " << midY << ": " << seen << " not " << expected;
    }
    // The transcript's background beside the balloons, the entry bar's cover
    // below its field, the progress bar of the message being sent.
    EXPECT_EQ(shot.atPoint(2, 300), rgb(0xFFFFFF));
    EXPECT_EQ(shot.atPoint(100, 567), rgb(0xFAFAFA));
    EXPECT_EQ(shot.atPoint(10, 65), rgb(0x007AFF));
}

TEST(MessagesApp, TheScreenFollowsTheDeviceModel) {
    const std::pair<const char*, std::pair<int, int>> models[] = {
        {"iphone4", {640, 960}}, {"iphone5", {640, 1136}}, {"ipad", {1536, 2048}}};
    for (const auto& [model, size] : models) {
        Device device({.model = model, .install = false});
        auto [dump, shot] = device.messagesDumpAndScreenshot({"--screen", "list"});
        EXPECT_EQ(shot.width(), size.first) << model;
        EXPECT_EQ(shot.height(), size.second) << model;
        EXPECT_EQ(dump["behavior"]["shouldShowContactPhotosInConversationList"], std::string(model) == "ipad") << model;
    }
}

}  // namespace

namespace {

// Runs `system` (the device's stand-in) as if inside this device.
int systemInDevice(const e2e::Device& device, const char* command) {
    std::string previous = device::root();
    device::setRoot(device.path().string());
    int status = std::system(command);
    if (previous.empty()) {
        ::unsetenv(device::kEnvironmentVariable);
    } else {
        device::setRoot(previous);
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(MessagesApp, StaysUntilKilledInItsOwnDeviceOnly) {
    Device one({.model = "", .install = false}), other({.model = "", .install = false});
    auto first = one.startHbsim({"messages", "--stay"});
    auto second = other.startHbsim({"messages", "--stay"});
    ASSERT_TRUE(one.waitForProcess("MobileSMS")) << first->wait(1).err;
    ASSERT_TRUE(other.waitForProcess("MobileSMS")) << second->wait(1).err;

    EXPECT_EQ(systemInDevice(one, "killall -9 MobileSMS"), 0);
    // The end of the killed app is the event waited for; the time limit only
    // stops a broken run.
    e2e::RunResult ended = first->wait(120);
    EXPECT_EQ(ended.exitCode, 128 + 9) << "hbsim reports the app's end by signal 9";
    EXPECT_TRUE(one.processes("MobileSMS").empty());

    EXPECT_TRUE(second->running()) << "the other device's Messages goes on";
    EXPECT_EQ(other.processes("MobileSMS").size(), 1u);
    EXPECT_EQ(systemInDevice(one, "killall -9 MobileSMS"), 1) << "nothing left to end in the first device";
}

}  // namespace
