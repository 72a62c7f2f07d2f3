// What the text-drawing views need of a font beyond its messages. Internal
// to UIKit.
#pragma once

#include <CoreGraphics/CGCairo.h>
#include <ObjCBridge/Runtime.h>

namespace UI::detail {

// The font as Core Graphics draws it; nil gives the system font at 17
// points, the size of a table cell's label.
CGCairoFont cairoFontOf(id font);

// A +0 font for internal defaults (the system font of the size, bold or not).
id systemFont(CGFloat size, bool bold);

}  // namespace UI::detail
