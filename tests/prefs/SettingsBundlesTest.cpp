// The Settings app's view of the installed bundles: the entries it lists and
// the loading of a bundle's principal class, with the faults an installed
// package can have.
#include "SettingsBundles.h"

#include <Device/DevicePath.h>
#include <Foundation/PropertyList.h>
#include <ObjCBridge/ObjCBridge.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

class SettingsBundlesTest : public ::testing::Test {
protected:
    objc::AutoreleasePool pool;
    device::TemporaryDevice device;

    void writeEntry(const char* file, const std::string& xml) {
        std::filesystem::create_directories(device / "/Library/PreferenceLoader/Preferences");
        std::ofstream(device / (std::string("/Library/PreferenceLoader/Preferences/") + file)) << xml;
    }
    static std::string entry(const char* label, const char* bundle) {
        return std::string(
                   "<plist><dict><key>entry</key><dict><key>cell</key><string>PSLinkCell</string>"
                   "<key>bundle</key><string>") +
               bundle + "</string><key>label</key><string>" + label +
               "</string><key>isController</key><true/></dict></dict></plist>";
    }
};

TEST_F(SettingsBundlesTest, EntriesAreListedByLabelAndBrokenOnesLeftOut) {
    writeEntry("Zeta.plist", entry("Zeta", "Zeta"));
    writeEntry("Huebloom.plist", entry("Huebloom", "Huebloom"));
    writeEntry("NoBundle.plist",
               "<plist><dict><key>entry</key><dict><key>label</key><string>X</string></dict></dict></plist>");
    writeEntry("Escape.plist", entry("Escape", "../../tmp/x"));
    writeEntry("Corrupt.plist", "<<<");
    writeEntry("notes.txt", entry("Text", "Text"));
    NS::Array* rows = settings::installedEntries(nil);
    ASSERT_EQ(rows->count(), 2u);
    auto* first = objc::cast<PS::Specifier>(rows->objectAtIndex(0));
    EXPECT_STREQ(first->name()->UTF8String(), "Huebloom");
    EXPECT_EQ(first->cellType(), PS::PSLinkCell);
    EXPECT_STREQ(objc::cast<NS::String>(first->propertyForKey("bundle"_ns))->UTF8String(), "Huebloom");
    EXPECT_STREQ(objc::cast<PS::Specifier>(rows->objectAtIndex(1))->name()->UTF8String(), "Zeta");
}

TEST_F(SettingsBundlesTest, NoEntriesFolderListsNothing) { EXPECT_EQ(settings::installedEntries(nil)->count(), 0u); }

TEST_F(SettingsBundlesTest, BundlesThatCannotBeLoadedGiveNoClass) {
    const auto bundle = device / "/Library/PreferenceBundles/Broken.bundle";
    std::filesystem::create_directories(bundle);
    // No Info.plist, then one naming a missing executable, then one whose
    // executable name leaves the bundle.
    EXPECT_EQ(settings::loadBundleClass("Broken"), Nil);
    std::ofstream(bundle + "/Info.plist") << "<plist><dict><key>CFBundleExecutable</key><string>Broken</string>"
                                             "<key>NSPrincipalClass</key><string>NSObject</string></dict></plist>";
    EXPECT_EQ(settings::loadBundleClass("Broken"), Nil);
    std::ofstream(bundle + "/Info.plist") << "<plist><dict><key>CFBundleExecutable</key><string>../x</string>"
                                             "<key>NSPrincipalClass</key><string>NSObject</string></dict></plist>";
    EXPECT_EQ(settings::loadBundleClass("Broken"), Nil);
    EXPECT_EQ(settings::loadBundleClass("../PreferenceBundles/Broken"), Nil);
    EXPECT_EQ(settings::loadBundleClass("Missing"), Nil);
}

}  // namespace
