// What ChatKit's classes tell each other beyond their runtime methods: the
// outline a balloon gives its gradient, and the balloon text view.
#pragma once

#include <ChatKit/CKBalloonView.h>
#include <CoreGraphics/CoreGraphics.h>

#include <string>

namespace NS {
class Array;
}

namespace UI {
class Color;
class View;
}  // namespace UI

namespace chatkit {

// The outline of a balloon in the coordinates of the view that paints it: a
// rounded body and, when it has one, the tail at the bottom corner on the
// sender's side, reaching metrics::kTailWidth beyond the body.
struct BalloonShape {
    CGRect body = CGRectZero;
    bool tail = false;
    bool tailOnRight = true;
};

// Adds the outline to the context's path.
void addBalloonPath(CGContextRef context, const BalloonShape& shape);

// A gradient view with an outline paints only inside it (without one it
// fills its bounds); the overlay colour, when set, is painted over the
// gradient inside the same outline.
void setGradientShape(UI::View* gradientView, const BalloonShape* shape);
void setGradientOverlay(UI::View* gradientView, UI::Color* overlay);

// The text of a balloon: one text with at most one link in it, drawn in the
// text colour with the link in the link colour and underlined.
struct BalloonText {
    std::string text;
    std::string link;  // a part of text, or empty
};

// The size the text takes when broken into lines no wider than maxWidth.
CGSize balloonTextSize(const BalloonText& text, CGFloat maxWidth);

// A view that draws BalloonText (+1); see CKBalloonTextView.cpp.
UI::View* newBalloonTextView(const BalloonText& text);
void setBalloonText(UI::View* textView, const BalloonText& text);
void setBalloonTextColors(UI::View* textView, UI::Color* text, UI::Color* link);

// The selector of a balloon kind's getter: kindSelector(Blue, "balloonColors")
// is blue_balloonColors.
SEL kindSelector(CK::BalloonKind kind, const char* getter);

// What the shared CKUIBehavior answers to a getter, asked through the
// runtime; nil (NO) when the system has no CKUIBehavior.
UI::Color* behaviorColor(SEL getter);
NS::Array* behaviorColors(SEL getter);
bool behaviorShowsContactPhotos();

// Every method a hook may replace has an implementation of its own, which
// stops the app, naming both selectors, when it is sent with a selector not
// its own: a hook fell back to another method's saved implementation. (The
// colour and gradient getters answer a mismatch colour instead; see
// CKUIBehavior.cpp.)
void checkSentAs(SEL cmd, const char* selector);

}  // namespace chatkit

namespace chatkit {

struct SampleListRow;

// A row of the conversation list (+1); a tap sends `action` (taking the
// cell) to `target`, which is not retained.
UI::View* newConversationListCell(const SampleListRow& row, id target, SEL action);

}  // namespace chatkit
