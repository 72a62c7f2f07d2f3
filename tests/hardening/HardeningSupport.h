// What the hardening tests share: a Settings script written to a file, the
// checks that a dump's colours are colours, and a look at the preferences
// folder.
#pragma once

#include <DeviceRun.h>

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace hardening {

inline constexpr const char* kPreferencesFolder = "/var/mobile/Library/Preferences";

// Writes the steps, one a line, beside the device, and gives the file.
inline std::filesystem::path writeScript(const e2e::Device& device, const std::string& name,
                                         const std::vector<std::string>& steps) {
    const std::filesystem::path file = device.path() / (name + ".steps");
    std::ofstream out(file);
    for (const std::string& step : steps) out << step << "\n";
    return file;
}

// A colour as the apps dump it: four finite channels within [0, 1].
inline bool isColour(const nlohmann::json& c) {
    if (!c.is_object() || c.size() != 4) return false;
    for (const char* channel : {"r", "g", "b", "a"}) {
        if (!c.contains(channel) || !c[channel].is_number()) return false;
        const double v = c[channel].get<double>();
        if (!std::isfinite(v) || v < 0 || v > 1) return false;
    }
    return true;
}

// Every colour of the Messages dump's behaviour getters: each one a colour,
// or null where the system itself gives none. Faults are named by getter.
inline std::vector<std::string> badBehaviourColours(const nlohmann::json& dump) {
    std::vector<std::string> faults;
    if (!dump.contains("behavior") || !dump["behavior"].is_object()) return {"no behaviour getters in the dump"};
    for (const auto& [getter, value] : dump["behavior"].items()) {
        // The behaviour's other answers (switches of the system) are not colours.
        if (getter.find("Color") == std::string::npos) continue;
        if (value.is_array()) {
            if (value.empty()) faults.push_back(getter + " gave no colours");
            for (const auto& c : value)
                if (!isColour(c)) faults.push_back(getter + " gave " + c.dump());
        } else if (!value.is_null() && !isColour(value)) {
            faults.push_back(getter + " gave " + value.dump());
        }
    }
    return faults;
}

// The names in the device's preferences folder that are not settings files:
// temporary files of a write, for instance.
inline std::vector<std::string> strayPreferenceFiles(const e2e::Device& device) {
    std::vector<std::string> stray;
    for (const auto& entry : std::filesystem::directory_iterator(device / kPreferencesFolder)) {
        const std::string name = entry.path().filename().string();
        if (name.empty() || name[0] == '.' || entry.path().extension() != ".plist") stray.push_back(name);
    }
    return stray;
}

}  // namespace hardening
