// Leaving ChatKit classes out, as a system that lacks them. One process: a
// class, once registered, stays.
#include <ChatKit/ChatKit.h>
#include <Device/DevicePath.h>
#include <Foundation/NSArray.h>
#include <UIKit/UIKit.h>
#include <gtest/gtest.h>

namespace {

TEST(ChatKitWithout, LeftOutClassesAndThoseBuiltOnThemAreMissingUntilRegisteredLater) {
    objc::AutoreleasePool pool;
    device::TemporaryDevice device;
    chatkit::registerClasses({"CKBalloonView", "CKTranscriptController"});
    EXPECT_EQ(objc_getClass("CKBalloonView"), Nil);
    EXPECT_EQ(objc_getClass("CKTextBalloonView"), Nil) << "built on CKBalloonView";
    EXPECT_EQ(objc_getClass("CKTranscriptController"), Nil);
    for (const char* kept : {"CKUIBehavior", "CKGradientView", "CKConversationListController"}) {
        EXPECT_NE(objc_getClass(kept), Nil) << kept;
    }
    // The transcript still builds, with no balloons to show.
    Ref<CK::TranscriptView> transcript =
        objc::adopt(CK::TranscriptView::alloc()->initWithFrame(UI::Screen::mainScreen()->bounds()));
    transcript->layoutIfNeeded();
    EXPECT_EQ(transcript->balloons()->count(), 0u);

    chatkit::registerClasses();
    for (const char* name : chatkit::kClassNames) EXPECT_NE(objc_getClass(name), Nil) << name;
}

TEST(ChatKitWithout, ANameThatIsNoChatKitClassIsAMistake) {
    EXPECT_DEATH(chatkit::registerClasses({"CKNoSuchClass"}), "not a ChatKit class");
}

}  // namespace
