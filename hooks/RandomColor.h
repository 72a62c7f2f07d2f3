// The random colour choice: one of six named colours, picked by a 32-bit
// random number modulo 6.
#pragma once

#include <UIKit/UIKit.h>

namespace huebloom {

UI::Color* randomNamedColor();

// `getRandomColor`, added to CKGradientView. The receiver is not used.
id getRandomColor(id self, SEL _cmd);

}  // namespace huebloom
