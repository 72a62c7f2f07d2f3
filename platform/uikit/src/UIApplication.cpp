#include <Device/DevicePath.h>
#include <Foundation/NSArray.h>
#include <Foundation/NSString.h>
#include <Foundation/NSURL.h>
#include <UIKit/TestSupport.h>
#include <UIKit/UIApplication.h>
#include <UIKit/UITouch.h>
#include <UIKit/UIWindow.h>

#include "ApplicationInternals.h"
#include "TouchInternals.h"
#include "UIKitRegistration.h"

#include <algorithm>
#include <filesystem>
#include <fstream>

namespace UI {
namespace {

// The shown windows live in the application, which lives as long as the
// process: the list is never destroyed, so that no window is released while
// the process exits.
std::vector<Ref<Window>>& shown = *new std::vector<Ref<Window>>;
Window* key = nullptr;  // one of the shown windows, or a window about to be shown
std::vector<std::string> opened;

Application* sharedApplication(Class self, SEL) {
    // The one application lives as long as the process. It is made of the
    // class the message went to.
    static auto* application = objc::cast<Application>(objc::send<NS::Object*>(self, "alloc"_sel)->init());
    return application;
}

Window* keyWindow(id, SEL) { return key; }

NS::Array* windows(id, SEL) {
    std::vector<id> objects;
    for (Window* w : shown) objects.push_back(objc::asId(w));
    return NS::Array::arrayWithObjects(objects.data(), objects.size());
}

const char* textOf(const NS::URL* url) {
    const NS::String* text = url != nullptr ? url->absoluteString() : nullptr;
    const char* utf8 = text ? text->UTF8String() : nullptr;
    return utf8 && *utf8 ? utf8 : nullptr;
}

void appendToLog(const std::string& line) {
    auto path = device::hostPath("/var/run/hbsim/urls.log");
    if (!path) return;
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(*path).parent_path(), ec);
    std::ofstream out(*path, std::ios::app);
    out << line << '\n';
}

BOOL openURL(id, SEL, NS::URL* url) {
    const char* text = textOf(url);
    if (text == nullptr) return NO;
    opened.emplace_back(text);
    appendToLog(text);
    return YES;
}

BOOL canOpenURL(id, SEL, NS::URL* url) { return textOf(url) != nullptr ? YES : NO; }

// To the window of the event's touch.
void sendEvent(id, SEL, Event* event) {
    const Touch* touch = detail::touchOf(event);
    Window* window = touch != nullptr ? touch->window() : nullptr;
    if (window != nullptr) window->sendEvent(event);
}

}  // namespace

namespace detail {

void windowShown(Window* window) {
    if (std::find(shown.begin(), shown.end(), window) != shown.end()) return;
    shown.emplace_back(window);
}

void windowHidden(Window* window) {
    auto it = std::find(shown.begin(), shown.end(), window);
    if (it == shown.end()) return;
    shown.erase(it);  // may be the last reference
}

Window* keyWindow() { return key; }
void setKeyWindow(Window* window) { key = window; }
const std::vector<Ref<Window>>& shownWindows() { return shown; }

}  // namespace detail

namespace application {

std::vector<std::string> openedURLs() { return opened; }
void forgetOpenedURLs() { opened.clear(); }

std::vector<Window*> visibleWindows() { return std::vector<Window*>(shown.begin(), shown.end()); }

}  // namespace application

void registerApplication() {
    objc::ClassBuilder("UIApplication", "UIResponder"_cls)
        .classMethod("sharedApplication", &sharedApplication)
        .method("keyWindow", &keyWindow)
        .method("windows", &windows)
        .method("openURL:", &openURL)
        .method("canOpenURL:", &canOpenURL)
        .method("sendEvent:", &sendEvent)
        .build();
}

}  // namespace UI
