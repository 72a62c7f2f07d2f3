// Runs script steps in the Settings app the way a person would: a row is
// found by what the screen shows and tapped at its place on the screen, the
// picker is dragged with a finger, sliders are moved by their thumbs, the
// alert's buttons are pressed. After each step the run loop runs on the
// virtual clock until pushes, fades and delayed builds have finished, so a
// script's results never depend on the machine's speed.
//
// A step that names nothing on screen throws StepError; its message says
// what the screen shows instead.
#pragma once

#include "SettingsScript.h"

#include <nlohmann/json.hpp>

#include <stdexcept>
#include <string>

namespace UI {
class NavigationController;
}

namespace settings {

class StepError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class ScreenDriver {
public:
    explicit ScreenDriver(UI::NavigationController* navigation) : navigation_(navigation) {}

    void run(const Step& step);
    // Lets the run loop finish what is under way (virtual seconds).
    void settle(double seconds = 1.0);
    // The screen's state (what `dump` prints), logs excluded.
    nlohmann::json screenState() const;
    // A short description of the screen for error messages.
    std::string describeScreen() const;

private:
    void open(const Step& step);
    void back(const Step& step);
    void toggle(const Step& step);
    void choose(const Step& step);
    void picker(const Step& step);
    void slider(const Step& step);
    void hex(const Step& step);
    void alertText(const Step& step);
    void alertButton(const Step& step);
    void rotate(const Step& step);
    void scrollToTop(const Step& step);

    UI::NavigationController* navigation_;
};

}  // namespace settings
