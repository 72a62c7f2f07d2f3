// The colour chooser on the simulated screen: a window with a navigation
// controller whose root is a plain pane, the chooser pushed onto it as the
// swatch cell pushes it, the settings file and the device's logs read back.
#pragma once

#include "ColorPickerTestSupport.h"

#include "PFColorViewControllerFields.h"
#include "UIColor+PFColor.h"

#include <CoreFoundation/CoreFoundation.h>
#include <UIKit/UIAlertView.h>
#include <UIKit/UIInput.h>
#include <UIKit/UINavigationController.h>
#include <UIKit/UIScreenshot.h>
#include <UIKit/UISlider.h>
#include <UIKit/UIWindow.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace colorpicker_test {

inline constexpr const char* kDomain = "com.Quillfen.huebloom";
inline constexpr const char* kSettingsPath = "/var/mobile/Library/Preferences/com.Quillfen.huebloom.plist";
inline constexpr const char* kNotification = "com.Quillfen.huebloom/settingschanged";

struct ChooserOptions {
    const char* key = "blueText";
    bool configured = true;  // key, domain, fallback and notification set, as the swatch cell does
    bool usesAlpha = false;
    bool usesRGB = false;
    const char* fallback = "#a1a1a1";
};

class ChooserTest : public KitTest {
protected:
    explicit ChooserTest(UI::screen::Model model = UI::screen::Model::iPhone5) {
        UI::screen::setModel(model);
        UI::orientation::reset();
        window = objc::adopt(UI::Window::alloc()->init());
        pane = objc::adopt(UI::ViewController::alloc()->init());
        pane->setTitle("Bubbles"_ns);
        navigation = objc::adopt(UI::NavigationController::alloc()->initWithRootViewController(pane));
        window->setRootViewController(navigation);
        window->makeKeyAndVisible();
    }

    ~ChooserTest() override {
        window->setHidden(YES);
        UI::screen::resetModel();
    }

    // Writes the settings file with one entry (none for a null value).
    void storeSetting(const char* key, const char* value) {
        NS::MutableDictionary* settings = NS::MutableDictionary::dictionary();
        if (value != nullptr)
            settings->setObject(NS::String::stringWithUTF8String(value), NS::String::stringWithUTF8String(key));
        ASSERT_TRUE(settings->writeToFile(NS::String::stringWithUTF8String(kSettingsPath), YES));
    }

    // The entry of the settings file, read anew; "" when absent.
    std::string savedSetting(const char* key) const {
        NS::Dictionary* settings =
            NS::Dictionary::dictionaryWithContentsOfFile(NS::String::stringWithUTF8String(kSettingsPath));
        id value = settings == nullptr ? nil : settings->objectForKey(NS::String::stringWithUTF8String(key));
        return value == nil ? std::string() : std::string(objc::cast<NS::String>(value)->UTF8String());
    }

    // The value the preferences domain holds.
    std::string domainValue(const char* key) const {
        CFPropertyListRef value =
            CFPreferencesCopyAppValue(reinterpret_cast<CFStringRef>(NS::String::stringWithUTF8String(key)),
                                      reinterpret_cast<CFStringRef>(NS::String::stringWithUTF8String(kDomain)));
        if (value == nullptr) return "";
        std::string text = static_cast<const NS::String*>(value)->UTF8String();
        CFRelease(value);
        return text;
    }

    // The Darwin notifications posted in this device, in order.
    std::vector<std::string> postedNotifications() const {
        std::vector<std::string> names;
        std::ifstream log(device / "/var/run/hbsim/notifications.log");
        for (std::string line; std::getline(log, line);) names.push_back(line);
        return names;
    }

    // Creates, configures and pushes a chooser the way the swatch cell does,
    // then lets the push, the delayed layout and the fade-in run.
    PFColorViewController* openChooser(const ChooserOptions& options = {}) {
        Ref<PFColorViewController> made =
            objc::adopt(PFColorViewController::alloc()->initForContentSize(pane->view()->frame().size));
        if (options.configured) {
            made->setKey(NS::String::stringWithUTF8String(options.key));
            made->setDefaults(NS::String::stringWithUTF8String(kDomain));
            made->setUsesAlpha(options.usesAlpha);
            made->setUsesRGB(options.usesRGB);
            made->setTitle("Text"_ns);
            made->setFallback(NS::String::stringWithUTF8String(options.fallback));
            made->setPostNotification(NS::String::stringWithUTF8String(kNotification));
        }
        made->view()->setFrame(pane->view()->frame());
        navigation->pushViewController(made, YES);
        chooser = made;
        settle();
        return chooser;
    }

    // Runs the run loop long enough for every pending transition, delayed
    // call and animation of the chooser, then lays out and paints what
    // needs it, as each turn of an app's run loop does.
    static void settle() {
        NS::loop::runFor(1.0);
        UI::updateDisplay();
    }

    void leaveChooser() {
        navigation->popViewControllerAnimated(YES);
        settle();
    }

    PFColorViewControllerFields& fields() { return colorpicker::fieldsOf(chooser); }

    // The screen point of a point in a view.
    static CGPoint onScreen(UI::View* view, CGPoint point) { return view->convertPointToView(point, nullptr); }

    void tapPicker(CGPoint pickerPoint) { UI::input::tap(onScreen(chooser->colorPicker(), pickerPoint)); }

    // Moves a slider in code and sends its value change, as a finger ending
    // exactly on the value would.
    static void setSlider(UI::Slider* slider, float value) {
        slider->setValue(value);
        slider->sendActionsForControlEvents(UI::UIControlEventValueChanged);
    }

    Ref<UI::Window> window;
    Ref<UI::ViewController> pane;
    Ref<UI::NavigationController> navigation;
    PFColorViewController* chooser = nullptr;  // kept by the navigation controller
};

inline std::string text(const NS::String* s) { return s == nullptr ? std::string() : std::string(s->UTF8String()); }

inline bool rectEquals(CGRect r, CGFloat x, CGFloat y, CGFloat w, CGFloat h) {
    return r.origin.x == x && r.origin.y == y && r.size.width == w && r.size.height == h;
}

inline std::string describe(CGRect r) {
    std::ostringstream out;
    out << "(" << r.origin.x << ", " << r.origin.y << ", " << r.size.width << ", " << r.size.height << ")";
    return out.str();
}

}  // namespace colorpicker_test
