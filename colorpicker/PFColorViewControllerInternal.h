// What the two halves of the chooser class share. Internal to the kit.
#pragma once

#include "PFColorViewController.h"
#include "SettingsDomain.h"

namespace colorpicker {

PFColorViewControllerFields& fieldsOf(objc::AnyObject self);

// Adds reading, editing, saving, the hex alert and the thumb drawing to the
// class being built.
void addEditingMethods(objc::ClassBuilder& builder);

// Shows the colour found on appearing or laying out, through pickedColor:,
// writing it back only over a value already stored.
void showStoredColor(PFColorViewController* self, PFColorViewControllerFields& f, UI::Color* stored);

// The delay after which a picker's painted field is saved to its cache file.
inline constexpr double kCacheSaveDelay = 0.5;

// "/var/mobile/Library/Preferences/<domain>.plist", or null for a domain
// that names no settings file (see SettingsDomain.h).
NS::String* settingsPathForDomain(NS::String* domain);

}  // namespace colorpicker
