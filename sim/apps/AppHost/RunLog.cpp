#include "RunLog.h"

#include <Device/DevicePath.h>
#include <Foundation/NSString.h>
#include <UIKit/UIPasteboard.h>

#include <filesystem>
#include <fstream>

namespace apphost {
namespace {

constexpr const char* kLogs[] = {"/var/run/hbsim/system.log", "/var/run/hbsim/notifications.log",
                                 "/var/run/hbsim/urls.log"};

std::uintmax_t sizeOf(const std::string& phonePath) {
    auto host = device::hostPath(phonePath);
    std::error_code ec;
    if (!host) return 0;
    const auto size = std::filesystem::file_size(*host, ec);
    return ec ? 0 : size;
}

}  // namespace

RunLog::RunLog() {
    for (const char* log : kLogs) starts_.emplace_back(log, sizeOf(log));
}

std::uintmax_t RunLog::startOf(const std::string& phonePath) const {
    for (const auto& [path, start] : starts_)
        if (path == phonePath) return start;
    return 0;
}

std::vector<std::string> RunLog::linesSinceStart(const std::string& phonePath) const {
    std::vector<std::string> lines;
    auto host = device::hostPath(phonePath);
    if (!host) return lines;
    std::ifstream in(*host, std::ios::binary);
    if (!in) return lines;
    in.seekg(static_cast<std::streamoff>(startOf(phonePath)));
    std::string line;
    while (std::getline(in, line)) lines.push_back(line);
    return lines;
}

nlohmann::json RunLog::sinceStart() const {
    NS::String* pasted = UI::Pasteboard::generalPasteboard()->string();
    return {{"commands", linesSinceStart(kLogs[0])},
            {"notifications", linesSinceStart(kLogs[1])},
            {"urls", linesSinceStart(kLogs[2])},
            {"pasteboard", pasted != nullptr ? nlohmann::json(pasted->UTF8String()) : nlohmann::json(nullptr)}};
}

}  // namespace apphost
