// What the Settings app knows of the settings bundles installed in a device:
// the entries under "/Library/PreferenceLoader/Preferences", one property
// list each, whose "entry" dictionary is the row of the app's root list
// ("label", "bundle", "cell" PSLinkCell, "isController"); and the loading of
// a bundle from "/Library/PreferenceBundles/<bundle>.bundle", whose
// Info.plist names its executable ("CFBundleExecutable") and the pane class
// to open ("NSPrincipalClass").
#pragma once

#include <Preferences/PSSpecifier.h>

#include <string>

namespace settings {

// The root list's rows, one per readable entry, in the order of their
// labels. An entry without "entry", without "bundle" or unreadable is left
// out. Autoreleased, never nil.
NS::Array* installedEntries(id target);

// The principal class of the bundle an entry names, loading the bundle's
// executable on first use; Nil when the bundle, its Info.plist, its
// executable or the class is missing or the name could leave the bundles
// folder. `bundleFolder` receives the bundle's host folder.
Class loadBundleClass(const std::string& bundleName, std::string* bundleFolder = nullptr);

}  // namespace settings
