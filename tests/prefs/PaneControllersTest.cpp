// The eight panes over the Preferences stand-in: where their rows and values
// come from, when they rebuild, and what the support actions open.
#include "HBPreviewCell.h"
#include "PaneControllers.h"

#include <Device/DevicePath.h>
#include <Foundation/PropertyList.h>
#include <ObjCBridge/ObjCBridge.h>
#include <Preferences/PSListController.h>
#include <Preferences/TestSupport.h>
#include <UIKit/TestSupport.h>
#include <UIKit/UIApplication.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace {

const std::string kResources = std::string(HB_SOURCE_DIR) + "/prefs/Resources";

class PaneControllersTest : public ::testing::Test {
protected:
    objc::AutoreleasePool pool;
    device::TemporaryDevice device;

    void SetUp() override {
        huebloom::registerPaneControllers();
        huebloom::registerPreviewCell();
    }

    Ref<PS::ListController> pane(const char* cls, const std::string& folder = kResources) {
        auto p =
            objc::adopt(objc::send<PS::ListController*>(objc::send<id>(objc_getClass(cls), "alloc"_sel), "init"_sel));
        p->setBundlePath(NS::String::stringWithUTF8String(folder.c_str()));
        return p;
    }
    PS::Specifier* rowWithKey(PS::ListController* p, const char* key) {
        NS::Array* rows = p->specifiers();
        for (NSUInteger i = 0; i < rows->count(); ++i) {
            auto* row = objc::cast<PS::Specifier>(rows->objectAtIndex(i));
            id k = row->propertyForKey("key"_ns);
            if (k != nil && std::string(objc::cast<NS::String>(k)->UTF8String()) == key) return row;
        }
        return nullptr;
    }
};

TEST_F(PaneControllersTest, EveryPaneLoadsItsListOnceAndKeepsIt) {
    const char* panes[][2] = {{"HuebloomListController", "Enabled"},    {"imessageListController", "Gradient"},
                              {"smsListController", "Gradient"},        {"grayListController", "Gradient"},
                              {"TbColorListController", nullptr},       {"BubblesListController", nullptr},
                              {"OtherSListController", "Conversation"}, {"supportListController", "Contact"}};
    const std::string empty = device.path() + "/empty";
    std::filesystem::create_directories(empty);
    for (auto& [cls, firstTitle] : panes) {
        SCOPED_TRACE(cls);
        auto p = pane(cls);
        NS::Array* first = p->specifiers();
        ASSERT_NE(first, nullptr);
        ASSERT_GT(first->count(), 1u);
        // With the lists gone, a second request still gives the kept rows.
        p->setBundlePath(NS::String::stringWithUTF8String(empty.c_str()));
        EXPECT_EQ(p->specifiers(), first);
        EXPECT_EQ(PS::ListController::specifiersIvar(objc::asId(p.get())), objc::asId(first));
        // The balloon panes open with their preview, in a section of its own;
        // the first titled row follows it.
        const bool preview = std::string(cls) == "HuebloomListController" ||
                             std::string(cls) == "imessageListController" || std::string(cls) == "smsListController" ||
                             std::string(cls) == "grayListController";
        auto* second = objc::cast<PS::Specifier>(first->objectAtIndex(1));
        EXPECT_EQ(second->cellClass() == objc_getClass("HBPreviewCell"), preview);
        if (firstTitle != nullptr) {
            std::string title;
            for (NSUInteger i = 0; i < first->count() && title.empty(); ++i) {
                auto* row = objc::cast<PS::Specifier>(first->objectAtIndex(i));
                if (row->name() != nullptr) title = row->name()->UTF8String();
            }
            EXPECT_EQ(title, firstTitle);
        }
        EXPECT_EQ(objc::cast<PS::Specifier>(first->objectAtIndex(0))->cellType(), PS::PSGroupCell);
    }
}

TEST_F(PaneControllersTest, TheRootReadsItsFixedFileAndOtherwiseTheDefault) {
    auto root = pane("HuebloomListController");
    PS::Specifier* enabled = rowWithKey(root, "enabled");
    PS::Specifier* mode = rowWithKey(root, "imessage");
    ASSERT_NE(enabled, nullptr);
    ASSERT_NE(mode, nullptr);
    // No file: the rows' defaults.
    EXPECT_FALSE(objc::send<BOOL>(root->readPreferenceValue(enabled), "boolValue"_sel));
    EXPECT_EQ(objc::send<NSInteger>(root->readPreferenceValue(mode), "integerValue"_sel), 0);

    // Stored objects come back unchanged, whatever kind they are.
    NS::MutableDictionary* settings = NS::MutableDictionary::dictionary();
    settings->setObject(NS::Number::numberWithBool(YES), "enabled"_ns);
    settings->setObject("3"_ns, "imessage"_ns);
    ASSERT_TRUE(NS::writePropertyList(settings, "/var/mobile/Library/Preferences/com.Quillfen.huebloom.plist"));
    EXPECT_TRUE(objc::send<BOOL>(root->readPreferenceValue(enabled), "boolValue"_sel));
    id stored = root->readPreferenceValue(mode);
    ASSERT_TRUE(objc::send<BOOL>(stored, "isKindOfClass:"_sel, "NSString"_cls));
    EXPECT_STREQ(objc::cast<NS::String>(stored)->UTF8String(), "3");

    // The file is read anew at each call; a row without "default" shows nothing.
    settings->removeObjectForKey("enabled"_ns);
    ASSERT_TRUE(NS::writePropertyList(settings, "/var/mobile/Library/Preferences/com.Quillfen.huebloom.plist"));
    EXPECT_FALSE(objc::send<BOOL>(root->readPreferenceValue(enabled), "boolValue"_sel));
    enabled->setProperty(nullptr, "default"_ns);
    EXPECT_EQ(root->readPreferenceValue(enabled), nil);
}

TEST_F(PaneControllersTest, SubPanesRebuildEachTimeTheyAppearTheRootDoesNot) {
    for (const char* cls : {"imessageListController", "smsListController", "grayListController",
                            "TbColorListController", "BubblesListController", "OtherSListController"}) {
        SCOPED_TRACE(cls);
        auto p = pane(cls);
        p->viewWillAppear(YES);
        p->viewWillAppear(NO);
        EXPECT_EQ(PS::reloadCount(objc::asId(p.get())), 2u);
    }
    for (const char* cls : {"HuebloomListController", "supportListController"}) {
        auto p = pane(cls);
        p->viewWillAppear(YES);
        EXPECT_EQ(PS::reloadCount(objc::asId(p.get())), 0u) << cls;
    }
}

TEST_F(PaneControllersTest, SupportActionsOpenTheirAddresses) {
    auto support = pane("supportListController");
    UI::application::forgetOpenedURLs();
    // The actions are reached the way a button row reaches them: from the row.
    NS::Array* rows = support->specifiers();
    for (NSUInteger i = 0; i < rows->count(); ++i) {
        auto* row = objc::cast<PS::Specifier>(rows->objectAtIndex(i));
        if (row->buttonAction() == nullptr) continue;
        EXPECT_EQ(row->target(), objc::asId(support.get()));
        objc::send<void>(row->target(), row->buttonAction());
    }
    const std::vector<std::string> want = {
        "mailto:support@huebloom.invalid?subject=HuebloomSupport",
        "https://social.invalid/huebloom",
        "https://social.invalid/huebloom_contributor",
        "https://payments.invalid/cgi-bin/webscr?cmd=_donations&business=donations%40huebloom.invalid&lc=US"
        "&item_name=Huebloom%20by%20Quillfen&currency_code=USD&bn=PP%2dDonationsBF%3abtn_donate_SM%2egif%3aNonHosted",
    };
    EXPECT_EQ(UI::application::openedURLs(), want);
}

}  // namespace
