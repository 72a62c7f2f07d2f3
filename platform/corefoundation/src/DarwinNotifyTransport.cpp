#include "DarwinNotifyTransport.h"

#include <Device/DeviceLog.h>
#include <Device/DevicePath.h>
#include <Foundation/NSRunLoop.h>

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <optional>
#include <system_error>
#include <vector>

namespace fs = std::filesystem;

namespace cf::notify {
namespace {

constexpr const char* kFolder = "/var/run/hbsim/notify";
constexpr const char* kLog = "/var/run/hbsim/notifications.log";

// A socket address for a file of a folder. Device folders may be deeper than
// the hundred-odd bytes a socket address holds; then the folder is opened and
// named through /proc/self/fd, which is always short.
class SocketAddress {
public:
    SocketAddress(const std::string& folder, const std::string& file) {
        std::memset(&address_, 0, sizeof address_);
        address_.sun_family = AF_UNIX;
        std::string path = folder + "/" + file;
        if (path.size() >= sizeof address_.sun_path) {
            folderFd_ = ::open(folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
            if (folderFd_ < 0) return;
            path = "/proc/self/fd/" + std::to_string(folderFd_) + "/" + file;
            if (path.size() >= sizeof address_.sun_path) return;
        }
        std::memcpy(address_.sun_path, path.c_str(), path.size() + 1);
        valid_ = true;
    }
    ~SocketAddress() {
        if (folderFd_ >= 0) ::close(folderFd_);
    }
    SocketAddress(const SocketAddress&) = delete;
    SocketAddress& operator=(const SocketAddress&) = delete;

    bool valid() const { return valid_; }
    const sockaddr* get() const { return reinterpret_cast<const sockaddr*>(&address_); }
    socklen_t size() const { return sizeof address_; }

private:
    sockaddr_un address_{};
    int folderFd_ = -1;
    bool valid_ = false;
};

struct Endpoint {
    int fd = -1;
    pid_t owner = 0;
    std::string folder;
    std::string path;
    Receiver receiver = nullptr;
};

Endpoint& endpoint() {
    static Endpoint* e = new Endpoint;  // outlives static destruction, for the exit handler
    return *e;
}

void removeOwnSocket() {
    Endpoint& e = endpoint();
    if (e.fd >= 0 && e.owner == ::getpid()) {
        std::error_code ec;
        fs::remove(e.path, ec);
    }
}

void closeEndpoint() {
    Endpoint& e = endpoint();
    if (e.fd < 0) return;
    NS::loop::removeSource(e.fd);
    // A child of a fork shares the parent's socket file: only its owner
    // removes it.
    removeOwnSocket();
    ::close(e.fd);
    e.fd = -1;
}

void receive() {
    Endpoint& e = endpoint();
    std::vector<char> buffer(kMaxNameLength + 1);
    for (;;) {
        ssize_t n = ::recv(e.fd, buffer.data(), buffer.size(), MSG_DONTWAIT | MSG_TRUNC);
        if (n < 0) {
            if (errno == EINTR) continue;
            return;  // drained
        }
        if (static_cast<std::size_t>(n) > kMaxNameLength || n == 0) continue;
        if (e.receiver != nullptr) e.receiver(std::string(buffer.data(), static_cast<std::size_t>(n)));
    }
}

void appendToLog(const std::string& name) { device::appendLogLine(kLog, name); }

}  // namespace

bool listen(Receiver receiver) {
    auto folder = device::hostPath(kFolder);
    if (!folder) return false;
    Endpoint& e = endpoint();
    e.receiver = receiver;
    if (e.fd >= 0 && e.owner == ::getpid() && e.folder == *folder) return true;
    closeEndpoint();

    std::error_code ec;
    fs::create_directories(*folder, ec);
    std::string file = std::to_string(::getpid()) + ".sock";
    SocketAddress address(*folder, file);
    if (!address.valid()) return false;
    int fd = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) return false;
    // A socket file of this pid is left from an earlier process.
    fs::remove(*folder + "/" + file, ec);
    if (::bind(fd, address.get(), address.size()) != 0) {
        ::close(fd);
        return false;
    }
    static const bool exitHandler = [] { return std::atexit(removeOwnSocket) == 0; }();
    (void)exitHandler;
    e.fd = fd;
    e.owner = ::getpid();
    e.folder = *folder;
    e.path = *folder + "/" + file;
    NS::loop::addSource(fd, &receive);
    return true;
}

void post(const std::string& name) {
    appendToLog(name);
    auto folder = device::hostPath(kFolder);
    if (!folder || name.empty() || name.size() > kMaxNameLength) return;
    std::error_code ec;
    std::vector<std::string> sockets;
    for (const auto& entry : fs::directory_iterator(*folder, ec)) {
        std::string file = entry.path().filename().string();
        if (file.size() > 5 && file.ends_with(".sock")) sockets.push_back(file);
    }
    if (sockets.empty()) return;
    int fd = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return;
    for (const std::string& file : sockets) {
        SocketAddress address(*folder, file);
        if (!address.valid()) continue;
        // Never blocks: a process that does not read its socket loses the
        // notification rather than stopping the poster.
        ssize_t sent;
        do {
            sent = ::sendto(fd, name.data(), name.size(), MSG_DONTWAIT | MSG_NOSIGNAL, address.get(), address.size());
        } while (sent < 0 && errno == EINTR);
        if (sent < 0 && (errno == ECONNREFUSED || errno == ENOENT || errno == ENOTSOCK)) {
            fs::remove(*folder + "/" + file, ec);
        }
    }
    ::close(fd);
}

}  // namespace cf::notify
