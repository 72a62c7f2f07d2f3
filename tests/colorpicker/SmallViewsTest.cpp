// The checkerboard and the pushed view.
#include "ColorPickerTestSupport.h"

#include "PFColorTransparentView.h"
#include "UIPushedView.h"

#include <gtest/gtest.h>

namespace {

using colorpicker_test::Pixel;
using colorpicker_test::Snapshot;

class SmallViews : public colorpicker_test::KitTest {};

constexpr Pixel kWhite{255, 255, 255, 255};

bool isGrey(const Pixel& p) { return p.a == 255 && p.r == p.g && p.g == p.b && std::abs(p.r - 128) <= 1; }

TEST_F(SmallViews, CheckerboardAlternatesFromAWhiteCorner) {
    Ref<PFColorTransparentView> board =
        objc::adopt(PFColorTransparentView::alloc()->initWithFrame(CGRectMake(0, 0, 50, 30)));
    board->layer()->displayIfNeeded();
    Snapshot shot(board);
    // Rows y = 0 and y = 20, squares x = 0, 20, 40; the last ones are clipped.
    EXPECT_EQ(shot.at(0, 0), kWhite);
    EXPECT_EQ(shot.at(19.5, 19.5), kWhite);
    EXPECT_TRUE(isGrey(shot.at(20, 0))) << shot.at(20, 0);
    EXPECT_EQ(shot.at(40, 0), kWhite);
    EXPECT_EQ(shot.at(49.5, 19.5), kWhite);
    EXPECT_TRUE(isGrey(shot.at(0, 20))) << shot.at(0, 20);
    EXPECT_EQ(shot.at(20, 20), kWhite);
    EXPECT_TRUE(isGrey(shot.at(45, 29.5))) << shot.at(45, 29.5);
    // Nothing of the view stays undrawn.
    for (int y = 0; y < 30; ++y) {
        for (int x = 0; x < 50; ++x) ASSERT_EQ(shot.at(x, y).a, 255) << x << "," << y;
    }
}

TEST_F(SmallViews, PushedViewKeepsBelowTheBars) {
    Ref<UI::View> parent = objc::adopt(UI::View::alloc()->initWithFrame(CGRectMake(0, 0, 320, 480)));
    Ref<UIPushedView> inside = objc::adopt(UIPushedView::alloc()->initWithFrame(CGRectMake(0, 0, 320, 10)));
    parent->addSubview(inside);
    Ref<UIPushedView> alone = objc::adopt(UIPushedView::alloc()->initWithFrame(CGRectMake(0, 0, 320, 10)));

    struct Case {
        UIPushedView* view;
        CGRect given;
        CGRect result;
    };
    const Case cases[] = {
        {inside, CGRectMake(0, 0, 320, 100), CGRectMake(0, 64, 320, 416)},
        {alone, CGRectMake(0, 0, 320, 100), CGRectMake(0, 64, 320, 100)},
        {inside, CGRectMake(12, 300, 200, 5), CGRectMake(12, 64, 200, 416)},  // y never counts
        {alone, CGRectMake(0, -40, 320, 100), CGRectMake(0, 64, 320, 100)},
    };
    for (const Case& c : cases) {
        c.view->setFrame(c.given);
        EXPECT_TRUE(CGRectEqualToRect(c.view->frame(), c.result))
            << c.view->frame().origin.x << "," << c.view->frame().origin.y << " " << c.view->frame().size.width << "x"
            << c.view->frame().size.height;
    }
    // A superview that grows is followed at the next setFrame:.
    parent->setFrame(CGRectMake(0, 0, 320, 568));
    inside->setFrame(inside->frame());
    EXPECT_EQ(inside->frame().size.height, 504);
}

}  // namespace
