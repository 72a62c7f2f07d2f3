#include "ServeClient.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;
using json = nlohmann::json;

namespace serve_test {
namespace {

int listenOnFreePort(int& port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return -1;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    socklen_t length = sizeof address;
    if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || ::listen(fd, 1) != 0 ||
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        ::close(fd);
        return -1;
    }
    port = ntohs(address.sin_port);
    return fd;
}

std::string decodeBase64(const std::string& text) {
    auto value = [](char c) -> int {
        if (c >= 'A' && c <= 'Z') return c - 'A';
        if (c >= 'a' && c <= 'z') return c - 'a' + 26;
        if (c >= '0' && c <= '9') return c - '0' + 52;
        if (c == '+') return 62;
        if (c == '/') return 63;
        return -1;
    };
    std::string out;
    unsigned bits = 0;
    int count = 0;
    for (char c : text) {
        const int v = value(c);
        if (v < 0) continue;
        bits = (bits << 6) | static_cast<unsigned>(v);
        count += 6;
        if (count >= 8) {
            count -= 8;
            out += static_cast<char>((bits >> count) & 0xFF);
        }
    }
    return out;
}

}  // namespace

int freePort() {
    int port = 0;
    const int fd = listenOnFreePort(port);
    if (fd >= 0) ::close(fd);
    return port;
}

ListeningSocket::ListeningSocket() { fd_ = listenOnFreePort(port_); }

ListeningSocket::~ListeningSocket() {
    if (fd_ >= 0) ::close(fd_);
}

// ---- ServeRun -----------------------------------------------------------------

ServeRun::ServeRun(const e2e::Device& device)
    : port_(freePort()), run_(device.startHbsim({"serve", "--port", std::to_string(port_)})) {}

httplib::Client ServeRun::client() const {
    httplib::Client c("127.0.0.1", port_);
    c.set_connection_timeout(std::chrono::seconds(5));
    c.set_read_timeout(std::chrono::seconds(30));
    return c;
}

bool ServeRun::ready(double timeoutSeconds) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(timeoutSeconds);
    while (std::chrono::steady_clock::now() < deadline) {
        if (!run_->running()) return false;
        if (auto res = client().Get("/"); res && res->status == 200) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
}

httplib::Result ServeRun::post(const std::string& path, const std::string& body) {
    return client().Post(path, body, "application/json");
}

json ServeRun::state() {
    auto res = client().Get("/api/state");
    if (!res || res->status != 200) return nullptr;
    return json::parse(res->body, nullptr, false);
}

bool ServeRun::waitForState(const std::function<bool(const json&)>& done, double timeoutSeconds) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(timeoutSeconds);
    while (std::chrono::steady_clock::now() < deadline) {
        const json s = state();
        if (s.is_object() && done(s)) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return false;
}

std::uint64_t ServeRun::touch(const std::string& phase, double x, double y) {
    httplib::Result r = post("/api/touch", json({{"phase", phase}, {"x", x}, {"y", y}}).dump());
    if (!r || r->status != 200) return 0;
    json answer = json::parse(r->body, nullptr, false);
    return answer.is_object() && answer["commands"].is_number_unsigned() ? answer["commands"].get<std::uint64_t>() : 0;
}

std::uint64_t ServeRun::tap(double x, double y) {
    touch("down", x, y);
    return touch("up", x, y);
}

std::uint64_t ServeRun::drag(double x1, double y1, double x2, double y2, int steps) {
    touch("down", x1, y1);
    for (int i = 1; i <= steps; ++i) {
        const double t = double(i) / steps;
        touch("move", x1 + (x2 - x1) * t, y1 + (y2 - y1) * t);
    }
    return touch("up", x2, y2);
}

// ---- EventStream --------------------------------------------------------------

EventStream::EventStream(int port) : client_("127.0.0.1", port) {
    client_.set_read_timeout(std::chrono::seconds(120));
    reader_ = std::thread([this] {
        client_.Get("/events", [this](const char* data, std::size_t size) {
            received(data, size);
            return !stopping_;
        });
    });
}

EventStream::~EventStream() {
    stopping_ = true;
    client_.stop();
    if (reader_.joinable()) reader_.join();
}

void EventStream::received(const char* data, std::size_t size) {
    std::lock_guard lock(mutex_);
    buffer_.append(data, size);
    for (std::size_t end; (end = buffer_.find("\n\n")) != std::string::npos;) {
        const std::string block = buffer_.substr(0, end);
        buffer_.erase(0, end + 2);
        Event event;
        event.at = std::chrono::steady_clock::now();
        std::size_t start = 0;
        while (start <= block.size()) {
            std::size_t stop = block.find('\n', start);
            if (stop == std::string::npos) stop = block.size();
            const std::string line = block.substr(start, stop - start);
            if (line.rfind("event: ", 0) == 0) event.name = line.substr(7);
            if (line.rfind("data: ", 0) == 0) event.data += line.substr(6);
            start = stop + 1;
        }
        if (!event.name.empty()) events_.push_back(std::move(event));
    }
    arrived_.notify_all();
}

std::size_t EventStream::size() const {
    std::lock_guard lock(mutex_);
    return events_.size();
}

std::size_t EventStream::count(const std::string& name) const {
    std::lock_guard lock(mutex_);
    std::size_t n = 0;
    for (const Event& e : events_) n += e.name == name ? 1 : 0;
    return n;
}

Event EventStream::last(const std::string& name) const {
    std::lock_guard lock(mutex_);
    for (auto it = events_.rbegin(); it != events_.rend(); ++it)
        if (it->name == name) return *it;
    return {};
}

e2e::Screenshot EventStream::lastFrame() const {
    const Event frame = last("frame");
    if (frame.data.empty()) return {};
    const fs::path file = fs::temp_directory_path() / ("hb-serve-frame-" + std::to_string(::getpid()) + ".png");
    std::ofstream(file, std::ios::binary) << decodeBase64(frame.data);
    e2e::Screenshot shot(file);
    std::error_code ec;
    fs::remove(file, ec);
    return shot;
}

bool EventStream::waitFor(const std::function<bool(const Event&)>& match, std::size_t since,
                          std::chrono::milliseconds timeout) {
    std::unique_lock lock(mutex_);
    return arrived_.wait_for(lock, timeout, [&] {
        for (std::size_t i = since; i < events_.size(); ++i)
            if (match(events_[i])) return true;
        return false;
    });
}

bool EventStream::waitForMore(const std::string& name, std::size_t n, std::chrono::milliseconds timeout) {
    std::unique_lock lock(mutex_);
    return arrived_.wait_for(lock, timeout, [&] {
        std::size_t count = 0;
        for (const Event& e : events_) count += e.name == name ? 1 : 0;
        return count > n;
    });
}

bool EventStream::waitUntilStill(std::uint64_t commands, std::chrono::milliseconds timeout) {
    return waitFor(
        [&](const Event& e) {
            if (e.name != "still") return false;
            json data = json::parse(e.data, nullptr, false);
            return data.is_object() && data["commands"].is_number_unsigned() &&
                   data["commands"].get<std::uint64_t>() >= commands;
        },
        0, timeout);
}

bool EventStream::tapAndSettle(ServeRun& serve, double x, double y) {
    const std::uint64_t commands = serve.tap(x, y);
    return commands > 0 && waitUntilStill(commands);
}

bool EventStream::dragAndSettle(ServeRun& serve, double x1, double y1, double x2, double y2) {
    const std::uint64_t commands = serve.drag(x1, y1, x2, y2);
    return commands > 0 && waitUntilStill(commands);
}

}  // namespace serve_test
