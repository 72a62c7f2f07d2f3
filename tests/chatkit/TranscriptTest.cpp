// The transcript screen: its layout on every screen, and every colour it
// shows asked from CKUIBehavior through the runtime when it lays out.
#include "ChatKitTesting.h"

#include <Foundation/NSArray.h>
#include <UIKit/UIButton.h>

#include <functional>
#include <vector>

namespace {

using cktest::ChatKitTest;

TEST_F(ChatKitTest, BalloonsStackInOrderOnTheirSidesWithinTheScreenOnEveryModel) {
    for (auto model : {UI::screen::Model::iPhone4, UI::screen::Model::iPhone5, UI::screen::Model::iPad}) {
        UI::screen::setModel(model);
        const CGRect screen = UI::Screen::mainScreen()->bounds();
        Ref<CK::TranscriptView> t = objc::adopt(CK::TranscriptView::alloc()->initWithFrame(screen));
        t->layoutIfNeeded();
        NS::Array* balloons = t->balloons();
        ASSERT_EQ(balloons->count(), 8u);
        const char* name = UI::screen::modelName(model);
        CGFloat previousBottom = -1e9, sentRight = -1, receivedLeft = -1;
        for (NSUInteger i = 0; i < balloons->count(); ++i) {
            auto* b = objc::cast<CK::TextBalloonView>(balloons->objectAtIndex(i));
            b->layoutIfNeeded();
            CGRect f = b->convertRectToView(b->bounds(), t.get());
            EXPECT_GE(f.origin.y, previousBottom + 2) << name << " balloon " << i << " overlaps the one above";
            previousBottom = CGRectGetMaxY(f);
            EXPECT_LE(f.size.width, screen.size.width * 2 / 3 + 0.5) << name << " balloon " << i;
            EXPECT_GE(f.size.height, 35) << name << " balloon " << i;
            if (b->isFromMe()) {
                if (sentRight < 0) sentRight = CGRectGetMaxX(f);
                EXPECT_EQ(CGRectGetMaxX(f), sentRight) << name << " sent balloon " << i;
                EXPECT_GT(f.origin.x, screen.size.width / 4) << name;
            } else {
                if (receivedLeft < 0) receivedLeft = f.origin.x;
                EXPECT_EQ(f.origin.x, receivedLeft) << name << " received balloon " << i;
            }
        }
        // Room for the tails at both edges; the newest message just above
        // the entry bar, unless the whole conversation fits below the
        // recipient field (64 + 44) with room to spare, as on the iPad.
        EXPECT_LE(sentRight, screen.size.width - 6) << name;
        EXPECT_GE(receivedLeft, 6) << name;
        EXPECT_LE(previousBottom, screen.size.height - 44) << name;
        auto* firstBalloon = objc::cast<UI::View>(balloons->objectAtIndex(0));
        CGRect first = firstBalloon->convertRectToView(firstBalloon->bounds(), t.get());
        const bool fits = model == UI::screen::Model::iPad;
        if (fits) {
            EXPECT_LT(CGRectGetMinY(first), 108 + 60) << name << ": a short conversation starts at the top";
            EXPECT_LT(previousBottom, screen.size.height - 200) << name;
        } else {
            EXPECT_GE(previousBottom, screen.size.height - 44 - 20) << name;
        }
    }
}

UI::Color* magenta(id, SEL) { return UI::Color::magentaColor(); }
NS::Array* magentaList(id, SEL) { return NS::Array::arrayWithObject(UI::Color::magentaColor()); }

TEST_F(ChatKitTest, EveryColourOfTheTranscriptComesFromCKUIBehaviorAtLayout) {
    struct Case {
        const char* getter;
        std::function<id(CK::TranscriptController*)> shown;
    };
    auto transcriptOf = [](CK::TranscriptController* c) { return objc::cast<CK::TranscriptView>(c->view()); };
    const Case cases[] = {
        {"transcriptBackgroundColor",
         [](CK::TranscriptController* c) { return objc::asId(c->view()->backgroundColor()); }},
        {"appTintColor", [](CK::TranscriptController* c) { return objc::asId(c->detailsButton()->tintColor()); }},
        {"blue_sendButtonColor",
         [&](CK::TranscriptController* c) { return objc::asId(transcriptOf(c)->sendButton()->tintColor()); }},
        {"blue_progressViewColor",
         [&](CK::TranscriptController* c) { return objc::asId(transcriptOf(c)->progressView()->backgroundColor()); }},
        {"entryFieldBackgroundColor",
         [&](CK::TranscriptController* c) { return objc::asId(transcriptOf(c)->entryField()->backgroundColor()); }},
        {"entryFieldCoverFillColor",
         [&](CK::TranscriptController* c) {
             return objc::asId(transcriptOf(c)->entryField()->superview()->backgroundColor());
         }},
    };
    for (const Case& c : cases) {
        cktest::MethodOverride override("CKUIBehavior"_cls, objc::sel(c.getter), &magenta);
        Ref<CK::TranscriptController> controller = objc::adopt(CK::TranscriptController::alloc()->init());
        controller->view()->layoutIfNeeded();
        auto* shown = objc::cast<UI::Color>(c.shown(controller.get()));
        EXPECT_TRUE(shown && shown->isEqual(UI::Color::magentaColor())) << c.getter;
    }

    // Balloon colours too, by kind: only the blue balloons take the blue list.
    cktest::MethodOverride override("CKUIBehavior"_cls, "blue_balloonColors"_sel, &magentaList);
    Ref<CK::TranscriptController> controller = objc::adopt(CK::TranscriptController::alloc()->init());
    NS::Array* balloons = transcriptOf(controller.get())->balloons();
    controller->view()->layoutIfNeeded();
    for (NSUInteger i = 0; i < balloons->count(); ++i) {
        auto* b = objc::cast<CK::BalloonView>(balloons->objectAtIndex(i));
        b->layoutIfNeeded();
        NS::Array* colors = b->gradientView()->colors();
        bool isMagenta =
            colors->count() == 1 && objc::cast<UI::Color>(colors->objectAtIndex(0))->isEqual(UI::Color::magentaColor());
        EXPECT_EQ(isMagenta, b->balloonKind() == CK::BalloonKind::Blue) << "balloon " << i;
    }
}

}  // namespace
