// What the two halves of the chooser class share. Internal to the kit.
#pragma once

#include "PFColorViewController.h"
#include "SettingsDomain.h"

namespace colorpicker {

PFColorViewControllerFields& fieldsOf(const void* self);

// Adds reading, editing, saving, the hex alert and the thumb drawing to the
// class being built.
void addEditingMethods(objc::ClassBuilder& builder);

// "/var/mobile/Library/Preferences/<domain>.plist", or null for a domain
// that names no settings file (see SettingsDomain.h).
NS::String* settingsPathForDomain(NS::String* domain);

}  // namespace colorpicker
