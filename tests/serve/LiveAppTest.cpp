// The apps' live mode, as hbsim serve drives it: commands on standard
// input, "frame N" and N bytes of PNG on standard output; a first frame at
// launch, frames after an input until the screen is still, then none.
#include <DeviceRun.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>

extern char** environ;

namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;
using Clock = std::chrono::steady_clock;

// One app program started with --live in a device, its pipes held here.
class LiveApp {
public:
    LiveApp(const std::string& program, const e2e::Device& device, std::vector<std::string> arguments = {})
        : errFile_(device.path().parent_path() / ("live-" + program + "-" + std::to_string(::getpid()) + ".err")) {
        int in[2], out[2];
        if (::pipe2(in, O_CLOEXEC) != 0 || ::pipe2(out, O_CLOEXEC) != 0) return;
        const std::string path = (e2e::buildDir() / "bin" / program).string();
        std::vector<std::string> args{path, "--live"};
        args.insert(args.end(), arguments.begin(), arguments.end());
        std::vector<char*> argv;
        for (auto& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        std::vector<std::string> env{"HB_DEVICE=" + device.path().string()};
        for (char** e = environ; *e; ++e)
            if (std::strncmp(*e, "HB_DEVICE=", 10) != 0) env.emplace_back(*e);
        std::vector<char*> envp;
        for (auto& e : env) envp.push_back(e.data());
        envp.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, in[0], 0);
        posix_spawn_file_actions_adddup2(&actions, out[1], 1);
        posix_spawn_file_actions_addopen(&actions, 2, errFile_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (::posix_spawn(&pid_, path.c_str(), &actions, nullptr, argv.data(), envp.data()) != 0) pid_ = -1;
        posix_spawn_file_actions_destroy(&actions);
        ::close(in[0]);
        ::close(out[1]);
        commands_ = in[1];
        frames_ = out[0];
    }
    ~LiveApp() {
        closeInput();
        if (pid_ > 0 && !reaped_) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
        if (frames_ >= 0) ::close(frames_);
        std::error_code ec;
        fs::remove(errFile_, ec);
    }

    bool started() const { return pid_ > 0; }
    void send(const std::string& line) {
        const std::string text = line + "\n";
        ASSERT_EQ(::write(commands_, text.data(), text.size()), static_cast<ssize_t>(text.size()));
    }
    void closeInput() {
        if (commands_ >= 0) ::close(commands_);
        commands_ = -1;
    }

    // The next frame's PNG bytes, or nothing when none comes in time.
    std::optional<std::string> nextFrame(std::chrono::milliseconds timeout = std::chrono::seconds(20)) {
        const auto deadline = Clock::now() + timeout;
        std::string header;
        while (header.empty() || header.back() != '\n') {
            if (!readSome(deadline)) return std::nullopt;
            const std::size_t end = buffer_.find('\n');
            header += buffer_.substr(0, end == std::string::npos ? buffer_.size() : end + 1);
            buffer_.erase(0, end == std::string::npos ? buffer_.size() : end + 1);
        }
        std::size_t size = 0;
        if (std::sscanf(header.c_str(), "frame %zu", &size) != 1) {
            ADD_FAILURE() << "not a frame header: " << header;
            return std::nullopt;
        }
        while (buffer_.size() < size)
            if (!readSome(Clock::now() + std::chrono::seconds(20))) return std::nullopt;
        std::string png = buffer_.substr(0, size);
        buffer_.erase(0, size);
        return png;
    }

    // All frames until none has come for `quiet`.
    std::vector<std::string> framesUntilQuiet(std::chrono::milliseconds quiet) {
        std::vector<std::string> frames;
        while (auto frame = nextFrame(quiet)) frames.push_back(*frame);
        return frames;
    }

    int wait() {
        int status = 0;
        ::waitpid(pid_, &status, 0);
        reaped_ = true;
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }
    std::string errors() const {
        std::ifstream in(errFile_);
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }

private:
    bool readSome(Clock::time_point deadline) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        pollfd p{frames_, POLLIN, 0};
        if (left <= 0 || ::poll(&p, 1, static_cast<int>(left)) <= 0) return false;
        char chunk[65536];
        const ssize_t n = ::read(frames_, chunk, sizeof chunk);
        if (n <= 0) return false;
        buffer_.append(chunk, static_cast<std::size_t>(n));
        return true;
    }

    fs::path errFile_;
    pid_t pid_ = -1;
    bool reaped_ = false;
    int commands_ = -1;
    int frames_ = -1;
    std::string buffer_;
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

constexpr std::chrono::milliseconds kStill{700};

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
    std::vector<std::string> frames = app.framesUntilQuiet(kStill);
    // The row highlights, the pane slides in over several frames, and the
    // last frame is the pane at rest: its switch row where the root had gray.
    ASSERT_GT(frames.size(), 3u);
    e2e::Screenshot pane = picture(frames.back(), device.path());
    EXPECT_EQ(pane.atPoint(160, 300), e2e::rgb(0xFFFFFF));
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
    for (const char* line : {"jump 1 2", "down 1", "down x 2", "down nan 2", "down 1e9 2", "move 1 2 3", "up",
                             "frame now"})
        app.send(line);
    app.send(std::string(5000, 'x'));
    // A move or up without a finger down changes nothing.
    app.send("move 160 120");
    app.send("up 160 120");
    EXPECT_TRUE(app.framesUntilQuiet(kStill).empty());
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
