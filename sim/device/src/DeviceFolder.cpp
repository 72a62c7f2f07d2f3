#include <Sim/DeviceFolder.h>
#include <Sim/UserError.h>

#include <Device/DevicePath.h>

#include <algorithm>
#include <fstream>
#include <system_error>

namespace fs = std::filesystem;

namespace sim {

bool isDeviceModel(std::string_view model) {
    return std::find(kDeviceModels.begin(), kDeviceModels.end(), model) != kDeviceModels.end();
}

fs::path inDevice(const fs::path& folder, std::string_view phonePath) {
    std::string relative(phonePath);
    while (!relative.empty() && relative.front() == '/') relative.erase(relative.begin());
    return folder / relative;
}

bool isDevice(const fs::path& folder) {
    std::error_code ec;
    return fs::is_regular_file(inDevice(folder, kModelFile), ec);
}

std::string deviceModel(const fs::path& folder) {
    std::ifstream in(inDevice(folder, kModelFile));
    std::string model;
    in >> model;
    return isDeviceModel(model) ? model : std::string(kDefaultDeviceModel);
}

void createDevice(const fs::path& folder, std::string_view model) {
    if (!model.empty() && !isDeviceModel(model)) {
        throw UserError("unknown device model \"" + std::string(model) + "\": use iphone4, iphone5 or ipad");
    }
    std::error_code ec;
    if (fs::exists(folder, ec) && !fs::is_directory(folder, ec)) {
        throw UserError(folder.string() + " exists and is not a folder: choose another with --device");
    }
    std::string chosen = !model.empty()     ? std::string(model)
                         : isDevice(folder) ? deviceModel(folder)
                                            : std::string(kDefaultDeviceModel);
    try {
        fs::create_directories(folder);
        device::createLayout(fs::absolute(folder).string());
    } catch (const fs::filesystem_error& e) {
        throw UserError("cannot create the device folder " + folder.string() + ": " + e.code().message());
    }
    fs::path modelFile = inDevice(folder, kModelFile);
    std::ofstream out(modelFile, std::ios::trunc);
    out << chosen << '\n';
    if (!out.flush()) throw UserError("cannot write " + modelFile.string());
}

void requireDevice(const fs::path& folder) {
    if (isDevice(folder)) return;
    throw UserError("no device at " + folder.string() + ": run hbsim device create --device " + folder.string());
}

}  // namespace sim
