#include "Pixels.h"

namespace {

CGCairoFont font17() { return CGCairoFontWithName("Helvetica Neue", 17); }

TEST(TextLayout, MetricsAreThoseOfTheFace) {
    objc::AutoreleasePool pool;
    const CGCairoFontMetrics m = CGCairoFontGetMetrics(font17());
    // Liberation Sans: ascent 0.905 em, descent 0.212 em, caps 0.688 em.
    EXPECT_NEAR(m.ascent, 0.905 * 17, 0.2);
    EXPECT_NEAR(m.descent, 0.212 * 17, 0.2);
    EXPECT_NEAR(m.capHeight, 0.688 * 17, 0.2);
    EXPECT_GE(m.lineHeight, m.ascent + m.descent - 1e-9);
}

TEST(TextLayout, WrapsAtSpacesWithinTheWidth) {
    objc::AutoreleasePool pool;
    const CGCairoFont f = font17();
    const CGFloat width = CGCairoTextWidth(f, "Hello there") + 1;
    const CGCairoTextLayout l =
        CGCairoTextLayoutMake(f, "Hello there my good friend", width, CGCairoLineBreakByWordWrapping, 0);
    ASSERT_GE(l.lines.size(), 2u);
    EXPECT_EQ(l.lines[0], "Hello there");
    std::string joined;
    for (size_t i = 0; i < l.lines.size(); ++i) {
        EXPECT_LE(l.lineWidths[i], width) << l.lines[i];
        EXPECT_NE(l.lines[i].front(), ' ');
        joined += (i ? " " : "") + l.lines[i];
    }
    EXPECT_EQ(joined, "Hello there my good friend");
    EXPECT_DOUBLE_EQ(l.size.height, l.metrics.lineHeight * static_cast<double>(l.lines.size()));
}

TEST(TextLayout, LongWordsBreakBetweenCharactersAndNewlinesAlwaysBreak) {
    objc::AutoreleasePool pool;
    const CGCairoFont f = font17();
    const CGCairoTextLayout l =
        CGCairoTextLayoutMake(f, "Supercalifragilistic\nok", 60, CGCairoLineBreakByWordWrapping, 0);
    ASSERT_GE(l.lines.size(), 3u);
    EXPECT_EQ(l.lines.back(), "ok");
    std::string joined;
    for (size_t i = 0; i + 1 < l.lines.size(); ++i) {
        EXPECT_LE(l.lineWidths[i], 60);
        joined += l.lines[i];
    }
    EXPECT_EQ(joined, "Supercalifragilistic");
}

TEST(TextLayout, TruncationModes) {
    objc::AutoreleasePool pool;
    const CGCairoFont f = font17();
    const std::string text = "The quick brown fox jumps over the lazy dog";
    const CGFloat width = 120;
    const std::string ellipsis = "\xE2\x80\xA6";
    struct Case {
        CGCairoLineBreakMode mode;
        bool startsWithText, endsWithText;
    };
    for (const Case k :
         {Case{CGCairoLineBreakByTruncatingTail, true, false}, Case{CGCairoLineBreakByTruncatingHead, false, true},
          Case{CGCairoLineBreakByTruncatingMiddle, true, true}}) {
        const CGCairoTextLayout l = CGCairoTextLayoutMake(f, text, width, k.mode, 1);
        ASSERT_EQ(l.lines.size(), 1u);
        const std::string& line = l.lines[0];
        EXPECT_LE(l.lineWidths[0], width) << line;
        EXPECT_NE(line.find(ellipsis), std::string::npos) << line;
        EXPECT_EQ(line.rfind("The", 0) == 0, k.startsWithText) << line;
        EXPECT_EQ(line.size() >= 3 && line.compare(line.size() - 3, 3, "dog") == 0, k.endsWithText) << line;
    }
    // Clipping keeps the whole line; text that fits is left alone.
    EXPECT_EQ(CGCairoTextLayoutMake(f, text, width, CGCairoLineBreakByClipping, 1).lines[0], text);
    EXPECT_EQ(CGCairoTextLayoutMake(f, "Fox", width, CGCairoLineBreakByTruncatingTail, 1).lines[0], "Fox");
}

TEST(TextLayout, LineLimitTruncatesTheLastKeptLine) {
    objc::AutoreleasePool pool;
    const CGCairoFont f = font17();
    const CGCairoTextLayout l = CGCairoTextLayoutMake(f, "one two three four five six seven eight nine ten", 80,
                                                      CGCairoLineBreakByTruncatingTail, 2);
    ASSERT_EQ(l.lines.size(), 2u);
    EXPECT_EQ(l.lines[1].substr(l.lines[1].size() - 3), "\xE2\x80\xA6");
    EXPECT_LE(l.lineWidths[1], 80);
}

TEST(TextLayout, InvalidUTF8IsReplacedNotDropped) {
    objc::AutoreleasePool pool;
    const CGCairoTextLayout l = CGCairoTextLayoutMake(font17(),
                                                      std::string("a\xFF"
                                                                  "b",
                                                                  3),
                                                      0, CGCairoLineBreakByWordWrapping, 0);
    ASSERT_EQ(l.lines.size(), 1u);
    EXPECT_EQ(l.lines[0],
              "a\xEF\xBF\xBD"
              "b");
}

class TextDrawingTest : public cgtest::ContextTest {};

TEST_F(TextDrawingTest, LineDrawsUprightAboveItsBaselineInTheColour) {
    CGContextRef c = context(80, 30);
    CGColorRef red = CGColorCreateGenericRGB(1, 0, 0, 1);
    CGCairoContextShowText(c, font17(), "Hi", CGPointMake(5, 20), red);
    CGColorRelease(red);
    int inkAbove = 0, inkBelow = 0, nonRed = 0;
    for (size_t y = 0; y < 30; ++y) {
        for (size_t x = 0; x < 80; ++x) {
            const uint32_t p = cgtest::pixel(c, x, y);
            if (cgtest::alphaOf(p) < 128) continue;
            (y < 20 ? inkAbove : inkBelow)++;
            if (cgtest::greenOf(p) || cgtest::blueOf(p)) ++nonRed;
            EXPECT_GE(x, 5u);
            EXPECT_LT(x, 5 + CGCairoTextWidth(font17(), "Hi") + 1);
        }
    }
    EXPECT_GT(inkAbove, 40);
    EXPECT_EQ(inkBelow, 0);
    EXPECT_EQ(nonRed, 0);
}

TEST_F(TextDrawingTest, AlignmentPlacesLinesInTheRect) {
    const CGCairoFont f = font17();
    const CGFloat w = CGCairoTextWidth(f, "I");
    struct Case {
        CGCairoTextAlignment alignment;
        CGFloat left;
    };
    for (const Case k : {Case{CGCairoTextAlignmentLeft, 10}, Case{CGCairoTextAlignmentCenter, 10 + (100 - w) / 2},
                         Case{CGCairoTextAlignmentRight, 110 - w}}) {
        CGContextRef c = context(120, 30);
        CGCairoContextShowTextInRect(c, f, "I", CGRectMake(10, 2, 100, 26), k.alignment, CGCairoLineBreakByWordWrapping,
                                     0, nullptr);
        size_t minX = 999, maxX = 0;
        for (size_t y = 0; y < 30; ++y) {
            for (size_t x = 0; x < 120; ++x) {
                if (cgtest::alphaOf(cgtest::pixel(c, x, y)) > 128) {
                    minX = std::min(minX, x);
                    maxX = std::max(maxX, x);
                }
            }
        }
        EXPECT_GE(static_cast<CGFloat>(minX), k.left - 0.5) << k.alignment;
        EXPECT_LE(static_cast<CGFloat>(maxX), k.left + w + 0.5) << k.alignment;
    }
}

}  // namespace
