// The Settings app's root list ("Settings"): one row per settings bundle
// installed in the device (the entries SettingsBundles reads). Tapping a row
// loads its bundle and pushes the bundle's principal class, titled with the
// row's label; a bundle that cannot be loaded is reported on standard error
// and the list stays as it is.
#pragma once

#include <ObjCBridge/ObjCBridge.h>

#include <string>

namespace settings {

inline constexpr const char* kRootControllerClass = "SettingsRootListController";

// Registers the class once (after the Preferences framework's classes).
void registerRootListController();

// What the last tap on an entry failed to open ("" when it opened).
const std::string& lastOpenFailure();

}  // namespace settings
