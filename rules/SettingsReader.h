// How the hook library reads a value of the settings file, over any copy of
// it: the hook library's snapshot `pref`, or the dictionary the settings
// bundle's preview has just read. The three kinds of value (switch, integer,
// colour string) are read the same way for every key of their kind.
#pragma once

#include "ColorString.h"

#include <Foundation/Foundation.h>
#include <UIKit/UIColor.h>

namespace huebloom {

// The settings file, where Messages reads it when it starts.
inline constexpr const char* kSettingsPath = "/var/mobile/Library/Preferences/com.Quillfen.huebloom.plist";

class SettingsReader {
public:
    // Observes the dictionary, which may be null (no settings file): every
    // switch then reads off, every integer 0 and every colour key empty.
    explicit SettingsReader(NS::Dictionary* settings) : settings_(settings) {}

    // A switch: the value's boolValue; a missing key reads as off.
    bool isOn(NS::String* key) const;

    // An integer: the value's integerValue; a missing key reads as 0.
    NSInteger integer(NS::String* key) const;

    // A colour string, or null when the key counts as empty: missing, of
    // length 0, or not a string at all (a number or Boolean under a colour
    // key gives the same result as a missing key, rather than a message the
    // value cannot answer).
    NS::String* colorString(NS::String* key) const;

    // A stored colour string, or the built-in default when the key is empty,
    // as a new (autoreleased) colour.
    UI::Color* colorForKey(NS::String* key, NS::String* fallback, AlphaRule rule) const;

    // The master switch "enabled": when off, Messages shows the system's own
    // look whatever else is saved.
    bool enabled() const { return isOn("enabled"_ns); }

private:
    NS::Object* lookUp(NS::String* key) const;

    NS::Dictionary* settings_;
};

}  // namespace huebloom
