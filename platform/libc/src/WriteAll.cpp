#include <Device/WriteAll.h>

#include <cerrno>
#include <unistd.h>

namespace device {

bool writeAll(int fd, const void* bytes, std::size_t length) {
    const char* p = static_cast<const char*>(bytes);
    while (length > 0) {
        const ssize_t n = ::write(fd, p, length);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        p += n;
        length -= static_cast<std::size_t>(n);
    }
    return true;
}

}  // namespace device
