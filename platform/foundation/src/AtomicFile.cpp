#include <Foundation/AtomicFile.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace NS {
namespace {

bool writeAll(int fd, const void* bytes, std::size_t length) {
    const char* p = static_cast<const char*>(bytes);
    while (length > 0) {
        ssize_t n = ::write(fd, p, length);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        p += n;
        length -= static_cast<std::size_t>(n);
    }
    return true;
}

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() { close(); }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return fd_; }
    bool close() {
        if (fd_ < 0) return true;
        int rc = ::close(fd_);
        fd_ = -1;
        return rc == 0;
    }

private:
    int fd_;
};

}  // namespace

std::optional<std::vector<unsigned char>> readHostFile(const std::string& hostPath) {
    // Non-blocking, so that opening a FIFO does not wait for a writer; it is
    // then refused as not a regular file.
    FileDescriptor fd(::open(hostPath.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (fd.get() < 0) return std::nullopt;
    struct stat info {};
    if (::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode)) return std::nullopt;
    if (static_cast<unsigned long long>(info.st_size) > kMaxReadableFileSize) return std::nullopt;
    // One byte more than the size, so that the read that finds the end needs
    // no second buffer.
    std::vector<unsigned char> bytes(static_cast<std::size_t>(info.st_size) + 1);
    std::size_t filled = 0;
    // Read until the end, whatever the size said: the file may be changing.
    for (;;) {
        if (filled == bytes.size()) {
            if (bytes.size() >= kMaxReadableFileSize + 1) return std::nullopt;
            bytes.resize(std::min(kMaxReadableFileSize + 1, bytes.size() + 4096));
        }
        ssize_t n = ::read(fd.get(), bytes.data() + filled, bytes.size() - filled);
        if (n < 0) {
            if (errno == EINTR) continue;
            return std::nullopt;
        }
        if (n == 0) break;
        filled += static_cast<std::size_t>(n);
    }
    if (filled > kMaxReadableFileSize) return std::nullopt;
    bytes.resize(filled);
    return bytes;
}

bool writeHostFileAtomically(const std::string& hostPath, const void* bytes, std::size_t length) {
    std::size_t slash = hostPath.rfind('/');
    std::string folder = slash == std::string::npos ? "." : hostPath.substr(0, slash == 0 ? 1 : slash);
    std::string name = slash == std::string::npos ? hostPath : hostPath.substr(slash + 1);
    if (name.empty()) return false;
    std::string temporary = folder + "/." + name + ".XXXXXX";
    FileDescriptor fd(::mkostemp(temporary.data(), O_CLOEXEC));
    if (fd.get() < 0) return false;
    bool ok = ::fchmod(fd.get(), 0644) == 0 && writeAll(fd.get(), bytes, length) && ::fsync(fd.get()) == 0;
    ok = fd.close() && ok;
    if (ok) ok = ::rename(temporary.c_str(), hostPath.c_str()) == 0;
    if (!ok) {
        ::unlink(temporary.c_str());
        return false;
    }
    // Make the rename itself durable; a failure here leaves a complete file
    // in place, so it is not reported.
    FileDescriptor dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.get() >= 0) ::fsync(dir.get());
    return true;
}

bool writeHostFileDirectly(const std::string& hostPath, const void* bytes, std::size_t length) {
    FileDescriptor fd(::open(hostPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644));
    if (fd.get() < 0) return false;
    bool ok = writeAll(fd.get(), bytes, length);
    return fd.close() && ok;
}

}  // namespace NS
