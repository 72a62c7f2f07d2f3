// What the view and the touch delivery need of gesture recognisers beyond
// their messages. Internal to UIKit.
#pragma once

#include <CoreGraphics/CoreGraphics.h>
#include <ObjCBridge/Runtime.h>

namespace UI {
class GestureRecognizer;
class Touch;
class View;
}  // namespace UI

namespace UI::detail {

// The view a recogniser is attached to (observed, not retained).
void setRecognizerView(GestureRecognizer* recognizer, View* view);

// Tells the recogniser where its finger is now, before its touch methods run.
void setRecognizerTouch(GestureRecognizer* recognizer, const Touch* touch);

// Where the finger is, in the coordinates of the touch's window.
CGPoint recognizerLocationInWindow(const GestureRecognizer* recognizer);
double recognizerTimestamp(const GestureRecognizer* recognizer);

// Back to Possible with reset sent, once the finger has lifted.
void resetRecognizer(GestureRecognizer* recognizer);

}  // namespace UI::detail
