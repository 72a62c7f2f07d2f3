// The hooking platform's loader, run by an app host at launch before the app
// touches any of its own classes. It loads the libraries of
// "/Library/MobileSubstrate/DynamicLibraries/" of the device that ask for
// this app.
//
// A library "NAME.dylib" is loaded only when "NAME.plist" beside it reads as
// a dictionary whose "Filter" dictionary matches the app:
// - "Bundles": the app's bundle identifier is one of them;
// - "Executables": the app's executable name is one of them;
// - "Classes": one of the named classes exists in the process;
// - "Mode": "Any" loads when one of the lists given matches, anything else
//   (and no mode at all) only when all of them match.
// A list that is empty, or is not a list, counts as not given. A filter that
// gives no list matches nothing, and so does a missing filter: a library has
// to say where it belongs, since one loaded into every app by mistake could
// change apps it was never meant for.
#pragma once

#include <string>
#include <vector>

namespace substrate {

// Loads the matching libraries in the order of their file names (byte
// order), each with RTLD_NOW | RTLD_GLOBAL, so that their initialisers run in
// that order. Gives the file names of those loaded. A library that fails to
// load is reported on standard error and skipped. Nothing is loaded when no
// device is set.
std::vector<std::string> loadLibraries(const std::string& bundleIdentifier, const std::string& executableName);

}  // namespace substrate
