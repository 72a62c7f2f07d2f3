// A small scene shown in a key window and photographed as the app hosts do;
// the PNG is left in the build folder to be looked at.
#include "UIKitTesting.h"

#include <filesystem>

namespace {

using namespace uitest;
using UI::Color;

class ScreenshotTest : public UIKitTest {};

TEST_F(ScreenshotTest, TheScreenPictureShowsTheKeyWindowAtScreenScale) {
    Ref<UI::Window> window = objc::adopt(UI::Window::alloc()->init());
    window->setBackgroundColor(Color::whiteColor());
    auto bar = makeView(CGRectMake(0, 20, 320, 44), Color::colorWithRed(0xF7 / 255.0, 0xF7 / 255.0, 0xF7 / 255.0, 1));
    window->addSubview(bar);
    auto balloon =
        makeView(CGRectMake(150, 100, 150, 60), Color::colorWithRed(0x15 / 255.0, 0x7E / 255.0, 0xFB / 255.0, 1));
    balloon->layer()->setCornerRadius(17);
    window->addSubview(balloon);
    auto clear = makeView(CGRectMake(20, 200, 150, 60), Color::clearColor());
    clear->layer()->setBorderWidth(2);
    clear->layer()->setBorderColor(Color::colorWithRed(0x5F / 255.0, 0xC6 / 255.0, 0xF4 / 255.0, 1)->CGColor());
    clear->layer()->setCornerRadius(10);
    clear->layer()->setMasksToBounds(YES);
    window->addSubview(clear);
    auto faded = makeView(CGRectMake(60, 300, 200, 100), Color::redColor());
    faded->setAlpha(0.5);
    faded->addSubview(makeView(CGRectMake(50, 25, 100, 50), Color::blueColor()));
    window->addSubview(faded);
    window->makeKeyAndVisible();

    Picture screen(UI::screenshot::createScreenImage());
    ASSERT_TRUE(screen.valid());
    EXPECT_EQ(screen.width(), 640);
    EXPECT_EQ(screen.height(), 1136);
    EXPECT_EQ(screen.at(10, 10), kWhite);
    EXPECT_EQ(screen.at(10, 60), (Pixel{0xF7, 0xF7, 0xF7, 255}));
    EXPECT_EQ(screen.at(450, 260), (Pixel{0x15, 0x7E, 0xFB, 255}));
    EXPECT_EQ(screen.at(301, 201), kWhite);  // the rounded corner of the balloon
    EXPECT_EQ(screen.at(41, 460), (Pixel{0x5F, 0xC6, 0xF4, 255}));
    EXPECT_EQ(screen.at(200, 460), kWhite);
    EXPECT_EQ(screen.at(130, 610), (Pixel{255, 127, 127, 255}));
    EXPECT_EQ(screen.at(300, 700), (Pixel{127, 127, 255, 255}));  // blue covers red inside the group

    std::string path = std::string(HB_BINARY_DIR) + "/uikit-screenshot.png";
    ASSERT_TRUE(UI::screenshot::writeScreenPNG(path));
    EXPECT_GT(std::filesystem::file_size(path), 1000u);

    // Hidden, the window leaves the picture and is key no more.
    EXPECT_EQ(UI::Application::sharedApplication()->keyWindow(), window.get());
    window->setHidden(YES);
    EXPECT_EQ(UI::Application::sharedApplication()->keyWindow(), nullptr);
    EXPECT_FALSE(window->isKeyWindow());
    EXPECT_EQ(Picture(UI::screenshot::createScreenImage()).at(10, 10), (Pixel{0, 0, 0, 255}));
}

TEST_F(ScreenshotTest, ALandscapeScreenIsPicturedLandscape) {
    Ref<UI::Window> turning = objc::adopt(UI::Window::alloc()->init());
    turning->setBackgroundColor(Color::whiteColor());
    Ref<UI::ViewController> root = objc::adopt(UI::ViewController::alloc()->init());
    turning->setRootViewController(root);
    turning->addSubview(makeView(CGRectMake(0, 20, 568, 44), Color::redColor()));
    turning->makeKeyAndVisible();
    // A second window that cannot turn lies on its side in the picture.
    Ref<UI::Window> upright = objc::adopt(UI::Window::alloc()->initWithFrame(CGRectMake(0, 0, 100, 300)));
    upright->setBackgroundColor(Color::blueColor());
    upright->setHidden(NO);
    ASSERT_TRUE(UI::orientation::rotate(UI::UIInterfaceOrientationLandscapeLeft));

    Picture screen(UI::screenshot::createScreenImage());
    UI::orientation::reset();
    ASSERT_TRUE(screen.valid());
    EXPECT_EQ(screen.width(), 1136);
    EXPECT_EQ(screen.height(), 640);
    EXPECT_EQ(screen.at(500, 60), kRed);  // the turned window is as wide as the screen is long
    EXPECT_EQ(screen.at(1100, 600), kWhite);
    EXPECT_EQ(screen.at(1135, 5), kBlue);  // the upright window's top left corner is at the top right
    EXPECT_EQ(screen.at(1135 - 598, 5), kBlue);
    EXPECT_EQ(screen.at(1135 - 602, 5), kWhite);
}

}  // namespace
