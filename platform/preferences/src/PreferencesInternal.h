// Registration of the framework's classes (PreferencesClasses.cpp calls
// these in order).
#pragma once

#include <ObjCBridge/ObjCBridge.h>

namespace PS::internal {

// Whether the object is of the class or a subclass; NO for nil or Nil.
inline bool isKind(objc::AnyObject object, Class cls) {
    return object.get() != nil && cls != Nil && objc::send<BOOL>(object.get(), "isKindOfClass:"_sel, cls);
}

// Whether the class is the base or descends from it.
inline bool isSubclass(Class cls, Class base) {
    for (Class c = cls; c != Nil; c = class_getSuperclass(c))
        if (c == base) return true;
    return false;
}

void registerAll();
// PSViewController, PSTableCell, PSListController and the list-items
// chooser, which need UIKit's classes to exist.
void registerUIKitClasses();

}  // namespace PS::internal
