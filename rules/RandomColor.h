// The random colour choice: one of six named colours (red, orange, yellow,
// green, blue, purple), picked by a 32-bit random number from the system's
// source modulo 6. The Random balloon mode draws six of them.
#pragma once

#include <UIKit/UIKit.h>

namespace huebloom {

UI::Color* randomNamedColor();

}  // namespace huebloom
