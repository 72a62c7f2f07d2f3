// The springboard of hbsim serve: which app is open, its frames and its
// end, and the touches sent to it. The app processes themselves are
// ServeApps.cpp.
#include "ServeApps.h"

#include <Sim/DeviceFolder.h>

#include <sys/wait.h>

#include <csignal>
#include <cstring>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

namespace hbsim::serve {
namespace {

constexpr const char* kSystemLog = "/var/run/hbsim/system.log";

std::uintmax_t fileSize(const fs::path& path) {
    std::error_code ec;
    const std::uintmax_t size = fs::file_size(path, ec);
    return ec ? 0 : size;
}

// The lines appended to a file since it had `from` bytes.
std::vector<std::string> linesSince(const fs::path& path, std::uintmax_t from) {
    std::ifstream in(path, std::ios::binary);
    std::vector<std::string> lines;
    if (!in) return lines;
    in.seekg(static_cast<std::streamoff>(from));
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

}  // namespace

// ---- Springboard --------------------------------------------------------------

Springboard::Springboard(std::function<Launch(App)> launchOf, fs::path device)
    : launchOf_(std::move(launchOf)), device_(std::move(device)) {}

Springboard::~Springboard() { shutdown(); }

void Springboard::changed() {
    ++version_;
    changedCondition_.notify_all();
}

void Springboard::setStatus(std::string text) {
    status_ = std::move(text);
    ++statusSerial_;
}

void Springboard::open(App app) {
    std::lock_guard launchLock(launchMutex_);
    std::shared_ptr<AppProcess> ended;
    std::uint64_t generation = 0;
    std::optional<App> previousFront;
    {
        std::lock_guard lock(mutex_);
        if (shuttingDown_) return;
        Slot& s = slot(app);
        previousFront = front_;
        if (s.running) {
            if (front_ != app) {
                front_ = app;
                changed();
            }
            return;
        }
        // An app that ended is launched anew, as the phone does the next time
        // it is opened; its old process has been reaped already.
        ended = std::move(s.process);
        generation = ++s.generation;
        s.running = true;
        s.fingerDown = false;
        s.frame = nullptr;
        s.systemLogStart = fileSize(sim::inDevice(device_, kSystemLog));
        front_ = app;
        setStatus(std::string("Launching ") + appTitle(app) + "...");
        changed();
    }
    ended.reset();  // joins its finished reader thread, outside the lock

    std::shared_ptr<AppProcess> process;
    try {
        const Launch launch = launchOf_(app);
        process = std::make_shared<AppProcess>(
            launch.program, launch.arguments, device_,
            [this, app, generation](std::shared_ptr<const std::string> png) {
                onFrame(app, generation, std::move(png));
            },
            [this, app, generation](int status) { onEnd(app, generation, status); },
            [this, app, generation] { onStill(app, generation); });
    } catch (...) {
        std::lock_guard lock(mutex_);
        Slot& s = slot(app);
        if (s.generation == generation) s.running = false;
        front_ = previousFront == app ? std::nullopt : previousFront;
        setStatus(std::string(appTitle(app)) + " could not be launched");
        changed();
        throw;
    }
    std::lock_guard lock(mutex_);
    Slot& s = slot(app);
    s.process = std::move(process);
    // The app may have ended already; then onEnd has told why.
    if (s.running && s.generation == generation) {
        setStatus(std::string(appTitle(app)) + " launched (pid " + std::to_string(s.process->pid()) + ")");
        changed();
    }
}

void Springboard::home() {
    std::shared_ptr<AppProcess> lifting;
    std::string up;
    {
        std::lock_guard lock(mutex_);
        if (!front_) return;
        Slot& s = slot(*front_);
        // A finger held down while the app leaves the front is lifted, as the
        // system cancels touches of an app going to the background.
        if (s.fingerDown) {
            lifting = s.process;
            up = touchCommand(Phase::Up, s.lastX, s.lastY);
            s.fingerDown = false;
        }
        front_.reset();
        changed();
    }
    if (lifting) lifting->send(up);
}

std::uint64_t Springboard::touch(Phase phase, double x, double y) {
    std::shared_ptr<AppProcess> process;
    {
        std::lock_guard lock(mutex_);
        if (!front_) return 0;
        Slot& s = slot(*front_);
        if (!s.running || !s.process) return 0;
        if (phase != Phase::Down && !s.fingerDown) return s.process->sent();
        s.fingerDown = phase != Phase::Up;
        s.lastX = x;
        s.lastY = y;
        process = s.process;
    }
    process->send(touchCommand(phase, x, y));
    // The screen is no longer still once the app has a command to act on.
    std::lock_guard lock(mutex_);
    changed();
    return process->sent();
}

void Springboard::onFrame(App app, std::uint64_t generation, std::shared_ptr<const std::string> png) {
    std::lock_guard lock(mutex_);
    Slot& s = slot(app);
    if (s.generation != generation) return;
    s.frame = std::move(png);
    s.frameSerial = ++frameSerial_;
    if (front_ == app) changed();
}

void Springboard::onStill(App app, std::uint64_t generation) {
    std::lock_guard lock(mutex_);
    if (slot(app).generation != generation) return;
    if (front_ == app) changed();
}

void Springboard::onEnd(App app, std::uint64_t generation, int waitStatus) {
    std::lock_guard lock(mutex_);
    Slot& s = slot(app);
    if (s.generation != generation) return;
    s.running = false;
    s.fingerDown = false;
    if (shuttingDown_) return;
    setStatus(endReason(app, s, waitStatus));
    // The phone shows the home screen when the app in the front goes away.
    if (front_ == app) front_.reset();
    changed();
}

std::string Springboard::endReason(App app, const Slot& s, int waitStatus) const {
    const std::string title = appTitle(app);
    if (WIFEXITED(waitStatus)) {
        const int code = WEXITSTATUS(waitStatus);
        return code == 0 ? title + " ended" : title + " ended with exit status " + std::to_string(code);
    }
    if (!WIFSIGNALED(waitStatus)) return title + " ended";
    const int signal = WTERMSIG(waitStatus);
    const char* abbrev = ::sigabbrev_np(signal);
    const std::string name =
        std::string("signal ") + std::to_string(signal) + (abbrev ? std::string(", SIG") + abbrev : "");
    if (signal == SIGKILL) {
        // Settings ends Messages with "killall -9 MobileSMS" through the
        // device's system; the device's command log says whether that
        // happened while this process ran.
        bool killall = false;
        for (const std::string& line : linesSince(sim::inDevice(device_, kSystemLog), s.systemLogStart))
            if (line.find("killall") != std::string::npos && line.find(appProgram(app)) != std::string::npos)
                killall = true;
        if (killall) {
            const App other = app == App::Settings ? App::Messages : App::Settings;
            if (slot(other).running) return title + " was ended (killed by " + appTitle(other) + ")";
            return title + " was ended (killall -9 " + appProgram(app) + ")";
        }
        return title + " was ended (killed, " + name + ")";
    }
    if (signal == SIGSEGV || signal == SIGABRT || signal == SIGBUS || signal == SIGFPE || signal == SIGILL)
        return title + " crashed (" + name + ")";
    return title + " was ended (" + name + ")";
}

ScreenState Springboard::state() const {
    std::lock_guard lock(mutex_);
    ScreenState st;
    st.version = version_;
    st.front = front_;
    for (App app : kApps) st.running[static_cast<int>(app)] = slot(app).running;
    st.status = status_;
    st.statusSerial = statusSerial_;
    if (front_) {
        st.frame = slot(*front_).frame;
        st.frameSerial = slot(*front_).frameSerial;
        const Slot& s = slot(*front_);
        st.still = s.running && s.process && s.process->still();
        st.stillAfter = s.process ? s.process->stillAfter() : 0;
    }
    return st;
}

ScreenState Springboard::waitForChange(std::uint64_t seen, std::chrono::milliseconds timeout) const {
    {
        std::unique_lock lock(mutex_);
        changedCondition_.wait_for(lock, timeout, [&] { return version_ > seen || shuttingDown_; });
    }
    return state();
}

bool Springboard::shuttingDown() const {
    std::lock_guard lock(mutex_);
    return shuttingDown_;
}

pid_t Springboard::pidOf(App app) const {
    std::lock_guard lock(mutex_);
    const Slot& s = slot(app);
    return s.running && s.process ? s.process->pid() : -1;
}

void Springboard::shutdown() {
    std::lock_guard launchLock(launchMutex_);
    std::shared_ptr<AppProcess> processes[2];
    {
        std::lock_guard lock(mutex_);
        shuttingDown_ = true;
        for (App app : kApps) processes[static_cast<int>(app)] = std::move(slot(app).process);
        changedCondition_.notify_all();
    }
    // Both are asked to end at once, then each is waited for.
    for (auto& p : processes)
        if (p) p->requestEnd();
    for (auto& p : processes)
        if (p) p->end();
    for (auto& p : processes) p.reset();
}

}  // namespace hbsim::serve
