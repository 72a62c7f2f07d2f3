// A second process for the notification tests, in the device named by
// HB_DEVICE:
//   hb_notify_helper post NAME...            posts each name, then exits
//   hb_notify_helper observe NAME COUNT      prints "ready", then "got NAME" for
//                                            each delivery; exits 0 after COUNT,
//                                            1 after 10 s without them
#include <CoreFoundation/CoreFoundation.h>
#include <Foundation/Foundation.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

int received = 0;

void onNotification(CFNotificationCenterRef, void*, CFStringRef name, const void*, CFDictionaryRef) {
    std::printf("got %s\n", objc::cast<NS::String>(name)->UTF8String());
    std::fflush(stdout);
    ++received;
}

}  // namespace

int main(int argc, char** argv) {
    objc::AutoreleasePool pool;
    CFNotificationCenterRef center = CFNotificationCenterGetDarwinNotifyCenter();
    if (argc >= 3 && std::strcmp(argv[1], "post") == 0) {
        for (int i = 2; i < argc; ++i) {
            CFStringRef name = reinterpret_cast<CFStringRef>(NS::String::stringWithUTF8String(argv[i]));
            CFNotificationCenterPostNotification(center, name, nullptr, nullptr, true);
        }
        return 0;
    }
    if (argc == 4 && std::strcmp(argv[1], "observe") == 0) {
        CFStringRef name = reinterpret_cast<CFStringRef>(NS::String::stringWithUTF8String(argv[2]));
        int wanted = std::atoi(argv[3]);
        CFNotificationCenterAddObserver(center, nullptr, &onNotification, name, nullptr,
                                        CFNotificationSuspensionBehaviorDeliverImmediately);
        std::printf("ready\n");
        std::fflush(stdout);
        return NS::loop::runUntil([&] { return received >= wanted; }, 10.0) ? 0 : 1;
    }
    std::fprintf(stderr, "usage: hb_notify_helper post NAME... | observe NAME COUNT\n");
    return 2;
}
