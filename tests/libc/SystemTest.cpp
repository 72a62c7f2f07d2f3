#include <Device/DevicePath.h>
#include <Device/Processes.h>
#include <Device/SystemCommand.h>
#include <gtest/gtest.h>

#include <dlfcn.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

// A child process that only waits to be signalled.
pid_t spawnSleeper() {
    pid_t pid = ::fork();
    if (pid == 0) {
        for (;;) ::pause();
    }
    return pid;
}

// The signal that ended the child, 0 if it exited normally, -1 if it still runs.
int endOf(pid_t pid, bool wait = true) {
    int status = 0;
    pid_t r = ::waitpid(pid, &status, wait ? 0 : WNOHANG);
    if (r == 0) return -1;
    return WIFSIGNALED(status) ? WTERMSIG(status) : 0;
}

void finish(pid_t pid) {
    ::kill(pid, SIGKILL);
    ::waitpid(pid, nullptr, 0);
}

std::vector<std::string> lines(const std::string& file) {
    std::ifstream in(file);
    std::vector<std::string> out;
    for (std::string l; std::getline(in, l);) out.push_back(l);
    return out;
}

TEST(System, KillallSignalsTheRegisteredProcessesOfThisDevice) {
    device::TemporaryDevice dev;
    struct Case {
        const char* command;
        int signal;
    } cases[] = {
        {"killall -9 MobileSMS", SIGKILL},     {"killall MobileSMS", SIGTERM},
        {"killall -KILL MobileSMS", SIGKILL},  {"killall -SIGUSR1 MobileSMS", SIGUSR1},
        {"killall -term  MobileSMS", SIGTERM}, {"  killall\t-15 MobileSMS  ", SIGTERM},
    };
    for (const auto& c : cases) {
        pid_t a = spawnSleeper(), b = spawnSleeper(), other = spawnSleeper();
        ASSERT_TRUE(device::registerProcess("MobileSMS", a));
        ASSERT_TRUE(device::registerProcess("MobileSMS", b));
        ASSERT_TRUE(device::registerProcess("MobileSMSX", other));  // a different name, not a prefix match
        int status = std::system(c.command);
        EXPECT_TRUE(WIFEXITED(status)) << c.command;
        EXPECT_EQ(WEXITSTATUS(status), 0) << c.command;
        EXPECT_EQ(endOf(a), c.signal) << c.command;
        EXPECT_EQ(endOf(b), c.signal) << c.command;
        EXPECT_EQ(endOf(other, false), -1) << c.command;
        finish(other);
    }
}

TEST(System, KillallLeavesOtherDevicesAlone) {
    device::TemporaryDevice first;
    pid_t child = spawnSleeper();
    ASSERT_TRUE(device::registerProcess("MobileSMS", child));
    {
        device::TemporaryDevice second;
        EXPECT_EQ(WEXITSTATUS(std::system("killall -9 MobileSMS")), 1);
    }
    EXPECT_EQ(endOf(child, false), -1);
    EXPECT_EQ(device::runningProcesses("MobileSMS"), std::vector<pid_t>{child});
    EXPECT_EQ(WEXITSTATUS(std::system("killall -9 MobileSMS")), 0);
    EXPECT_EQ(endOf(child), SIGKILL);
}

TEST(System, StaleRecordsAreRemovedAndNotSignalled) {
    device::TemporaryDevice dev;
    std::string folder = dev / "/var/run/hbsim/processes";

    pid_t reaped = spawnSleeper();
    ASSERT_TRUE(device::registerProcess("MobileSMS", reaped));
    finish(reaped);

    pid_t zombie = spawnSleeper();
    ASSERT_TRUE(device::registerProcess("MobileSMS", zombie));
    ::kill(zombie, SIGKILL);
    // Waits until it has exited without reaping it: it stays a zombie.
    siginfo_t info{};
    ASSERT_EQ(::waitid(P_PID, zombie, &info, WEXITED | WNOWAIT), 0);

    // A live process whose pid was recorded for an earlier one.
    pid_t reused = spawnSleeper();
    {
        std::ofstream record(folder + "/MobileSMS." + std::to_string(reused));
        record << "12345\n/some/other/program\n";
    }
    {
        std::ofstream garbage(folder + "/MobileSMS.1");
        garbage << "not a record";
    }

    EXPECT_EQ(WEXITSTATUS(std::system("killall -9 MobileSMS")), 1);
    EXPECT_EQ(endOf(reused, false), -1);
    for (pid_t p : {reaped, zombie, reused, pid_t(1)}) {
        EXPECT_FALSE(fs::exists(folder + "/MobileSMS." + std::to_string(p))) << p;
    }
    finish(reused);
    ::waitpid(zombie, nullptr, 0);
}

TEST(System, EveryOtherCommandIsCountedLoggedAndNeverRun) {
    device::TemporaryDevice dev;
    pid_t child = spawnSleeper();
    ASSERT_TRUE(device::registerProcess("MobileSMS", child));
    std::string marker = dev / "/tmp/ran";
    std::vector<std::string> commands = {
        "touch " + marker,
        "killall -9 MobileSMS; touch " + marker,
        "killall -9 MobileSMS && touch " + marker,
        "killall -9 $(echo MobileSMS)",
        "killall '-9' MobileSMS",
        "killall",
        "killall -9",
        "killall -NOSUCHSIGNAL MobileSMS",
        "killall -99999 MobileSMS",
        "killall -9 MobileSMS Preferences",
        "killall -9 -9",
        "/usr/bin/killall -9 MobileSMS",
        "",
    };
    std::size_t before = device::systemCommandCount();
    for (const auto& c : commands) {
        int status = std::system(c.c_str());
        EXPECT_TRUE(WIFEXITED(status)) << c;
        EXPECT_EQ(WEXITSTATUS(status), 127) << c;
    }
    EXPECT_EQ(device::systemCommandCount() - before, commands.size());
    EXPECT_EQ(lines(dev / "/var/run/hbsim/system.log"), commands);
    EXPECT_FALSE(fs::exists(marker));
    EXPECT_EQ(endOf(child, false), -1);
    finish(child);

    // Asking whether there is a command processor runs nothing.
    EXPECT_NE(std::system(nullptr), 0);
    EXPECT_EQ(device::systemCommandCount() - before, commands.size());
}

TEST(System, ALibraryLoadedAtRunTimeReachesTheStandIn) {
    device::TemporaryDevice dev;
    pid_t child = spawnSleeper();
    ASSERT_TRUE(device::registerProcess("MobileSMS", child));
    void* library = ::dlopen(HB_BINARY_DIR "/lib/libhb_system_caller.so", RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(library, nullptr) << ::dlerror();
    auto callSystem = reinterpret_cast<int (*)(const char*)>(::dlsym(library, "callSystem"));
    ASSERT_NE(callSystem, nullptr);
    std::size_t before = device::systemCommandCount();
    EXPECT_EQ(WEXITSTATUS(callSystem("killall -9 MobileSMS")), 0);
    EXPECT_EQ(device::systemCommandCount() - before, 1u);
    EXPECT_EQ(endOf(child), SIGKILL);
    ::dlclose(library);
}

TEST(Processes, RegistrationNeedsADeviceAPlainNameAndALiveProcess) {
    {
        device::TemporaryDevice dev;
        for (const char* bad : {"", ".", "..", "a/b", "../MobileSMS"}) {
            EXPECT_FALSE(device::registerProcess(bad)) << bad;
        }
        pid_t gone = spawnSleeper();
        finish(gone);
        EXPECT_FALSE(device::registerProcess("MobileSMS", gone));
        ASSERT_TRUE(device::registerProcess("Preferences"));
        EXPECT_EQ(device::runningProcesses("Preferences"), std::vector<pid_t>{::getpid()});
        device::unregisterProcess("Preferences");
        EXPECT_TRUE(device::runningProcesses("Preferences").empty());
    }
    std::string saved = device::root();
    ::unsetenv(device::kEnvironmentVariable);
    EXPECT_FALSE(device::registerProcess("MobileSMS"));
    EXPECT_EQ(WEXITSTATUS(std::system("killall -9 MobileSMS")), 1);
    if (!saved.empty()) device::setRoot(saved);
}

}  // namespace
