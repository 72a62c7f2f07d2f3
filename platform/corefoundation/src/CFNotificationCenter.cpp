// The Darwin centre's observers, kept per process. A notification reaches the
// process through its socket (DarwinNotifyTransport) and is handed here, on
// the main run loop, to every observer of its name.
#include <CoreFoundation/CFNotificationCenter.h>

#include "DarwinNotifyTransport.h"

#include <ObjCBridge/ObjCBridge.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

struct __CFNotificationCenter {
    int unused;
};

namespace {

__CFNotificationCenter darwinCenter{0};

struct Observer {
    std::uint64_t serial;
    const void* observer;
    CFNotificationCallback callback;
    std::string name;
};

std::vector<Observer>& observers() {
    static auto* list = new std::vector<Observer>;
    return *list;
}

std::uint64_t nextSerial = 1;

std::string utf8(CFStringRef name) {
    const char* text = objc::send<const char*>(name, "UTF8String"_sel);
    return text ? std::string(text) : std::string();
}

void deliver(const std::string& name) {
    // Callbacks may add or remove observers: those to call are chosen first,
    // and each is called only if it is still registered when its turn comes.
    std::vector<std::uint64_t> due;
    for (const Observer& o : observers()) {
        if (o.name == name) due.push_back(o.serial);
    }
    if (due.empty()) return;
    objc::AutoreleasePool pool;
    CFStringRef cfName = reinterpret_cast<CFStringRef>(NS::String::stringWithUTF8String(name.c_str()));
    if (cfName == nullptr) return;  // not UTF-8: nobody can have observed it
    for (std::uint64_t serial : due) {
        auto& list = observers();
        auto found = std::find_if(list.begin(), list.end(), [&](const Observer& o) { return o.serial == serial; });
        if (found == list.end()) continue;
        Observer o = *found;
        o.callback(&darwinCenter, const_cast<void*>(o.observer), cfName, nullptr, nullptr);
    }
}

}  // namespace

extern "C" {

CFNotificationCenterRef CFNotificationCenterGetDarwinNotifyCenter(void) { return &darwinCenter; }

void CFNotificationCenterAddObserver(CFNotificationCenterRef center, const void* observer,
                                     CFNotificationCallback callBack, CFStringRef name, const void*,
                                     CFNotificationSuspensionBehavior) {
    if (center != &darwinCenter || callBack == nullptr || name == nullptr) return;
    std::string text = utf8(name);
    if (text.empty() || text.size() > cf::notify::kMaxNameLength) return;
    if (!cf::notify::listen(&deliver)) return;
    auto& list = observers();
    for (Observer& o : list) {
        if (o.observer == observer && o.name == text) {
            o.callback = callBack;
            return;
        }
    }
    list.push_back(Observer{nextSerial++, observer, callBack, std::move(text)});
}

void CFNotificationCenterRemoveObserver(CFNotificationCenterRef center, const void* observer, CFStringRef name,
                                        const void*) {
    if (center != &darwinCenter) return;
    auto& list = observers();
    std::string text = name ? utf8(name) : std::string();
    std::erase_if(list,
                  [&](const Observer& o) { return o.observer == observer && (name == nullptr || o.name == text); });
}

void CFNotificationCenterRemoveEveryObserver(CFNotificationCenterRef center, const void* observer) {
    CFNotificationCenterRemoveObserver(center, observer, nullptr, nullptr);
}

void CFNotificationCenterPostNotification(CFNotificationCenterRef center, CFStringRef name, const void*,
                                          CFDictionaryRef, Boolean) {
    if (center != &darwinCenter || name == nullptr) return;
    std::string text = utf8(name);
    if (text.empty()) return;
    cf::notify::post(text);
}

void CFNotificationCenterPostNotificationWithOptions(CFNotificationCenterRef center, CFStringRef name,
                                                     const void* object, CFDictionaryRef userInfo, CFOptionFlags) {
    CFNotificationCenterPostNotification(center, name, object, userInfo, true);
}

}  // extern "C"
