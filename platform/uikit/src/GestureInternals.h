// What the view and the touch delivery need of gesture recognisers beyond
// their messages. Internal to UIKit.
#pragma once

#include <CoreGraphics/CoreGraphics.h>
#include <ObjCBridge/Runtime.h>

namespace UI::detail {

// The view a recogniser is attached to (observed, not retained).
void setRecognizerView(id recognizer, id view);

// Tells the recogniser where its finger is now, before its touch methods run.
void setRecognizerTouch(id recognizer, id touch);

// Where the finger is, in the coordinates of the touch's window.
CGPoint recognizerLocationInWindow(id recognizer);
double recognizerTimestamp(id recognizer);

// Back to Possible with reset sent, once the finger has lifted.
void resetRecognizer(id recognizer);

}  // namespace UI::detail
