// What every app program of the simulated device does the same way: check
// the device it was started in, join the device's process registry under
// its executable's name (so that `killall NAME` in this device ends it), and
// print colours in its JSON dumps.
#pragma once

#include <Device/Processes.h>

#include <nlohmann/json.hpp>

#include <string>

namespace UI {
class Color;
}

namespace apphost {

// Empty when HB_DEVICE names an existing device folder; otherwise the
// message that says what is wrong and what to run.
std::string deviceProblem(const std::string& appName, const std::string& hbsimCommand);

// The process's registration under its name, ended however main returns.
class ProcessRegistration {
public:
    explicit ProcessRegistration(std::string name)
        : name_(std::move(name)), registered_(device::registerProcess(name_)) {}
    ~ProcessRegistration() {
        if (registered_) device::unregisterProcess(name_);
    }
    ProcessRegistration(const ProcessRegistration&) = delete;
    ProcessRegistration& operator=(const ProcessRegistration&) = delete;
    bool registered() const { return registered_; }

private:
    std::string name_;
    bool registered_;
};

// {"r":…,"g":…,"b":…,"a":…} with components that round-trip exactly; null
// for no colour or one without RGB components.
nlohmann::json colorJSON(const UI::Color* color);

}  // namespace apphost
