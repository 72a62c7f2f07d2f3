// UIAlertView: a message with buttons over a dimmed screen. `show` puts a
// white rounded panel, 270 points wide, over the key window; its buttons are
// drawn in the tint colour, the cancel button in bold. The cancel button has
// index 0 and the other buttons follow from 1 in the order given (from 0
// when there is no cancel button). Two buttons sit side by side, cancel at
// the left; more are stacked with cancel at the bottom.
//
// A tap on a button sends the delegate (not retained)
// alertView:clickedButtonAtIndex:, then the alert dismisses itself, sending
// alertView:willDismissWithButtonIndex: and alertView:didDismissWithButtonIndex:.
// A shown alert is kept by the screen until it is dismissed, so its creator
// may let it go right after `show`.
//
// The initialiser takes the other titles as a nil-terminated list, as on
// the phone; from C++ pass them as a list and the wrapper adds the nil:
//
//     alert->initWithTitle("Hex Color"_ns, message, self, "Close"_ns, {"Set"_ns, "Copy"_ns});
#pragma once

#include <Foundation/NSString.h>
#include <UIKit/UITextField.h>
#include <UIKit/UIView.h>

#include <initializer_list>
#include <string>
#include <vector>

namespace UI {

using UIAlertViewStyle = NSInteger;
inline constexpr UIAlertViewStyle UIAlertViewStyleDefault = 0;
inline constexpr UIAlertViewStyle UIAlertViewStyleSecureTextInput = 1;
inline constexpr UIAlertViewStyle UIAlertViewStylePlainTextInput = 2;
inline constexpr UIAlertViewStyle UIAlertViewStyleLoginAndPasswordInput = 3;

class AlertView : public View {
public:
    static AlertView* alloc() { return objc::send<AlertView*>("UIAlertView"_cls, "alloc"_sel); }

    // The other titles, in order; the nil that ends the list on the phone is
    // added here.
    AlertView* initWithTitle(const NS::String* title, const NS::String* message, objc::AnyObject delegate,
                             const NS::String* cancelButtonTitle, const std::vector<const NS::String*>& others) {
        using Init = id (*)(id, SEL, id, id, id, id, id, ...);
        SEL s = "initWithTitle:message:delegate:cancelButtonTitle:otherButtonTitles:"_sel;
        id self = objc::asId(this);
        auto imp = objc::detail::impAs<Init>(objc_msg_lookup(self, s));
        id alert = imp(self, s, objc::asId(title), objc::asId(message), delegate.get(), objc::asId(cancelButtonTitle),
                       static_cast<id>(nil));
        for (const NS::String* other : others) objc::send<NSInteger>(alert, "addButtonWithTitle:"_sel, other);
        return objc::cast<AlertView>(alert);
    }
    AlertView* initWithTitle(const NS::String* title, const NS::String* message, objc::AnyObject delegate,
                             const NS::String* cancelButtonTitle,
                             std::initializer_list<const NS::String*> others = {}) {
        return initWithTitle(title, message, delegate, cancelButtonTitle, std::vector<const NS::String*>(others));
    }

    // The index of the new button.
    NSInteger addButtonWithTitle(const NS::String* title) {
        return objc::send<NSInteger>(this, "addButtonWithTitle:"_sel, title);
    }
    NS::String* buttonTitleAtIndex(NSInteger index) const {
        return objc::send<NS::String*>(this, "buttonTitleAtIndex:"_sel, index);
    }
    NSInteger numberOfButtons() const { return objc::send<NSInteger>(this, "numberOfButtons"_sel); }
    // -1 without a cancel button.
    NSInteger cancelButtonIndex() const { return objc::send<NSInteger>(this, "cancelButtonIndex"_sel); }
    NSInteger firstOtherButtonIndex() const { return objc::send<NSInteger>(this, "firstOtherButtonIndex"_sel); }

    NS::String* title() const { return objc::send<NS::String*>(this, "title"_sel); }
    NS::String* message() const { return objc::send<NS::String*>(this, "message"_sel); }
    id delegate() const { return objc::send<id>(this, "delegate"_sel); }
    void setDelegate(objc::AnyObject delegate) { objc::send<void>(this, "setDelegate:"_sel, delegate.get()); }

    UIAlertViewStyle alertViewStyle() const { return objc::send<UIAlertViewStyle>(this, "alertViewStyle"_sel); }
    void setAlertViewStyle(UIAlertViewStyle style) { objc::send<void>(this, "setAlertViewStyle:"_sel, style); }
    // The style's text fields: one for plain or secure input, two for login
    // and password. Asking past them is a programmer mistake.
    TextField* textFieldAtIndex(NSInteger index) const {
        return objc::send<TextField*>(this, "textFieldAtIndex:"_sel, index);
    }

    void show() { objc::send<void>(this, "show"_sel); }
    void dismissWithClickedButtonIndex(NSInteger index, BOOL animated) {
        objc::send<void>(this, "dismissWithClickedButtonIndex:animated:"_sel, index, animated);
    }
    BOOL isVisible() const { return objc::send<BOOL>(this, "isVisible"_sel); }
};

namespace alert {

// For scripts: the alert on screen (the last shown), or nil.
AlertView* visibleAlert();
// Sets the text of the visible alert's text field; false without one.
bool setTextFieldText(const char* utf8, NSInteger index = 0);
// Taps the visible alert's button of that title through the window's touch
// delivery; false when there is no such button.
bool pressButton(const char* title);
// The button views of the visible alert in index order (for tests).
std::vector<View*> buttonViews();

}  // namespace alert
}  // namespace UI
