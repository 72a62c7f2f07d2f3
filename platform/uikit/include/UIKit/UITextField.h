// UITextField: one line of editable text. The rounded-rect style (3) draws a
// white field with a light rounded border; the text (or, while empty, the
// placeholder in light gray) sits 7 points in from the left, centred
// vertically. A touch starts editing (the field becomes first responder and
// shows a caret in the tint colour); typed text arrives through insertText:
// and deleteBackward, each sending editing-changed. The delegate (not
// retained) may answer textFieldShouldBeginEditing:, textFieldDidBeginEditing:,
// textFieldShouldReturn: and textFieldDidEndEditing:.
#pragma once

#include <Foundation/NSString.h>
#include <UIKit/UIControl.h>
#include <UIKit/UIFont.h>
#include <UIKit/UILabel.h>

namespace UI {

using UITextBorderStyle = NSInteger;
inline constexpr UITextBorderStyle UITextBorderStyleNone = 0;
inline constexpr UITextBorderStyle UITextBorderStyleLine = 1;
inline constexpr UITextBorderStyle UITextBorderStyleBezel = 2;
inline constexpr UITextBorderStyle UITextBorderStyleRoundedRect = 3;

class TextField : public Control {
public:
    static TextField* alloc() { return objc::send<TextField*>("UITextField"_cls, "alloc"_sel); }
    TextField* initWithFrame(CGRect frame) { return objc::send<TextField*>(this, "initWithFrame:"_sel, frame); }

    // Never nil once set: setting nil gives the empty string.
    NS::String* text() const { return objc::send<NS::String*>(this, "text"_sel); }
    void setText(const NS::String* text) { objc::send<void>(this, "setText:"_sel, text); }
    NS::String* placeholder() const { return objc::send<NS::String*>(this, "placeholder"_sel); }
    void setPlaceholder(const NS::String* text) { objc::send<void>(this, "setPlaceholder:"_sel, text); }
    UITextBorderStyle borderStyle() const { return objc::send<UITextBorderStyle>(this, "borderStyle"_sel); }
    void setBorderStyle(UITextBorderStyle style) { objc::send<void>(this, "setBorderStyle:"_sel, style); }
    Font* font() const { return objc::send<Font*>(this, "font"_sel); }
    void setFont(Font* font) { objc::send<void>(this, "setFont:"_sel, font); }
    Color* textColor() const { return objc::send<Color*>(this, "textColor"_sel); }
    void setTextColor(Color* color) { objc::send<void>(this, "setTextColor:"_sel, color); }
    NSTextAlignment textAlignment() const { return objc::send<NSTextAlignment>(this, "textAlignment"_sel); }
    void setTextAlignment(NSTextAlignment alignment) { objc::send<void>(this, "setTextAlignment:"_sel, alignment); }
    id delegate() const { return objc::send<id>(this, "delegate"_sel); }
    void setDelegate(objc::AnyObject delegate) { objc::send<void>(this, "setDelegate:"_sel, delegate.get()); }
    BOOL isEditing() const { return objc::send<BOOL>(this, "isEditing"_sel); }

    // The keyboard's messages.
    void insertText(const NS::String* text) { objc::send<void>(this, "insertText:"_sel, text); }
    void deleteBackward() { objc::send<void>(this, "deleteBackward"_sel); }
    BOOL hasText() const { return objc::send<BOOL>(this, "hasText"_sel); }
};

namespace textField {

// Types the UTF-8 text into the field as a user would, for scripts: the
// field starts editing if it is not, then each character arrives through
// insertText: (sending editing-changed each time). A "\n" presses return
// (textFieldShouldReturn:) instead of inserting; a "\b" deletes backwards.
void typeText(TextField* field, const char* utf8);

}  // namespace textField
}  // namespace UI
