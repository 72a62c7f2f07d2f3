// CKTranscriptView: the transcript screen's view, as CKTranscriptController
// loads it: the balloons of the conversation under their timestamps (scrolled
// so the newest message sits above the entry bar), the recipient field, the
// progress bar of the message being sent and the entry bar with its field and
// "Send" button. Every colour is asked from CKUIBehavior at each layout.
#pragma once

#include <UIKit/UIView.h>

namespace NS {
class Array;
}

namespace UI {
class Button;
}

namespace CK {

class TranscriptView : public UI::View {
public:
    static TranscriptView* alloc() { return objc::send<TranscriptView*>("CKTranscriptView"_cls, "alloc"_sel); }
    // A transcript of the sample conversation.
    TranscriptView* initWithFrame(CGRect frame) {
        return objc::send<TranscriptView*>(this, "initWithFrame:"_sel, frame);
    }

    // The CKTextBalloonView of each message, oldest first (empty when the
    // system has no CKTextBalloonView).
    NS::Array* balloons() const { return objc::send<NS::Array*>(this, "balloons"_sel); }
    UI::Button* sendButton() const { return objc::send<UI::Button*>(this, "sendButton"_sel); }
    UI::View* progressView() const { return objc::send<UI::View*>(this, "progressView"_sel); }
    UI::View* entryField() const { return objc::send<UI::View*>(this, "entryField"_sel); }
};

}  // namespace CK
