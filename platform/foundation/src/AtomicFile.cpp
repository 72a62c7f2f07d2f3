#include <Foundation/AtomicFile.h>

#include <Device/WriteAll.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace NS {
namespace {

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

// The temporary files of a target are named ".NAME.PID.XXXXXX": the writer's
// process id lets a later writer tell a temporary file that was abandoned
// (its writer was killed between creating and renaming it) from one that
// another process is filling right now.
std::string temporaryPrefix(const std::string& name) { return "." + name + "."; }

// Whether the process still runs: it exists and has not ended. A killed
// process whose parent has not collected it yet still exists (a zombie), but
// it will never rename anything.
bool processRuns(pid_t pid) {
    if (::kill(pid, 0) != 0 && errno == ESRCH) return false;
    std::FILE* stat = std::fopen(("/proc/" + std::to_string(pid) + "/stat").c_str(), "r");
    if (stat == nullptr) return true;  // no process table to read: assume it runs
    char line[512] = {};
    const bool read = std::fgets(line, sizeof line, stat) != nullptr;
    std::fclose(stat);
    // "PID (COMMAND) STATE ...": the command may hold blanks and parentheses,
    // so the state follows the last ")".
    const char* close = read ? std::strrchr(line, ')') : nullptr;
    return close == nullptr || close[1] != ' ' || (close[2] != 'Z' && close[2] != 'X');
}

// Removes the abandoned temporary files of the target: those whose writer no
// longer runs. A temporary file of a live writer, or of a process id reused
// since, is left alone; the first is about to be renamed, the second is
// removed by a later write.
void removeAbandonedTemporaries(const std::string& folder, const std::string& name) {
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr) return;
    const std::string prefix = temporaryPrefix(name);
    while (const dirent* entry = ::readdir(dir)) {
        const std::string entryName = entry->d_name;
        if (entryName.size() <= prefix.size() + 7 || entryName.compare(0, prefix.size(), prefix) != 0) continue;
        // PID, a dot, then the six characters mkostemp chose.
        const std::string rest = entryName.substr(prefix.size());
        const std::size_t dot = rest.find('.');
        if (dot == 0 || dot == std::string::npos || rest.size() - dot - 1 != 6) continue;
        char* end = nullptr;
        const long pid = std::strtol(rest.c_str(), &end, 10);
        if (end != rest.c_str() + dot || pid <= 0) continue;
        if (!processRuns(static_cast<pid_t>(pid))) ::unlinkat(::dirfd(dir), entryName.c_str(), 0);
    }
    ::closedir(dir);
}

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
    removeAbandonedTemporaries(folder, name);
    std::string temporary = folder + "/" + temporaryPrefix(name) + std::to_string(::getpid()) + ".XXXXXX";
    FileDescriptor fd(::mkostemp(temporary.data(), O_CLOEXEC));
    if (fd.get() < 0) return false;
    bool ok = ::fchmod(fd.get(), 0644) == 0 && device::writeAll(fd.get(), bytes, length) && ::fsync(fd.get()) == 0;
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
    bool ok = device::writeAll(fd.get(), bytes, length);
    return fd.close() && ok;
}

}  // namespace NS
