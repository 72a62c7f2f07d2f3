#include "DeviceRun.h"

#include <plist/plist.h>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <thread>

namespace fs = std::filesystem;

namespace e2e {
namespace {

fs::path makeTemporaryFolder(const char* prefix) {
    std::string pattern = (fs::temp_directory_path() / (std::string(prefix) + "XXXXXX")).string();
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    if (::mkdtemp(buffer.data()) == nullptr) {
        ADD_FAILURE() << "cannot make a temporary folder: " << std::strerror(errno);
        return {};
    }
    return buffer.data();
}

std::string commandLine(const fs::path& program, const std::vector<std::string>& arguments) {
    std::string line = program.filename().string();
    for (const std::string& a : arguments) line += " " + a;
    return line;
}

std::string xmlEscaped(const std::string& text) {
    std::string out;
    for (char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        default: out += c;
        }
    }
    return out;
}

std::string plistValue(const Value& value) {
    struct Visitor {
        std::string operator()(bool b) const { return b ? "<true/>" : "<false/>"; }
        std::string operator()(long long i) const { return "<integer>" + std::to_string(i) + "</integer>"; }
        std::string operator()(double d) const {
            char text[64];
            std::snprintf(text, sizeof text, "%.17g", d);
            return std::string("<real>") + text + "</real>";
        }
        std::string operator()(const std::string& s) const { return "<string>" + xmlEscaped(s) + "</string>"; }
    };
    return std::visit(Visitor{}, value.get());
}

std::string describe(const fs::path& program, const std::vector<std::string>& arguments, const RunResult& r) {
    return "`" + commandLine(program, arguments) + "` exited " + std::to_string(r.exitCode) +
           (r.timedOut ? " (timed out)" : "") + "\nstdout:\n" + r.out + "\nstderr:\n" + r.err;
}

}  // namespace

fs::path buildDir() { return fs::path(HB_BINARY_DIR); }
fs::path hbsimProgram() { return buildDir() / "bin" / "hbsim"; }
bool hookLibraryBuilt() {
    return fs::exists(buildDir() / "lib" / "Huebloom.dylib") && fs::exists(buildDir() / "lib" / "Huebloom.plist");
}

std::string fileText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

namespace {

// Starts the program in a process group of its own with its output in the
// folder; gives the pid, or -1.
pid_t spawn(const fs::path& program, const std::vector<std::string>& arguments,
            const std::vector<std::string>& environment, const fs::path& scratch) {
    const fs::path outPath = scratch / "stdout", errPath = scratch / "stderr";
    std::vector<std::string> argvStrings{program.string()};
    argvStrings.insert(argvStrings.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (auto& a : argvStrings) argv.push_back(a.data());
    argv.push_back(nullptr);

    std::fflush(nullptr);
    pid_t child = ::fork();
    if (child < 0) {
        ADD_FAILURE() << "fork: " << std::strerror(errno);
        return -1;
    }
    // Both sides set the group, so that a signal sent to it right after the
    // fork reaches the child even before the child has run.
    if (child > 0) ::setpgid(child, child);
    if (child == 0) {
        int out = ::open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        int err = ::open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        int in = ::open("/dev/null", O_RDONLY);
        if (out < 0 || err < 0 || in < 0) ::_exit(126);
        ::dup2(out, 1);
        ::dup2(err, 2);
        ::dup2(in, 0);
        // Its own process group, so that a timeout ends what it started too.
        ::setpgid(0, 0);
        for (const std::string& entry : environment) {
            std::size_t eq = entry.find('=');
            if (eq == std::string::npos) continue;
            std::string name = entry.substr(0, eq), value = entry.substr(eq + 1);
            if (value.empty()) {
                ::unsetenv(name.c_str());
            } else {
                ::setenv(name.c_str(), value.c_str(), 1);
            }
        }
        ::execv(argv[0], argv.data());
        std::fprintf(stderr, "cannot run %s: %s\n", argv[0], std::strerror(errno));
        ::_exit(127);
    }
    return child;
}

int exitCodeOf(int status) {
    return WIFSIGNALED(status) ? 128 + WTERMSIG(status) : WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace

BackgroundRun::BackgroundRun(const fs::path& program, const std::vector<std::string>& arguments)
    : scratch_(makeTemporaryFolder("hb-bg-")) {
    if (!scratch_.empty()) pid_ = spawn(program, arguments, {}, scratch_);
    if (pid_ < 0) ended_ = true;
}

BackgroundRun::~BackgroundRun() {
    if (!ended_) {
        signal(SIGKILL);
        ::waitpid(pid_, &status_, 0);
    }
    std::error_code ec;
    if (!scratch_.empty()) fs::remove_all(scratch_, ec);
}

bool BackgroundRun::running() {
    if (ended_) return false;
    if (::waitpid(pid_, &status_, WNOHANG) == pid_) ended_ = true;
    return !ended_;
}

void BackgroundRun::signal(int signalNumber) {
    if (ended_) return;
    ::kill(-pid_, signalNumber);
}

RunResult BackgroundRun::wait(double timeoutSeconds) {
    RunResult result;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(timeoutSeconds);
    while (running()) {
        if (std::chrono::steady_clock::now() > deadline) {
            result.timedOut = true;
            signal(SIGKILL);
            ::waitpid(pid_, &status_, 0);
            ended_ = true;
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    result.exitCode = pid_ < 0 ? -1 : exitCodeOf(status_);
    result.out = fileText(scratch_ / "stdout");
    result.err = fileText(scratch_ / "stderr");
    return result;
}

RunResult runProgram(const fs::path& program, const std::vector<std::string>& arguments,
                     const std::vector<std::string>& environment, double timeoutSeconds) {
    RunResult result;
    fs::path scratch = makeTemporaryFolder("hb-run-");
    if (scratch.empty()) return result;
    pid_t child = spawn(program, arguments, environment, scratch);
    if (child < 0) return result;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(timeoutSeconds);
    int status = 0;
    while (true) {
        pid_t done = ::waitpid(child, &status, WNOHANG);
        if (done == child) break;
        if (done < 0 && errno != EINTR) break;
        if (std::chrono::steady_clock::now() > deadline) {
            result.timedOut = true;
            ::kill(-child, SIGKILL);
            ::waitpid(child, &status, 0);
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    result.exitCode = exitCodeOf(status);
    result.out = fileText(scratch / "stdout");
    result.err = fileText(scratch / "stderr");
    std::error_code ec;
    fs::remove_all(scratch, ec);
    return result;
}

Device::Device() : Device(Options{}) {}

Device::Device(Options options) {
    scratch_ = makeTemporaryFolder("hb-e2e-");
    path_ = scratch_ / "device";
    std::vector<std::string> create{"device", "create"};
    if (!options.model.empty()) create.insert(create.end(), {"--model", options.model});
    RunResult created = hbsim(create);
    if (created.exitCode != 0) ADD_FAILURE() << describe(hbsimProgram(), create, created);
    if (options.install) {
        RunResult installed = hbsim({"install"});
        if (installed.exitCode != 0) ADD_FAILURE() << describe(hbsimProgram(), {"install"}, installed);
    }
}

Device::~Device() {
    std::error_code ec;
    if (!scratch_.empty()) fs::remove_all(scratch_, ec);
}

fs::path Device::operator/(std::string_view phonePath) const {
    std::string p(phonePath);
    if (p.rfind("/User/", 0) == 0 || p == "/User") p = "/var/mobile" + p.substr(5);
    while (!p.empty() && p.front() == '/') p.erase(p.begin());
    return path_ / p;
}

RunResult Device::hbsim(const std::vector<std::string>& arguments, double timeoutSeconds) const {
    std::vector<std::string> all = arguments;
    all.insert(all.end(), {"--device", path_.string()});
    return runProgram(hbsimProgram(), all, {}, timeoutSeconds);
}

std::unique_ptr<BackgroundRun> Device::startHbsim(const std::vector<std::string>& arguments) const {
    std::vector<std::string> all = arguments;
    all.insert(all.end(), {"--device", path_.string()});
    return std::make_unique<BackgroundRun>(hbsimProgram(), all);
}

std::vector<int> Device::processes(const std::string& name) const {
    // Registrations are "NAME.PID" files holding the process's start time; a
    // pid counts while it lives, is not a zombie and started then (a pid
    // taken again by another process on a busy machine does not count).
    std::vector<int> pids;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(*this / "/var/run/hbsim/processes", ec)) {
        std::string file = entry.path().filename().string();
        if (file.rfind(name + ".", 0) != 0 || file.ends_with(".new")) continue;
        int pid = std::atoi(file.c_str() + name.size() + 1);
        unsigned long long recorded = 0;
        if (!(std::ifstream(entry.path()) >> recorded)) continue;
        std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
        std::string text;
        std::getline(stat, text);
        std::size_t close = text.rfind(')');
        if (pid <= 0 || close == std::string::npos || close + 2 >= text.size() || text[close + 2] == 'Z') continue;
        std::istringstream fields(text.substr(close + 2));
        std::string field;
        for (int i = 3; i <= 21 && fields >> field; ++i) {}
        unsigned long long started = 0;
        if (fields >> started && started == recorded) pids.push_back(pid);
    }
    return pids;
}

bool Device::waitForProcess(const std::string& name, double timeoutSeconds) const {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(timeoutSeconds);
    while (processes(name).empty()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

void Device::writeSettings(const Settings& settings, const std::string& domain) const {
    std::string xml =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" \"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n"
        "<plist version=\"1.0\">\n<dict>\n";
    for (const auto& [key, value] : settings) {
        xml += "\t<key>" + xmlEscaped(key) + "</key>\n\t" + plistValue(value) + "\n";
    }
    xml += "</dict>\n</plist>\n";
    fs::path file = *this / ("/var/mobile/Library/Preferences/" + domain + ".plist");
    fs::path temporary = file;
    temporary += ".writing";
    std::ofstream(temporary, std::ios::binary | std::ios::trunc) << xml;
    std::error_code ec;
    fs::rename(temporary, file, ec);
    if (ec) ADD_FAILURE() << "cannot write the settings " << file << ": " << ec.message();
}

namespace {

// The JSON a run printed on standard output; a test failure and null when
// it failed or printed something else.
nlohmann::json jsonOf(const std::vector<std::string>& all, const RunResult& r) {
    if (r.exitCode != 0) {
        ADD_FAILURE() << describe(hbsimProgram(), all, r);
        return nullptr;
    }
    nlohmann::json dump = nlohmann::json::parse(r.out, nullptr, false);
    if (dump.is_discarded()) {
        ADD_FAILURE() << "the dump is not JSON: " << describe(hbsimProgram(), all, r);
        return nullptr;
    }
    return dump;
}

}  // namespace

std::pair<nlohmann::json, Screenshot> Device::messagesDumpAndScreenshot(
    const std::vector<std::string>& arguments) const {
    fs::path png = scratch_ / "messages.png";
    std::error_code ec;
    fs::remove(png, ec);
    std::vector<std::string> all{"messages", "--dump", "--screenshot", png.string()};
    all.insert(all.end(), arguments.begin(), arguments.end());
    RunResult r = hbsim(all);
    nlohmann::json dump = jsonOf(all, r);
    if (r.exitCode != 0) return {nullptr, Screenshot()};
    Screenshot shot(png);
    if (!shot.valid()) ADD_FAILURE() << "no readable screenshot from " << describe(hbsimProgram(), all, r);
    return {dump, shot};
}

nlohmann::json Device::messagesDump(const std::vector<std::string>& arguments) const {
    std::vector<std::string> all{"messages", "--dump"};
    all.insert(all.end(), arguments.begin(), arguments.end());
    return jsonOf(all, hbsim(all));
}

RunResult Device::settings(const std::vector<std::string>& steps, const std::vector<std::string>& arguments) const {
    std::vector<std::string> all{"settings"};
    for (const std::string& step : steps) all.insert(all.end(), {"--step", step});
    all.insert(all.end(), arguments.begin(), arguments.end());
    return hbsim(all);
}

namespace {

nlohmann::json plistJSON(plist_t node) {
    switch (plist_get_node_type(node)) {
    case PLIST_BOOLEAN: {
        std::uint8_t v = 0;
        plist_get_bool_val(node, &v);
        return v != 0;
    }
    case PLIST_UINT: {
        std::uint64_t v = 0;
        plist_get_uint_val(node, &v);
        return static_cast<std::int64_t>(v);
    }
    case PLIST_REAL: {
        double v = 0;
        plist_get_real_val(node, &v);
        return v;
    }
    case PLIST_STRING: {
        char* v = nullptr;
        plist_get_string_val(node, &v);
        nlohmann::json out = v != nullptr ? std::string(v) : std::string();
        std::free(v);
        return out;
    }
    case PLIST_ARRAY: {
        nlohmann::json out = nlohmann::json::array();
        for (std::uint32_t i = 0; i < plist_array_get_size(node); ++i)
            out.push_back(plistJSON(plist_array_get_item(node, i)));
        return out;
    }
    case PLIST_DICT: {
        nlohmann::json out = nlohmann::json::object();
        plist_dict_iter it = nullptr;
        plist_dict_new_iter(node, &it);
        char* key = nullptr;
        plist_t value = nullptr;
        for (plist_dict_next_item(node, it, &key, &value); key != nullptr;
             plist_dict_next_item(node, it, &key, &value)) {
            out[key] = plistJSON(value);
            std::free(key);
            key = nullptr;
        }
        std::free(it);
        return out;
    }
    default: return "<other>";
    }
}

}  // namespace

nlohmann::json Device::readSettings(const std::string& domain) const {
    std::ifstream in(*this / ("/var/mobile/Library/Preferences/" + domain + ".plist"), std::ios::binary);
    if (!in) return nullptr;
    std::ostringstream text;
    text << in.rdbuf();
    const std::string data = text.str();
    plist_t root = nullptr;
    plist_from_memory(data.data(), static_cast<std::uint32_t>(data.size()), &root);
    if (root == nullptr) return nullptr;
    nlohmann::json out = plistJSON(root);
    plist_free(root);
    return out;
}

nlohmann::json Device::settingsDump(const std::vector<std::string>& steps) const {
    std::vector<std::string> all{"settings"};
    for (const std::string& step : steps) all.insert(all.end(), {"--step", step});
    all.push_back("--dump");
    return jsonOf(all, hbsim(all));
}

Screenshot Device::messagesScreenshot(const std::vector<std::string>& arguments) const {
    fs::path png = scratch_ / "messages.png";
    std::error_code ec;
    fs::remove(png, ec);
    std::vector<std::string> all{"messages", "--screenshot", png.string()};
    all.insert(all.end(), arguments.begin(), arguments.end());
    RunResult r = hbsim(all);
    if (r.exitCode != 0) {
        ADD_FAILURE() << describe(hbsimProgram(), all, r);
        return Screenshot();
    }
    Screenshot shot(png);
    if (!shot.valid()) ADD_FAILURE() << "no readable screenshot from " << describe(hbsimProgram(), all, r);
    return shot;
}

nlohmann::json launchMessages(const Settings& settings, const std::vector<std::string>& arguments) {
    Device device;
    if (!settings.empty()) device.writeSettings(settings);
    return device.messagesDump(arguments);
}

nlohmann::json color(std::uint32_t rgbHex, double alpha) {
    return {{"r", double((rgbHex >> 16) & 0xFF) / 255.0},
            {"g", double((rgbHex >> 8) & 0xFF) / 255.0},
            {"b", double(rgbHex & 0xFF) / 255.0},
            {"a", alpha}};
}

}  // namespace e2e
