// Pictures of what is on screen, for app hosts and tests. Each first lays out
// and paints what needs it (UI::updateDisplay), then composites at the main
// screen's scale as the screen shows it at this moment (animations part way).
#pragma once

#include <CoreGraphics/CoreGraphics.h>

#include <string>
#include <vector>

namespace UI {

class View;

namespace screenshot {

// The whole screen: every shown window, back to front, over black. +1.
CGImageRef createScreenImage();
// The view's bounds, over transparency. +1; NULL for a view without area.
CGImageRef createViewImage(View* view);

// PNG bytes; empty when there is nothing to encode.
std::vector<unsigned char> pngData(CGImageRef image);
// Writes PNG files at host paths; false when the file cannot be written.
bool writePNG(CGImageRef image, const std::string& hostPath);
bool writeScreenPNG(const std::string& hostPath);
bool writeViewPNG(View* view, const std::string& hostPath);

}  // namespace screenshot
}  // namespace UI
