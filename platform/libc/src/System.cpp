// The `system` stand-in. Exported under the C library's own name: the dynamic
// linker binds every reference to `system` in the programs and libraries
// loaded with this library to the first definition it finds, and this library
// comes before the C library in the search order of every program linked
// with it (the C library is always the last of a program's dependencies).
#include <Device/DeviceLog.h>
#include <Device/DevicePath.h>
#include <Device/Processes.h>
#include <Device/SystemCommand.h>

#include <fcntl.h>
#include <signal.h>
#include <string.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cerrno>
#include <optional>
#include <string>
#include <vector>

namespace device {
namespace {

std::atomic<std::size_t> commandCount{0};

// A wait status for a normal exit with this code, as the real `system` gives.
constexpr int exitStatus(int code) { return code << 8; }

void logCommand(const char* command) { appendLogLine("/var/run/hbsim/system.log", command); }

std::optional<int> parseSignal(std::string text) {
    if (text.empty()) return std::nullopt;
    if (std::all_of(text.begin(), text.end(), [](unsigned char c) { return std::isdigit(c); })) {
        if (text.size() > 3) return std::nullopt;
        int number = std::stoi(text);
        return number < NSIG ? std::optional<int>(number) : std::nullopt;
    }
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (text.rfind("SIG", 0) == 0) text.erase(0, 3);
    for (int number = 1; number < NSIG; ++number) {
        const char* abbreviation = ::sigabbrev_np(number);
        if (abbreviation != nullptr && text == abbreviation) return number;
    }
    return std::nullopt;
}

struct Killall {
    int signal = SIGTERM;
    std::string name;
};

// Only the plain words of a killall command are understood: anything with
// quotes, separators, redirections or expansions is some other command.
std::optional<Killall> parseKillall(const std::string& command) {
    std::vector<std::string> words;
    std::string word;
    for (char c : command) {
        if (c == ' ' || c == '\t') {
            if (!word.empty()) words.push_back(std::move(word));
            word.clear();
        } else if (std::isalnum(static_cast<unsigned char>(c)) || c == '.' || c == '_' || c == '-' || c == '+') {
            word += c;
        } else {
            return std::nullopt;
        }
    }
    if (!word.empty()) words.push_back(std::move(word));
    if (words.size() < 2 || words.size() > 3 || words[0] != "killall") return std::nullopt;
    Killall k;
    if (words.size() == 3) {
        if (words[1].size() < 2 || words[1][0] != '-') return std::nullopt;
        auto signal = parseSignal(words[1].substr(1));
        if (!signal) return std::nullopt;
        k.signal = *signal;
    }
    k.name = words.back();
    if (k.name.front() == '-') return std::nullopt;
    return k;
}

int runKillall(const Killall& k) {
    bool signalled = false;
    for (pid_t pid : runningProcesses(k.name)) {
        if (::kill(pid, k.signal) == 0) {
            signalled = true;
        } else if (errno == ESRCH) {
            unregisterProcess(k.name, pid);
        }
    }
    return exitStatus(signalled ? 0 : 1);
}

}  // namespace

std::size_t systemCommandCount() { return commandCount.load(); }

}  // namespace device

extern "C" int system(const char* command) {
    // Asked whether there is a command processor: there is, this one.
    if (command == nullptr) return 1;
    ++device::commandCount;
    device::logCommand(command);
    auto killall = device::parseKillall(command);
    if (!killall) return device::exitStatus(127);
    return device::runKillall(*killall);
}
