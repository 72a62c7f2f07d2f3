// CKTextBalloonView: a balloon around a text. Its layout is the balloon's
// (body and tail) plus the text, inset within the body, in the kind's text and
// link colours from CKUIBehavior.
#include "ChatKitInternals.h"
#include "ChatKitMetrics.h"
#include "ChatKitRegistration.h"

#include <ChatKit/CKUIBehavior.h>
#include <Foundation/NSString.h>

#include <algorithm>

namespace chatkit {
namespace {

struct TextBalloonState {
    Ref<NS::String> text;
    Ref<NS::String> link;
    UI::View* textView = nullptr;  // a subview: owned by the view tree
};

TextBalloonState& stateOf(objc::AnyObject self) { return objc::state<TextBalloonState>(self); }

std::string utf8(NS::String* s) {
    const char* text = s ? s->UTF8String() : nullptr;
    return text ? text : "";
}

BalloonText balloonText(const TextBalloonState& s) { return {utf8(s.text.get()), utf8(s.link.get())}; }

id initWithFrame(id self, SEL cmd, CGRect frame) {
    self = objc::sendSuper<id>(self, "CKTextBalloonView"_cls, cmd, frame);
    if (self == nil) return nil;
    Ref<UI::View> textView = objc::adopt(newBalloonTextView({}));
    stateOf(self).textView = textView.get();
    objc::cast<UI::View>(self)->addSubview(textView.get());
    return self;
}

NS::String* text(id self, SEL) { return stateOf(self).text.get(); }
void setText(id self, SEL, NS::String* text) {
    TextBalloonState& s = stateOf(self);
    s.text = text ? objc::adopt(text->copy()) : Ref<NS::String>();
    setBalloonText(s.textView, balloonText(s));
    objc::cast<UI::View>(self)->setNeedsLayout();
}
NS::String* linkText(id self, SEL) { return stateOf(self).link.get(); }
void setLinkText(id self, SEL, NS::String* link) {
    TextBalloonState& s = stateOf(self);
    s.link = link ? objc::adopt(link->copy()) : Ref<NS::String>();
    setBalloonText(s.textView, balloonText(s));
}

CGRect textFrame(id self, SEL) { return stateOf(self).textView->frame(); }

CGSize sizeThatFits(id self, SEL, CGSize size) {
    const CGFloat inset = 2 * metrics::kBalloonInsetSide;
    CGSize text = balloonTextSize(balloonText(stateOf(self)), std::max<CGFloat>(size.width - inset, 1));
    return CGSizeMake(
        std::max(metrics::kBalloonMinWidth, text.width + inset),
        std::max(metrics::kBalloonMinHeight, text.height + metrics::kBalloonInsetTop + metrics::kBalloonInsetBottom));
}

void layoutSubviews(id self, SEL cmd) {
    checkSentAs(cmd, "layoutSubviews");
    objc::sendSuper<void>(self, "CKTextBalloonView"_cls, cmd);
    TextBalloonState& s = stateOf(self);
    auto* view = objc::cast<UI::View>(self);
    const CGRect b = view->bounds();
    const CGFloat textHeight = b.size.height - metrics::kBalloonInsetTop - metrics::kBalloonInsetBottom;
    s.textView->setFrame(CGRectMake(metrics::kBalloonInsetSide, metrics::kBalloonInsetTop,
                                    std::max<CGFloat>(b.size.width - 2 * metrics::kBalloonInsetSide, 0),
                                    std::max<CGFloat>(textHeight, 0)));
    CK::BalloonKind kind = objc::cast<CK::BalloonView>(self)->balloonKind();
    setBalloonTextColors(s.textView, behaviorColor(kindSelector(kind, "balloonTextColor")),
                         behaviorColor(kindSelector(kind, "balloonTextLinkColor")));
}

}  // namespace

void registerTextBalloonView() {
    objc::ClassBuilder("CKTextBalloonView", "CKBalloonView"_cls)
        .state<TextBalloonState>()
        .method("initWithFrame:", &initWithFrame)
        .method("text", &text)
        .method("setText:", &setText)
        .method("linkText", &linkText)
        .method("setLinkText:", &setLinkText)
        .method("sizeThatFits:", &sizeThatFits)
        .method("textFrame", &textFrame)
        .method("layoutSubviews", &layoutSubviews)
        .build();
}

}  // namespace chatkit
