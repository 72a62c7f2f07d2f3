// CKConversationListController: the list of conversations, the first screen
// of the Messages app. Each row shows the name (bold), the last message (gray,
// up to two lines) and its date; a circular contact photo with the initials
// stands at the left of each row when CKUIBehavior's
// shouldShowContactPhotosInConversationList answers YES (asked at every
// layout). A tap on a row opens its transcript.
#pragma once

#include <UIKit/UIViewController.h>

namespace CK {

class ConversationListController : public UI::ViewController {
public:
    static ConversationListController* alloc() {
        return objc::send<ConversationListController*>("CKConversationListController"_cls, "alloc"_sel);
    }
    ConversationListController* init() { return objc::send<ConversationListController*>(this, "init"_sel); }
};

}  // namespace CK
