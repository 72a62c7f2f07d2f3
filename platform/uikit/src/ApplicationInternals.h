// The application's list of shown windows and its key window, as the window
// class keeps them up to date. Internal to UIKit.
#pragma once

#include <ObjCBridge/Ref.h>

#include <vector>

namespace UI {
class Window;
}

namespace UI::detail {

// A shown window is held by the application until it is hidden.
void windowShown(Window* window);
void windowHidden(Window* window);

Window* keyWindow();
void setKeyWindow(Window* window);

// Back to front.
const std::vector<Ref<Window>>& shownWindows();

}  // namespace UI::detail
