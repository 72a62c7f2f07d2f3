// CKGradientView: top and bottom colours, evenly spaced stops, and a gradient
// frame larger than the view showing the view's slice of it.
#include "ChatKitTesting.h"

#include <Foundation/NSArray.h>

#include <initializer_list>
#include <vector>

namespace {

using cktest::ChatKitTest;
using cktest::Pixel;
using cktest::rgb;
using cktest::samplePoint;

class GradientTest : public ChatKitTest {
protected:
    // A 10 × `height` gradient view at the top left of the screen.
    CK::GradientView* gradient(std::initializer_list<std::uint32_t> colors, CGFloat height) {
        Ref<CK::GradientView> g = objc::adopt(CK::GradientView::alloc()->initWithFrame(CGRectMake(0, 0, 10, height)));
        NS::MutableArray* list = NS::MutableArray::array();
        for (std::uint32_t c : colors) {
            list->addObject(UI::Color::colorWithRed(CGFloat(c >> 16) / 255.0, CGFloat((c >> 8) & 0xFF) / 255.0,
                                                    CGFloat(c & 0xFF) / 255.0, 1));
        }
        g->setColors(list);
        return show(g.get());
    }
    // The colour of the row of points at y (its middle: y + 0.5).
    Pixel row(CK::GradientView* g, CGFloat y) { return samplePoint(g, 5, y); }
};

TEST_F(GradientTest, TheFirstColourIsAtTheTopAndTheLastAtTheBottom) {
    CK::GradientView* g = gradient({0xFF0000, 0x0000FF}, 100);
    // A row is half a point inside the ends: 0.5 % of the way.
    EXPECT_TRUE(cktest::near(row(g, 0), rgb(0xFF0000), 3)) << row(g, 0);
    EXPECT_TRUE(cktest::near(row(g, 99), rgb(0x0000FF), 3)) << row(g, 99);
    EXPECT_TRUE(cktest::near(row(g, 49.5), Pixel{128, 0, 128, 255}, 3)) << row(g, 49.5);
}

TEST_F(GradientTest, StopsAreEvenlySpacedWhateverTheirNumber) {
    const std::uint32_t six[] = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00, 0x00FFFF, 0xFF00FF};
    CK::GradientView* g = gradient({six[0], six[1], six[2], six[3], six[4], six[5]}, 100);
    // Stop k lies at 20 k points; sample the row centred on it.
    for (int k = 0; k < 6; ++k) {
        CGFloat y = std::min<CGFloat>(std::max<CGFloat>(20 * k - 0.5, 0), 99);
        EXPECT_TRUE(cktest::near(row(g, y), rgb(six[k]), 8)) << "stop " << k << ": " << row(g, y);
    }
    CK::GradientView* three = gradient({0xFF0000, 0x00FF00, 0x0000FF}, 100);
    EXPECT_TRUE(cktest::near(row(three, 49.5), rgb(0x00FF00), 3)) << row(three, 49.5);
}

TEST_F(GradientTest, OneColourFillsAndNoColourPaintsNothing) {
    CK::GradientView* one = gradient({0x123456}, 40);
    EXPECT_EQ(row(one, 0), rgb(0x123456));
    EXPECT_EQ(row(one, 39), rgb(0x123456));
    CK::GradientView* none = gradient({}, 40);
    EXPECT_EQ(row(none, 20), (Pixel{0, 0, 0, 0}));
}

TEST_F(GradientTest, AGradientFrameTallerThanTheViewShowsTheViewsSliceOfIt) {
    // The view is the lower half of a 200-point gradient from red to blue.
    CK::GradientView* g = gradient({0xFF0000, 0x0000FF}, 100);
    g->setGradientFrame(CGRectMake(0, -100, 10, 200));
    UI::updateDisplay();
    EXPECT_TRUE(cktest::near(row(g, 0), Pixel{127, 0, 128, 255}, 3)) << row(g, 0);
    EXPECT_TRUE(cktest::near(row(g, 99), rgb(0x0000FF), 3)) << row(g, 99);
    // Beyond the frame the end colours go on.
    g->setGradientFrame(CGRectMake(0, 0, 10, 50));
    UI::updateDisplay();
    EXPECT_EQ(row(g, 75), rgb(0x0000FF));
}

}  // namespace
