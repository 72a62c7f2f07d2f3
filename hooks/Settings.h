// The settings snapshot: the settings file read once, at load, into `pref`,
// and the hook library's reading of it (switch, integer, colour string; the
// rules themselves are SettingsReader's, shared with the settings bundle's
// preview).
#pragma once

#include <SettingsReader.h>

#include <Foundation/Foundation.h>

// The whole settings file as an immutable dictionary, or null when the file
// is missing, unreadable or not a dictionary. Written once by the settings
// loader; only read afterwards.
extern "C" NS::Dictionary* pref;

namespace huebloom {

// The settings loader: reads the settings file into `pref`. Runs once, as the
// second initialiser of the library, after the hooks are installed.
void loadSettings();

// The snapshot as the replacements read it.
inline SettingsReader settings() { return SettingsReader(pref); }

}  // namespace huebloom
