// A device folder: the simulated phone's file system on this machine. A folder
// is a device once `createDevice` has laid it out and written its model file
// "var/run/hbsim/model", which UIKit's screen reads for its size.
#pragma once

#include <array>
#include <filesystem>
#include <string>
#include <string_view>

namespace sim {

inline constexpr std::array<const char*, 3> kDeviceModels = {"iphone4", "iphone5", "ipad"};
inline constexpr const char* kDefaultDeviceModel = "iphone5";
inline constexpr const char* kModelFile = "var/run/hbsim/model";

bool isDeviceModel(std::string_view model);

// Lays out the folder (or completes an existing one; nothing in it is lost)
// and writes the model. An empty model keeps the model of an existing device
// and gives a new one the default. Throws UserError for an unknown model or a
// folder that cannot be made.
void createDevice(const std::filesystem::path& folder, std::string_view model = {});

bool isDevice(const std::filesystem::path& folder);

// Throws UserError, naming the command that makes one, when the folder is not
// a device.
void requireDevice(const std::filesystem::path& folder);

// The model written in the device; the default when the file says nothing
// readable.
std::string deviceModel(const std::filesystem::path& folder);

// The host path of a phone path inside the device (no safety checks; the
// phone path is one of the simulator's own, fixed paths).
std::filesystem::path inDevice(const std::filesystem::path& folder, std::string_view phonePath);

}  // namespace sim
