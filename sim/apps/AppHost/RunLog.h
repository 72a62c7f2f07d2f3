// The device's logs as far as one run of an app wrote them: the commands run
// through `system` (the kills), the Darwin notifications posted and the URLs
// opened, each a text file of lines under "/var/run/hbsim/" that every
// process of the device appends to. A RunLog remembers how long each file
// was when the run began and reads only what came after.
#pragma once

#include <nlohmann/json.hpp>

#include <cstdint>
#include <string>
#include <vector>

namespace apphost {

class RunLog {
public:
    RunLog();
    // {"commands": [...], "notifications": [...], "urls": [...],
    //  "pasteboard": text or null}: what was logged since construction, and
    // what the pasteboard holds now.
    nlohmann::json sinceStart() const;
    // The lines of one log (a phone path) written since construction.
    std::vector<std::string> linesSinceStart(const std::string& phonePath) const;

private:
    std::uintmax_t startOf(const std::string& phonePath) const;
    std::vector<std::pair<std::string, std::uintmax_t>> starts_;
};

}  // namespace apphost
