#include <Device/DevicePath.h>
#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;

namespace {

TEST(DevicePath, MapsPhonePathsIntoTheDeviceFolder) {
    device::TemporaryDevice dev;
    struct Case {
        const char* phone;
        const char* host;  // relative to the device folder; nullptr: refused
    } cases[] = {
        {"/var/mobile/Library/Preferences/a.plist", "/var/mobile/Library/Preferences/a.plist"},
        {"/User/Library/Preferences/a.plist", "/var/mobile/Library/Preferences/a.plist"},
        {"/tmp/_PFColorPickerImage_320x240.png", "/tmp/_PFColorPickerImage_320x240.png"},
        {"/var/mobile/../mobile/./x", "/var/mobile/x"},
        {"/var/mobile/Library/Preferences/../../../../etc/passwd", "/etc/passwd"},  // still inside
        {"/../etc/passwd", nullptr},
        {"/var/../../etc", nullptr},
        {"relative/path", nullptr},
        {"", nullptr},
    };
    for (const auto& c : cases) {
        auto mapped = device::hostPath(c.phone);
        if (c.host == nullptr) {
            EXPECT_FALSE(mapped) << c.phone;
        } else {
            ASSERT_TRUE(mapped) << c.phone;
            EXPECT_EQ(fs::path(*mapped).lexically_normal(), fs::path(dev.path() + c.host).lexically_normal())
                << c.phone;
        }
    }
}

TEST(DevicePath, RefusesLinksThatLeaveTheDevice) {
    device::TemporaryDevice dev;
    fs::path outside = fs::temp_directory_path() / "hb-outside-target";
    fs::create_directories(outside);
    fs::create_directory_symlink(outside, dev / "/var/mobile/escape");
    fs::create_directory_symlink(dev / "/tmp", dev / "/var/mobile/inside");
    EXPECT_FALSE(device::hostPath("/var/mobile/escape/file"));
    EXPECT_FALSE(device::hostPath("/var/mobile/escape"));
    EXPECT_TRUE(device::hostPath("/var/mobile/inside/file"));
    fs::remove_all(outside);
}

TEST(DevicePath, NoDeviceMeansNoPath) {
    std::string saved = device::root();
    ::unsetenv(device::kEnvironmentVariable);
    EXPECT_FALSE(device::hostPath("/var/mobile/Library"));
    if (!saved.empty()) device::setRoot(saved);
}

TEST(DevicePath, TemporaryDeviceHasTheLayoutAndIsRemoved) {
    std::string path;
    {
        device::TemporaryDevice dev;
        path = dev.path();
        EXPECT_TRUE(fs::is_directory(dev / "/var/mobile/Library/Preferences"));
        EXPECT_TRUE(fs::is_directory(dev / "/Library/MobileSubstrate/DynamicLibraries"));
        EXPECT_EQ(device::root(), path);
    }
    EXPECT_FALSE(fs::exists(path));
}

}  // namespace
