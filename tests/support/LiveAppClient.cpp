#include "LiveAppClient.h"

#include <algorithm>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>

extern char** environ;

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

LiveAppClient::LiveAppClient(const fs::path& program, const fs::path& device, const std::vector<std::string>& arguments,
                             fs::path errorFile)
    : errorFile_(std::move(errorFile)) {
    int in[2], out[2];
    if (::pipe2(in, O_CLOEXEC) != 0) return;
    if (::pipe2(out, O_CLOEXEC) != 0) {
        ::close(in[0]);
        ::close(in[1]);
        return;
    }
    std::vector<std::string> args{program.string(), "--live"};
    args.insert(args.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    // The caller's environment with the device named.
    std::vector<std::string> env{"HB_DEVICE=" + device.string()};
    for (char** e = environ; *e != nullptr; ++e)
        if (std::strncmp(*e, "HB_DEVICE=", 10) != 0) env.emplace_back(*e);
    std::vector<char*> envp;
    for (auto& e : env) envp.push_back(e.data());
    envp.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, in[0], 0);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    const std::string errorPath = errorFile_.empty() ? std::string("/dev/null") : errorFile_.string();
    posix_spawn_file_actions_addopen(&actions, 2, errorPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (::posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), envp.data()) != 0) pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
    ::close(in[0]);
    ::close(out[1]);
    commands_ = in[1];
    frames_ = out[0];
}

LiveAppClient::~LiveAppClient() {
    closeInput();
    if (pid_ > 0 && !reaped_) {
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
    }
    if (frames_ >= 0) ::close(frames_);
}

bool LiveAppClient::send(const std::string& line) {
    const std::string text = line + "\n";
    const bool sent =
        commands_ >= 0 && ::write(commands_, text.data(), text.size()) == static_cast<ssize_t>(text.size());
    if (sent) sent_ += static_cast<unsigned long long>(std::count(text.begin(), text.end(), '\n'));
    return sent;
}

void LiveAppClient::closeInput() {
    if (commands_ >= 0) ::close(commands_);
    commands_ = -1;
}

std::optional<std::string> LiveAppClient::nextFrame(std::chrono::milliseconds timeout) {
    bool still = false;
    return next(Clock::now() + timeout, false, still);
}

std::optional<std::vector<std::string>> LiveAppClient::framesUntilStill(std::chrono::milliseconds timeout) {
    const auto deadline = Clock::now() + timeout;
    std::vector<std::string> frames;
    for (;;) {
        bool still = false;
        std::optional<std::string> frame = next(deadline, true, still);
        if (still) return frames;
        if (!frame) return std::nullopt;
        frames.push_back(std::move(*frame));
    }
}

std::optional<std::string> LiveAppClient::next(Clock::time_point deadline, bool untilStill, bool& still) {
    for (;;) {
        std::string header;
        while (header.empty() || header.back() != '\n') {
            // What has come already may hold the whole line (a "still" line
            // arrives with the frame before it): read more only when it is used up.
            if (buffer_.empty() && !readSome(deadline)) return std::nullopt;
            const std::size_t end = buffer_.find('\n');
            const std::size_t take = end == std::string::npos ? buffer_.size() : end + 1;
            header += buffer_.substr(0, take);
            buffer_.erase(0, take);
        }
        unsigned long long commands = 0;
        if (std::sscanf(header.c_str(), "still %llu", &commands) == 1) {
            stillAfter_ = commands;
            if (untilStill && commands >= sent_) {
                still = true;
                return std::nullopt;
            }
            continue;
        }
        std::size_t size = 0;
        if (std::sscanf(header.c_str(), "frame %zu", &size) != 1) return std::nullopt;
        // Once the header has come, the rest of the frame follows at once.
        while (buffer_.size() < size)
            if (!readSome(Clock::now() + std::chrono::seconds(20))) return std::nullopt;
        std::string png = buffer_.substr(0, size);
        buffer_.erase(0, size);
        return png;
    }
}

int LiveAppClient::wait() {
    int status = 0;
    if (pid_ <= 0 || reaped_) return -1;
    ::waitpid(pid_, &status, 0);
    reaped_ = true;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

std::string LiveAppClient::errors() const {
    std::ifstream in(errorFile_);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

bool LiveAppClient::readSome(Clock::time_point deadline) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    pollfd p{frames_, POLLIN, 0};
    if (left <= 0 || ::poll(&p, 1, static_cast<int>(left)) <= 0) return false;
    char chunk[65536];
    const ssize_t n = ::read(frames_, chunk, sizeof chunk);
    if (n <= 0) return false;
    buffer_.append(chunk, static_cast<std::size_t>(n));
    return true;
}
