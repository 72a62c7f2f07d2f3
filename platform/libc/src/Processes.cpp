// Process registrations of a device. A record holds the process's start time
// (in clock ticks since boot, from /proc/PID/stat) and its program
// (/proc/PID/exe): together with the pid they name one process for its whole
// life, so a record whose pid has since been taken by another process no
// longer matches and is removed instead of signalled.
#include <Device/DevicePath.h>
#include <Device/Processes.h>

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <system_error>

namespace fs = std::filesystem;

namespace device {
namespace {

constexpr const char* kFolder = "/var/run/hbsim/processes";

struct Identity {
    unsigned long long startTime = 0;
    std::string program;
    bool operator==(const Identity&) const = default;
};

bool plainName(const std::string& name) {
    return !name.empty() && name != "." && name != ".." && name.size() < 200 &&
           name.find_first_of(std::string("/\0", 2)) == std::string::npos;
}

// The identity of a running process; nothing for a process that is gone or
// has exited and waits to be reaped.
std::optional<Identity> identify(pid_t pid) {
    if (pid <= 0) return std::nullopt;
    std::string proc = "/proc/" + std::to_string(pid);
    std::ifstream statFile(proc + "/stat");
    std::string stat;
    if (!std::getline(statFile, stat)) return std::nullopt;
    // The program name in parentheses may hold spaces and parentheses itself,
    // so the fields are counted from the last ')'.
    std::size_t close = stat.rfind(')');
    if (close == std::string::npos) return std::nullopt;
    std::istringstream fields(stat.substr(close + 1));
    std::string state;
    fields >> state;
    if (state.empty() || state == "Z" || state == "X" || state == "x") return std::nullopt;
    std::string skipped;
    for (int i = 0; i < 18; ++i) fields >> skipped;  // fields 4 to 21
    Identity id;
    if (!(fields >> id.startTime)) return std::nullopt;

    std::error_code ec;
    fs::path program = fs::read_symlink(proc + "/exe", ec);
    if (ec) return std::nullopt;
    id.program = program.string();
    // A program rebuilt while it runs is still the same process.
    const std::string deleted = " (deleted)";
    if (id.program.size() > deleted.size() && id.program.ends_with(deleted)) {
        id.program.resize(id.program.size() - deleted.size());
    }
    return id;
}

std::optional<Identity> readRecord(const fs::path& file) {
    std::ifstream in(file);
    Identity id;
    if (!(in >> id.startTime)) return std::nullopt;
    in.ignore(1);
    if (!std::getline(in, id.program) || id.program.empty()) return std::nullopt;
    return id;
}

std::optional<pid_t> pidOfRecord(const std::string& fileName, const std::string& name) {
    if (fileName.size() <= name.size() + 1 || fileName.compare(0, name.size(), name) != 0 ||
        fileName[name.size()] != '.') {
        return std::nullopt;
    }
    std::string digits = fileName.substr(name.size() + 1);
    if (digits.size() > 9 || !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        return std::nullopt;
    }
    return static_cast<pid_t>(std::stol(digits));
}

}  // namespace

bool registerProcess(const std::string& name) { return registerProcess(name, ::getpid()); }

bool registerProcess(const std::string& name, pid_t pid) {
    if (!plainName(name)) return false;
    auto folder = hostPath(kFolder);
    std::optional<Identity> id = identify(pid);
    if (!folder || !id) return false;
    std::error_code ec;
    fs::create_directories(*folder, ec);
    fs::path file = fs::path(*folder) / (name + "." + std::to_string(pid));
    // Written aside and renamed, so that a killall running meanwhile never
    // reads half a record.
    fs::path temporary = file;
    temporary += ".new";
    {
        std::ofstream out(temporary, std::ios::trunc);
        out << id->startTime << '\n' << id->program << '\n';
        if (!out.flush()) return false;
    }
    fs::rename(temporary, file, ec);
    return !ec;
}

void unregisterProcess(const std::string& name, pid_t pid) {
    if (!plainName(name)) return;
    auto folder = hostPath(kFolder);
    if (!folder) return;
    std::error_code ec;
    fs::remove(fs::path(*folder) / (name + "." + std::to_string(pid > 0 ? pid : ::getpid())), ec);
}

std::vector<pid_t> runningProcesses(const std::string& name) {
    std::vector<pid_t> pids;
    if (!plainName(name)) return pids;
    auto folder = hostPath(kFolder);
    if (!folder) return pids;
    std::error_code ec;
    std::vector<std::pair<pid_t, fs::path>> records;
    for (const auto& entry : fs::directory_iterator(*folder, ec)) {
        auto pid = pidOfRecord(entry.path().filename().string(), name);
        if (pid) records.emplace_back(*pid, entry.path());
    }
    for (const auto& [pid, file] : records) {
        std::optional<Identity> recorded = readRecord(file);
        std::optional<Identity> current = identify(pid);
        if (recorded && current && *recorded == *current) {
            pids.push_back(pid);
        } else {
            fs::remove(file, ec);
        }
    }
    std::sort(pids.begin(), pids.end());
    return pids;
}

}  // namespace device
