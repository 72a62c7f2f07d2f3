// Whole-device tests: a temporary simulated phone made, filled and run
// through hbsim, exactly as a person would, with the apps as real processes.
//
//     auto dump = e2e::launchMessages({{"enabled", true}, {"blueText", "#FF8000"}});
//     EXPECT_EQ(dump["behavior"]["blue_balloonTextColor"], e2e::color(0xFF8000));
//
//     e2e::Device device;                         // hbsim device create + install
//     device.writeSettings({{"enabled", true}, {"transparent", true}, {"tb_size", 2}});
//     e2e::Screenshot shot = device.messagesScreenshot({"--screen", "transcript"});
//     EXPECT_EQ(shot.atPoint(2, 300), e2e::rgb(0xFFFFFF));
//
// Failures of the tools (hbsim or an app exiting non-zero where a result was
// expected, output that is not JSON) are reported as test failures with the
// command and what it printed; the functions then give empty results.
#pragma once

#include <nlohmann/json.hpp>

#include "TestColors.h"

#include <cstdint>
#include <filesystem>
#include <initializer_list>
#include <memory>
#include <string>
#include <utility>
#include <variant>
#include <vector>

namespace e2e {

// The built programs and deliverables (the build folder of this test).
std::filesystem::path buildDir();
std::filesystem::path hbsimProgram();
// Whether the hook library has been built, so that an install can succeed.
bool hookLibraryBuilt();
// The whole content of a file, empty when it cannot be read.
std::string fileText(const std::filesystem::path& path);

// A settings value as the settings bundle stores it: a Boolean, an integer,
// a real number or a string.
class Value {
public:
    Value(bool v) : v_(v) {}
    Value(int v) : v_(static_cast<long long>(v)) {}
    Value(long long v) : v_(v) {}
    Value(double v) : v_(v) {}
    Value(const char* v) : v_(std::string(v)) {}
    Value(std::string v) : v_(std::move(v)) {}

    const std::variant<bool, long long, double, std::string>& get() const { return v_; }

private:
    std::variant<bool, long long, double, std::string> v_;
};

using Settings = std::vector<std::pair<std::string, Value>>;

inline constexpr const char* kSettingsDomain = "com.Quillfen.huebloom";

// What a program did: its exit status (128 + signal when a signal ended it)
// and everything it printed.
struct RunResult {
    int exitCode = -1;
    std::string out;
    std::string err;
    bool timedOut = false;
};

// Runs a program with arguments and waits for it (at most timeoutSeconds;
// then it is killed and timedOut is set). `environment` entries NAME=VALUE
// are added to the caller's; an entry "NAME=" alone removes NAME.
RunResult runProgram(const std::filesystem::path& program, const std::vector<std::string>& arguments,
                     const std::vector<std::string>& environment = {}, double timeoutSeconds = 120);

// A program started and left running: hbsim messages --stay, for instance.
// Its output goes to files read when it ends. The destructor kills it (and
// what it started) if it still runs.
class BackgroundRun {
public:
    BackgroundRun(const std::filesystem::path& program, const std::vector<std::string>& arguments);
    ~BackgroundRun();
    BackgroundRun(const BackgroundRun&) = delete;
    BackgroundRun& operator=(const BackgroundRun&) = delete;

    int pid() const { return pid_; }
    bool running();
    // Waits for the end (at most timeoutSeconds; then it is killed and
    // timedOut is set) and gives what it did.
    RunResult wait(double timeoutSeconds = 60);
    // Sends a signal to the program's process group.
    void signal(int signalNumber);

private:
    std::filesystem::path scratch_;
    int pid_ = -1;
    bool ended_ = false;
    int status_ = 0;
};

// A PNG screenshot read back: pixel access in pixels and in points.
using testcolors::Pixel;
using testcolors::rgb;
// Within `tolerance` in every channel.
bool near(const Pixel& p, const Pixel& q, int tolerance = 2);

class Screenshot {
public:
    Screenshot() = default;
    explicit Screenshot(const std::filesystem::path& png);  // an invalid screenshot when unreadable

    bool valid() const { return width_ > 0; }
    int width() const { return width_; }
    int height() const { return height_; }
    // Unpremultiplied RGBA.
    Pixel at(int x, int y) const;
    // The pixel covering the point at the screen's scale (2 pixels a point).
    Pixel atPoint(double x, double y, double scale = 2) const;

private:
    int width_ = 0, height_ = 0;
    std::vector<std::uint32_t> pixels_;  // premultiplied ARGB
};

// A device made in a temporary folder, removed with everything in it when the
// object goes. With `install` the deliverables are installed (a failure to
// install is a test failure).
class Device {
public:
    struct Options {
        std::string model;  // empty: hbsim's default (iphone5)
        bool install = true;
    };
    Device();
    explicit Device(Options options);
    ~Device();
    Device(const Device&) = delete;
    Device& operator=(const Device&) = delete;

    const std::filesystem::path& path() const { return path_; }
    // The host path of a phone path in the device ("/User" is "/var/mobile").
    std::filesystem::path operator/(std::string_view phonePath) const;

    // hbsim ARGS --device <this device>.
    RunResult hbsim(const std::vector<std::string>& arguments, double timeoutSeconds = 120) const;

    // Writes the settings file (the domain's plist) with these values,
    // replacing what was there.
    void writeSettings(const Settings& settings, const std::string& domain = kSettingsDomain) const;

    // hbsim ARGS --device <this device>, left running.
    std::unique_ptr<BackgroundRun> startHbsim(const std::vector<std::string>& arguments) const;
    // The registered processes of that name (see <Device/Processes.h>) that
    // are alive; waitForProcess waits until one is (false on timeout).
    std::vector<int> processes(const std::string& name) const;
    bool waitForProcess(const std::string& name, double timeoutSeconds = 120) const;

    // hbsim messages --dump ARGS, parsed (null when it failed).
    nlohmann::json messagesDump(const std::vector<std::string>& arguments = {}) const;
    // hbsim settings --step S... ARGS: the Settings app running the steps.
    RunResult settings(const std::vector<std::string>& steps, const std::vector<std::string>& arguments = {}) const;
    // The same with --dump, parsed (null when it failed).
    nlohmann::json settingsDump(const std::vector<std::string>& steps) const;
    // The domain's settings file as JSON (null when missing or unreadable).
    nlohmann::json readSettings(const std::string& domain = kSettingsDomain) const;

    // hbsim messages --screenshot FILE ARGS, read back.
    Screenshot messagesScreenshot(const std::vector<std::string>& arguments = {}) const;
    // Both from one run of the app.
    std::pair<nlohmann::json, Screenshot> messagesDumpAndScreenshot(
        const std::vector<std::string>& arguments = {}) const;

private:
    std::filesystem::path path_;
    std::filesystem::path scratch_;  // outputs of runs, beside the device
};

// A fresh device with the deliverables installed and these settings, and the
// Messages app's dump.
nlohmann::json launchMessages(const Settings& settings = {}, const std::vector<std::string>& arguments = {});

// The dump's form of a colour: {"r":…, "g":…, "b":…, "a":…} with the
// channels of the hexadecimal RGB value over 255, exactly.
nlohmann::json color(std::uint32_t rgbHex, double alpha = 1.0);

}  // namespace e2e
