// hbsim's first commands, run as a person runs them: device create,
// install, defaults, and the mistakes a newcomer makes.
#include <DeviceRun.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

namespace {

using e2e::Device;
using e2e::fileText;
using e2e::RunResult;
using ::testing::HasSubstr;

// A folder that is not a device yet, removed afterwards.
struct Folder {
    fs::path path = fs::temp_directory_path() / ("hb-e2e-folder-" + std::to_string(::getpid()) + "-" +
                                                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
    ~Folder() {
        std::error_code ec;
        fs::remove_all(path, ec);
    }
    RunResult hbsim(std::vector<std::string> args) const {
        args.insert(args.end(), {"--device", path.string()});
        return e2e::runProgram(e2e::hbsimProgram(), args);
    }
};

TEST(HbsimDevice, CreateLaysOutTheDeviceAndIsIdempotent) {
    Folder f;
    ASSERT_EQ(f.hbsim({"device", "create", "--model", "ipad"}).exitCode, 0);
    for (const char* folder : {"var/mobile/Library/Preferences", "tmp", "Library/MobileSubstrate/DynamicLibraries",
                               "Library/PreferenceBundles", "Library/PreferenceLoader/Preferences"}) {
        EXPECT_TRUE(fs::is_directory(f.path / folder)) << folder;
    }
    EXPECT_EQ(fileText(f.path / "var/run/hbsim/model"), "ipad\n");

    // Again: nothing lost, the model kept unless a new one is given.
    std::ofstream(f.path / "var/mobile/Library/Preferences/keep.plist") << "x";
    RunResult again = f.hbsim({"device", "create"});
    EXPECT_EQ(again.exitCode, 0) << again.err;
    EXPECT_THAT(again.out, HasSubstr("(ipad)"));
    EXPECT_EQ(fileText(f.path / "var/mobile/Library/Preferences/keep.plist"), "x");
    EXPECT_EQ(fileText(f.path / "var/run/hbsim/model"), "ipad\n");
    ASSERT_EQ(f.hbsim({"device", "create", "--model", "iphone4"}).exitCode, 0);
    EXPECT_EQ(fileText(f.path / "var/run/hbsim/model"), "iphone4\n");

    RunResult bad = f.hbsim({"device", "create", "--model", "iphone6"});
    EXPECT_NE(bad.exitCode, 0);
    EXPECT_THAT(bad.err, HasSubstr("iphone6"));
}

TEST(HbsimDevice, CommandsOnAFolderThatIsNoDeviceSayHowToMakeOne) {
    Folder f;
    const std::vector<std::vector<std::string>> commands = {
        {"install"},
        {"defaults", "read", "com.Quillfen.huebloom"},
        {"defaults", "write", "com.Quillfen.huebloom", "enabled", "-bool", "yes"},
        {"messages", "--dump"},
        {"settings", "--dump"},
    };
    for (const auto& command : commands) {
        RunResult r = f.hbsim(command);
        EXPECT_NE(r.exitCode, 0) << command[0];
        EXPECT_THAT(r.err, HasSubstr("hbsim device create")) << command[0];
        EXPECT_FALSE(fs::exists(f.path)) << command[0] << " made the folder";
    }
}

TEST(HbsimInstall, LaysTheDeliverablesOutAsAPackageWould) {
    if (!e2e::hookLibraryBuilt()) GTEST_SKIP() << "the hook library is not built in this build";
    Device device({.model = "", .install = false});
    RunResult r = device.hbsim({"install"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const fs::path lib = e2e::buildDir() / "lib";
    EXPECT_EQ(fileText(device / "/Library/MobileSubstrate/DynamicLibraries/Huebloom.dylib"),
              fileText(lib / "Huebloom.dylib"));
    EXPECT_EQ(fileText(device / "/Library/MobileSubstrate/DynamicLibraries/Huebloom.plist"),
              fileText(lib / "Huebloom.plist"));
    EXPECT_THAT(r.out, HasSubstr("/Library/MobileSubstrate/DynamicLibraries/Huebloom.dylib"));

    const fs::path bundle = e2e::buildDir() / "Huebloom.bundle";
    if (fs::is_directory(bundle)) {
        EXPECT_TRUE(fs::is_directory(device / "/Library/PreferenceBundles/Huebloom.bundle"));
        for (const auto& entry : fs::recursive_directory_iterator(bundle)) {
            if (!entry.is_regular_file()) continue;
            fs::path relative = fs::relative(entry.path(), bundle);
            EXPECT_EQ(fileText(device / ("/Library/PreferenceBundles/Huebloom.bundle/" + relative.string())),
                      fileText(entry.path()))
                << relative;
        }
        EXPECT_TRUE(fs::is_regular_file(device / "/Library/PreferenceLoader/Preferences/Huebloom.plist"));
    }
    // Installing again replaces in place and leaves nothing half-made behind.
    ASSERT_EQ(device.hbsim({"install"}).exitCode, 0);
    for (const auto& entry : fs::recursive_directory_iterator(device.path())) {
        EXPECT_EQ(entry.path().string().find(".installing"), std::string::npos) << entry.path();
    }
}

TEST(HbsimInstall, ABuildWithoutTheHookLibrarySaysWhatToBuild) {
    // A copy of hbsim in a build folder of its own, where nothing was built.
    Folder build;
    fs::create_directories(build.path / "bin");
    fs::copy_file(e2e::hbsimProgram(), build.path / "bin" / "hbsim");
    Device device({.model = "", .install = false});
    RunResult r = e2e::runProgram(build.path / "bin" / "hbsim", {"install", "--device", device.path().string()});
    EXPECT_NE(r.exitCode, 0);
    EXPECT_THAT(r.err, HasSubstr("not built"));
    EXPECT_THAT(r.err, HasSubstr("cmake --build"));
}

struct TypedValue {
    std::vector<std::string> written;  // after DOMAIN KEY
    std::string read;                  // what `defaults read DOMAIN KEY` prints
    std::string plist;                 // how the value stands in the file
};

TEST(HbsimDefaults, TypedValuesRoundTripThroughTheSettingsFile) {
    Device device({.model = "", .install = false});
    const TypedValue cases[] = {
        {{"-bool", "YES"}, "1", "<true/>"},
        {{"-bool", "false"}, "0", "<false/>"},
        {{"-bool", "1"}, "1", "<true/>"},
        {{"-int", "2"}, "2", "<integer>2</integer>"},
        {{"-int", "-15"}, "-15", "<integer>-15</integer>"},
        {{"-float", "0.25"}, "0.25", "<real>0.25</real>"},
        {{"-float", "-2"}, "-2", "<real>-2</real>"},
        {{"#FF8000"}, "#FF8000", "<string>#FF8000</string>"},
        {{"-string", "-int"}, "-int", "<string>-int</string>"},
        {{"-string", "12"}, "12", "<string>12</string>"},
    };
    const fs::path file = device / "/var/mobile/Library/Preferences/com.Quillfen.huebloom.plist";
    for (const TypedValue& c : cases) {
        std::vector<std::string> write{"defaults", "write", "com.Quillfen.huebloom", "k"};
        write.insert(write.end(), c.written.begin(), c.written.end());
        RunResult w = device.hbsim(write);
        ASSERT_EQ(w.exitCode, 0) << c.written.back() << ": " << w.err;
        RunResult r = device.hbsim({"defaults", "read", "com.Quillfen.huebloom", "k"});
        EXPECT_EQ(r.out, c.read + "\n") << c.written.back();
        EXPECT_THAT(fileText(file), HasSubstr("<key>k</key>\n\t" + c.plist)) << c.written.back();
    }
    // Other keys stay, and the whole domain reads in the defaults style.
    ASSERT_EQ(device.hbsim({"defaults", "write", "com.Quillfen.huebloom", "enabled", "-bool", "yes"}).exitCode, 0);
    RunResult all = device.hbsim({"defaults", "read", "com.Quillfen.huebloom"});
    EXPECT_EQ(all.out, "{\n    enabled = 1;\n    k = 12;\n}\n");

    ASSERT_EQ(device.hbsim({"defaults", "delete", "com.Quillfen.huebloom", "k"}).exitCode, 0);
    EXPECT_NE(device.hbsim({"defaults", "read", "com.Quillfen.huebloom", "k"}).exitCode, 0);
    ASSERT_EQ(device.hbsim({"defaults", "delete", "com.Quillfen.huebloom"}).exitCode, 0);
    EXPECT_FALSE(fs::exists(file));
}

TEST(HbsimDefaults, BadValuesAndDomainsAreRefusedWithWhatIsExpected) {
    Device device({.model = "", .install = false});
    struct Bad {
        std::vector<std::string> args;
        std::string message;
    };
    const Bad cases[] = {
        {{"write", "com.Quillfen.huebloom", "k", "-bool", "maybe"}, "-bool expects true, false, yes, no, 1 or 0"},
        {{"write", "com.Quillfen.huebloom", "k", "-int", "1.5"}, "-int expects a whole number"},
        {{"write", "com.Quillfen.huebloom", "k", "-int", "99999999999999999999"}, "within 64 bits"},
        {{"write", "com.Quillfen.huebloom", "k", "-float", "abc"}, "-float expects a finite decimal number"},
        {{"write", "com.Quillfen.huebloom", "k", "-float", "inf"}, "-float expects"},
        {{"write", "com.Quillfen.huebloom", "k"}, "needs a value"},
        {{"write", "com.Quillfen.huebloom", "k", "a", "b"}, "one value"},
        {{"write", "../escape", "k", "v"}, "is not a preferences domain"},
        {{"write", "com/x", "k", "v"}, "is not a preferences domain"},
        {{"read", "..", "k"}, "is not a preferences domain"},
        {{"read", "com.Quillfen.huebloom"}, "does not exist"},
        {{"delete", "com.Quillfen.huebloom", "k"}, "has no key k"},
    };
    for (const Bad& c : cases) {
        std::vector<std::string> args{"defaults"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        RunResult r = device.hbsim(args);
        EXPECT_NE(r.exitCode, 0) << c.message;
        EXPECT_THAT(r.err, HasSubstr(c.message));
    }
    // Nothing was written anywhere by the refused writes.
    EXPECT_FALSE(fs::exists(device / "/var/mobile/Library/Preferences/com.Quillfen.huebloom.plist"));
    EXPECT_FALSE(fs::exists(device.path().parent_path() / "escape.plist"));
}

TEST(HbsimHelp, EveryCommandExplainsItself) {
    for (const std::vector<std::string>& command :
         std::vector<std::vector<std::string>>{{"--help"},
                                               {"device", "create", "--help"},
                                               {"install", "--help"},
                                               {"defaults", "write", "--help"},
                                               {"messages", "--help"},
                                               {"settings", "--help"},
                                               {"demo", "--help"}}) {
        RunResult r = e2e::runProgram(e2e::hbsimProgram(), command);
        EXPECT_EQ(r.exitCode, 0) << command[0];
        EXPECT_THAT(r.out, HasSubstr("--device")) << command[0];
    }
}

}  // namespace
