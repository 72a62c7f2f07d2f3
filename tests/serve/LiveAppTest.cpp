// The apps' live mode, as hbsim serve drives it: commands on standard
// input, "frame N" and N bytes of PNG on standard output; a first frame at
// launch, frames after an input until the screen is still, then none.
#include <DeviceRun.h>
#include <LiveAppClient.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>

namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;
using Clock = std::chrono::steady_clock;

// One app program of this build started with --live in a device; what it
// writes on standard error is kept beside the device.
class LiveApp : public LiveAppClient {
public:
    LiveApp(const std::string& program, const e2e::Device& device, const std::vector<std::string>& arguments = {})
        : LiveAppClient(e2e::buildDir() / "bin" / program, device.path(), arguments,
                        device.path().parent_path() / ("live-" + program + ".err")) {}

    void send(const std::string& line) { ASSERT_TRUE(LiveAppClient::send(line)) << "the app no longer reads"; }
};

e2e::Screenshot picture(const std::string& png, const fs::path& folder) {
    const fs::path file = folder / "frame.png";
    std::ofstream(file, std::ios::binary) << png;
    return e2e::Screenshot(file);
}

bool samePixels(const e2e::Screenshot& a, const e2e::Screenshot& b) {
    if (!a.valid() || a.width() != b.width() || a.height() != b.height()) return false;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (!(a.at(x, y) == b.at(x, y))) return false;
    return true;
}

TEST(LiveApp, SendsOneFrameAtLaunchAndNothingWhileStill) {
    e2e::Device device;
    LiveApp app("Preferences", device);
    ASSERT_TRUE(app.started());
    auto first = app.nextFrame();
    ASSERT_TRUE(first);
    e2e::Screenshot shot = picture(*first, device.path());
    ASSERT_TRUE(shot.valid());
    EXPECT_EQ(shot.width(), 640);
    EXPECT_EQ(shot.height(), 1136);
    EXPECT_EQ(shot.atPoint(160, 120), e2e::rgb(0xFFFFFF)) << "the Huebloom row of the root list";
    auto more = app.framesUntilStill();
    ASSERT_TRUE(more) << "the app says when its launch has settled";
    EXPECT_TRUE(more->empty()) << "the root list does not move";
    EXPECT_EQ(app.stillAfter(), 0u);
    EXPECT_FALSE(app.nextFrame(std::chrono::milliseconds(1000))) << "a still screen sends nothing";
    app.closeInput();
    EXPECT_EQ(app.wait(), 0);
}

TEST(LiveApp, ATapSendsFramesUntilThePushEndsThenStops) {
    e2e::Device device;
    LiveApp app("Preferences", device);
    ASSERT_TRUE(app.nextFrame());
    app.send("down 160 120");
    app.send("up 160 120");
    auto settled = app.framesUntilStill();
    ASSERT_TRUE(settled) << "no \"still 2\" after the tap";
    EXPECT_EQ(app.stillAfter(), 2u);
    const std::vector<std::string>& frames = *settled;
    // The row highlights, the pane slides in, and the last frame is the pane
    // at rest: its switch row, below its preview, where the root had gray.
    // How many frames the slide takes depends on how fast the machine paints
    // (the live app runs on real time), so only the first and the last are
    // counted on.
    ASSERT_GE(frames.size(), 2u);
    e2e::Screenshot pane = picture(frames.back(), device.path());
    EXPECT_EQ(pane.atPoint(160, 276), e2e::rgb(0xFFFFFF));
    EXPECT_NE(frames[frames.size() - 2], frames.back()) << "only changed pictures are sent";
    EXPECT_FALSE(app.nextFrame(std::chrono::milliseconds(1000)));

    // `frame` asks for the screen even when it has not changed.
    app.send("frame");
    auto again = app.nextFrame();
    ASSERT_TRUE(again);
    EXPECT_EQ(*again, frames.back());
}

TEST(LiveApp, IgnoresMalformedCommandsAndSaysSo) {
    e2e::Device device;
    LiveApp app("Preferences", device);
    ASSERT_TRUE(app.nextFrame());
    for (const char* line :
         {"jump 1 2", "down 1", "down x 2", "down nan 2", "down 1e9 2", "move 1 2 3", "up", "frame now"})
        app.send(line);
    app.send(std::string(5000, 'x'));
    // A move or up without a finger down changes nothing.
    app.send("move 160 120");
    app.send("up 160 120");
    auto frames = app.framesUntilStill();
    ASSERT_TRUE(frames) << "the app says it is still after commands it ignored (still after " << app.stillAfter()
                        << " of " << app.sent() << ")";
    EXPECT_TRUE(frames->empty());
    app.send("frame");
    EXPECT_TRUE(app.nextFrame()) << "the app still answers";
    app.closeInput();
    EXPECT_EQ(app.wait(), 0);
    const std::string errors = app.errors();
    EXPECT_THAT(errors, HasSubstr("ignored the command \"jump 1 2\""));
    EXPECT_THAT(errors, HasSubstr("ignored the command \"down nan 2\""));
    EXPECT_THAT(errors, HasSubstr("ignored the command \"frame now\""));
    EXPECT_THAT(errors, ::testing::Not(HasSubstr("xxxxxxxx"))) << "an overlong line is dropped whole";
}

// Messages in live mode shows what hbsim messages shows, picture for picture.
TEST(LiveApp, MessagesShowsTheTranscriptAsHbsimMessagesDoes) {
    e2e::Device device;
    LiveApp app("MobileSMS", device, {"--screen", "transcript"});
    auto first = app.nextFrame();
    ASSERT_TRUE(first);
    const fs::path folder = device.path().parent_path() / ("live-" + std::to_string(::getpid()));
    fs::create_directories(folder);
    e2e::Screenshot live = picture(*first, folder);
    e2e::Screenshot still = device.messagesScreenshot();
    EXPECT_TRUE(samePixels(live, still));
    std::error_code ec;
    fs::remove_all(folder, ec);
}

}  // namespace
