#include "ServeApps.h"

#include <Sim/DeviceFolder.h>
#include <Sim/UserError.h>

#include <Device/DevicePath.h>
#include <Device/WriteAll.h>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>

extern char** environ;

namespace fs = std::filesystem;

namespace hbsim::serve {
namespace {

// A frame larger than this is no frame of any screen: the stream is broken.
constexpr std::size_t kMaxFrameBytes = 64u << 20;

void closeFd(int& fd) {
    if (fd >= 0) ::close(fd);
    fd = -1;
}

// Reads the frame stream: lines "frame N" each followed by N bytes, and the
// app's lines "still N" (the screen has settled after N command lines).
class FrameReader {
public:
    explicit FrameReader(int fd) : fd_(fd) {}

    struct Item {
        std::shared_ptr<const std::string> png;  // a frame, or
        std::optional<std::uint64_t> still;      // a still line; neither at the end of the stream
    };

    // The next frame or still line. Throws std::runtime_error for a stream
    // that is not frames.
    Item next() {
        std::string header;
        for (;;) {
            if (pos_ == buffer_.size() && !fill()) {
                if (!header.empty()) throw std::runtime_error("the frame stream ended inside a header");
                return {};
            }
            const char c = buffer_[pos_++];
            if (c == '\n') break;
            header += c;
            if (header.size() > 32) throw std::runtime_error("a frame header is too long");
        }
        unsigned long long commands = 0;
        if (std::sscanf(header.c_str(), "still %llu", &commands) == 1 && header == "still " + std::to_string(commands))
            return {nullptr, commands};
        std::size_t size = 0;
        if (std::sscanf(header.c_str(), "frame %zu", &size) != 1 || size == 0 || size > kMaxFrameBytes ||
            header != "frame " + std::to_string(size))
            throw std::runtime_error("not a frame header: \"" + header + "\"");
        auto png = std::make_shared<std::string>();
        png->reserve(size);
        while (png->size() < size) {
            if (pos_ == buffer_.size() && !fill()) throw std::runtime_error("the frame stream ended inside a frame");
            const std::size_t take = std::min(size - png->size(), buffer_.size() - pos_);
            png->append(buffer_, pos_, take);
            pos_ += take;
        }
        return {std::move(png), std::nullopt};
    }

private:
    bool fill() {
        char chunk[65536];
        for (;;) {
            ssize_t n = ::read(fd_, chunk, sizeof chunk);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) return false;
            buffer_.assign(chunk, static_cast<std::size_t>(n));
            pos_ = 0;
            return true;
        }
    }

    int fd_;
    std::string buffer_;
    std::size_t pos_ = 0;
};

}  // namespace

const char* appTitle(App app) { return app == App::Settings ? "Settings" : "Messages"; }
const char* appProgram(App app) { return app == App::Settings ? "Preferences" : "MobileSMS"; }
const char* appKey(App app) { return app == App::Settings ? "settings" : "messages"; }

std::optional<App> appFromKey(const std::string& key) {
    for (App app : kApps)
        if (key == appKey(app)) return app;
    return std::nullopt;
}

std::string touchCommand(Phase phase, double x, double y) {
    const char* word = phase == Phase::Down ? "down" : phase == Phase::Move ? "move" : "up";
    char line[96];
    std::snprintf(line, sizeof line, "%s %.2f %.2f", word, x, y);
    return line;
}

// ---- AppProcess ---------------------------------------------------------------

AppProcess::AppProcess(const fs::path& program, const std::vector<std::string>& arguments, const fs::path& device,
                       FrameHandler onFrame, EndHandler onEnd, StillHandler onStill)
    : name_(program.filename().string()), onStill_(std::move(onStill)) {
    std::error_code ec;
    if (!fs::is_regular_file(program, ec) || ::access(program.c_str(), X_OK) != 0)
        throw sim::UserError("the app program " + program.string() + " is not built: build it with cmake --build " +
                             program.parent_path().parent_path().string() + " --target " + program.filename().string());
    int commands[2], frames[2];
    if (::pipe2(commands, O_CLOEXEC) != 0)
        throw sim::UserError(std::string("cannot make a pipe: ") + std::strerror(errno));
    if (::pipe2(frames, O_CLOEXEC) != 0) {
        ::close(commands[0]);
        ::close(commands[1]);
        throw sim::UserError(std::string("cannot make a pipe: ") + std::strerror(errno));
    }

    // Everything the child gets is made here, before it exists: the server's
    // other threads may hold locks that a forked child would wait on forever.
    std::vector<std::string> argvStrings{program.string(), "--live"};
    argvStrings.insert(argvStrings.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& a : argvStrings) argv.push_back(a.data());
    argv.push_back(nullptr);
    const std::string deviceVariable = std::string(device::kEnvironmentVariable) + "=";
    std::vector<std::string> envStrings;
    for (char** e = environ; *e; ++e)
        if (std::strncmp(*e, deviceVariable.c_str(), deviceVariable.size()) != 0) envStrings.emplace_back(*e);
    envStrings.push_back(deviceVariable + fs::absolute(device, ec).lexically_normal().string());
    std::vector<char*> envp;
    for (std::string& e : envStrings) envp.push_back(e.data());
    envp.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, commands[0], STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, frames[1], STDOUT_FILENO);
    // No socket of the server (nor any other descriptor) leaks into an app.
    posix_spawn_file_actions_addclosefrom_np(&actions, 3);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    // The app has a fresh process's signals: none blocked (the server blocks
    // its stop signals in every thread), none ignored. Its own process group
    // keeps a Ctrl-C in the terminal for hbsim, which ends the apps in order.
    sigset_t none, defaults;
    sigemptyset(&none);
    sigemptyset(&defaults);
    for (int s : {SIGPIPE, SIGINT, SIGTERM, SIGHUP, SIGCHLD}) sigaddset(&defaults, s);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    posix_spawnattr_setpgroup(&attributes, 0);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETPGROUP);
    const int error = ::posix_spawn(&pid_, argv[0], &actions, &attributes, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    ::close(commands[0]);
    ::close(frames[1]);
    if (error != 0) {
        ::close(commands[1]);
        ::close(frames[0]);
        throw sim::UserError("cannot start " + program.string() + ": " + std::strerror(error));
    }
    commandFd_ = commands[1];
    frameFd_ = frames[0];
    reader_ = std::thread([this, onFrame = std::move(onFrame), onEnd = std::move(onEnd)]() mutable {
        readFrames(std::move(onFrame), std::move(onEnd));
    });
}

AppProcess::~AppProcess() {
    end();
    if (reader_.joinable()) reader_.join();
}

bool AppProcess::send(const std::string& line) {
    std::lock_guard lock(mutex_);
    if (commandFd_ < 0 || exited_) return false;
    // hbsim ignores SIGPIPE, so a gone app shows here as a failed write.
    const std::string text = line + "\n";
    const bool written = device::writeAll(commandFd_, text.data(), text.size());
    if (written) ++sent_;
    return written;
}

bool AppProcess::still() {
    std::lock_guard lock(mutex_);
    return stillAfter_ && *stillAfter_ >= sent_;
}

std::uint64_t AppProcess::sent() {
    std::lock_guard lock(mutex_);
    return sent_;
}

std::uint64_t AppProcess::stillAfter() {
    std::lock_guard lock(mutex_);
    return stillAfter_.value_or(0);
}

void AppProcess::requestEnd() {
    std::lock_guard lock(mutex_);
    closeFd(commandFd_);
}

void AppProcess::end(std::chrono::milliseconds grace) {
    std::unique_lock lock(mutex_);
    closeFd(commandFd_);
    if (!endedCondition_.wait_for(lock, grace, [this] { return reaped_; })) {
        // The process has not been reaped, so its pid is still its own.
        if (!exited_) ::kill(pid_, SIGKILL);
        endedCondition_.wait(lock, [this] { return reaped_; });
    }
}

void AppProcess::readFrames(FrameHandler onFrame, EndHandler onEnd) {
    FrameReader reader(frameFd_);
    try {
        for (FrameReader::Item item = reader.next(); item.png || item.still; item = reader.next()) {
            if (item.still) {
                {
                    std::lock_guard lock(mutex_);
                    stillAfter_ = *item.still;
                }
                if (onStill_) onStill_();
            } else {
                onFrame(std::move(item.png));
            }
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "hbsim: %s (pid %d) sent a broken frame stream (%s); it is ended\n", name_.c_str(),
                     static_cast<int>(pid_), e.what());
        std::lock_guard lock(mutex_);
        if (!exited_) ::kill(pid_, SIGKILL);
    }
    // Wait for the end without reaping first: until the lock below marks it
    // exited, the pid cannot be taken by another process, so end() may kill
    // it safely.
    siginfo_t info{};
    while (::waitid(P_PID, static_cast<id_t>(pid_), &info, WEXITED | WNOWAIT) != 0 && errno == EINTR) {}
    {
        std::lock_guard lock(mutex_);
        exited_ = true;
    }
    int status = 0;
    while (::waitpid(pid_, &status, 0) < 0 && errno == EINTR) {}
    closeFd(frameFd_);
    {
        std::lock_guard lock(mutex_);
        reaped_ = true;
    }
    endedCondition_.notify_all();
    onEnd(status);
}

}  // namespace hbsim::serve
