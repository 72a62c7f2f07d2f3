// The device folder: a folder on this machine laid out like the phone's file
// system. Product code names the phone's absolute paths; the platform maps
// every one of them into the device folder of the current process, named by
// the environment variable HB_DEVICE (the simulator sets it for each app
// process; tests make a temporary device). "/User" is "/var/mobile", as on
// the phone. A path that would leave the device folder is refused.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace device {

inline constexpr const char* kEnvironmentVariable = "HB_DEVICE";

// The device folder of this process (an absolute path), or empty when none
// is set.
std::string root();

// Sets the device folder of this process (and of the processes it starts).
void setRoot(const std::string& folder);

// Maps a phone path into the device folder. Gives nothing when no device is
// set, the path is not absolute, or it would leave the device folder through
// ".." or a symbolic link.
std::optional<std::string> hostPath(std::string_view phonePath);

// Lays out the folders every device has (preferences, tmp, substrate
// libraries, preference bundles and loader entries). Idempotent.
void createLayout(const std::string& folder);

// A device folder for one test: created empty with the standard layout and
// made current; removed with everything in it when the object goes away.
class TemporaryDevice {
public:
    TemporaryDevice();
    ~TemporaryDevice();
    TemporaryDevice(const TemporaryDevice&) = delete;
    TemporaryDevice& operator=(const TemporaryDevice&) = delete;

    const std::string& path() const { return path_; }
    // The host path of a phone path inside this device (no safety checks:
    // for tests that inspect or plant files).
    std::string operator/(std::string_view phonePath) const;

private:
    std::string path_;
    std::string previous_;
};

}  // namespace device
