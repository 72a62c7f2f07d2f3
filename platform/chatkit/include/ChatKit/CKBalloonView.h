// CKBalloonView: the balloon of one message, and CKTextBalloonView, a balloon
// holding text with an optional link.
//
// A balloon's bounds are its rounded body; its tail, when it has one, sticks
// out of the bottom corner on the sender's side. The body is painted by a
// CKGradientView subview from the kind's `*_balloonColors` (asked from
// CKUIBehavior at every layout), and the tail is asked for through the runtime
// (`hasTail`) at every layout, so whatever answers those messages shows.
// While the balloon is highlighted (a finger is on it) the kind's overlay
// colour is painted over the body.
//
// A balloon given a background colour shows that colour as its body instead
// of the gradient: a clear background leaves the body transparent, so that
// only the text and whatever border the layer is given show. Giving it nil
// brings the gradient back.
#pragma once

#include <UIKit/UIView.h>

namespace NS {
class String;
}

namespace CK {

class GradientView;

// blue: iMessage, green: SMS, gray: received.
enum class BalloonKind : NSInteger { Blue = 0, Green = 1, Gray = 2 };

// "blue", "green" or "gray": the prefix of the kind's CKUIBehavior getters.
constexpr const char* balloonKindName(BalloonKind kind) {
    return kind == BalloonKind::Green ? "green" : kind == BalloonKind::Gray ? "gray" : "blue";
}

class BalloonView : public UI::View {
public:
    static BalloonView* alloc() { return objc::send<BalloonView*>("CKBalloonView"_cls, "alloc"_sel); }
    BalloonView* initWithFrame(CGRect frame) { return objc::send<BalloonView*>(this, "initWithFrame:"_sel, frame); }

    // The system's answer: YES on the last balloon of a run of one sender.
    BOOL hasTail() const { return objc::send<BOOL>(this, "hasTail"_sel); }

    BalloonKind balloonKind() const { return BalloonKind(objc::send<NSInteger>(this, "balloonKind"_sel)); }
    void setBalloonKind(BalloonKind kind) { objc::send<void>(this, "setBalloonKind:"_sel, NSInteger(kind)); }
    // Sent balloons sit on the right with the tail on the right.
    BOOL isFromMe() const { return objc::send<BOOL>(this, "isFromMe"_sel); }
    void setFromMe(BOOL fromMe) { objc::send<void>(this, "setFromMe:"_sel, fromMe); }
    BOOL isLastInRun() const { return objc::send<BOOL>(this, "isLastInRun"_sel); }
    void setLastInRun(BOOL last) { objc::send<void>(this, "setLastInRun:"_sel, last); }
    BOOL isHighlighted() const { return objc::send<BOOL>(this, "isHighlighted"_sel); }
    void setHighlighted(BOOL highlighted) { objc::send<void>(this, "setHighlighted:"_sel, highlighted); }

    // The frame, in the balloon's coordinates, over which its gradient is
    // painted (the transcript gives each balloon its visible height, so the
    // gradient is fixed to the screen). Empty: the balloon's own body.
    CGRect gradientFrame() const { return objc::send<CGRect>(this, "gradientFrame"_sel); }
    void setGradientFrame(CGRect frame) { objc::send<void>(this, "setGradientFrame:"_sel, frame); }

    GradientView* gradientView() const { return objc::send<GradientView*>(this, "gradientView"_sel); }
};

class TextBalloonView : public BalloonView {
public:
    static TextBalloonView* alloc() { return objc::send<TextBalloonView*>("CKTextBalloonView"_cls, "alloc"_sel); }
    TextBalloonView* initWithFrame(CGRect frame) {
        return objc::send<TextBalloonView*>(this, "initWithFrame:"_sel, frame);
    }

    NS::String* text() const { return objc::send<NS::String*>(this, "text"_sel); }
    void setText(NS::String* text) { objc::send<void>(this, "setText:"_sel, text); }
    // The part of the text that is a link (drawn in the link colour and
    // underlined); nil or text not found in the message: no link.
    NS::String* linkText() const { return objc::send<NS::String*>(this, "linkText"_sel); }
    void setLinkText(NS::String* link) { objc::send<void>(this, "setLinkText:"_sel, link); }

    // The balloon's size for its text: the body around the text broken into
    // lines no wider than the widest a balloon may be in `size.width`.
    CGSize sizeThatFits(CGSize size) const { return objc::send<CGSize>(this, "sizeThatFits:"_sel, size); }
    // Where the text stands in the balloon's coordinates: set by the
    // balloon's own layoutSubviews, inset within the body; zero until then.
    CGRect textFrame() const { return objc::send<CGRect>(this, "textFrame"_sel); }
};

}  // namespace CK
