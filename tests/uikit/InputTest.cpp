// Fingers on the screen: hit testing, touch delivery up the responder chain,
// and gesture recognisers taking drags from the views they watch.
#include "UIKitTesting.h"

#include <UIKit/UIInput.h>

#include <string>
#include <vector>

namespace {

using namespace uitest;
using UI::Color;

struct Delivery {
    std::string what;
    CGPoint where;  // in the receiving view
};
std::vector<Delivery> touchLog;

void record(id self, const char* what, id touches) {
    auto* touch = objc::cast<UI::TouchSet>(touches)->anyObject();
    auto* view = objc::cast<UI::View>(self);
    touchLog.push_back({std::to_string(view->tag()) + " " + what, touch->locationInView(view)});
}
void began(id self, SEL, id t, id) { record(self, "began", t); }
void moved(id self, SEL, id t, id) { record(self, "moved", t); }
void ended(id self, SEL, id t, id) { record(self, "ended", t); }
void cancelled(id self, SEL, id t, id) { record(self, "cancelled", t); }

Class touchViewClass() {
    static Class cls = objc::ClassBuilder("TestTouchView", "UIView"_cls)
                           .method("touchesBegan:withEvent:", &began)
                           .method("touchesMoved:withEvent:", &moved)
                           .method("touchesEnded:withEvent:", &ended)
                           .method("touchesCancelled:withEvent:", &cancelled)
                           .build();
    return cls;
}

struct Action {
    UI::UIGestureRecognizerState state;
    CGPoint location;
    CGPoint translation;
};
std::vector<Action> actions;

void gestureAction(id, SEL, id recognizer) {
    auto* r = objc::cast<UI::PanGestureRecognizer>(recognizer);
    CGPoint t = objc::respondsTo(recognizer, "translationInView:"_sel) ? r->translationInView(r->view()) : CGPointZero;
    actions.push_back({r->state(), r->locationInView(r->view()), t});
}

Class targetClass() {
    static Class cls =
        objc::ClassBuilder("TestGestureTarget", "NSObject"_cls).method("handleGesture:", &gestureAction).build();
    return cls;
}

std::vector<std::string> whats() {
    std::vector<std::string> out;
    for (const auto& d : touchLog) out.push_back(d.what);
    return out;
}
using Strings = std::vector<std::string>;

class InputTest : public UIKitTest {
protected:
    Ref<UI::Window> window = objc::adopt(UI::Window::alloc()->init());
    Ref<UI::View> outer;  // at (20, 100), 200 × 200, tag 1
    Ref<UI::View> inner;  // inside it at (50, 50), 100 × 100, tag 2
    Ref<NS::Object> target =
        objc::adopt(objc::send<NS::Object*>(objc::send<id>(targetClass(), "alloc"_sel), "init"_sel));

    InputTest() {
        touchLog.clear();
        actions.clear();
        outer = makeView(CGRectMake(20, 100, 200, 200), Color::whiteColor(), touchViewClass());
        outer->setTag(1);
        inner = makeView(CGRectMake(50, 50, 100, 100), Color::redColor(), touchViewClass());
        inner->setTag(2);
        window->addSubview(outer);
        outer->addSubview(inner);
        window->makeKeyAndVisible();
    }

    Ref<UI::PanGestureRecognizer> addPan(UI::View* to) {
        Ref<UI::PanGestureRecognizer> pan =
            objc::adopt(UI::PanGestureRecognizer::alloc()->initWithTarget(target.get(), "handleGesture:"_sel));
        to->addGestureRecognizer(pan);
        return pan;
    }
};

TEST_F(InputTest, ATapReachesTheViewUnderTheFingerInItsOwnCoordinates) {
    UI::input::tap(CGPointMake(75, 160));
    ASSERT_EQ(whats(), (Strings{"2 began", "2 ended"}));
    EXPECT_EQ(touchLog[0].where.x, 5);
    EXPECT_EQ(touchLog[0].where.y, 10);
    touchLog.clear();
    UI::input::tap(CGPointMake(25, 110));
    EXPECT_EQ(whats(), (Strings{"1 began", "1 ended"}));
    touchLog.clear();
    UI::input::tap(CGPointMake(300, 500));  // the window itself: no touch view here
    UI::input::tap(CGPointMake(400, 50));   // outside every window
    EXPECT_TRUE(touchLog.empty());
    // An event without a touch goes to no window and no view.
    Ref<UI::Event> empty = objc::adopt(objc::cast<UI::Event>(UI::Event::alloc()->init()));
    UI::Application::sharedApplication()->sendEvent(empty);
    window->sendEvent(empty);
    EXPECT_EQ(empty->touchesForView(inner)->count(), 0u);
    EXPECT_TRUE(touchLog.empty());
}

TEST_F(InputTest, TouchesAViewDoesNotHandleTravelUpTheResponderChain) {
    Ref<UI::View> plain = makeView(CGRectMake(0, 0, 20, 20), Color::blueColor());
    inner->addSubview(plain);
    UI::input::tap(CGPointMake(75, 155));  // on plain
    ASSERT_EQ(whats(), (Strings{"2 began", "2 ended"}));
}

TEST_F(InputTest, AFingerStaysWithTheViewItWentDownOn) {
    UI::input::Finger finger(CGPointMake(75, 160));
    EXPECT_EQ(finger.view(), inner.get());
    finger.moveTo(CGPointMake(30, 120));  // now over outer only
    finger.lift();
    EXPECT_EQ(whats(), (Strings{"2 began", "2 moved", "2 ended"}));
    EXPECT_EQ(touchLog[1].where.x, -40);
    EXPECT_EQ(touchLog[1].where.y, -30);
}

TEST_F(InputTest, APanBeginsAfterTenPointsFollowsTheFingerAndTakesTheTouchFromTheView) {
    auto pan = addPan(inner);
    UI::input::drag(CGPointMake(80, 160), CGPointMake(80 + 40, 160), 7);  // steps of 5 points
    // Moves at 85, 90, ..., 115 and 120: the pan begins at 90.
    ASSERT_EQ(actions.size(), 8u);
    EXPECT_EQ(actions[0].state, UI::UIGestureRecognizerStateBegan);
    EXPECT_EQ(actions[0].location.x, 20);  // 10 points from where the finger went down
    EXPECT_EQ(actions[0].translation.x, 10);
    for (std::size_t i = 1; i + 1 < actions.size(); ++i) {
        EXPECT_EQ(actions[i].state, UI::UIGestureRecognizerStateChanged);
        EXPECT_EQ(actions[i].location.x, 20 + 5 * static_cast<CGFloat>(i));
    }
    EXPECT_EQ(actions.back().state, UI::UIGestureRecognizerStateEnded);
    EXPECT_EQ(actions.back().location.x, 50);
    EXPECT_EQ(actions.back().translation.x, 40);
    EXPECT_EQ(actions.back().location.y, 10);
    // The view saw the start and then lost the touch to the pan.
    EXPECT_EQ(whats(), (Strings{"2 began", "2 moved", "2 cancelled"}));
    EXPECT_EQ(pan->state(), UI::UIGestureRecognizerStatePossible);  // reset once lifted
}

TEST_F(InputTest, AShortDragIsATapForTheViewAndNothingForThePan) {
    addPan(inner);
    UI::input::drag(CGPointMake(80, 160), CGPointMake(86, 160), 2);
    EXPECT_TRUE(actions.empty());
    EXPECT_EQ(whats(), (Strings{"2 began", "2 moved", "2 moved", "2 moved", "2 ended"}));
}

TEST_F(InputTest, RecognisersOfAncestorsSeeTheTouchesAndSeveralRecogniseSideBySide) {
    addPan(outer);
    addPan(outer);
    UI::input::drag(CGPointMake(80, 160), CGPointMake(110, 160), 2);  // 10, 20, 30 points
    // Two recognisers: every action twice.
    ASSERT_EQ(actions.size(), 8u);
    EXPECT_EQ(actions[0].state, UI::UIGestureRecognizerStateBegan);
    EXPECT_EQ(actions[1].state, UI::UIGestureRecognizerStateBegan);
    EXPECT_EQ(actions[0].location.x, 70);  // in outer's coordinates
    EXPECT_EQ(actions[6].state, UI::UIGestureRecognizerStateEnded);
    EXPECT_EQ(actions[7].state, UI::UIGestureRecognizerStateEnded);
}

TEST_F(InputTest, ARecogniserThatLetsTouchesThroughLeavesTheViewItsTouches) {
    auto pan = addPan(inner);
    pan->setCancelsTouchesInView(NO);
    UI::input::drag(CGPointMake(80, 160), CGPointMake(100, 160), 1);
    EXPECT_EQ(actions.size(), 3u);
    EXPECT_EQ(whats(), (Strings{"2 began", "2 moved", "2 moved", "2 ended"}));
    touchLog.clear();
    actions.clear();
    pan->setEnabled(NO);
    UI::input::drag(CGPointMake(80, 160), CGPointMake(100, 160), 1);
    EXPECT_TRUE(actions.empty());
    inner->removeGestureRecognizer(pan);
    EXPECT_EQ(pan->view(), nullptr);
}

TEST_F(InputTest, ATapRecogniserRecognisesTapsButNotDrags) {
    Ref<UI::TapGestureRecognizer> tap =
        objc::adopt(UI::TapGestureRecognizer::alloc()->initWithTarget(target.get(), "handleGesture:"_sel));
    inner->addGestureRecognizer(tap);
    UI::input::tap(CGPointMake(80, 160));
    ASSERT_EQ(actions.size(), 1u);
    EXPECT_EQ(actions[0].state, UI::UIGestureRecognizerStateRecognized);
    EXPECT_EQ(whats(), (Strings{"2 began", "2 cancelled"}));
    actions.clear();
    UI::input::drag(CGPointMake(80, 160), CGPointMake(120, 160), 3);
    EXPECT_TRUE(actions.empty());
}

TEST_F(InputTest, ALongPressHoldsTheFingerWhileTheRunLoopRuns) {
    bool firedWhileDown = false;
    NS::loop::schedule(0.5, [&] { firedWhileDown = touchLog.size() == 1; });
    UI::input::longPress(CGPointMake(80, 160), 1.0);
    EXPECT_TRUE(firedWhileDown);
    EXPECT_EQ(whats(), (Strings{"2 began", "2 ended"}));
}

}  // namespace
