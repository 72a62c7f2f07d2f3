// The application's list of shown windows and its key window, as the window
// class keeps them up to date. Internal to UIKit.
#pragma once

#include <ObjCBridge/Runtime.h>

#include <vector>

namespace UI::detail {

// A shown window is retained by the application until it is hidden.
void windowShown(id window);
void windowHidden(id window);

id keyWindow();
void setKeyWindow(id window);

// Back to front.
const std::vector<id>& shownWindows();

}  // namespace UI::detail
