#include <CoreFoundation/CoreFoundation.h>
#include <Device/DevicePath.h>
#include <Foundation/Foundation.h>
#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct Delivery {
    void* observer;
    std::string name;
    const void* object;
    CFDictionaryRef userInfo;
};
std::vector<Delivery> deliveries;

void record(CFNotificationCenterRef, void* observer, CFStringRef name, const void* object, CFDictionaryRef info) {
    deliveries.push_back({observer, objc::cast<NS::String>(name)->UTF8String(), object, info});
}

void recordAndLeave(CFNotificationCenterRef center, void* observer, CFStringRef name, const void* object,
                    CFDictionaryRef info) {
    record(center, observer, name, object, info);
    CFNotificationCenterRemoveEveryObserver(center, observer);
}

// A child process running the helper program, with its standard output on a pipe.
struct Helper {
    pid_t pid = -1;
    int out = -1;

    explicit Helper(std::vector<std::string> args) {
        int fds[2];
        if (::pipe(fds) != 0) return;
        pid = ::fork();
        if (pid == 0) {
            ::dup2(fds[1], 1);
            ::close(fds[0]);
            ::close(fds[1]);
            std::string program = HB_BINARY_DIR "/bin/hb_notify_helper";
            std::vector<char*> argv{program.data()};
            for (auto& a : args) argv.push_back(a.data());
            argv.push_back(nullptr);
            ::execv(program.c_str(), argv.data());
            ::_exit(127);
        }
        ::close(fds[1]);
        out = fds[0];
    }
    ~Helper() {
        if (out >= 0) ::close(out);
        if (pid > 0) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, nullptr, 0);
        }
    }
    // Reads one line (blocking).
    std::string line() {
        std::string l;
        char c;
        while (::read(out, &c, 1) == 1 && c != '\n') l += c;
        return l;
    }
    int exitCode() {
        int status = 0;
        ::waitpid(pid, &status, 0);
        pid = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
};

std::vector<std::string> lines(const std::string& file) {
    std::ifstream in(file);
    std::vector<std::string> out;
    for (std::string l; std::getline(in, l);) out.push_back(l);
    return out;
}

class NotifyTest : public ::testing::Test {
protected:
    void SetUp() override {
        NS::loop::useVirtualClock();
        deliveries.clear();
    }
    void TearDown() override {
        for (void* o : {observerA, observerB}) CFNotificationCenterRemoveEveryObserver(center, o);
        NS::loop::cancelAll();
    }
    bool waitFor(std::size_t count) {
        return NS::loop::runUntil([&] { return deliveries.size() >= count; }, 10.0);
    }

    objc::AutoreleasePool pool;
    device::TemporaryDevice dev;
    CFNotificationCenterRef center = CFNotificationCenterGetDarwinNotifyCenter();
    int a = 0, b = 0;
    void* observerA = &a;
    void* observerB = &b;
};

TEST_F(NotifyTest, APostReachesObserversOfItsNameOnTheRunLoopAndIsLogged) {
    EXPECT_EQ(center, CFNotificationCenterGetDarwinNotifyCenter());
    CFNotificationCenterAddObserver(center, observerA, &record, CFSTR("com.Quillfen.huebloom/blue"), nullptr,
                                    CFNotificationSuspensionBehaviorDeliverImmediately);
    CFNotificationCenterAddObserver(center, observerB, &record, CFSTR("com.Quillfen.huebloom/other"), nullptr,
                                    CFNotificationSuspensionBehaviorDeliverImmediately);
    NS::Object* object = objc::cast<NS::Object>("ignored"_ns);
    CFNotificationCenterPostNotification(center, CFSTR("com.Quillfen.huebloom/blue"), object,
                                         reinterpret_cast<CFDictionaryRef>(NS::Dictionary::dictionary()), true);
    EXPECT_TRUE(deliveries.empty());  // never inside the post
    ASSERT_TRUE(waitFor(1));
    NS::loop::runFor(0.05);
    ASSERT_EQ(deliveries.size(), 1u);
    EXPECT_EQ(deliveries[0].observer, observerA);
    EXPECT_EQ(deliveries[0].name, "com.Quillfen.huebloom/blue");
    EXPECT_EQ(deliveries[0].object, nullptr);
    EXPECT_EQ(deliveries[0].userInfo, nullptr);

    CFNotificationCenterPostNotificationWithOptions(center, CFSTR("nobody.listens"), nullptr, nullptr,
                                                    kCFNotificationDeliverImmediately);
    EXPECT_EQ(lines(dev / "/var/run/hbsim/notifications.log"),
              (std::vector<std::string>{"com.Quillfen.huebloom/blue", "nobody.listens"}));
}

TEST_F(NotifyTest, RemovedObserversHearNothingMore) {
    CFNotificationCenterAddObserver(center, observerA, &record, CFSTR("one"), nullptr,
                                    CFNotificationSuspensionBehaviorDeliverImmediately);
    CFNotificationCenterAddObserver(center, observerA, &record, CFSTR("two"), nullptr,
                                    CFNotificationSuspensionBehaviorDeliverImmediately);
    CFNotificationCenterAddObserver(center, observerB, &record, CFSTR("two"), nullptr,
                                    CFNotificationSuspensionBehaviorDeliverImmediately);
    // Added again: replaces, so it still hears each post once.
    CFNotificationCenterAddObserver(center, observerB, &record, CFSTR("two"), nullptr,
                                    CFNotificationSuspensionBehaviorDeliverImmediately);
    CFNotificationCenterRemoveObserver(center, observerA, CFSTR("two"), nullptr);
    CFNotificationCenterPostNotification(center, CFSTR("one"), nullptr, nullptr, true);
    CFNotificationCenterPostNotification(center, CFSTR("two"), nullptr, nullptr, true);
    ASSERT_TRUE(waitFor(2));
    NS::loop::runFor(0.05);
    ASSERT_EQ(deliveries.size(), 2u);
    EXPECT_EQ(deliveries[0].observer, observerA);
    EXPECT_EQ(deliveries[0].name, "one");
    EXPECT_EQ(deliveries[1].observer, observerB);

    deliveries.clear();
    CFNotificationCenterRemoveObserver(center, observerA, nullptr, nullptr);
    CFNotificationCenterRemoveEveryObserver(center, observerB);
    CFNotificationCenterPostNotification(center, CFSTR("one"), nullptr, nullptr, true);
    CFNotificationCenterPostNotification(center, CFSTR("two"), nullptr, nullptr, true);
    NS::loop::runFor(0.05);
    EXPECT_FALSE(NS::loop::runUntil([] { return !deliveries.empty(); }, 0.2));

    // An observer may leave from its own callback; the others of the same
    // delivery are still called.
    CFNotificationCenterAddObserver(center, observerA, &recordAndLeave, CFSTR("n"), nullptr,
                                    CFNotificationSuspensionBehaviorDeliverImmediately);
    CFNotificationCenterAddObserver(center, observerB, &record, CFSTR("n"), nullptr,
                                    CFNotificationSuspensionBehaviorDeliverImmediately);
    CFNotificationCenterPostNotification(center, CFSTR("n"), nullptr, nullptr, true);
    CFNotificationCenterPostNotification(center, CFSTR("n"), nullptr, nullptr, true);
    ASSERT_TRUE(waitFor(3));
    NS::loop::runFor(0.05);
    ASSERT_EQ(deliveries.size(), 3u);
    EXPECT_EQ(deliveries[0].observer, observerA);
    EXPECT_EQ(deliveries[1].observer, observerB);
    EXPECT_EQ(deliveries[2].observer, observerB);
}

TEST_F(NotifyTest, APostInAnotherProcessReachesThisOne) {
    CFNotificationCenterAddObserver(center, observerA, &record, CFSTR("com.Quillfen.huebloom.changed"), nullptr,
                                    CFNotificationSuspensionBehaviorDeliverImmediately);
    Helper poster({"post", "com.Quillfen.huebloom.changed", "unrelated"});
    EXPECT_EQ(poster.exitCode(), 0);
    ASSERT_TRUE(waitFor(1));
    EXPECT_EQ(deliveries[0].name, "com.Quillfen.huebloom.changed");
    EXPECT_EQ(lines(dev / "/var/run/hbsim/notifications.log"),
              (std::vector<std::string>{"com.Quillfen.huebloom.changed", "unrelated"}));
}

TEST_F(NotifyTest, APostHereReachesAnotherProcess) {
    Helper observer({"observe", "com.Quillfen.huebloom.changed", "2"});
    ASSERT_EQ(observer.line(), "ready");
    CFNotificationCenterPostNotification(center, CFSTR("com.Quillfen.huebloom.changed"), nullptr, nullptr, true);
    CFNotificationCenterPostNotification(center, CFSTR("other"), nullptr, nullptr, true);
    CFNotificationCenterPostNotification(center, CFSTR("com.Quillfen.huebloom.changed"), nullptr, nullptr, true);
    EXPECT_EQ(observer.line(), "got com.Quillfen.huebloom.changed");
    EXPECT_EQ(observer.line(), "got com.Quillfen.huebloom.changed");
    EXPECT_EQ(observer.exitCode(), 0);
}

TEST_F(NotifyTest, OtherDevicesDoNotHearIt) {
    CFNotificationCenterAddObserver(center, observerA, &record, CFSTR("shared.name"), nullptr,
                                    CFNotificationSuspensionBehaviorDeliverImmediately);
    std::string here = device::root();
    {
        device::TemporaryDevice other;
        Helper poster({"post", "shared.name"});
        EXPECT_EQ(poster.exitCode(), 0);
        EXPECT_EQ(lines(other / "/var/run/hbsim/notifications.log"), std::vector<std::string>{"shared.name"});
    }
    EXPECT_EQ(device::root(), here);
    EXPECT_FALSE(NS::loop::runUntil([] { return !deliveries.empty(); }, 0.3));
    EXPECT_FALSE(fs::exists(dev / "/var/run/hbsim/notifications.log"));
}

TEST_F(NotifyTest, SocketsOfEndedProcessesAreRemoved) {
    std::string folder = dev / "/var/run/hbsim/notify";
    fs::create_directories(folder);
    // A socket left bound by a process that has gone: nobody reads it.
    std::string stale = folder + "/999999.sock";
    int fd = ::socket(AF_UNIX, SOCK_DGRAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    ASSERT_LT(stale.size(), sizeof address.sun_path);
    std::strcpy(address.sun_path, stale.c_str());
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ::close(fd);
    ASSERT_TRUE(fs::exists(stale));
    CFNotificationCenterPostNotification(center, CFSTR("anything"), nullptr, nullptr, true);
    EXPECT_FALSE(fs::exists(stale));
}

TEST_F(NotifyTest, DeepDeviceFoldersStillDeliver) {
    std::string saved = device::root();
    std::string deep = dev.path() + "/" + std::string(60, 'd') + "/" + std::string(60, 'e');
    device::createLayout(deep);
    device::setRoot(deep);
    CFNotificationCenterAddObserver(center, observerA, &record, CFSTR("deep"), nullptr,
                                    CFNotificationSuspensionBehaviorDeliverImmediately);
    CFNotificationCenterPostNotification(center, CFSTR("deep"), nullptr, nullptr, true);
    bool delivered = waitFor(1);
    device::setRoot(saved);
    EXPECT_TRUE(delivered);
    EXPECT_TRUE(fs::exists(deep + "/var/run/hbsim/notify/" + std::to_string(::getpid()) + ".sock"));
}

}  // namespace
