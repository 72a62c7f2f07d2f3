#include <UIKit/UIResponder.h>

#include "UIKitRegistration.h"

namespace UI {
namespace {

// Not retained: a responder that goes away while first gives the place up
// in its dealloc.
id firstResponder = nil;

id nextResponder(id, SEL) { return nil; }

void passToNext(id self, SEL s, id touches, id event) {
    objc::send<void>(objc::send<id>(self, "nextResponder"_sel), s, touches, event);
}

BOOL no(id, SEL) { return NO; }
BOOL yes(id, SEL) { return YES; }

BOOL becomeFirstResponder(id self, SEL) {
    if (firstResponder == self) return YES;
    if (!objc::send<BOOL>(self, "canBecomeFirstResponder"_sel)) return NO;
    if (firstResponder != nil && !objc::send<BOOL>(firstResponder, "resignFirstResponder"_sel)) return NO;
    firstResponder = self;
    return YES;
}

BOOL resignFirstResponder(id self, SEL) {
    if (!objc::send<BOOL>(self, "canResignFirstResponder"_sel)) return NO;
    if (firstResponder == self) firstResponder = nil;
    return YES;
}

BOOL isFirstResponder(id self, SEL) { return firstResponder == self ? YES : NO; }

void dealloc(id self, SEL) {
    if (firstResponder == self) firstResponder = nil;
    objc::sendSuper<void>(self, "UIResponder"_cls, "dealloc"_sel);
}

}  // namespace

void registerResponder() {
    objc::ClassBuilder("UIResponder", "NSObject"_cls)
        .method("nextResponder", &nextResponder)
        .method("touchesBegan:withEvent:", &passToNext)
        .method("touchesMoved:withEvent:", &passToNext)
        .method("touchesEnded:withEvent:", &passToNext)
        .method("touchesCancelled:withEvent:", &passToNext)
        .method("canBecomeFirstResponder", &no)
        .method("becomeFirstResponder", &becomeFirstResponder)
        .method("canResignFirstResponder", &yes)
        .method("resignFirstResponder", &resignFirstResponder)
        .method("isFirstResponder", &isFirstResponder)
        .method("dealloc", &dealloc)
        .build();
}

}  // namespace UI
