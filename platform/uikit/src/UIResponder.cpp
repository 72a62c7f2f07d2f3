#include <UIKit/UIResponder.h>

#include "UIKitRegistration.h"

namespace UI {
namespace {

// Not retained: a responder that goes away while first gives the place up
// in its dealloc.
Responder* firstResponder = nullptr;

id nextResponder(id, SEL) { return nil; }

// The touch message being handled (its selector chosen by the caller) goes on
// to the next responder.
void passToNext(Responder* self, SEL s, id touches, id event) {
    objc::send<void>(self->nextResponder(), s, touches, event);
}

BOOL no(id, SEL) { return NO; }
BOOL yes(id, SEL) { return YES; }

BOOL becomeFirstResponder(Responder* self, SEL) {
    if (firstResponder == self) return YES;
    if (!self->canBecomeFirstResponder()) return NO;
    if (firstResponder != nullptr && !firstResponder->resignFirstResponder()) return NO;
    firstResponder = self;
    return YES;
}

BOOL resignFirstResponder(Responder* self, SEL) {
    if (!self->canResignFirstResponder()) return NO;
    if (firstResponder == self) firstResponder = nullptr;
    return YES;
}

BOOL isFirstResponder(Responder* self, SEL) { return firstResponder == self ? YES : NO; }

void dealloc(Responder* self, SEL) {
    if (firstResponder == self) firstResponder = nullptr;
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
