#include "AppHost.h"

#include <Device/DevicePath.h>
#include <UIKit/UIColor.h>

#include <filesystem>

namespace apphost {

std::string deviceProblem(const std::string& appName, const std::string& hbsimCommand) {
    if (device::root().empty()) {
        return appName + ": no device: HB_DEVICE must name a device folder. Start the app with \"" + hbsimCommand +
               "\", which sets it (make a device with \"hbsim device create\").";
    }
    std::error_code ec;
    if (!std::filesystem::is_directory(device::root(), ec)) {
        return appName + ": the device folder " + device::root() + " does not exist (run hbsim device create)";
    }
    return {};
}

nlohmann::json colorJSON(const UI::Color* color) {
    if (color == nullptr) return nullptr;
    CGFloat r = 0, g = 0, b = 0, a = 0;
    if (!color->getRed(&r, &g, &b, &a)) return nullptr;
    return {{"r", r}, {"g", g}, {"b", b}, {"a", a}};
}

}  // namespace apphost
