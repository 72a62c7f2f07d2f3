// UIBarButtonItem: a button of a navigation bar, described by a title, a
// style, a target (not retained) and an action. A tap on the button the bar
// shows for it sends the action to the target, with the item as the sender
// when the action takes an argument. Changing the title or the tint of an
// item that a bar shows updates the bar at once.
#pragma once

#include <Foundation/NSString.h>
#include <UIKit/UIColor.h>

namespace UI {

using UIBarButtonItemStyle = NSInteger;
inline constexpr UIBarButtonItemStyle UIBarButtonItemStylePlain = 0;
inline constexpr UIBarButtonItemStyle UIBarButtonItemStyleBordered = 1;
inline constexpr UIBarButtonItemStyle UIBarButtonItemStyleDone = 2;

class BarButtonItem : public NS::Object {
public:
    static BarButtonItem* alloc() { return objc::send<BarButtonItem*>("UIBarButtonItem"_cls, "alloc"_sel); }
    BarButtonItem* initWithTitle(const NS::String* title, UIBarButtonItemStyle style, objc::AnyObject target,
                                 SEL action) {
        return objc::send<BarButtonItem*>(this, "initWithTitle:style:target:action:"_sel, title, style, target.get(),
                                          action);
    }

    NS::String* title() const { return objc::send<NS::String*>(this, "title"_sel); }
    void setTitle(const NS::String* title) { objc::send<void>(this, "setTitle:"_sel, title); }
    UIBarButtonItemStyle style() const { return objc::send<UIBarButtonItemStyle>(this, "style"_sel); }
    void setStyle(UIBarButtonItemStyle style) { objc::send<void>(this, "setStyle:"_sel, style); }
    id target() const { return objc::send<id>(this, "target"_sel); }
    void setTarget(objc::AnyObject target) { objc::send<void>(this, "setTarget:"_sel, target.get()); }
    SEL action() const { return objc::send<SEL>(this, "action"_sel); }
    void setAction(SEL action) { objc::send<void>(this, "setAction:"_sel, action); }
    // nil: the bar's tint.
    Color* tintColor() const { return objc::send<Color*>(this, "tintColor"_sel); }
    void setTintColor(Color* color) { objc::send<void>(this, "setTintColor:"_sel, color); }
    BOOL isEnabled() const { return objc::send<BOOL>(this, "isEnabled"_sel); }
    void setEnabled(BOOL enabled) { objc::send<void>(this, "setEnabled:"_sel, enabled); }
};

}  // namespace UI
