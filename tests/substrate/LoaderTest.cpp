#include <Device/DevicePath.h>
#include <Foundation/Foundation.h>
#include <Substrate/Loader.h>
#include <gtest/gtest.h>

#include "LoaderProbe.h"

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

const std::string kModule = HB_BINARY_DIR "/lib/hb_loader_module.so";

std::string plist(const std::string& body) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">\n" + body + "\n</plist>\n";
}

std::string array(std::initializer_list<const char*> items) {
    std::string s = "<array>";
    for (const char* i : items) s += "<string>" + std::string(i) + "</string>";
    return s + "</array>";
}

std::string filter(const std::string& inner) {
    return plist("<dict><key>Filter</key><dict>" + inner + "</dict></dict>");
}

class LoaderTest : public ::testing::Test {
protected:
    void SetUp() override { loaderProbeLog().clear(); }

    // Installs the test library as NAME.dylib, with NAME.plist when given.
    void install(const std::string& name, const std::string* plistText) {
        std::string folder = dev / "/Library/MobileSubstrate/DynamicLibraries";
        fs::copy_file(kModule, folder + "/" + name + ".dylib", fs::copy_options::overwrite_existing);
        if (plistText) std::ofstream(folder + "/" + name + ".plist") << *plistText;
    }
    void install(const std::string& name, const std::string& plistText) { install(name, &plistText); }

    objc::AutoreleasePool pool;
    device::TemporaryDevice dev;
};

TEST_F(LoaderTest, FiltersDecideWhichLibrariesAnAppLoads) {
    const std::string sms = "com.apple.MobileSMS";
    struct Case {
        const char* name;
        std::string plist;
        bool loads;
    } cases[] = {
        {"BundleMatch", filter("<key>Bundles</key>" + array({"com.apple.Preferences", "com.apple.MobileSMS"})), true},
        {"BundleOther", filter("<key>Bundles</key>" + array({"com.apple.Preferences"})), false},
        {"BundleCase", filter("<key>Bundles</key>" + array({"com.apple.mobilesms"})), false},
        {"ExecutableMatch", filter("<key>Executables</key>" + array({"MobileSMS"})), true},
        {"ExecutableOther", filter("<key>Executables</key>" + array({"Preferences"})), false},
        {"ClassPresent", filter("<key>Classes</key>" + array({"NoSuchClassHere", "NSObject"})), true},
        {"ClassAbsent", filter("<key>Classes</key>" + array({"NoSuchClassHere"})), false},
        {"AllByDefault",
         filter("<key>Bundles</key>" + array({"com.apple.MobileSMS"}) + "<key>Executables</key>" +
                array({"Preferences"})),
         false},
        {"AllBothMatch",
         filter("<key>Mode</key><string>All</string><key>Bundles</key>" + array({"com.apple.MobileSMS"}) +
                "<key>Executables</key>" + array({"MobileSMS"})),
         true},
        {"AnyOneMatches",
         filter("<key>Mode</key><string>Any</string><key>Bundles</key>" + array({"com.apple.MobileSMS"}) +
                "<key>Executables</key>" + array({"Preferences"})),
         true},
        {"AnyNoneMatches",
         filter("<key>Mode</key><string>Any</string><key>Bundles</key>" + array({"x.y"}) + "<key>Classes</key>" +
                array({"NoSuchClassHere"})),
         false},
        {"UnknownModeIsAll",
         filter("<key>Mode</key><string>any</string><key>Bundles</key>" + array({"com.apple.MobileSMS"}) +
                "<key>Executables</key>" + array({"Preferences"})),
         false},
        {"EmptyListIsAbsent", filter("<key>Bundles</key><array/><key>Executables</key>" + array({"MobileSMS"})), true},
        {"OnlyEmptyLists", filter("<key>Bundles</key><array/><key>Executables</key><array/>"), false},
        {"NotAListIsAbsent", filter("<key>Bundles</key><string>com.apple.MobileSMS</string>"), false},
        {"NonStringsSkipped",
         filter("<key>Bundles</key><array><integer>1</integer><string>com.apple.MobileSMS</string></array>"), true},
        {"EmptyFilter", filter(""), false},
        {"NoFilter", plist("<dict><key>Other</key><string>x</string></dict>"), false},
        {"FilterNotADictionary", plist("<dict><key>Filter</key>" + array({"com.apple.MobileSMS"}) + "</dict>"), false},
        {"RootNotADictionary", plist(array({"com.apple.MobileSMS"})), false},
        {"Corrupt", "<?xml version=\"1.0\"?><plist><dict><key>Filter</key><dict>", false},
    };
    for (const auto& c : cases) {
        loaderProbeLog().clear();
        device::TemporaryDevice device;  // one library per device, so each case stands alone
        std::string folder = device / "/Library/MobileSubstrate/DynamicLibraries";
        fs::copy_file(kModule, folder + "/" + c.name + ".dylib");
        std::ofstream(folder + "/" + c.name + ".plist") << c.plist;
        auto loaded = substrate::loadLibraries(sms, "MobileSMS");
        std::vector<std::string> expected;
        if (c.loads) expected.push_back(std::string(c.name) + ".dylib");
        EXPECT_EQ(loaded, expected) << c.name;
        EXPECT_EQ(loaderProbeLog(), expected) << c.name;
    }
}

TEST_F(LoaderTest, LibrariesLoadInNameOrderAndOthersAreSkipped) {
    const std::string forSms = filter("<key>Bundles</key>" + array({"com.apple.MobileSMS"}));
    install("Zeta", forSms);
    install("Alpha", forSms);
    install("Mid", forSms);
    install("NoPlist", nullptr);
    std::string folder = dev / "/Library/MobileSubstrate/DynamicLibraries";
    std::ofstream(folder + "/Orphan.plist") << forSms;  // a filter without its library
    std::ofstream(folder + "/notes.txt") << "not a library";
    fs::create_directory(folder + "/Folder.dylib");
    std::ofstream(folder + "/Folder.plist") << forSms;

    std::vector<std::string> expected = {"Alpha.dylib", "Mid.dylib", "Zeta.dylib"};
    EXPECT_EQ(substrate::loadLibraries("com.apple.MobileSMS", "MobileSMS"), expected);
    EXPECT_EQ(loaderProbeLog(), expected);
}

TEST_F(LoaderTest, ALibraryThatFailsToLoadIsReportedAndTheOthersLoad) {
    const std::string forSms = filter("<key>Executables</key>" + array({"MobileSMS"}));
    install("After", forSms);
    install("Before", forSms);
    std::string folder = dev / "/Library/MobileSubstrate/DynamicLibraries";
    std::ofstream(folder + "/Broken.dylib") << "this is not a shared library";
    std::ofstream(folder + "/Broken.plist") << forSms;

    ::testing::internal::CaptureStderr();
    auto loaded = substrate::loadLibraries("com.apple.MobileSMS", "MobileSMS");
    std::string errors = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(loaded, (std::vector<std::string>{"After.dylib", "Before.dylib"}));
    EXPECT_NE(errors.find("Broken.dylib"), std::string::npos) << errors;
}

TEST_F(LoaderTest, LinksOutOfTheDeviceAreNotFollowed) {
    fs::path outside = fs::temp_directory_path() / ("hb-loader-outside-" + std::to_string(::getpid()) + ".dylib");
    fs::copy_file(kModule, outside, fs::copy_options::overwrite_existing);
    std::string folder = dev / "/Library/MobileSubstrate/DynamicLibraries";
    fs::create_symlink(outside, folder + "/Escape.dylib");
    std::ofstream(folder + "/Escape.plist") << filter("<key>Bundles</key>" + array({"com.apple.MobileSMS"}));
    EXPECT_TRUE(substrate::loadLibraries("com.apple.MobileSMS", "MobileSMS").empty());
    EXPECT_TRUE(loaderProbeLog().empty());
    fs::remove(outside);
}

}  // namespace
