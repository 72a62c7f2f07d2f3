// The live side of hbsim serve: the device's apps as child processes in live
// mode (see sim/apps/AppHost/Live.h for their pipes), and the springboard
// that owns them, keeps one of them in the front and tells the page what
// changed.
//
// As on the phone, an app keeps running when another one is opened or the
// home screen is shown; an app that ends (killed by Settings' colour cells,
// or crashed) is reaped at once, the page is told why, and opening it again
// launches it anew, so Messages reads the settings again.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace hbsim::serve {

enum class App { Settings, Messages };
inline constexpr App kApps[] = {App::Settings, App::Messages};

const char* appTitle(App app);    // "Settings", "Messages"
const char* appProgram(App app);  // "Preferences", "MobileSMS"
const char* appKey(App app);      // "settings", "messages": the page's names
std::optional<App> appFromKey(const std::string& key);

// One app process in live mode. Its frames are read on a thread of its own;
// when the process ends, that thread reaps it and reports how it ended.
class AppProcess {
public:
    using FrameHandler = std::function<void(std::shared_ptr<const std::string> png)>;
    using EndHandler = std::function<void(int waitStatus)>;
    using StillHandler = std::function<void()>;

    // Starts `program --live ARGS` in the device (HB_DEVICE set, in a
    // process group of its own, signals as a fresh process has them).
    // Throws sim::UserError when it cannot be started.
    AppProcess(const std::filesystem::path& program, const std::vector<std::string>& arguments,
               const std::filesystem::path& device, FrameHandler onFrame, EndHandler onEnd, StillHandler onStill = {});
    // Ends the process (see end) and waits for its thread.
    ~AppProcess();
    AppProcess(const AppProcess&) = delete;
    AppProcess& operator=(const AppProcess&) = delete;

    pid_t pid() const { return pid_; }
    // Sends one command line (without its line end); false once the app has
    // gone or stopped reading.
    bool send(const std::string& line);
    // Closes the command pipe, which asks a live app to end.
    void requestEnd();
    // Closes the command pipe, which ends a live app; after `grace` a process
    // that is still there is killed. Returns once it has been reaped.
    void end(std::chrono::milliseconds grace = std::chrono::milliseconds(2000));
    // Whether the app has said that its screen is still after every command
    // sent to it ("still N" with N the lines sent).
    bool still();
    std::uint64_t sent();
    std::uint64_t stillAfter();  // 0 before the first "still"

private:
    void readFrames(FrameHandler onFrame, EndHandler onEnd);

    std::string name_;
    pid_t pid_ = -1;
    int commandFd_ = -1;
    int frameFd_ = -1;
    std::mutex mutex_;
    std::condition_variable endedCondition_;
    bool exited_ = false;  // the process has ended (it may not be reaped yet)
    bool reaped_ = false;
    std::uint64_t sent_ = 0;                   // command lines written
    std::optional<std::uint64_t> stillAfter_;  // N of the app's last "still N"
    StillHandler onStill_;
    std::thread reader_;
};

// A touch phase as the page sends it.
enum class Phase { Down, Move, Up };

// What the page shows, as one snapshot.
struct ScreenState {
    std::uint64_t version = 0;  // grows with every change below
    std::optional<App> front;   // none: the home screen
    bool running[2] = {false, false};
    std::string status;  // the last thing that happened, for the status line
    std::uint64_t statusSerial = 0;
    std::shared_ptr<const std::string> frame;  // the front app's latest PNG
    std::uint64_t frameSerial = 0;
    bool still = false;            // the front app has said its screen is at rest after every command sent to it
    std::uint64_t stillAfter = 0;  // ... and after how many commands it said so
};

class Springboard {
public:
    struct Launch {
        std::filesystem::path program;
        std::vector<std::string> arguments;
    };
    // How each app is started; the device folder they run in.
    Springboard(std::function<Launch(App)> launchOf, std::filesystem::path device);
    ~Springboard();
    Springboard(const Springboard&) = delete;
    Springboard& operator=(const Springboard&) = delete;

    // Brings the app to the front, launching it when it is not running.
    // Throws sim::UserError when it cannot be launched.
    void open(App app);
    void home();
    // A finger on the front app's screen; nothing on the home screen. Gives
    // the number of commands sent to the front app so far (0 on the home
    // screen), which a "still" of that many says the screen has settled after.
    std::uint64_t touch(Phase phase, double x, double y);

    ScreenState state() const;
    // Waits until the version passes `seen`, `timeout` passes or shutdown
    // begins; gives the state then.
    ScreenState waitForChange(std::uint64_t seen, std::chrono::milliseconds timeout) const;
    bool shuttingDown() const;

    // Ends every app and waits until each is reaped. Waiters wake at once.
    void shutdown();

    // The pid of a running app (tests and logs), -1 when none.
    pid_t pidOf(App app) const;

private:
    struct Slot {
        // Shared, so that a touch can write to it without holding the lock
        // while another request replaces an ended process.
        std::shared_ptr<AppProcess> process;
        std::uint64_t generation = 0;
        bool running = false;
        bool fingerDown = false;  // a finger of the page is down on it
        double lastX = 0, lastY = 0;
        std::shared_ptr<const std::string> frame;
        std::uint64_t frameSerial = 0;
        std::uintmax_t systemLogStart = 0;
    };

    void onFrame(App app, std::uint64_t generation, std::shared_ptr<const std::string> png);
    void onEnd(App app, std::uint64_t generation, int waitStatus);
    void onStill(App app, std::uint64_t generation);
    std::string endReason(App app, const Slot& slot, int waitStatus) const;
    void setStatus(std::string text);  // with mutex_ held
    void changed();                    // with mutex_ held
    Slot& slot(App app) { return slots_[static_cast<int>(app)]; }
    const Slot& slot(App app) const { return slots_[static_cast<int>(app)]; }

    std::function<Launch(App)> launchOf_;
    std::filesystem::path device_;
    mutable std::mutex mutex_;
    mutable std::condition_variable changedCondition_;
    std::mutex launchMutex_;  // one open or shutdown at a time
    Slot slots_[2];
    std::optional<App> front_;
    std::uint64_t version_ = 1;
    std::uint64_t frameSerial_ = 0;
    std::string status_;
    std::uint64_t statusSerial_ = 0;
    bool shuttingDown_ = false;
};

// The line an app reads for a touch ("down 12.5 300").
std::string touchCommand(Phase phase, double x, double y);

}  // namespace hbsim::serve
