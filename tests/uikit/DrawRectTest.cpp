// Views that draw: a backing bitmap at screen scale, painted only when the
// view needs display, never when it is merely composited or sampled.
#include "UIKitTesting.h"

namespace {

using namespace uitest;

struct PaintCounter {
    int paints = 0;
    CGRect lastRect = CGRectZero;
    bool hadContext = false;
};

// Paints its left half red, and a half-point-wide blue line at the top left.
void paintHalves(id self, SEL, CGRect rect) {
    PaintCounter& counter = objc::state<PaintCounter>(self);
    ++counter.paints;
    counter.lastRect = rect;
    CGContextRef c = UIGraphicsGetCurrentContext();
    counter.hadContext = c != nullptr;
    CGRect b = objc::cast<UI::View>(self)->bounds();
    CGContextSetRGBFillColor(c, 1, 0, 0, 1);
    CGContextFillRect(c, CGRectMake(b.origin.x, b.origin.y, b.size.width / 2, b.size.height));
    CGContextSetRGBFillColor(c, 0, 0, 1, 1);
    CGContextFillRect(c, CGRectMake(b.origin.x, b.origin.y, 0.5, 1));
}

Class paintingViewClass() {
    static Class cls = objc::ClassBuilder("TestPaintingView", "UIView"_cls)
                           .state<PaintCounter>()
                           .method("drawRect:", &paintHalves)
                           .build();
    return cls;
}

// One-point squares of distinct colours, as a colour field paints them.
void paintCheckers(id, SEL, CGRect) {
    CGContextRef c = UIGraphicsGetCurrentContext();
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 4; ++x) {
            CGContextSetRGBFillColor(c, x * 80 / 255.0, y * 80 / 255.0, (x + y) % 2 ? 1 : 0, 1);
            CGContextFillRect(c, CGRectMake(x, y, 1, 1));
        }
    }
}

Class checkerViewClass() {
    static Class cls = objc::ClassBuilder("TestCheckerView", "UIView"_cls).method("drawRect:", &paintCheckers).build();
    return cls;
}

class DrawRectTest : public UIKitTest {
protected:
    Ref<UI::View> view = makeView(CGRectMake(0, 0, 20, 10), nullptr, paintingViewClass());
    int paints() { return objc::state<PaintCounter>(view.get()).paints; }
};

TEST_F(DrawRectTest, PaintsOnceForFirstDisplayAndNeverForSampling) {
    EXPECT_EQ(paints(), 0);
    EXPECT_EQ(samplePoint(view, 2, 2), kRed);
    EXPECT_EQ(paints(), 1);
    for (int i = 0; i < 50; ++i) samplePoint(view, i % 20, 5);
    Picture picture = pictureOf(view);
    EXPECT_EQ(paints(), 1);
    EXPECT_EQ(samplePoint(view, 15, 5), kClear);

    const PaintCounter& counter = objc::state<PaintCounter>(view.get());
    EXPECT_TRUE(counter.hadContext);
    EXPECT_TRUE(CGRectEqualToRect(counter.lastRect, CGRectMake(0, 0, 20, 10)));
}

TEST_F(DrawRectTest, PaintsAgainAfterSetNeedsDisplayAndAfterASizeChangeOnly) {
    samplePoint(view, 0, 0);
    view->setNeedsDisplay();
    EXPECT_EQ(paints(), 1);  // not before it is shown again
    samplePoint(view, 0, 0);
    EXPECT_EQ(paints(), 2);

    view->setFrame(CGRectMake(30, 30, 20, 10));  // moved, same size
    view->setBackgroundColor(UI::Color::greenColor());
    samplePoint(view, 0, 0);
    EXPECT_EQ(paints(), 2);

    view->setFrame(CGRectMake(30, 30, 40, 10));   // resized
    EXPECT_EQ(samplePoint(view, 15, 5), kRed);    // the left half is wider now
    EXPECT_EQ(samplePoint(view, 25, 5), kGreen);  // the background shows through
    EXPECT_EQ(paints(), 3);
}

TEST_F(DrawRectTest, TheBackingBitmapHasTheScreenScale) {
    Picture picture = pictureOf(view);
    ASSERT_EQ(picture.width(), 40);
    // The half-point line covers exactly one pixel of the two of its point.
    EXPECT_EQ(picture.at(0, 0), kBlue);
    EXPECT_EQ(picture.at(1, 0), kRed);
    EXPECT_EQ(picture.at(0, 2), kRed);
}

TEST_F(DrawRectTest, SamplingAPointOfAScreenScaleBitmapGivesThatPointsColourExactly) {
    Ref<UI::View> checkers = makeView(CGRectMake(0, 0, 4, 4), nullptr, checkerViewClass());
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 4; ++x) {
            Pixel expected{x * 80, y * 80, (x + y) % 2 ? 255 : 0, 255};
            EXPECT_EQ(samplePoint(checkers, x, y), expected) << x << ", " << y;
        }
    }
    // Past the edges nothing is there, not a stretched edge pixel.
    EXPECT_EQ(samplePoint(checkers, 4, 1), kClear);
    EXPECT_EQ(samplePoint(checkers, 1, -1), kClear);
}

TEST_F(DrawRectTest, UpdateDisplayPaintsShownWindowsAheadOfCompositing) {
    Ref<UI::Window> window = objc::adopt(UI::Window::alloc()->initWithFrame(CGRectMake(0, 0, 100, 100)));
    window->addSubview(view);
    UI::updateDisplay();
    EXPECT_EQ(paints(), 0);  // the window is not shown yet
    window->makeKeyAndVisible();
    UI::updateDisplay();
    EXPECT_EQ(paints(), 1);
    UI::updateDisplay();
    Picture screen(UI::screenshot::createScreenImage());
    EXPECT_EQ(paints(), 1);
    EXPECT_EQ(screen.at(4, 4), kRed);
    EXPECT_EQ(screen.at(300, 300), kBlack);  // outside the window: the screen's black
}

TEST_F(DrawRectTest, OnlyClassesWithTheirOwnDrawRectKeepABackingBitmap) {
    int before = paints();
    Ref<UI::View> plain = makeView(CGRectMake(0, 0, 10, 10), UI::Color::blueColor());
    plain->setNeedsDisplay();
    EXPECT_EQ(samplePoint(plain, 5, 5), kBlue);
    EXPECT_EQ(paints(), before);
}

}  // namespace
