// UIScreen: the device's one screen. Its size in points and its scale come
// from the device model: iPhone 4 320×480, iPhone 5 320×568 (the default),
// iPad 768×1024, all at scale 2. The model is the environment variable
// HB_DEVICE_MODEL ("iphone4", "iphone5" or "ipad") when set, else the file
// "<device>/var/run/hbsim/model" (written by the simulator) when present,
// else the iPhone 5. It is read once, at the first question; tests and app
// hosts may choose it with UI::screen::setModel.
#pragma once

#include <CoreGraphics/CoreGraphics.h>
#include <Foundation/NSObject.h>

#include <optional>
#include <string_view>

namespace UI {

class Screen : public NS::Object {
public:
    static Screen* mainScreen() { return objc::send<Screen*>("UIScreen"_cls, "mainScreen"_sel); }

    CGRect bounds() const { return objc::send<CGRect>(this, "bounds"_sel); }
    CGFloat scale() const { return objc::send<CGFloat>(this, "scale"_sel); }
};

namespace screen {

enum class Model { iPhone4, iPhone5, iPad };

// "iphone4", "iphone5" or "ipad" (any case); nothing for other text.
std::optional<Model> parseModel(std::string_view name);
const char* modelName(Model model);

Model model();
void setModel(Model model);
// Forgets the chosen model: the next question reads the environment and the
// device folder again.
void resetModel();

CGSize pointSize(Model model);
CGFloat scale(Model model);

}  // namespace screen
}  // namespace UI
