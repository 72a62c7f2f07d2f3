// Navigation controllers: the order of the appearance calls on push and pop,
// the bar they show and its buttons, ownership of popped controllers, and
// rotation with its orientation masks.
#include "ControlsTesting.h"

#include <Foundation/NSArray.h>
#include <UIKit/UILabel.h>
#include <UIKit/UINavigationController.h>

namespace {

using namespace ctltest;
using Strings = std::vector<std::string>;
using UI::NavigationController;
using UI::ViewController;

struct LoggingState {
    UI::UIInterfaceOrientationMask mask = UI::UIInterfaceOrientationMaskAll;
};

std::string nameOf(id self) {
    auto* title = objc::send<NS::String*>(self, "title"_sel);
    return title ? title->UTF8String() : "?";
}

void logAppearance(id self, SEL s, BOOL animated) {
    objc::sendSuper<void>(self, objc_getClass("NavigationTestController"), s, animated);
    journal().push_back(nameOf(self) + " " + sel_getName(s) + (animated ? "YES" : "NO"));
}
void logLoad(id self, SEL s) {
    objc::sendSuper<void>(self, objc_getClass("NavigationTestController"), s);
    journal().push_back(nameOf(self) + " viewDidLoad");
}
void logRotation(id self, SEL s, UI::UIInterfaceOrientation o, double duration) {
    objc::sendSuper<void>(self, objc_getClass("NavigationTestController"), s, o, duration);
    char text[32];
    std::snprintf(text, sizeof text, "(%ld, %.2f)", static_cast<long>(o), duration);
    journal().push_back(nameOf(self) + " " + sel_getName(s) + text);
}
void logDidRotate(id self, SEL s, UI::UIInterfaceOrientation from) {
    objc::sendSuper<void>(self, objc_getClass("NavigationTestController"), s, from);
    journal().push_back(nameOf(self) + " " + sel_getName(s) + "(" + std::to_string(from) + ")");
}
UI::UIInterfaceOrientationMask mask(id self, SEL) { return objc::state<LoggingState>(self).mask; }
void logDealloc(id self, SEL s) {
    journal().push_back(nameOf(self) + " dealloc");
    objc::sendSuper<void>(self, objc_getClass("NavigationTestController"), s);
}

Class loggingControllerClass() {
    static Class cls = objc::ClassBuilder("NavigationTestController", "UIViewController"_cls)
                           .state<LoggingState>()
                           .method("viewDidLoad", &logLoad)
                           .method("viewWillAppear:", &logAppearance)
                           .method("viewDidAppear:", &logAppearance)
                           .method("viewWillDisappear:", &logAppearance)
                           .method("viewDidDisappear:", &logAppearance)
                           .method("willRotateToInterfaceOrientation:duration:", &logRotation)
                           .method("willAnimateRotationToInterfaceOrientation:duration:", &logRotation)
                           .method("didRotateFromInterfaceOrientation:", &logDidRotate)
                           .method("supportedInterfaceOrientations", &mask)
                           .method("dealloc", &logDealloc)
                           .build();
    return cls;
}

class NavigationTest : public ControlsTest {
protected:
    ~NavigationTest() override { UI::orientation::reset(); }

    Ref<ViewController> controller(const char* title) {
        Ref<ViewController> c =
            objc::adopt(objc::send<ViewController*>(objc::send<id>(loggingControllerClass(), "alloc"_sel), "init"_sel));
        c->setTitle(NS::String::stringWithUTF8String(title));
        return c;
    }

    // A navigation controller with the root "A", shown as the key window's
    // root; the journal starts empty afterwards.
    Ref<NavigationController> showNavigation() {
        root_ = controller("A");
        Ref<NavigationController> nav = objc::adopt(NavigationController::alloc()->initWithRootViewController(root_));
        showWindow()->setRootViewController(nav);
        journal().clear();
        return nav;
    }

    Ref<ViewController> root_;
};

TEST_F(NavigationTest, TheRootAppearsWhenTheNavigationControllerEntersAWindow) {
    root_ = controller("A");
    Ref<NavigationController> nav = objc::adopt(NavigationController::alloc()->initWithRootViewController(root_));
    showWindow()->setRootViewController(nav);
    EXPECT_EQ(journal(), (Strings{"A viewDidLoad", "A viewWillAppear:NO", "A viewDidAppear:NO"}));
    EXPECT_TRUE(CGRectEqualToRect(root_->view()->frame(), CGRectMake(0, 0, 320, 568)));
    EXPECT_EQ(root_->navigationController(), nav.get());
    EXPECT_EQ(root_->parentViewController(), nav.get());
}

TEST_F(NavigationTest, AnAnimatedPushFinishesItsCallbacksWhenTheSlideHasEnded) {
    auto nav = showNavigation();
    auto b = controller("B");
    nav->pushViewController(b, YES);
    EXPECT_EQ(journal(), (Strings{"B viewDidLoad", "B viewWillAppear:YES", "A viewWillDisappear:YES"}));
    EXPECT_EQ(nav->topViewController(), b.get());
    NS::loop::runFor(0.34);
    EXPECT_EQ(journal().size(), 3u);
    NS::loop::runFor(0.02);
    EXPECT_EQ(journal(), (Strings{"B viewDidLoad", "B viewWillAppear:YES", "A viewWillDisappear:YES",
                                  "A viewDidDisappear:YES", "B viewDidAppear:YES"}));
    EXPECT_EQ(root_->view()->superview(), nullptr);
    EXPECT_TRUE(CGRectEqualToRect(b->view()->frame(), CGRectMake(0, 0, 320, 568)));
}

TEST_F(NavigationTest, APushWithoutAnimationRunsEveryCallbackAtOnceInTheSameOrder) {
    auto nav = showNavigation();
    nav->pushViewController(controller("B"), NO);
    EXPECT_EQ(journal(), (Strings{"B viewDidLoad", "B viewWillAppear:NO", "A viewWillDisappear:NO",
                                  "A viewDidDisappear:NO", "B viewDidAppear:NO"}));
}

TEST_F(NavigationTest, APopShowsTheControllerBelowAndTheTopOneLeaves) {
    for (BOOL animated : {YES, NO}) {
        auto nav = showNavigation();
        nav->pushViewController(controller("B"), NO);
        journal().clear();
        ViewController* popped = nav->popViewControllerAnimated(animated);
        ASSERT_NE(popped, nullptr);
        EXPECT_STREQ(popped->title()->UTF8String(), "B");
        EXPECT_EQ(nav->topViewController(), root_.get());
        if (animated) {
            EXPECT_EQ(journal(), (Strings{"A viewWillAppear:YES", "B viewWillDisappear:YES"}));
            NS::loop::runFor(0.35);
        }
        const char* flag = animated ? "YES" : "NO";
        EXPECT_EQ(journal(),
                  (Strings{std::string("A viewWillAppear:") + flag, std::string("B viewWillDisappear:") + flag,
                           std::string("B viewDidDisappear:") + flag, std::string("A viewDidAppear:") + flag}));
        EXPECT_EQ(root_->view()->superview(), nav->view());
        window_->setRootViewController(nullptr);
        pool.drain();
    }
}

TEST_F(NavigationTest, APoppedControllerIsLetGoOnceItsTransitionHasEnded) {
    auto nav = showNavigation();
    {
        auto b = controller("B");
        nav->pushViewController(b, NO);
    }
    nav->popViewControllerAnimated(YES);
    pool.drain();
    EXPECT_EQ(std::count(journal().begin(), journal().end(), "B dealloc"), 0);  // still sliding out
    NS::loop::runFor(0.35);
    pool.drain();
    EXPECT_EQ(std::count(journal().begin(), journal().end(), "B dealloc"), 1);
    EXPECT_EQ(nav->viewControllers()->count(), 1u);
    EXPECT_EQ(nav->popViewControllerAnimated(YES), nullptr);  // the root stays
}

TEST_F(NavigationTest, APushDuringASlideFinishesTheSlideFirst) {
    auto nav = showNavigation();
    nav->pushViewController(controller("B"), YES);
    nav->pushViewController(controller("C"), YES);
    EXPECT_EQ(journal(),
              (Strings{"B viewDidLoad", "B viewWillAppear:YES", "A viewWillDisappear:YES", "A viewDidDisappear:YES",
                       "B viewDidAppear:YES", "C viewDidLoad", "C viewWillAppear:YES", "B viewWillDisappear:YES"}));
    EXPECT_TRUE(UI::navigation::isInTransition(nav));
    UI::navigation::finishTransition(nav);
    EXPECT_EQ(journal().back(), "C viewDidAppear:YES");
}

TEST_F(NavigationTest, TheBarShowsTheTopTitleAndABackButtonNamedAfterThePreviousController) {
    auto nav = showNavigation();
    UI::NavigationBar* bar = nav->navigationBar();
    EXPECT_TRUE(CGRectEqualToRect(bar->frame(), CGRectMake(0, 20, 320, 44)));
    EXPECT_EQ(UI::navigationBar::backButton(bar), nullptr);
    auto b = controller("Brightness");
    nav->pushViewController(b, NO);
    auto* title = objc::cast<UI::Label>(UI::navigationBar::titleView(bar));
    EXPECT_STREQ(title->text()->UTF8String(), "Brightness");
    EXPECT_STREQ(title->font()->fontName()->UTF8String(), "HelveticaNeue-Medium");
    EXPECT_NEAR(CGRectGetMidX(title->frame()), 160, 0.5);
    UI::View* back = UI::navigationBar::backButton(bar);
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(UI::navigationBar::buttonTitle(back), "A");
    EXPECT_EQ(back->frame().origin.x, 8);

    // The item of the controller below may name the way back itself.
    Ref<UI::BarButtonItem> named = objc::adopt(
        UI::BarButtonItem::alloc()->initWithTitle("Settings"_ns, UI::UIBarButtonItemStylePlain, nullptr, nullptr));
    root_->navigationItem()->setBackBarButtonItem(named);
    EXPECT_EQ(UI::navigationBar::buttonTitle(UI::navigationBar::backButton(bar)), "Settings");
    b->setTitle("Contrast"_ns);
    EXPECT_STREQ(objc::cast<UI::Label>(UI::navigationBar::titleView(bar))->text()->UTF8String(), "Contrast");

    // A way back whose name does not fit its half of the bar is called "Back"
    // (one that fits, as above, keeps its name), and still leads back.
    Ref<UI::BarButtonItem> tooLong = objc::adopt(UI::BarButtonItem::alloc()->initWithTitle(
        "iMessage Balloons and Bubbles"_ns, UI::UIBarButtonItemStylePlain, nullptr, nullptr));
    root_->navigationItem()->setBackBarButtonItem(tooLong);
    back = UI::navigationBar::backButton(bar);
    EXPECT_EQ(UI::navigationBar::buttonTitle(back), "Back");
    EXPECT_LE(CGRectGetMaxX(back->frame()), 160);
    UI::input::tap(screenCentre(back));
    NS::loop::runFor(0.35);
    EXPECT_EQ(nav->topViewController(), root_.get());
}

TEST_F(NavigationTest, ATapOnTheBackButtonPopsTheTopController) {
    auto nav = showNavigation();
    nav->pushViewController(controller("B"), NO);
    journal().clear();
    UI::input::tap(screenCentre(UI::navigationBar::backButton(nav->navigationBar())));
    EXPECT_EQ(journal(), (Strings{"A viewWillAppear:YES", "B viewWillDisappear:YES"}));
    NS::loop::runFor(0.35);
    EXPECT_EQ(nav->topViewController(), root_.get());
    EXPECT_EQ(nav->navigationBar()->items()->count(), 1u);
    EXPECT_EQ(UI::navigationBar::backButton(nav->navigationBar()), nullptr);
}

TEST_F(NavigationTest, ATapOnTheRightBarButtonSendsItsActionWithTheItemAsSender) {
    auto nav = showNavigation();
    auto target = makeRecorder();
    Ref<UI::BarButtonItem> hex = objc::adopt(UI::BarButtonItem::alloc()->initWithTitle(
        "#"_ns, UI::UIBarButtonItemStylePlain, target, "barButtonTapped:"_sel));
    root_->navigationItem()->setRightBarButtonItem(hex);  // while shown: the bar follows at once
    UI::View* button = UI::navigationBar::rightButton(nav->navigationBar());
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(UI::navigationBar::buttonTitle(button), "#");
    EXPECT_NEAR(CGRectGetMaxX(button->frame()), 312, 0.01);
    UI::input::tap(screenCentre(button));
    EXPECT_EQ(journal(), (Strings{"barButtonTapped:"}));

    // A new item replaces the button; the old item no longer reaches the bar.
    Ref<UI::BarButtonItem> other = objc::adopt(UI::BarButtonItem::alloc()->initWithTitle(
        "Done"_ns, UI::UIBarButtonItemStyleDone, target, "barButtonTapped:"_sel));
    root_->navigationItem()->setRightBarButtonItem(other);
    hex->setTitle("?"_ns);
    EXPECT_EQ(UI::navigationBar::buttonTitle(UI::navigationBar::rightButton(nav->navigationBar())), "Done");

    // A disabled item's button is drawn faded (no pixel of its title near
    // opaque) and a tap on it sends nothing.
    auto solidPixels = [&] {
        uitest::Picture p = uitest::pictureOf(UI::navigationBar::rightButton(nav->navigationBar()));
        int n = 0;
        for (int y = 0; y < p.height(); ++y)
            for (int x = 0; x < p.width(); ++x) n += p.at(x, y).a > 200;
        return n;
    };
    EXPECT_GT(solidPixels(), 20);
    other->setEnabled(NO);
    EXPECT_EQ(solidPixels(), 0);
    UI::input::tap(screenCentre(UI::navigationBar::rightButton(nav->navigationBar())));
    EXPECT_EQ(journal(), (Strings{"barButtonTapped:"}));
}

TEST_F(NavigationTest, TheBarIsLightGreyUnderTheStatusBarWithAHairlineAtItsFoot) {
    auto nav = showNavigation();
    root_->view()->setBackgroundColor(UI::Color::whiteColor());
    uitest::Picture screen(UI::screenshot::createScreenImage());
    const Pixel bar{0xF7, 0xF7, 0xF7, 255};
    EXPECT_EQ(screen.at(500, 10), bar);  // under the status bar, clear of its text
    EXPECT_EQ(screen.at(500, 80), bar);
    EXPECT_EQ(screen.at(500, 127), bar);
    EXPECT_EQ(screen.at(500, 128), (Pixel{0xB2, 0xB2, 0xB2, 255}));  // the hairline, one pixel
    EXPECT_EQ(screen.at(500, 129), uitest::kWhite);                  // the content below
}

TEST_F(NavigationTest, RotationTellsTheVisibleControllersAndTurnsTheWindowsRootView) {
    auto nav = showNavigation();
    ASSERT_TRUE(UI::orientation::rotate(UI::UIInterfaceOrientationLandscapeLeft));
    EXPECT_EQ(journal(), (Strings{"A willRotateToInterfaceOrientation:duration:(4, 0.30)",
                                  "A willAnimateRotationToInterfaceOrientation:duration:(4, 0.30)"}));
    EXPECT_TRUE(CGRectEqualToRect(nav->view()->bounds(), CGRectMake(0, 0, 568, 320)));
    EXPECT_TRUE(CGRectEqualToRect(root_->view()->frame(), CGRectMake(0, 0, 568, 320)));
    EXPECT_EQ(nav->navigationBar()->frame().size.width, 568);
    EXPECT_EQ(root_->interfaceOrientation(), UI::UIInterfaceOrientationLandscapeLeft);
    NS::loop::runFor(0.3);
    EXPECT_EQ(journal().back(), "A didRotateFromInterfaceOrientation:(1)");
    EXPECT_FALSE(UI::orientation::rotate(UI::UIInterfaceOrientationLandscapeLeft));  // already there
}

TEST_F(NavigationTest, AControllerThatDoesNotSupportAnOrientationKeepsEverythingStill) {
    auto nav = showNavigation();
    auto chooser = controller("Choose Color");
    objc::state<LoggingState>(chooser.get()).mask = UI::UIInterfaceOrientationMaskPortrait;
    nav->pushViewController(chooser, NO);
    journal().clear();
    EXPECT_EQ(nav->supportedInterfaceOrientations(), UI::UIInterfaceOrientationMaskPortrait);
    EXPECT_FALSE(UI::orientation::rotate(UI::UIInterfaceOrientationLandscapeRight));
    NS::loop::runFor(0.5);
    EXPECT_TRUE(journal().empty());
    EXPECT_TRUE(CGRectEqualToRect(nav->view()->bounds(), CGRectMake(0, 0, 320, 568)));
    EXPECT_EQ(UI::orientation::current(), UI::UIInterfaceOrientationPortrait);
}

}  // namespace
