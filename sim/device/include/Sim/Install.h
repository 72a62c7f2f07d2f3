// Installing the built deliverables into a device the way a package lays them
// out on a phone:
//
//   lib/Huebloom.dylib, lib/Huebloom.plist -> /Library/MobileSubstrate/DynamicLibraries/
//   Huebloom.bundle/                      -> /Library/PreferenceBundles/Huebloom.bundle
//   the bundle's entry.plist              -> /Library/PreferenceLoader/Preferences/Huebloom.plist
//
// The hook library is required; the settings bundle is installed when it has
// been built.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace sim {

inline constexpr const char* kHookLibraryPhonePath = "/Library/MobileSubstrate/DynamicLibraries/Huebloom.dylib";
inline constexpr const char* kHookFilterPhonePath = "/Library/MobileSubstrate/DynamicLibraries/Huebloom.plist";
inline constexpr const char* kBundlePhonePath = "/Library/PreferenceBundles/Huebloom.bundle";
inline constexpr const char* kBundleEntryPhonePath = "/Library/PreferenceLoader/Preferences/Huebloom.plist";

// Where a build keeps what hbsim installs and launches, found from the folder
// of the hbsim program (build/bin).
struct BuildLayout {
    std::filesystem::path binDir;                      // hbsim and the app programs
    std::filesystem::path hookLibrary;                 // lib/Huebloom.dylib
    std::filesystem::path hookFilter;                  // lib/Huebloom.plist
    std::filesystem::path bundle;                      // Huebloom.bundle
    std::optional<std::filesystem::path> bundleEntry;  // the first entry plist that exists

    static BuildLayout fromBinDir(const std::filesystem::path& binDir);
    // The folder of the running program (through /proc/self/exe).
    static std::filesystem::path currentProgramDir();

    std::filesystem::path program(const std::string& name) const { return binDir / name; }
};

// What was placed, as phone paths, in install order.
struct InstallReport {
    std::vector<std::string> installed;
    bool bundleInstalled = false;
};

// Throws UserError when the folder is not a device or the hook library or its
// filter plist has not been built. Files are copied under a temporary name and
// renamed into place, so a running app never sees a half-written library.
InstallReport installDeliverables(const std::filesystem::path& device, const BuildLayout& build);

bool hookLibraryInstalled(const std::filesystem::path& device);
// The settings bundle and its entry for the Settings app.
bool bundleInstalled(const std::filesystem::path& device);

}  // namespace sim
