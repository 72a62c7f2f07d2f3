// The settings snapshot: the settings file read once, at load, into `pref`,
// and the three ways a value of it is read (switch, integer, colour string).
#pragma once

#include <Foundation/Foundation.h>

// The whole settings file as an immutable dictionary, or null when the file
// is missing, unreadable or not a dictionary. Written once by the settings
// loader; only read afterwards.
extern "C" NS::Dictionary* pref;

namespace huebloom {

inline constexpr const char* kSettingsPath = "/var/mobile/Library/Preferences/com.Quillfen.huebloom.plist";

// The settings loader: reads the settings file into `pref`. Runs once, as the
// second initialiser of the library, after the hooks are installed.
void loadSettings();

// A switch: the value's boolValue; a missing key reads as off.
bool settingSwitch(NS::String* key);

// An integer: the value's integerValue; a missing key reads as 0.
NSInteger settingInteger(NS::String* key);

// A colour string, or null when the key counts as empty: missing, of length
// 0, or not a string at all (a number or Boolean under a colour key gives
// the same result as a missing key, rather than a message the value cannot
// answer).
NS::String* settingColorString(NS::String* key);

// The master switch "enabled".
inline bool enabled() { return settingSwitch("enabled"_ns); }

}  // namespace huebloom
