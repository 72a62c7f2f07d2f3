// What UIKit keeps in the device folder: the screen model, the URLs an app
// opens and the device-wide pasteboard.
#include "UIKitTesting.h"

#include <Foundation/AtomicFile.h>
#include <Foundation/NSString.h>
#include <Foundation/NSURL.h>
#include <UIKit/TestSupport.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>

namespace {

using namespace uitest;
namespace screen = UI::screen;

class DeviceServicesTest : public UIKitTest {
protected:
    DeviceServicesTest() {
        if (const char* v = std::getenv("HB_DEVICE_MODEL")) savedModel = v;
        unsetenv("HB_DEVICE_MODEL");
        screen::resetModel();
        UI::application::forgetOpenedURLs();
    }
    ~DeviceServicesTest() override {
        if (savedModel) {
            setenv("HB_DEVICE_MODEL", savedModel->c_str(), 1);
        } else {
            unsetenv("HB_DEVICE_MODEL");
        }
    }
    void writeModelFile(const char* text) {
        std::filesystem::create_directories(device / "/var/run/hbsim");
        std::ofstream(device / "/var/run/hbsim/model") << text;
    }
    std::optional<std::string> savedModel;
};

TEST_F(DeviceServicesTest, TheScreenFollowsTheEnvironmentThenTheDeviceFileThenDefaultsToTheIPhone5) {
    struct Case {
        const char* env;   // nullptr: unset
        const char* file;  // nullptr: no file
        double width, height;
    } cases[] = {
        {nullptr, nullptr, 320, 568},     {"iphone4", nullptr, 320, 480}, {"ipad", "iphone4", 768, 1024},
        {nullptr, "iphone4\n", 320, 480}, {nullptr, "ipad", 768, 1024},   {"watch", "ipad", 768, 1024},
        {nullptr, "toaster", 320, 568},   {"IPhone5", "ipad", 320, 568},
    };
    for (const Case& c : cases) {
        std::filesystem::remove(device / "/var/run/hbsim/model");
        if (c.file) writeModelFile(c.file);
        if (c.env) {
            setenv("HB_DEVICE_MODEL", c.env, 1);
        } else {
            unsetenv("HB_DEVICE_MODEL");
        }
        screen::resetModel();
        CGRect b = UI::Screen::mainScreen()->bounds();
        EXPECT_EQ(b.size.width, c.width) << (c.env ? c.env : "-") << " / " << (c.file ? c.file : "-");
        EXPECT_EQ(b.size.height, c.height) << (c.env ? c.env : "-") << " / " << (c.file ? c.file : "-");
        EXPECT_EQ(UI::Screen::mainScreen()->scale(), 2);
    }
    // Chosen by a test, the model stays until it is reset.
    screen::setModel(screen::Model::iPhone4);
    writeModelFile("ipad");
    EXPECT_EQ(UI::Screen::mainScreen()->bounds().size.height, 480);
}

TEST_F(DeviceServicesTest, OpenedURLsAreRememberedAndLoggedInTheDevice) {
    auto* app = UI::Application::sharedApplication();
    EXPECT_EQ(app, UI::Application::sharedApplication());
    EXPECT_TRUE(app->openURL(NS::URL::URLWithString("mailto:someone@example.org?subject=HuebloomSupport"_ns)));
    EXPECT_TRUE(app->openURL(NS::URL::URLWithString("https://example.org/a"_ns)));
    EXPECT_FALSE(app->openURL(nullptr));
    EXPECT_EQ(
        UI::application::openedURLs(),
        (std::vector<std::string>{"mailto:someone@example.org?subject=HuebloomSupport", "https://example.org/a"}));
    std::ifstream log(device / "/var/run/hbsim/urls.log");
    std::stringstream text;
    text << log.rdbuf();
    EXPECT_EQ(text.str(), "mailto:someone@example.org?subject=HuebloomSupport\nhttps://example.org/a\n");
}

TEST_F(DeviceServicesTest, ThePasteboardIsOneFileForTheWholeDevice) {
    auto* board = UI::Pasteboard::generalPasteboard();
    EXPECT_EQ(board->string(), nullptr);
    board->setString("#FF8000"_ns);
    EXPECT_STREQ(board->string()->UTF8String(), "#FF8000");
    // Another process of the device writes the file: the next read sees it.
    std::string path = device / "/var/run/hbsim/pasteboard.txt";
    ASSERT_TRUE(NS::writeHostFileAtomically(path, "caf\xC3\xA9", 5));
    EXPECT_EQ(board->string()->length(), 4u);
    board->setString(nullptr);
    EXPECT_EQ(board->string(), nullptr);
    EXPECT_FALSE(std::filesystem::exists(path));
}

}  // namespace
