// The colour string parse of the hook library: "#RRGGBB", optionally followed
// by ":" and an alpha that only the overlay keys read.
#pragma once

#include <Foundation/Foundation.h>
#include <UIKit/UIKit.h>

namespace huebloom {

enum class AlphaRule {
    Opaque,      // alpha 1.0; any alpha part is ignored
    FromString,  // alpha from the text after the first ":"
};

struct ColorComponents {
    CGFloat red, green, blue, alpha;
};

// Reads a colour string the way the settings have always been read: exactly
// one leading character is skipped (it stands for the "#", but is not
// checked), then a hexadecimal number is scanned; red, green and blue are its
// bits 16-23, 8-15 and 0-7. No digits give black; a number too large for 32
// bits reads as all ones (white).
//
// Two inputs have no meaning of their own and get a safe reading: an empty
// hexadecimal part (the string begins with ":") reads as no digits, and an
// alpha-taking key whose string has no ":" part is opaque.
ColorComponents parseColorString(NS::String* text, AlphaRule rule);

// The same, as a new (autoreleased) colour.
UI::Color* colorFromString(NS::String* text, AlphaRule rule);

}  // namespace huebloom
