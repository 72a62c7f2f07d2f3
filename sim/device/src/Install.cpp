#include <Sim/DeviceFolder.h>
#include <Sim/Install.h>
#include <Sim/UserError.h>

#include <system_error>

namespace fs = std::filesystem;

namespace sim {
namespace {

void requireBuilt(const fs::path& file, const BuildLayout& build, const char* what) {
    std::error_code ec;
    if (fs::is_regular_file(file, ec)) return;
    throw UserError(std::string(what) + " is not built (no " + file.string() + "): build it with cmake --build " +
                    build.binDir.parent_path().string() + " --target Huebloom");
}

// Copies a file beside its target and renames it over the target.
void placeFile(const fs::path& from, const fs::path& to) {
    fs::create_directories(to.parent_path());
    fs::path temporary = to;
    temporary += ".installing";
    fs::copy_file(from, temporary, fs::copy_options::overwrite_existing);
    fs::rename(temporary, to);
}

// Replaces a whole folder: the new copy is made beside the old one first.
void placeFolder(const fs::path& from, const fs::path& to) {
    fs::create_directories(to.parent_path());
    fs::path temporary = to;
    temporary += ".installing";
    fs::remove_all(temporary);
    fs::copy(from, temporary, fs::copy_options::recursive | fs::copy_options::copy_symlinks);
    fs::remove_all(to);
    fs::rename(temporary, to);
}

}  // namespace

fs::path BuildLayout::currentProgramDir() {
    std::error_code ec;
    fs::path self = fs::read_symlink("/proc/self/exe", ec);
    return ec ? fs::current_path() : self.parent_path();
}

BuildLayout BuildLayout::fromBinDir(const fs::path& binDir) {
    BuildLayout b;
    b.binDir = binDir;
    fs::path buildDir = binDir.parent_path();
    b.hookLibrary = buildDir / "lib" / "Huebloom.dylib";
    b.hookFilter = buildDir / "lib" / "Huebloom.plist";
    b.bundle = buildDir / "Huebloom.bundle";
    // The bundle carries its entry; a build whose bundle lacks it falls back
    // to the entry in the source tree.
    for (const fs::path& candidate : {b.bundle / "entry.plist", b.bundle / "Resources" / "entry.plist",
                                      fs::path(HB_SOURCE_DIR) / "prefs" / "Resources" / "entry.plist"}) {
        std::error_code ec;
        if (fs::is_regular_file(candidate, ec)) {
            b.bundleEntry = candidate;
            break;
        }
    }
    return b;
}

InstallReport installDeliverables(const fs::path& device, const BuildLayout& build) {
    requireDevice(device);
    requireBuilt(build.hookLibrary, build, "the hook library Huebloom.dylib");
    requireBuilt(build.hookFilter, build, "the hook library's filter plist Huebloom.plist");

    InstallReport report;
    try {
        placeFile(build.hookLibrary, inDevice(device, kHookLibraryPhonePath));
        report.installed.push_back(kHookLibraryPhonePath);
        placeFile(build.hookFilter, inDevice(device, kHookFilterPhonePath));
        report.installed.push_back(kHookFilterPhonePath);

        std::error_code ec;
        if (fs::is_directory(build.bundle, ec)) {
            placeFolder(build.bundle, inDevice(device, kBundlePhonePath));
            report.installed.push_back(kBundlePhonePath);
            if (build.bundleEntry) {
                placeFile(*build.bundleEntry, inDevice(device, kBundleEntryPhonePath));
                report.installed.push_back(kBundleEntryPhonePath);
            }
            report.bundleInstalled = true;
        }
    } catch (const fs::filesystem_error& e) {
        throw UserError("cannot install into " + device.string() + ": " + e.what());
    }
    return report;
}

bool hookLibraryInstalled(const fs::path& device) {
    std::error_code ec;
    return fs::is_regular_file(inDevice(device, kHookLibraryPhonePath), ec) &&
           fs::is_regular_file(inDevice(device, kHookFilterPhonePath), ec);
}

}  // namespace sim

namespace sim {

bool bundleInstalled(const fs::path& device) {
    std::error_code ec;
    return fs::is_directory(inDevice(device, kBundlePhonePath), ec) &&
           fs::is_regular_file(inDevice(device, kBundleEntryPhonePath), ec);
}

}  // namespace sim
