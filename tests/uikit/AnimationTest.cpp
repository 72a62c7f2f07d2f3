// View animations on the run loop's virtual clock: the model takes the new
// values at once, the screen shows them part way, the completion runs once
// the delay and the duration have passed.
#include "UIKitTesting.h"

#include <vector>

namespace {

using namespace uitest;
using UI::Color;

class AnimationTest : public UIKitTest {
protected:
    Ref<UI::View> root = makeView(CGRectMake(0, 0, 100, 20));
    Ref<UI::View> box = makeView(CGRectMake(0, 0, 10, 10), Color::redColor());
    AnimationTest() { root->addSubview(box); }
};

TEST_F(AnimationTest, AlphaFadesOnScreenWhileTheModelHasTheFinalValue) {
    box->setAlpha(0);
    std::vector<BOOL> finished;
    UI::View::animateWithDuration(
        1.0, 0.0, UI::UIViewAnimationOptionCurveLinear, [&] { box->setAlpha(1); },
        [&](BOOL done) { finished.push_back(done); });
    EXPECT_EQ(box->alpha(), 1);
    EXPECT_EQ(samplePoint(root, 5, 5).a, 0);
    NS::loop::runFor(0.25);
    EXPECT_NEAR(samplePoint(root, 5, 5).a, 64, 1);
    NS::loop::runFor(0.5);
    EXPECT_NEAR(samplePoint(root, 5, 5).a, 191, 1);
    EXPECT_TRUE(finished.empty());
    NS::loop::runFor(0.3);
    EXPECT_EQ(samplePoint(root, 5, 5), kRed);
    EXPECT_EQ(finished, std::vector<BOOL>{YES});
}

TEST_F(AnimationTest, TheDefaultCurveEasesInAndOut) {
    UI::View::animateWithDuration(1.0, [&] { box->setCenter(CGPointMake(85, 5)); });
    EXPECT_TRUE(CGRectEqualToRect(box->frame(), CGRectMake(80, 0, 10, 10)));
    NS::loop::runFor(0.1);
    // Slow at first: after a tenth of the time the box has moved far less
    // than a tenth of the way.
    EXPECT_EQ(samplePoint(root, 12, 5), kClear);
    EXPECT_EQ(samplePoint(root, 3, 5), kRed);
    NS::loop::runFor(0.4);
    // Half way in time is half way in space.
    EXPECT_EQ(samplePoint(root, 36, 5), kClear);
    EXPECT_EQ(samplePoint(root, 41, 5), kRed);
    EXPECT_EQ(samplePoint(root, 49, 5), kRed);
    EXPECT_EQ(samplePoint(root, 51, 5), kClear);
    NS::loop::runFor(0.6);
    EXPECT_EQ(samplePoint(root, 85, 5), kRed);
    EXPECT_EQ(samplePoint(root, 45, 5), kClear);
}

TEST_F(AnimationTest, ADelayHoldsTheOldValueAndPostponesTheCompletion) {
    int completions = 0;
    UI::View::animateWithDuration(
        0.5, 1.0, UI::UIViewAnimationOptionCurveLinear, [&] { box->setBackgroundColor(Color::blueColor()); },
        [&](BOOL) { ++completions; });
    EXPECT_TRUE(box->backgroundColor()->isEqual(Color::blueColor()));
    NS::loop::runFor(0.9);
    EXPECT_EQ(samplePoint(root, 5, 5), kRed);
    NS::loop::runFor(0.35);  // half way through the colour change
    Pixel mid = samplePoint(root, 5, 5);
    EXPECT_NEAR(mid.r, 128, 2);
    EXPECT_NEAR(mid.b, 128, 2);
    EXPECT_EQ(completions, 0);
    NS::loop::runFor(0.3);
    EXPECT_EQ(completions, 1);
    EXPECT_EQ(samplePoint(root, 5, 5), kBlue);
}

TEST_F(AnimationTest, AnInterruptedAnimationStartsFromWhatTheScreenShows) {
    UI::View::animateWithDuration(1.0, 0.0, UI::UIViewAnimationOptionCurveLinear,
                                  [&] { box->setFrame(CGRectMake(80, 0, 10, 10)); });
    NS::loop::runFor(0.5);  // on screen at x = 40
    UI::View::animateWithDuration(1.0, 0.0, UI::UIViewAnimationOptionCurveLinear,
                                  [&] { box->setFrame(CGRectMake(0, 0, 10, 10)); });
    EXPECT_EQ(samplePoint(root, 45, 5), kRed);
    NS::loop::runFor(0.5);  // half way back from 40: x = 20
    EXPECT_EQ(samplePoint(root, 25, 5), kRed);
    EXPECT_EQ(samplePoint(root, 15, 5), kClear);
}

TEST_F(AnimationTest, WithoutDurationChangesShowAtOnceAndTheCompletionWaitsForTheLoop) {
    bool done = false;
    UI::View::animateWithDuration(
        0.0, 0.0, 0, [&] { box->setAlpha(0.5); }, [&](BOOL) { done = true; });
    EXPECT_EQ(samplePoint(root, 5, 5), (Pixel{128, 0, 0, 128}));
    EXPECT_FALSE(done);
    NS::loop::runFor(0);
    EXPECT_TRUE(done);
    // Outside an animation block nothing animates.
    box->setAlpha(1);
    EXPECT_EQ(samplePoint(root, 5, 5), kRed);
}

}  // namespace
