// UIApplication: the app itself, one per process. It keeps the shown windows
// and the key window, passes touch events to their windows, and opens URLs:
// every URL opened is remembered (UI::application::openedURLs) and added as
// a line to the device log "<device>/var/run/hbsim/urls.log".
#pragma once

#include <UIKit/UIResponder.h>

#include <string>
#include <vector>

namespace NS {
class Array;
class URL;
}  // namespace NS

namespace UI {

class Event;
class Window;

class Application : public Responder {
public:
    static Application* sharedApplication() {
        return objc::send<Application*>("UIApplication"_cls, "sharedApplication"_sel);
    }

    Window* keyWindow() const { return objc::send<Window*>(this, "keyWindow"_sel); }
    // The shown windows, back to front.
    NS::Array* windows() const { return objc::send<NS::Array*>(this, "windows"_sel); }

    // YES when the URL has text (its absoluteString) to open.
    BOOL openURL(const NS::URL* url) { return objc::send<BOOL>(this, "openURL:"_sel, url); }
    BOOL canOpenURL(const NS::URL* url) const { return objc::send<BOOL>(this, "canOpenURL:"_sel, url); }

    void sendEvent(Event* event) { objc::send<void>(this, "sendEvent:"_sel, event); }
};

namespace application {

// The URLs opened in this process, oldest first.
std::vector<std::string> openedURLs();

// The shown windows, back to front (not retained for the caller).
std::vector<Window*> visibleWindows();

}  // namespace application
}  // namespace UI
