// Latency of the live device, input to frame, which the page should show
// within 100 ms:
//
//   BM_LiveTapToFirstFrame    a live Settings app: "down" + "up" on a row on
//                             its command pipe -> the first frame back
//   BM_ServeTapToPageFrame    hbsim serve: the page's two POSTs of a tap ->
//                             the frame on the event stream, as base64 text
//
// Both use manual time: only the wait for the first frame counts; settling
// back to the root list between iterations does not.
#include <benchmark/benchmark.h>

#include <httplib.h>

#include <LiveAppClient.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

const fs::path kBin = fs::path(HB_BINARY_DIR) / "bin";

// A fresh device with Huebloom installed, removed at the end.
struct BenchDevice {
    fs::path path;
    BenchDevice() {
        char folder[] = "/tmp/hb-bench-serve-XXXXXX";
        if (::mkdtemp(folder) == nullptr) return;
        path = fs::path(folder) / "device";
        const std::string hbsim = (kBin / "hbsim").string();
        const std::string create = hbsim + " device create --device " + path.string() + " >/dev/null";
        const std::string install = hbsim + " install --device " + path.string() + " >/dev/null";
        if (std::system(create.c_str()) != 0 || std::system(install.c_str()) != 0) path.clear();
    }
    ~BenchDevice() {
        std::error_code ec;
        if (!path.empty()) fs::remove_all(path.parent_path(), ec);
    }
};

// The live Settings app of the device, with frames counted rather than kept.
class LiveApp {
public:
    explicit LiveApp(const fs::path& device) : client_(kBin / "Preferences", device) {}
    bool ok() const { return client_.started(); }
    void send(const char* commands) { client_.send(commands); }
    bool frame(int timeoutMs) { return client_.nextFrame(std::chrono::milliseconds(timeoutMs)).has_value(); }
    // Every frame until the app says its screen is still again.
    void drain() { client_.framesUntilStill(); }

private:
    LiveAppClient client_;
};

constexpr const char* kTapRow = "down 160 120\nup 160 120";  // the Huebloom row of the root list
constexpr const char* kTapBack = "down 40 42\nup 40 42";     // the back button of the pane

void BM_LiveTapToFirstFrame(benchmark::State& state) {
    BenchDevice device;
    LiveApp app(device.path);
    if (device.path.empty() || !app.ok() || !app.frame(20000)) {
        state.SkipWithError("no live Settings app (build hbsim, Preferences and the deliverables)");
        return;
    }
    for (auto _ : state) {
        const auto start = Clock::now();
        app.send(kTapRow);
        if (!app.frame(5000)) {
            state.SkipWithError("no frame after the tap");
            return;
        }
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
        app.drain();
        app.send(kTapBack);
        app.drain();
    }
}
BENCHMARK(BM_LiveTapToFirstFrame)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);

int freePort() {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t n = sizeof a;
    int port = 0;
    if (::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0 &&
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &n) == 0)
        port = ntohs(a.sin_port);
    ::close(fd);
    return port;
}

// Counts the frame events of /events as they arrive.
class FrameCounter {
public:
    explicit FrameCounter(int port) : client_("127.0.0.1", port) {
        reader_ = std::thread([this] {
            client_.Get("/events", [this](const char* data, std::size_t size) {
                std::lock_guard lock(mutex_);
                text_.append(data, size);
                for (std::size_t at; (at = text_.find("event: frame\n")) != std::string::npos;) {
                    text_.erase(0, at + 13);
                    ++frames_;
                }
                if (text_.size() > 16) text_.erase(0, text_.size() - 16);
                arrived_.notify_all();
                return !stopping_;
            });
        });
    }
    ~FrameCounter() {
        stopping_ = true;
        client_.stop();
        reader_.join();
    }
    int frames() {
        std::lock_guard lock(mutex_);
        return frames_;
    }
    bool waitForMore(int n, std::chrono::milliseconds timeout) {
        std::unique_lock lock(mutex_);
        return arrived_.wait_for(lock, timeout, [&] { return frames_ > n; });
    }
    void waitUntilQuiet(std::chrono::milliseconds quiet) {
        for (int n = frames(); waitForMore(n, quiet); n = frames()) {}
    }

private:
    httplib::Client client_;
    std::thread reader_;
    std::atomic<bool> stopping_{false};
    std::mutex mutex_;
    std::condition_variable arrived_;
    std::string text_;
    int frames_ = 0;
};

// hbsim serve on the device and port, its output thrown away.
pid_t startServer(const fs::path& device, int port) {
    std::vector<std::string> args{(kBin / "hbsim").string(), "serve",  "--device",
                                  device.string(),           "--port", std::to_string(port)};
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    pid_t pid = -1;
    if (::posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0) pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

void BM_ServeTapToPageFrame(benchmark::State& state) {
    BenchDevice device;
    const int port = freePort();
    const pid_t server = device.path.empty() ? -1 : startServer(device.path, port);
    httplib::Client client("127.0.0.1", port);
    bool up = false;
    for (int i = 0; i < 200 && server > 0 && !up; ++i) {
        up = static_cast<bool>(client.Get("/"));
        if (!up) std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    if (!up) {
        state.SkipWithError("hbsim serve did not start");
        if (server > 0) ::kill(server, SIGKILL), ::waitpid(server, nullptr, 0);
        return;
    }
    {
        FrameCounter frames(port);
        client.Post("/api/open", R"({"app": "settings"})", "application/json");
        frames.waitForMore(0, std::chrono::seconds(20));
        frames.waitUntilQuiet(std::chrono::milliseconds(300));
        auto tap = [&](int x, int y) {
            for (const char* phase : {"down", "up"})
                client.Post("/api/touch",
                            "{\"phase\": \"" + std::string(phase) + "\", \"x\": " + std::to_string(x) +
                                ", \"y\": " + std::to_string(y) + "}",
                            "application/json");
        };
        for (auto _ : state) {
            const int before = frames.frames();
            const auto start = Clock::now();
            tap(160, 120);
            if (!frames.waitForMore(before, std::chrono::seconds(5))) {
                state.SkipWithError("no frame after the tap");
                break;
            }
            state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
            frames.waitUntilQuiet(std::chrono::milliseconds(300));
            tap(40, 42);
            frames.waitUntilQuiet(std::chrono::milliseconds(300));
        }
    }
    ::kill(server, SIGTERM);
    ::waitpid(server, nullptr, 0);
}
BENCHMARK(BM_ServeTapToPageFrame)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);

}  // namespace
