// CKTranscriptController: the controller of a conversation's transcript
// screen. Its loadView makes the transcript view (CKTranscriptView) over the
// screen, in CKUIBehavior's transcript background colour, and the details
// button ("Details", at the right of the navigation bar), tinted with the
// app tint.
#pragma once

#include <UIKit/UIViewController.h>

namespace UI {
class Button;
}

namespace CK {

class TranscriptController : public UI::ViewController {
public:
    static TranscriptController* alloc() {
        return objc::send<TranscriptController*>("CKTranscriptController"_cls, "alloc"_sel);
    }
    TranscriptController* init() { return objc::send<TranscriptController*>(this, "init"_sel); }

    // Made by loadView; nil before the view is loaded.
    UI::Button* detailsButton() const { return objc::send<UI::Button*>(this, "detailsButton"_sel); }
};

}  // namespace CK
