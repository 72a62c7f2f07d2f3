#include "RandomColor.h"

#include <cstdlib>

namespace huebloom {

UI::Color* randomNamedColor() {
    switch (arc4random() % 6) {
    case 0: return UI::Color::redColor();
    case 1: return UI::Color::orangeColor();
    case 2: return UI::Color::yellowColor();
    case 3: return UI::Color::greenColor();
    case 4: return UI::Color::blueColor();
    default: return UI::Color::purpleColor();
    }
}

}  // namespace huebloom
