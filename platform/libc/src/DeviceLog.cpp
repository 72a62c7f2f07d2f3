#include <Device/DeviceLog.h>
#include <Device/DevicePath.h>

#include <fcntl.h>
#include <unistd.h>

#include <string>

namespace device {

void appendLogLine(std::string_view phonePath, std::string_view text) {
    auto log = hostPath(phonePath);
    if (!log) return;
    std::string line(text);
    for (char& c : line) {
        if (c == '\n' || c == '\r') c = ' ';
    }
    line += '\n';
    int fd = ::open(log->c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (fd < 0) return;
    ssize_t written = ::write(fd, line.data(), line.size());
    (void)written;
    ::close(fd);
}

}  // namespace device
