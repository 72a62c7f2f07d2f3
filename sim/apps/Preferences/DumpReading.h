// What the driver's dumps share: a kind test through the runtime and the text
// of a string, and the dump of a preview row (PreviewDump.cpp).
#pragma once

#include <Foundation/NSString.h>
#include <ObjCBridge/ObjCBridge.h>
#include <UIKit/UITableViewCell.h>

#include <nlohmann/json.hpp>

#include <string>

namespace settings {

// Whether the object is of the class named, or of a subclass; false for nil
// and for a class the process does not have.
inline bool isKind(objc::AnyObject object, const char* className) {
    Class cls = objc_getClass(className);
    return object.get() != nil && cls != Nil && objc::send<BOOL>(object.get(), "isKindOfClass:"_sel, cls);
}

inline std::string text(const NS::String* s) { return s != nullptr ? s->UTF8String() : ""; }

// What a preview row draws, as the cell describes it; null for any other
// cell, and for a preview cell that gives no description.
nlohmann::json previewState(UI::TableViewCell* cell);

}  // namespace settings
