// UIPasteboard: the general pasteboard, shared by every process of the
// device through the file "<device>/var/run/hbsim/pasteboard.txt" (UTF-8),
// read anew at every question and replaced atomically at every change.
#pragma once

#include <Foundation/NSObject.h>

namespace NS {
class String;
}

namespace UI {

class Pasteboard : public NS::Object {
public:
    static Pasteboard* generalPasteboard() {
        return objc::send<Pasteboard*>("UIPasteboard"_cls, "generalPasteboard"_sel);
    }
    // nil while the pasteboard holds no text.
    NS::String* string() const { return objc::send<NS::String*>(this, "string"_sel); }
    // nil empties the pasteboard.
    void setString(const NS::String* text) { objc::send<void>(this, "setString:"_sel, text); }
};

}  // namespace UI
