#include <Sim/AppLauncher.h>
#include <Sim/UserError.h>

#include <Device/DevicePath.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <system_error>

namespace fs = std::filesystem;

namespace sim {
namespace {

volatile sig_atomic_t runningChild = 0;

void forwardSignal(int signal) {
    if (runningChild > 0) ::kill(static_cast<pid_t>(runningChild), signal);
}

// Passes the signals a person or a test sends to hbsim on to the app for as
// long as it runs, and puts the previous handlers back afterwards.
class SignalForwarding {
public:
    explicit SignalForwarding(pid_t child) {
        runningChild = child;
        struct sigaction action {};
        action.sa_handler = &forwardSignal;
        sigemptyset(&action.sa_mask);
        for (std::size_t i = 0; i < kCount; ++i) ::sigaction(kSignals[i], &action, &previous_[i]);
    }
    ~SignalForwarding() {
        for (std::size_t i = 0; i < kCount; ++i) ::sigaction(kSignals[i], &previous_[i], nullptr);
        runningChild = 0;
    }
    SignalForwarding(const SignalForwarding&) = delete;
    SignalForwarding& operator=(const SignalForwarding&) = delete;

private:
    static constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP};
    static constexpr std::size_t kCount = sizeof kSignals / sizeof kSignals[0];
    struct sigaction previous_[kCount] {};
};

}  // namespace

pid_t startApp(const fs::path& program, const std::vector<std::string>& arguments, const fs::path& device, bool quiet) {
    std::error_code ec;
    if (!fs::is_regular_file(program, ec) || ::access(program.c_str(), X_OK) != 0) {
        throw UserError("the app program " + program.string() + " is not built: build it with cmake --build " +
                        program.parent_path().parent_path().string() + " --target " + program.filename().string());
    }
    std::string folder = fs::absolute(device, ec).lexically_normal().string();

    std::vector<std::string> argvStrings;
    argvStrings.push_back(program.string());
    argvStrings.insert(argvStrings.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (auto& a : argvStrings) argv.push_back(a.data());
    argv.push_back(nullptr);

    std::fflush(nullptr);
    pid_t child = ::fork();
    if (child < 0) throw UserError(std::string("cannot start ") + program.string() + ": " + std::strerror(errno));
    if (child == 0) {
        ::setenv(device::kEnvironmentVariable, folder.c_str(), 1);
        if (quiet) {
            const int null = ::open("/dev/null", O_WRONLY);
            if (null >= 0) ::dup2(null, STDOUT_FILENO);
        }
        ::execv(argv[0], argv.data());
        std::fprintf(stderr, "hbsim: cannot run %s: %s\n", argv[0], std::strerror(errno));
        ::_exit(127);
    }
    return child;
}

int waitForApp(pid_t child) {
    int status = 0;
    while (::waitpid(child, &status, 0) < 0) {
        if (errno != EINTR) throw UserError(std::string("lost the app process: ") + std::strerror(errno));
    }
    if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 1;
}

int runApp(const fs::path& program, const std::vector<std::string>& arguments, const fs::path& device) {
    const pid_t child = startApp(program, arguments, device);
    SignalForwarding forwarding(child);
    return waitForApp(child);
}

}  // namespace sim
