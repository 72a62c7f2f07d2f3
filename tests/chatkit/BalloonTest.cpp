// Balloons: tails per run, the tail asked through the runtime, the painted
// body, the highlight overlay, and the transparent look a clear background
// with a layer border gives.
#include "ChatKitTesting.h"

#include <ChatKit/SampleConversation.h>
#include <Foundation/NSArray.h>
#include <Foundation/NSString.h>

#include <vector>

namespace {

using cktest::ChatKitTest;
using cktest::Pixel;
using cktest::rgb;
using cktest::samplePoint;
using K = CK::BalloonKind;

TEST(SampleRuns, ARunEndsWhereTheSenderChangesOrANewTimestampBegins) {
    struct Case {
        const char* what;
        std::vector<std::vector<bool>> sectionsFromMe;
        std::vector<bool> last;
    };
    const Case cases[] = {
        {"alternating", {{true, false, true}}, {true, true, true}},
        {"runs", {{true, true, false, false, false, true}}, {false, true, false, false, true, true}},
        {"a timestamp ends a run", {{true, true}, {true}}, {false, true, true}},
        {"an empty section", {{}, {false, false}}, {false, true}},
    };
    for (const Case& c : cases) {
        chatkit::SampleConversation conversation{"x", K::Blue, {}, 0, ""};
        for (const auto& section : c.sectionsFromMe) {
            chatkit::SampleSection s{"", "Today", "1:00 PM", {}};
            for (bool fromMe : section) s.messages.push_back({fromMe ? K::Blue : K::Gray, fromMe, "hi", ""});
            conversation.sections.push_back(s);
        }
        EXPECT_EQ(chatkit::sampleLastInRun(conversation), c.last) << c.what;
    }
}

TEST_F(ChatKitTest, TheTranscriptsBalloonsHaveTailsOnTheLastOfEachRun) {
    Ref<CK::TranscriptView> transcript =
        objc::adopt(CK::TranscriptView::alloc()->initWithFrame(UI::Screen::mainScreen()->bounds()));
    NS::Array* balloons = transcript->balloons();
    std::vector<bool> tails;
    for (NSUInteger i = 0; i < balloons->count(); ++i) {
        tails.push_back(objc::send<BOOL>(balloons->objectAtIndex(i), "hasTail"_sel));
    }
    // green: two sent; then gray two, blue two, gray one, blue one.
    EXPECT_EQ(tails, (std::vector<bool>{false, true, false, true, false, true, true, true}));
}

class BalloonTest : public ChatKitTest {
protected:
    // A text balloon at (40, 100) on a white backdrop.
    CK::TextBalloonView* balloon(K kind, bool fromMe, bool last) {
        if (!backdrop_) {
            backdrop_ = objc::adopt(UI::View::alloc()->initWithFrame(UI::Screen::mainScreen()->bounds()));
            backdrop_->setBackgroundColor(UI::Color::whiteColor());
            show(backdrop_.get());
        }
        Ref<CK::TextBalloonView> b = objc::adopt(CK::TextBalloonView::alloc()->initWithFrame(CGRectZero));
        b->setBalloonKind(kind);
        b->setFromMe(fromMe);
        b->setLastInRun(last);
        b->setText("Hello there"_ns);
        CGSize size = b->sizeThatFits(CGSizeMake(200, 1000));
        b->setFrame(CGRectMake(40, 100, size.width, size.height));
        backdrop_->addSubview(b.get());
        UI::updateDisplay();
        return b.get();
    }
    // Just outside the body's bottom corner on the sender's side, where only
    // a tail paints.
    static CGPoint tailPoint(CK::BalloonView* b) {
        CGRect f = b->frame();
        return b->isFromMe() ? CGPointMake(CGRectGetMaxX(f) + 3, CGRectGetMaxY(f) - 1.5)
                             : CGPointMake(CGRectGetMinX(f) - 4, CGRectGetMaxY(f) - 1.5);
    }
    Pixel at(CGPoint p) { return samplePoint(backdrop_.get(), p.x, p.y); }

    Ref<UI::View> backdrop_;
};

TEST_F(BalloonTest, TheTailIsPaintedOnTheSendersSideOnlyWhenHasTailSaysSo) {
    const Pixel white = rgb(0xFFFFFF);
    for (bool fromMe : {true, false}) {
        CK::TextBalloonView* withTail = balloon(fromMe ? K::Blue : K::Gray, fromMe, true);
        EXPECT_NE(at(tailPoint(withTail)), white) << "fromMe " << fromMe;
        withTail->removeFromSuperview();
        CK::TextBalloonView* without = balloon(fromMe ? K::Blue : K::Gray, fromMe, false);
        EXPECT_EQ(at(tailPoint(without)), white) << "fromMe " << fromMe;
        without->removeFromSuperview();
    }
}

BOOL never(id, SEL) { return NO; }

TEST_F(BalloonTest, TheTailIsAskedThroughTheRuntimeAtEachLayout) {
    // A subclass that answers hasTail itself, as a hook or an override would.
    static Class tailless =
        objc::ClassBuilder("TaillessTextBalloon", "CKTextBalloonView"_cls).method("hasTail", &never).build();
    CK::TextBalloonView* b = balloon(K::Blue, true, true);
    ASSERT_NE(at(tailPoint(b)), rgb(0xFFFFFF));
    object_setClass(objc::asId(b), tailless);
    b->setNeedsLayout();
    UI::updateDisplay();
    EXPECT_EQ(at(tailPoint(b)), rgb(0xFFFFFF));
}

TEST_F(BalloonTest, TheBodyIsTheKindsGradientAndTheHighlightLaysTheOverlayOverIt) {
    CK::TextBalloonView* b = balloon(K::Gray, false, true);
    // Without a gradient frame the gradient spans the body: its top row is
    // the first colour.
    const CGPoint top = CGPointMake(CGRectGetMidX(b->frame()), CGRectGetMinY(b->frame()) + 0.5);
    Pixel normal = at(top);
    EXPECT_TRUE(cktest::near(normal, rgb(0xE9E9EE))) << normal;
    b->setHighlighted(YES);
    UI::updateDisplay();
    Pixel pressed = at(top);
    // Black at alpha 0.05 over the body.
    EXPECT_TRUE(
        cktest::near(pressed, Pixel{int(0xE9 * 0.95 + 0.5), int(0xE9 * 0.95 + 0.5), int(0xEE * 0.95 + 0.5), 255}))
        << pressed;
    b->setHighlighted(NO);
    UI::updateDisplay();
    EXPECT_EQ(at(top), normal);
}

TEST_F(BalloonTest, AClearBackgroundWithABorderIsATransparentBorderedBalloon) {
    CK::TextBalloonView* b = balloon(K::Blue, true, true);
    const CGRect f = b->frame();
    const CGPoint inside = CGPointMake(CGRectGetMinX(f) + 5, CGRectGetMidY(f));
    const CGPoint edge = CGPointMake(CGRectGetMinX(f) + 0.5, CGRectGetMidY(f));
    ASSERT_FALSE(cktest::near(at(inside), rgb(0xFFFFFF), 20));

    // What the hook library's transparent style does after the balloon's own layout.
    b->layer()->setBorderColor(UI::Color::colorWithRed(0x5F / 255.0, 0xC6 / 255.0, 0xF4 / 255.0, 1)->CGColor());
    b->setBackgroundColor(UI::Color::clearColor());
    b->layer()->setBorderWidth(2);
    b->layer()->setMasksToBounds(YES);
    b->layer()->setCornerRadius(10);
    UI::updateDisplay();

    EXPECT_EQ(at(inside), rgb(0xFFFFFF)) << "the backdrop shows through the body";
    EXPECT_EQ(at(edge), rgb(0x5FC6F4)) << "the border";
    // Clipped to the rounded bounds: the corner itself stays clear, and so
    // does where the tail would be.
    EXPECT_EQ(at(CGPointMake(CGRectGetMinX(f) + 0.5, CGRectGetMinY(f) + 0.5)), rgb(0xFFFFFF));
    EXPECT_EQ(at(tailPoint(b)), rgb(0xFFFFFF));

    b->setBackgroundColor(nullptr);
    b->layer()->setBorderWidth(0);
    UI::updateDisplay();
    EXPECT_FALSE(cktest::near(at(inside), rgb(0xFFFFFF), 20)) << "no background colour: the gradient again";
}

}  // namespace
