#include <Device/DevicePath.h>

#include <climits>
#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <vector>

namespace fs = std::filesystem;

namespace device {
namespace {

bool isInside(const fs::path& candidate, const fs::path& folder) {
    auto c = candidate.begin();
    for (auto f = folder.begin(); f != folder.end(); ++f, ++c) {
        if (c == candidate.end() || *c != *f) return false;
    }
    return true;
}

}  // namespace

std::string root() {
    const char* value = std::getenv(kEnvironmentVariable);
    return value ? std::string(value) : std::string();
}

void setRoot(const std::string& folder) {
    std::error_code ec;
    fs::path absolute = fs::absolute(folder, ec);
    ::setenv(kEnvironmentVariable, (ec ? fs::path(folder) : absolute).lexically_normal().c_str(), 1);
}

std::optional<std::string> hostPath(std::string_view phonePath) {
    std::string top = root();
    if (top.empty() || phonePath.empty() || phonePath.front() != '/') return std::nullopt;

    // Lexical resolution first: ".." may not climb above the phone's "/".
    std::vector<std::string> parts;
    std::string_view rest = phonePath;
    while (!rest.empty()) {
        std::size_t slash = rest.find('/');
        std::string_view part = rest.substr(0, slash);
        rest = slash == std::string_view::npos ? std::string_view() : rest.substr(slash + 1);
        if (part.empty() || part == ".") continue;
        if (part == "..") {
            if (parts.empty()) return std::nullopt;
            parts.pop_back();
            continue;
        }
        parts.emplace_back(part);
    }
    if (!parts.empty() && parts.front() == "User") {
        parts.front() = "mobile";
        parts.insert(parts.begin(), "var");
    }

    fs::path folder = fs::path(top).lexically_normal();
    fs::path mapped = folder;
    for (const auto& p : parts) mapped /= p;

    // Then the links: the deepest part of the path that exists must resolve
    // to a place inside the device folder.
    std::error_code ec;
    fs::path realFolder = fs::weakly_canonical(folder, ec);
    if (ec) return std::nullopt;
    fs::path realMapped = fs::weakly_canonical(mapped, ec);
    if (ec || !isInside(realMapped, realFolder)) return std::nullopt;
    return mapped.string();
}

void createLayout(const std::string& folder) {
    static const char* const kFolders[] = {
        "var/mobile/Library/Preferences",           "tmp",
        "Library/MobileSubstrate/DynamicLibraries", "Library/PreferenceBundles",
        "Library/PreferenceLoader/Preferences",     "var/run/hbsim",
    };
    for (const char* f : kFolders) fs::create_directories(fs::path(folder) / f);
}

TemporaryDevice::TemporaryDevice() : previous_(root()) {
    std::string pattern = (fs::temp_directory_path() / "hb-device-XXXXXX").string();
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    if (::mkdtemp(buffer.data()) == nullptr) std::abort();
    path_ = buffer.data();
    createLayout(path_);
    setRoot(path_);
}

TemporaryDevice::~TemporaryDevice() {
    std::error_code ec;
    fs::remove_all(path_, ec);
    if (previous_.empty()) {
        ::unsetenv(kEnvironmentVariable);
    } else {
        ::setenv(kEnvironmentVariable, previous_.c_str(), 1);
    }
}

std::string TemporaryDevice::operator/(std::string_view phonePath) const {
    std::string p(phonePath);
    if (p.rfind("/User/", 0) == 0 || p == "/User") p = "/var/mobile" + p.substr(5);
    return path_ + p;
}

}  // namespace device
