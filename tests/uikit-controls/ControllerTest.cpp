// View controllers on their own: loading the view, titles and navigation
// items, containment and the responder chain; and the navigation bar used
// without a controller.
#include "ControlsTesting.h"

#include <Foundation/NSArray.h>
#include <UIKit/UILabel.h>
#include <UIKit/UINavigationController.h>

namespace {

using namespace ctltest;
using UI::ViewController;

class ControllerTest : public ControlsTest {
protected:
    static Ref<ViewController> make() { return objc::adopt(ViewController::alloc()->init()); }
};

TEST_F(ControllerTest, TheViewLoadsOnceOnFirstRequestAtTheScreensSize) {
    auto c = make();
    EXPECT_FALSE(c->isViewLoaded());
    UI::View* v = c->view();
    EXPECT_TRUE(c->isViewLoaded());
    EXPECT_EQ(c->view(), v);
    EXPECT_TRUE(CGRectEqualToRect(v->frame(), CGRectMake(0, 0, 320, 568)));
    EXPECT_EQ(v->_viewControllerForAncestor(), objc::asId(c.get()));
    EXPECT_EQ(v->nextResponder(), c.get());
}

TEST_F(ControllerTest, ALoadViewThatSetsNoViewIsAProgrammerMistake) {
    static Class broken = objc::ClassBuilder("ControllerTestBroken", "UIViewController"_cls)
                              .method(
                                  "loadView", +[](id, SEL) {})
                              .build();
    EXPECT_DEATH(
        {
            objc::AutoreleasePool inner;
            id c = objc::send<id>(objc::send<id>(broken, "alloc"_sel), "init"_sel);
            objc::send<id>(c, "view"_sel);
        },
        "did not set a view");
}

TEST_F(ControllerTest, TheTitleTitlesTheNavigationItemBeforeAndAfterItIsMade) {
    auto c = make();
    c->setTitle("Before"_ns);
    UI::NavigationItem* item = c->navigationItem();
    EXPECT_STREQ(item->title()->UTF8String(), "Before");
    c->setTitle("After"_ns);
    EXPECT_STREQ(item->title()->UTF8String(), "After");
    EXPECT_EQ(c->navigationItem(), item);
}

TEST_F(ControllerTest, ChildrenAreKeptByTheirParentAndFindTheNavigationControllerAboveIt) {
    auto root = make();
    Ref<UI::NavigationController> nav =
        objc::adopt(UI::NavigationController::alloc()->initWithRootViewController(root));
    auto child = make();
    root->addChildViewController(child);
    EXPECT_EQ(child->parentViewController(), root.get());
    EXPECT_EQ(child->navigationController(), nav.get());
    EXPECT_EQ(root->childViewControllers()->count(), 1u);
    NSUInteger before = child->retainCount();
    child->removeFromParentViewController();
    EXPECT_EQ(child->retainCount(), before - 1);
    EXPECT_EQ(child->parentViewController(), nullptr);
    EXPECT_EQ(child->navigationController(), nullptr);
    EXPECT_EQ(root->childViewControllers()->count(), 0u);
}

TEST_F(ControllerTest, TheChainRunsFromTheViewThroughItsControllerToTheSuperview) {
    auto c = make();
    auto holder = makeView(CGRectMake(0, 0, 320, 568));
    holder->addSubview(c->view());
    auto inner = makeView(CGRectMake(0, 0, 10, 10));
    c->view()->addSubview(inner);
    EXPECT_EQ(inner->nextResponder(), c->view());
    EXPECT_EQ(c->view()->nextResponder(), c.get());
    EXPECT_EQ(c->nextResponder(), holder.get());
}

TEST_F(ControllerTest, OrientationAnswersDependOnTheDevice) {
    auto c = make();
    EXPECT_EQ(c->supportedInterfaceOrientations(), UI::UIInterfaceOrientationMaskAllButUpsideDown);
    EXPECT_EQ(c->preferredInterfaceOrientationForPresentation(), UI::UIInterfaceOrientationPortrait);
    UI::screen::setModel(UI::screen::Model::iPad);
    EXPECT_EQ(c->supportedInterfaceOrientations(), UI::UIInterfaceOrientationMaskAll);
}

TEST_F(ControllerTest, PoppingToTheRootLeavesOnlyTheRootAndLetsTheOthersGo) {
    auto root = make();
    Ref<UI::NavigationController> nav =
        objc::adopt(UI::NavigationController::alloc()->initWithRootViewController(root));
    showWindow()->setRootViewController(nav);
    for (int i = 0; i < 3; ++i) nav->pushViewController(make(), NO);
    NS::Array* popped = nav->popToRootViewControllerAnimated(NO);
    ASSERT_NE(popped, nullptr);
    EXPECT_EQ(popped->count(), 3u);
    EXPECT_EQ(nav->topViewController(), root.get());
    EXPECT_EQ(nav->navigationBar()->items()->count(), 1u);
    EXPECT_EQ(root->childViewControllers()->count(), 0u);
    EXPECT_EQ(nav->childViewControllers()->count(), 1u);
    EXPECT_EQ(root->view()->superview(), nav->view());
}

TEST_F(ControllerTest, ABarWithoutADelegatePopsItsOwnItemOnABackTap) {
    UI::Window* window = showWindow();
    Ref<UI::NavigationBar> bar = objc::adopt(UI::NavigationBar::alloc()->initWithFrame(CGRectMake(0, 20, 320, 44)));
    window->addSubview(bar);
    Ref<UI::NavigationItem> first = objc::adopt(UI::NavigationItem::alloc()->initWithTitle(""_ns));
    Ref<UI::NavigationItem> second = objc::adopt(UI::NavigationItem::alloc()->initWithTitle("Second"_ns));
    bar->pushNavigationItem(first, NO);
    bar->pushNavigationItem(second, NO);
    // An item with an empty title is left by a button named "Back".
    UI::View* back = UI::navigationBar::backButton(bar);
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(UI::navigationBar::buttonTitle(back), "Back");
    UI::input::tap(screenCentre(back));
    EXPECT_EQ(bar->topItem(), first.get());
    EXPECT_EQ(bar->backItem(), nullptr);
    // The popped item no longer reaches the bar.
    second->setTitle("Gone"_ns);
    auto* title = objc::cast<UI::Label>(UI::navigationBar::titleView(bar));
    EXPECT_STREQ(title->text()->UTF8String(), "");
}

}  // namespace
