// hbsim demo, the main job: the road of one colour change on a fresh device,
// checked by what it leaves behind.
#include <DeviceRun.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

namespace fs = std::filesystem;

namespace {

using e2e::fileText;

using ::testing::HasSubstr;

struct Scratch {
    fs::path path = fs::temp_directory_path() / ("hb-demo-" + std::to_string(::getpid()) + "-" +
                                                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
    ~Scratch() {
        std::error_code ec;
        fs::remove_all(path, ec);
    }
};

TEST(HbsimDemo, TakesTheRoadAndShowsEveryScreenInOrder) {
    if (!e2e::hookLibraryBuilt()) GTEST_SKIP() << "the deliverables are not built in this build";
    Scratch out;
    e2e::RunResult r = e2e::runProgram(e2e::hbsimProgram(), {"demo", "--out", out.path.string()});
    ASSERT_EQ(r.exitCode, 0) << r.out << r.err;
    EXPECT_THAT(r.out, HasSubstr("[6/6]"));
    EXPECT_THAT(r.out, HasSubstr("was ended by Settings"));
    EXPECT_THAT(r.out, HasSubstr((out.path / "index.html").string()));

    // Every image the page shows exists and reads as a screenshot of the screen.
    const std::string html = fileText(out.path / "index.html");
    const std::regex image("<img src=\"([^\"]+)\"");
    int images = 0;
    for (auto it = std::sregex_iterator(html.begin(), html.end(), image); it != std::sregex_iterator(); ++it) {
        ++images;
        e2e::Screenshot shot(out.path / (*it)[1].str());
        EXPECT_TRUE(shot.valid()) << (*it)[1];
        EXPECT_EQ(shot.width(), 640) << (*it)[1];
    }
    EXPECT_EQ(images, 11);  // before and after side by side, then all nine in order

    // Before: the system's blue; after: the colour the drag picked, in the
    // settings file and on the screen.
    e2e::Screenshot before(out.path / "01-messages-before.png"), after(out.path / "09-messages-after.png");
    const fs::path settings = out.path / "device/var/mobile/Library/Preferences/com.Quillfen.huebloom.plist";
    const std::string plist = fileText(settings);
    std::smatch bottom;
    ASSERT_TRUE(std::regex_search(plist, bottom, std::regex("<key>bot</key>\\s*<string>#([0-9A-F]{6})</string>")))
        << plist;
    const auto picked = e2e::rgb(static_cast<std::uint32_t>(std::stoul(bottom[1].str(), nullptr, 16)));
    EXPECT_THAT(plist, HasSubstr("<key>blueText</key>\n\t<string>#1B1B3A</string>"));
    // A point inside the last sent balloon ("On my way"), left of its text.
    EXPECT_FALSE(e2e::near(before.atPoint(205, 486), picked, 8)) << before.atPoint(205, 486);
    EXPECT_TRUE(e2e::near(after.atPoint(205, 486), picked, 3)) << after.atPoint(205, 486) << " vs " << picked;
}

TEST(HbsimDemo, RefusesADeviceThatAlreadyHoldsSettings) {
    e2e::Device device;
    device.writeSettings({{"enabled", true}});
    Scratch out;
    e2e::RunResult r = device.hbsim({"demo", "--out", out.path.string()});
    EXPECT_NE(r.exitCode, 0);
    EXPECT_THAT(r.err, HasSubstr("needs a fresh device"));
    EXPECT_THAT(device.readSettings().dump(), HasSubstr("enabled"));
}

}  // namespace
