// CKBalloonView: lays out its gradient subview (body and tail) from
// CKUIBehavior's colours and its own hasTail, asked anew at every layout.
#include "ChatKitInternals.h"
#include "ChatKitMetrics.h"
#include "ChatKitRegistration.h"

#include <ChatKit/CKGradientView.h>
#include <ChatKit/CKUIBehavior.h>
#include <Foundation/NSArray.h>

#include <string>

namespace chatkit {
namespace {

struct BalloonState {
    CK::BalloonKind kind = CK::BalloonKind::Blue;
    bool fromMe = true;
    bool lastInRun = true;
    bool highlighted = false;
    CGRect gradientFrame = CGRectZero;
    CK::GradientView* gradient = nullptr;  // a subview: owned by the view tree
};

BalloonState& stateOf(objc::AnyObject self) { return objc::state<BalloonState>(self); }

id initWithFrame(id self, SEL cmd, CGRect frame) {
    self = objc::sendSuper<id>(self, "CKBalloonView"_cls, cmd, frame);
    if (self == nil) return nil;
    auto* view = objc::cast<UI::View>(self);
    view->setOpaque(NO);
    if ("CKGradientView"_cls == Nil) return self;
    Ref<CK::GradientView> gradient = objc::adopt(CK::GradientView::alloc()->initWithFrame(view->bounds()));
    stateOf(self).gradient = gradient.get();
    view->addSubview(gradient.get());
    return self;
}

BOOL hasTail(id self, SEL cmd) {
    checkSentAs(cmd, "hasTail");
    return stateOf(self).lastInRun ? YES : NO;
}

NSInteger balloonKind(id self, SEL) { return NSInteger(stateOf(self).kind); }
void setBalloonKind(id self, SEL, NSInteger kind) {
    if (kind < 0 || kind > 2) objc::fatal("CKBalloonView: no balloon kind %ld", kind);
    stateOf(self).kind = CK::BalloonKind(kind);
    objc::cast<UI::View>(self)->setNeedsLayout();
}
BOOL isFromMe(id self, SEL) { return stateOf(self).fromMe; }
void setFromMe(id self, SEL, BOOL fromMe) {
    stateOf(self).fromMe = fromMe;
    objc::cast<UI::View>(self)->setNeedsLayout();
}
BOOL isLastInRun(id self, SEL) { return stateOf(self).lastInRun; }
void setLastInRun(id self, SEL, BOOL last) {
    stateOf(self).lastInRun = last;
    objc::cast<UI::View>(self)->setNeedsLayout();
}
BOOL isHighlighted(id self, SEL) { return stateOf(self).highlighted; }
void setHighlighted(id self, SEL, BOOL highlighted) {
    if (stateOf(self).highlighted == bool(highlighted)) return;
    stateOf(self).highlighted = highlighted;
    objc::cast<UI::View>(self)->setNeedsLayout();
}
CGRect gradientFrame(id self, SEL) { return stateOf(self).gradientFrame; }
void setGradientFrame(id self, SEL, CGRect frame) {
    stateOf(self).gradientFrame = frame;
    objc::cast<UI::View>(self)->setNeedsLayout();
}
id gradientView(id self, SEL) { return objc::asId(stateOf(self).gradient); }

// An explicit background colour is the body: the gradient steps aside.
void setBackgroundColor(id self, SEL cmd, UI::Color* color) {
    objc::sendSuper<void>(self, "CKBalloonView"_cls, cmd, color);
    if (UI::View* gradient = stateOf(self).gradient) gradient->setHidden(color != nullptr);
}

void layoutSubviews(id self, SEL cmd) {
    objc::sendSuper<void>(self, "CKBalloonView"_cls, cmd);
    BalloonState& s = stateOf(self);
    auto* view = objc::cast<UI::View>(self);

    const CGRect bounds = view->bounds();
    const CGFloat tw = metrics::kTailWidth;
    // The gradient covers the body and the tail's room on the sender's side.
    CGRect frame = bounds;
    frame.size.width += tw;
    if (!s.fromMe) frame.origin.x -= tw;

    BalloonShape shape;
    shape.body = CGRectMake(s.fromMe ? 0 : tw, 0, bounds.size.width, bounds.size.height);
    shape.tail = objc::send<BOOL>(self, "hasTail"_sel);
    shape.tailOnRight = s.fromMe;

    CGRect g = CGRectIsEmpty(s.gradientFrame) ? bounds : s.gradientFrame;
    g.origin.x -= frame.origin.x;
    g.origin.y -= frame.origin.y;
    NS::Array* colors = behaviorColors(kindSelector(s.kind, "balloonColors"));
    UI::Color* overlay = s.highlighted ? behaviorColor(kindSelector(s.kind, "balloonOverlayColor")) : nullptr;
    // A system without CKGradientView paints no body.
    if (s.gradient == nullptr) return;
    s.gradient->setFrame(frame);
    setGradientShape(s.gradient, &shape);
    s.gradient->setGradientFrame(g);
    s.gradient->setColors(colors);
    setGradientOverlay(s.gradient, overlay);
}

// A finger on the balloon highlights it until it lifts.
void touchesBegan(id self, SEL, id, id) { objc::send<void>(self, "setHighlighted:"_sel, YES); }
void touchesEnded(id self, SEL, id, id) { objc::send<void>(self, "setHighlighted:"_sel, NO); }

}  // namespace

SEL kindSelector(CK::BalloonKind kind, const char* getter) {
    return sel_registerName((std::string(CK::balloonKindName(kind)) + "_" + getter).c_str());
}

void registerBalloonView() {
    objc::ClassBuilder("CKBalloonView", "UIView"_cls)
        .state<BalloonState>()
        .method("initWithFrame:", &initWithFrame)
        .method("hasTail", &hasTail)
        .method("balloonKind", &balloonKind)
        .method("setBalloonKind:", &setBalloonKind)
        .method("isFromMe", &isFromMe)
        .method("setFromMe:", &setFromMe)
        .method("isLastInRun", &isLastInRun)
        .method("setLastInRun:", &setLastInRun)
        .method("isHighlighted", &isHighlighted)
        .method("setHighlighted:", &setHighlighted)
        .method("gradientFrame", &gradientFrame)
        .method("setGradientFrame:", &setGradientFrame)
        .method("gradientView", &gradientView)
        .method("setBackgroundColor:", &setBackgroundColor)
        .method("layoutSubviews", &layoutSubviews)
        .method("touchesBegan:withEvent:", &touchesBegan)
        .method("touchesEnded:withEvent:", &touchesEnded)
        .method("touchesCancelled:withEvent:", &touchesEnded)
        .build();
}

}  // namespace chatkit
