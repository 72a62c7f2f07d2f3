// CKUIBehavior: the Messages app's source of interface colours and display
// choices. The app asks the shared instance whenever it builds or lays out a
// view and uses what it is given; every getter makes a new autoreleased
// object on each call.
//
// Balloon kinds: blue (iMessage, sent), green (SMS, sent) and gray
// (received). `*_balloonColors` lists the colours of a balloon's gradient,
// the top colour first and the bottom colour last (any number of them).
#pragma once

#include <UIKit/UIColor.h>

namespace NS {
class Array;
}

namespace CK {

class UIBehavior : public NS::Object {
public:
    static UIBehavior* sharedBehaviors() { return objc::send<UIBehavior*>("CKUIBehavior"_cls, "sharedBehaviors"_sel); }

    UI::Color* transcriptBackgroundColor() const { return color("transcriptBackgroundColor"_sel); }

    NS::Array* blue_balloonColors() const { return objc::send<NS::Array*>(this, "blue_balloonColors"_sel); }
    UI::Color* blue_balloonOverlayColor() const { return color("blue_balloonOverlayColor"_sel); }
    UI::Color* blue_balloonTextColor() const { return color("blue_balloonTextColor"_sel); }
    UI::Color* blue_balloonTextLinkColor() const { return color("blue_balloonTextLinkColor"_sel); }
    UI::Color* blue_recipientTextColor() const { return color("blue_recipientTextColor"_sel); }
    UI::Color* blue_sendButtonColor() const { return color("blue_sendButtonColor"_sel); }
    UI::Color* blue_progressViewColor() const { return color("blue_progressViewColor"_sel); }

    NS::Array* green_balloonColors() const { return objc::send<NS::Array*>(this, "green_balloonColors"_sel); }
    UI::Color* green_balloonOverlayColor() const { return color("green_balloonOverlayColor"_sel); }
    UI::Color* green_balloonTextColor() const { return color("green_balloonTextColor"_sel); }
    UI::Color* green_balloonTextLinkColor() const { return color("green_balloonTextLinkColor"_sel); }
    UI::Color* green_recipientTextColor() const { return color("green_recipientTextColor"_sel); }
    UI::Color* green_sendButtonColor() const { return color("green_sendButtonColor"_sel); }
    UI::Color* green_progressViewColor() const { return color("green_progressViewColor"_sel); }

    NS::Array* gray_balloonColors() const { return objc::send<NS::Array*>(this, "gray_balloonColors"_sel); }
    UI::Color* gray_balloonOverlayColor() const { return color("gray_balloonOverlayColor"_sel); }
    UI::Color* gray_balloonTextColor() const { return color("gray_balloonTextColor"_sel); }
    UI::Color* gray_balloonTextLinkColor() const { return color("gray_balloonTextLinkColor"_sel); }
    UI::Color* gray_recipientTextColor() const { return color("gray_recipientTextColor"_sel); }
    UI::Color* gray_sendButtonColor() const { return color("gray_sendButtonColor"_sel); }
    UI::Color* gray_progressViewColor() const { return color("gray_progressViewColor"_sel); }

    UI::Color* appTintColor() const { return color("appTintColor"_sel); }
    UI::Color* entryFieldCoverFillColor() const { return color("entryFieldCoverFillColor"_sel); }
    UI::Color* entryFieldBackgroundColor() const { return color("entryFieldBackgroundColor"_sel); }
    UI::Color* entryFieldTextColor() const { return color("entryFieldTextColor"_sel); }

    // NO on the iPhone models, YES on the iPad.
    BOOL shouldShowContactPhotosInConversationList() const {
        return objc::send<BOOL>(this, "shouldShowContactPhotosInConversationList"_sel);
    }

    // Any colour getter by its selector (the kind-prefixed getters are asked
    // this way by views that know their balloon kind).
    UI::Color* color(SEL getter) const { return objc::send<UI::Color*>(this, getter); }
};

}  // namespace CK
