// The settings panes' reading of colour settings, for showing them: a colour
// string turned into a colour, and the colour saved under a key of a
// preferences domain (or a fallback colour string when nothing is saved).
//
// Both are exported from the bundle under these names and never give nil.
#pragma once

#include <Foundation/Foundation.h>
#include <UIKit/UIColor.h>

// "#RRGGBB" or "RRGGBB" as an opaque colour; anything after the hex digits
// (such as ":0.5") is ignored, text without digits is black, and nil gives a
// random bright colour. Autoreleased.
UI::Color* colorFromHex(NS::String* hex);

// The colour stored under `key` in the settings file of `domain`, with the
// alpha written after its ":" (1 when there is none); `fallback` read by
// colorFromHex when the file, the key or a usable domain is missing.
// Autoreleased.
UI::Color* colorFromDefaultsWithKey(NS::String* domain, NS::String* key, NS::String* fallback);
