// Index paths and fonts: the small value classes of the controls.
#include "ControlsTesting.h"

#include <UIKit/NSIndexPath.h>
#include <UIKit/UIFont.h>

namespace {

using NS::IndexPath;

class ValueTypesTest : public ctltest::ControlsTest {};

TEST_F(ValueTypesTest, IndexPathsAreEqualByValueAndOrderBySectionThenRow) {
    struct Case {
        NSInteger s1, r1, s2, r2;
        NSComparisonResult order;
    };
    const Case cases[] = {
        {0, 0, 0, 0, NSOrderedSame},      {0, 1, 0, 2, NSOrderedAscending},  {1, 0, 0, 9, NSOrderedDescending},
        {2, 5, 3, 0, NSOrderedAscending}, {4, 4, 4, 3, NSOrderedDescending},
    };
    for (const Case& c : cases) {
        IndexPath* a = IndexPath::indexPathForRow(c.r1, c.s1);
        IndexPath* b = IndexPath::indexPathForRow(c.r2, c.s2);
        EXPECT_EQ(a->compare(b), c.order);
        EXPECT_EQ(b->compare(a), -c.order);
        EXPECT_EQ(a->isEqual(b), c.order == NSOrderedSame);
        if (c.order == NSOrderedSame) {
            EXPECT_EQ(a->hash(), b->hash());
        }
    }
    IndexPath* p = IndexPath::indexPathForRow(3, 7);
    EXPECT_EQ(p->row(), 3);
    EXPECT_EQ(p->section(), 7);
    EXPECT_FALSE(p->isEqual("3"_ns));
}

TEST_F(ValueTypesTest, FontsKeepTheirFaceInBothNameFormsAndTheirSize) {
    struct Case {
        UI::Font* font;
        const char* name;
        const char* family;
        CGFloat size;
    };
    const Case cases[] = {
        {UI::Font::systemFontOfSize(17), "HelveticaNeue", "Helvetica Neue", 17},
        {UI::Font::boldSystemFontOfSize(13), "HelveticaNeue-Bold", "Helvetica Neue", 13},
        {UI::Font::fontWithName("HelveticaNeue-Medium"_ns, 17), "HelveticaNeue-Medium", "Helvetica Neue", 17},
        {UI::Font::fontWithName("Helvetica Neue Medium"_ns, 17), "HelveticaNeue-Medium", "Helvetica Neue", 17},
        {UI::Font::systemFontOfSize(0), "HelveticaNeue", "Helvetica Neue", 12},
    };
    for (const Case& c : cases) {
        EXPECT_STREQ(c.font->fontName()->UTF8String(), c.name);
        EXPECT_STREQ(c.font->familyName()->UTF8String(), c.family);
        EXPECT_EQ(c.font->pointSize(), c.size);
    }
    EXPECT_EQ(UI::Font::fontWithName(nullptr, 12), nullptr);
}

TEST_F(ValueTypesTest, FontMetricsScaleWithTheSize) {
    UI::Font* small = UI::Font::systemFontOfSize(10);
    UI::Font* large = small->fontWithSize(20);
    EXPECT_GT(small->ascender(), 0);
    EXPECT_LT(small->descender(), 0);
    EXPECT_NEAR(large->lineHeight(), 2 * small->lineHeight(), 0.05);
    EXPECT_NEAR(large->capHeight(), 2 * small->capHeight(), 0.05);
    EXPECT_TRUE(large->isEqual(UI::Font::systemFontOfSize(20)));
}

}  // namespace
