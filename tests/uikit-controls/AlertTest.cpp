// Alerts: button indices and titles, the nil-terminated initialiser, the
// delegate hearing clicks with the text field's text, ownership while shown,
// and the look; and the backdrop panel that may be left out of a device.
#include "ControlsTesting.h"

#include <UIKit/UIAlertView.h>
#include <UIKit/UIBackdropView.h>

#include <cstdlib>

namespace {

using namespace ctltest;
using Strings = std::vector<std::string>;
using UI::AlertView;

// A delegate that notes each call, with the text of the first text field
// when a button is clicked.
void clicked(id, SEL s, id alert, NSInteger index) {
    std::string entry = std::string(sel_getName(s)) + "(" + std::to_string(index) + ")";
    auto* a = objc::cast<AlertView>(alert);
    if (a->alertViewStyle() == UI::UIAlertViewStylePlainTextInput) {
        entry += " " + std::string(a->textFieldAtIndex(0)->text()->UTF8String());
    }
    journal().push_back(entry);
}
void dismissed(id, SEL s, id, NSInteger index) {
    journal().push_back(std::string(sel_getName(s)) + "(" + std::to_string(index) + ")");
}

Class delegateClass() {
    static Class cls = objc::ClassBuilder("AlertTestDelegate", "NSObject"_cls)
                           .method("alertView:clickedButtonAtIndex:", &clicked)
                           .method("alertView:willDismissWithButtonIndex:", &dismissed)
                           .method("alertView:didDismissWithButtonIndex:", &dismissed)
                           .build();
    return cls;
}

void noteDealloc(id self, SEL s) {
    journal().push_back("alert dealloc");
    objc::sendSuper<void>(self, objc_getClass("AlertTestAlert"), s);
}

Class alertClass() {
    static Class cls = objc::ClassBuilder("AlertTestAlert", "UIAlertView"_cls).method("dealloc", &noteDealloc).build();
    return cls;
}

class AlertTest : public ControlsTest {
protected:
    AlertTest() {
        delegate_ = objc::adopt(objc::send<NS::Object*>(objc::send<id>(delegateClass(), "alloc"_sel), "init"_sel));
    }

    // The chooser's hex alert, shown over a white key window and let go of.
    AlertView* showHexAlert() {
        showWindow();
        auto* alert = objc::send<AlertView*>(alertClass(), "alloc"_sel)
                          ->initWithTitle("Hex Color"_ns, "Enter a hex color or copy it to your pasteboard."_ns,
                                          delegate_.get(), "Close"_ns, {"Set"_ns, "Copy"_ns});
        alert->setAlertViewStyle(UI::UIAlertViewStylePlainTextInput);
        alert->textFieldAtIndex(0)->setText("#FF8000"_ns);
        alert->show();
        alert->release();
        return alert;
    }

    Ref<NS::Object> delegate_;
};

TEST_F(AlertTest, TheCancelButtonIsIndexZeroAndTheOthersFollowInOrder) {
    Ref<AlertView> alert =
        objc::adopt(AlertView::alloc()->initWithTitle("T"_ns, nullptr, nullptr, "Close"_ns, {"Set"_ns, "Copy"_ns}));
    EXPECT_EQ(alert->numberOfButtons(), 3);
    EXPECT_EQ(alert->cancelButtonIndex(), 0);
    EXPECT_EQ(alert->firstOtherButtonIndex(), 1);
    const char* titles[] = {"Close", "Set", "Copy"};
    for (NSInteger i = 0; i < 3; ++i) EXPECT_STREQ(alert->buttonTitleAtIndex(i)->UTF8String(), titles[i]);
    EXPECT_EQ(alert->buttonTitleAtIndex(3), nullptr);

    Ref<AlertView> noCancel =
        objc::adopt(AlertView::alloc()->initWithTitle("T"_ns, nullptr, nullptr, nullptr, {"OK"_ns}));
    EXPECT_EQ(noCancel->cancelButtonIndex(), -1);
    EXPECT_STREQ(noCancel->buttonTitleAtIndex(0)->UTF8String(), "OK");
}

TEST_F(AlertTest, TheInitialiserReadsANilTerminatedListOfOtherTitles) {
    // As product code calls it: the other titles as C variable arguments.
    using Init = id (*)(id, SEL, id, id, id, id, id, ...);
    SEL s = "initWithTitle:message:delegate:cancelButtonTitle:otherButtonTitles:"_sel;
    id alloc = objc::send<id>("UIAlertView"_cls, "alloc"_sel);
    auto init = objc::detail::impAs<Init>(objc_msg_lookup(alloc, s));
    Ref<AlertView> alert = objc::adopt(objc::cast<AlertView>(
        init(alloc, s, objc::asId("Hex Color"_ns), static_cast<id>(nil), static_cast<id>(nil), objc::asId("Close"_ns),
             objc::asId("Set"_ns), objc::asId("Copy"_ns), static_cast<id>(nil))));
    ASSERT_EQ(alert->numberOfButtons(), 3);
    EXPECT_STREQ(alert->buttonTitleAtIndex(2)->UTF8String(), "Copy");
    EXPECT_STREQ(alert->title()->UTF8String(), "Hex Color");
}

TEST_F(AlertTest, AButtonTapReachesTheDelegateWithItsIndexAndTheFieldsTextThenDismisses) {
    struct Case {
        const char* button;
        NSInteger index;
    };
    for (const Case& c : {Case{"Close", 0}, Case{"Set", 1}, Case{"Copy", 2}}) {
        journal().clear();
        AlertView* alert = showHexAlert();
        EXPECT_EQ(UI::alert::visibleAlert(), alert);
        ASSERT_TRUE(UI::alert::setTextFieldText("#00FF00"));
        ASSERT_TRUE(UI::alert::pressButton(c.button));
        const std::string i = std::to_string(c.index);
        EXPECT_EQ(journal(), (Strings{"alertView:clickedButtonAtIndex:(" + i + ") #00FF00",
                                      "alertView:willDismissWithButtonIndex:(" + i + ")",
                                      "alertView:didDismissWithButtonIndex:(" + i + ")", "alert dealloc"}))
            << c.button;
        EXPECT_EQ(UI::alert::visibleAlert(), nullptr);
        pool.drain();
    }
    EXPECT_FALSE(UI::alert::pressButton("Set"));  // nothing on screen
}

TEST_F(AlertTest, AShownAlertLivesUntilDismissedFromCode) {
    AlertView* alert = showHexAlert();
    pool.drain();
    EXPECT_TRUE(alert->isVisible());
    EXPECT_TRUE(alert->textFieldAtIndex(0)->isFirstResponder());
    alert->dismissWithClickedButtonIndex(0, YES);
    EXPECT_EQ(journal(), (Strings{"alertView:willDismissWithButtonIndex:(0)", "alertView:didDismissWithButtonIndex:(0)",
                                  "alert dealloc"}));
}

TEST_F(AlertTest, ThreeButtonsStackWithCancelAtTheBottomAndTwoSitSideBySide) {
    showHexAlert();
    std::vector<UI::View*> buttons = UI::alert::buttonViews();  // by index: Close, Set, Copy
    ASSERT_EQ(buttons.size(), 3u);
    CGRect close = buttons[0]->frame(), set = buttons[1]->frame(), copy = buttons[2]->frame();
    EXPECT_EQ(set.size.width, 270);
    EXPECT_LT(set.origin.y, copy.origin.y);
    EXPECT_LT(copy.origin.y, close.origin.y);
    AlertView* alert = UI::alert::visibleAlert();
    EXPECT_EQ(alert->frame().size.width, 270);
    EXPECT_NEAR(CGRectGetMidX(alert->frame()), 160, 0.5);
    // The title stands 19 points from the top, the message 4 points below it.
    std::vector<CGRect> texts;
    NS::Array* subviews = alert->subviews();
    for (NSUInteger i = 0; i < subviews->count(); ++i) {
        auto* v = objc::cast<UI::View>(subviews->objectAtIndex(i));
        if (v->isKindOfClass("UILabel"_cls)) texts.push_back(v->frame());
    }
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0].origin.y, 19);
    EXPECT_EQ(texts[1].origin.y, CGRectGetMaxY(texts[0]) + 4);
    alert->dismissWithClickedButtonIndex(0, NO);

    Ref<AlertView> two =
        objc::adopt(AlertView::alloc()->initWithTitle("T"_ns, nullptr, nullptr, "Cancel"_ns, {"OK"_ns}));
    two->show();
    buttons = UI::alert::buttonViews();
    ASSERT_EQ(buttons.size(), 2u);
    EXPECT_TRUE(CGRectEqualToRect(buttons[0]->frame(), CGRectMake(0, buttons[0]->frame().origin.y, 135, 44)));
    EXPECT_EQ(buttons[1]->frame().origin.x, 135);
    two->dismissWithClickedButtonIndex(0, NO);
}

TEST_F(AlertTest, TheScreenDimsBehindAWhitePanelWithTintedButtons) {
    AlertView* alert = showHexAlert();
    uitest::Picture screen(UI::screenshot::createScreenImage());
    EXPECT_TRUE(near(screen.at(20, 20), Pixel{153, 153, 153, 255}, 1));  // white under black at 0.4
    CGRect f = alert->frame();
    EXPECT_EQ(screen.at(static_cast<int>(2 * f.origin.x + 10), static_cast<int>(2 * f.origin.y + 30)), uitest::kWhite);
    // The stacked buttons' titles are tinted.
    UI::View* set = UI::alert::buttonViews()[1];
    uitest::Picture button = uitest::pictureOf(set);
    int tinted = 0;
    for (int y = 0; y < button.height(); ++y)
        for (int x = 0; x < button.width(); ++x) tinted += button.at(x, y) == Pixel{0, 122, 255, 255};
    EXPECT_GT(tinted, 20);
    ASSERT_TRUE(UI::screenshot::writeScreenPNG(std::string(HB_BINARY_DIR) + "/uikit-hex-alert.png"));
}

TEST_F(AlertTest, TheBackdropWashesWhatLiesBehindItWithWhite) {
    ASSERT_NE(UI::BackdropView::backdropClass(), Nil);  // registered unless left out
    auto red = makeView(CGRectMake(0, 0, 100, 100), UI::Color::redColor());
    Ref<UI::BackdropView> backdrop = objc::adopt(UI::BackdropView::alloc()->initWithFrame(CGRectMake(0, 50, 100, 50)));
    red->addSubview(backdrop);
    EXPECT_EQ(backdrop->backgroundColor(), nullptr);
    uitest::Picture p = uitest::pictureOf(red);
    EXPECT_EQ(p.at(50, 50), uitest::kRed);
    EXPECT_TRUE(near(p.at(50, 150), Pixel{255, 178, 178, 255}, 1));
}

TEST_F(AlertTest, TheEnvironmentNamesTheClassesADeviceLeavesOut) {
    struct Case {
        const char* value;
        bool leftOut;
    };
    const Case cases[] = {{nullptr, false},
                          {"", false},
                          {"_UIBackdropView", true},
                          {"UIFoo, _UIBackdropView", true},
                          {"_UIBackdropViewX", false},
                          {"_UIBackdrop", false}};
    for (const Case& c : cases) {
        if (c.value) {
            setenv("HB_UIKIT_WITHOUT_CLASSES", c.value, 1);
        } else {
            unsetenv("HB_UIKIT_WITHOUT_CLASSES");
        }
        EXPECT_EQ(UI::classLeftOut("_UIBackdropView"), c.leftOut) << (c.value ? c.value : "(unset)");
    }
    unsetenv("HB_UIKIT_WITHOUT_CLASSES");
}

}  // namespace
