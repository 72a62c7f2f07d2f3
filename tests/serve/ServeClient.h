// What the tests of hbsim serve need: the server started on a free port of
// 127.0.0.1 with a device, requests as the page makes them, and a reader of
// the event stream that keeps every event with its frames.
#pragma once

#include <DeviceRun.h>

#include <httplib.h>
#include <nlohmann/json.hpp>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace serve_test {

// A port of 127.0.0.1 that nothing listened on a moment ago.
int freePort();

// A socket listening on a free port of 127.0.0.1 for as long as it lives.
class ListeningSocket {
public:
    ListeningSocket();
    ~ListeningSocket();
    ListeningSocket(const ListeningSocket&) = delete;
    ListeningSocket& operator=(const ListeningSocket&) = delete;
    int port() const { return port_; }

private:
    int fd_ = -1;
    int port_ = 0;
};

// hbsim serve --port P --device D, left running (killed at the end when the
// test did not end it).
class ServeRun {
public:
    explicit ServeRun(const e2e::Device& device);

    // Whether the page answers, within the timeout.
    bool ready(double timeoutSeconds = 20);
    int port() const { return port_; }
    int pid() const { return run_->pid(); }
    httplib::Client client() const;

    // A POST of JSON, as the page sends it.
    httplib::Result post(const std::string& path, const std::string& body);
    // GET /api/state (null when it fails).
    nlohmann::json state();
    // Polls the state until `done` holds (false on timeout).
    bool waitForState(const std::function<bool(const nlohmann::json&)>& done, double timeoutSeconds = 20);
    // A finger going down, moving or up at the point ("down", "move", "up"):
    // the commands the front app has been sent so far (0 when refused).
    std::uint64_t touch(const std::string& phase, double x, double y);
    // A finger down and up at the point; what touch gives for the up.
    std::uint64_t tap(double x, double y);
    // A finger down at the first point, moved in steps to the second and
    // lifted; what touch gives for the up.
    std::uint64_t drag(double x1, double y1, double x2, double y2, int steps = 8);

    e2e::RunResult wait(double timeoutSeconds) { return run_->wait(timeoutSeconds); }

private:
    int port_;
    std::unique_ptr<e2e::BackgroundRun> run_;
};

struct Event {
    std::string name;
    std::string data;
    std::chrono::steady_clock::time_point at;
};

// Reads /events on a thread of its own for as long as it lives.
class EventStream {
public:
    explicit EventStream(int port);
    ~EventStream();
    EventStream(const EventStream&) = delete;
    EventStream& operator=(const EventStream&) = delete;

    std::size_t size() const;
    std::size_t count(const std::string& name) const;
    Event last(const std::string& name) const;
    // The last frame's PNG, read back (invalid when there is none).
    e2e::Screenshot lastFrame() const;

    // Waits until an event from index `since` on satisfies `match`.
    bool waitFor(const std::function<bool(const Event&)>& match, std::size_t since = 0,
                 std::chrono::milliseconds timeout = std::chrono::seconds(20));
    // Waits until there are more than `n` events of the name.
    bool waitForMore(const std::string& name, std::size_t n,
                     std::chrono::milliseconds timeout = std::chrono::seconds(20));
    // Waits for the front app's word that its screen has settled after at
    // least `commands` commands (a "still" event); the frame it rests on has
    // come before it.
    bool waitUntilStill(std::uint64_t commands, std::chrono::milliseconds timeout = std::chrono::seconds(60));

    // Taps (or drags) and waits until the app says the screen is still
    // after it.
    bool tapAndSettle(ServeRun& serve, double x, double y);
    bool dragAndSettle(ServeRun& serve, double x1, double y1, double x2, double y2);

private:
    void received(const char* data, std::size_t size);

    httplib::Client client_;
    std::thread reader_;
    std::atomic<bool> stopping_{false};
    mutable std::mutex mutex_;
    std::condition_variable arrived_;
    std::string buffer_;
    std::vector<Event> events_;
};

}  // namespace serve_test
