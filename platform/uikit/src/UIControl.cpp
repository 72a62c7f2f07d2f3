#include <Foundation/NSArray.h>
#include <Foundation/NSString.h>
#include <UIKit/UIControl.h>
#include <UIKit/UITouch.h>

#include "UIKitRegistration.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace UI {
namespace {

struct TargetAction {
    id target;  // not retained
    SEL action;
    UIControlEvents events;
};

struct ControlState {
    std::vector<TargetAction> actions;
    bool enabled = true;
    bool highlighted = false;
    bool selected = false;
    bool tracking = false;
    bool touchInside = false;
    Ref<Touch> trackedTouch;  // held while a finger is down
};

ControlState& stateOf(objc::AnyObject self) { return objc::state<ControlState>(self); }

bool sameSelector(SEL a, SEL b) {
    return a == b || (a != nullptr && b != nullptr && std::strcmp(sel_getName(a), sel_getName(b)) == 0);
}

// --- target-action ----------------------------------------------------------

void addTarget(id self, SEL, id target, SEL action, UIControlEvents events) {
    if (action == nullptr) objc::fatal("-[UIControl addTarget:action:forControlEvents:] needs an action");
    auto& list = stateOf(self).actions;
    for (TargetAction& pair : list) {
        if (pair.target == target && sameSelector(pair.action, action)) {
            pair.events |= events;
            return;
        }
    }
    list.push_back({target, action, events});
}

void removeTarget(id self, SEL, id target, SEL action, UIControlEvents events) {
    auto& list = stateOf(self).actions;
    for (TargetAction& pair : list) {
        if ((target == nil || pair.target == target) && (action == nullptr || sameSelector(pair.action, action))) {
            pair.events &= ~events;
        }
    }
    list.erase(std::remove_if(list.begin(), list.end(), [](const TargetAction& p) { return p.events == 0; }),
               list.end());
}

id actionsForTarget(id self, SEL, id target, UIControlEvents event) {
    NS::MutableArray* names = nullptr;
    for (const TargetAction& pair : stateOf(self).actions) {
        if (pair.target != target || (pair.events & event) == 0) continue;
        if (names == nullptr) names = NS::MutableArray::array();
        names->addObject(NS::String::stringWithUTF8String(sel_getName(pair.action)));
    }
    return objc::asId(names);
}

UIControlEvents allControlEvents(id self, SEL) {
    UIControlEvents all = 0;
    for (const TargetAction& pair : stateOf(self).actions) all |= pair.events;
    return all;
}

std::size_t argumentCount(SEL action) {
    const char* name = sel_getName(action);
    return static_cast<std::size_t>(std::count(name, name + std::strlen(name), ':'));
}

// Where an action with no target goes: the first responder along the chain
// from the sender that answers it.
id receiverFor(Responder* sender, SEL action) {
    for (Responder* r = sender; r != nullptr; r = r->nextResponder()) {
        if (objc::respondsTo(r, action)) return objc::asId(r);
    }
    return nil;
}

void sendAction(Control* self, SEL, SEL action, id target, Event* event) {
    id receiver = target != nil ? target : receiverFor(self, action);
    if (receiver == nil) return;
    switch (argumentCount(action)) {
    case 0: objc::send<void>(receiver, action); break;
    case 1: objc::send<void>(receiver, action, self); break;
    default: objc::send<void>(receiver, action, self, event); break;
    }
}

void sendActionsWithEvent(Control* self, UIControlEvents events, Event* event) {
    // The list may change while actions run (a target removes itself), so
    // the matching pairs are taken first; the control stays alive meanwhile.
    std::vector<TargetAction> matching;
    for (const TargetAction& pair : stateOf(self).actions) {
        if (pair.events & events) matching.push_back(pair);
    }
    if (matching.empty()) return;
    const Ref<Control> keep = self;
    for (const TargetAction& pair : matching) self->sendAction(pair.action, pair.target, event);
}

void sendActionsForControlEvents(Control* self, SEL, UIControlEvents events) {
    sendActionsWithEvent(self, events, nullptr);
}

// --- states -----------------------------------------------------------------

BOOL isEnabled(id self, SEL) { return stateOf(self).enabled; }
void setEnabled(Control* self, SEL, BOOL enabled) {
    if (stateOf(self).enabled == static_cast<bool>(enabled)) return;
    stateOf(self).enabled = enabled;
    self->setNeedsDisplay();
}
BOOL isHighlighted(id self, SEL) { return stateOf(self).highlighted; }
void setHighlighted(Control* self, SEL, BOOL highlighted) {
    if (stateOf(self).highlighted == static_cast<bool>(highlighted)) return;
    stateOf(self).highlighted = highlighted;
    self->setNeedsDisplay();
}
BOOL isSelected(id self, SEL) { return stateOf(self).selected; }
void setSelected(Control* self, SEL, BOOL selected) {
    if (stateOf(self).selected == static_cast<bool>(selected)) return;
    stateOf(self).selected = selected;
    self->setNeedsDisplay();
}
UIControlState controlState(id self, SEL) {
    const ControlState& s = stateOf(self);
    UIControlState state = UIControlStateNormal;
    if (s.highlighted) state |= UIControlStateHighlighted;
    if (!s.enabled) state |= UIControlStateDisabled;
    if (s.selected) state |= UIControlStateSelected;
    return state;
}
BOOL isTracking(id self, SEL) { return stateOf(self).tracking; }
BOOL isTouchInside(id self, SEL) { return stateOf(self).touchInside; }

BOOL beginTracking(id, SEL, id, id) { return YES; }
BOOL continueTracking(id, SEL, id, id) { return YES; }
void endTracking(id, SEL, id, id) {}
void cancelTracking(id, SEL, id) {}

// --- touches ----------------------------------------------------------------

bool touchIsInside(Control* self, const Touch* touch) {
    return self->pointInside(touch->locationInView(self), nullptr);
}

void touchesBegan(Control* self, SEL, TouchSet* touches, Event* event) {
    ControlState& s = stateOf(self);
    if (!s.enabled || s.trackedTouch || touches == nullptr) return;
    Touch* touch = touches->anyObject();
    if (touch == nullptr) return;
    const Ref<Control> keep = self;
    s.trackedTouch = touch;
    s.touchInside = true;
    s.tracking = self->beginTrackingWithTouch(touch, event);
    self->setHighlighted(YES);
    sendActionsWithEvent(self, UIControlEventTouchDown, event);
}

void touchesMoved(Control* self, SEL, TouchSet* touches, Event* event) {
    ControlState& s = stateOf(self);
    const Ref<Touch> touch = s.trackedTouch;  // through the end of the touch
    if (!touch || touches == nullptr || !touches->containsObject(touch)) return;
    const Ref<Control> keep = self;
    bool wasInside = s.touchInside;
    bool inside = touchIsInside(self, touch);
    s.touchInside = inside;
    if (s.tracking) s.tracking = self->continueTrackingWithTouch(touch.get(), event);
    self->setHighlighted(inside ? YES : NO);
    UIControlEvents events = inside ? UIControlEventTouchDragInside : UIControlEventTouchDragOutside;
    if (inside != wasInside) events |= inside ? UIControlEventTouchDragEnter : UIControlEventTouchDragExit;
    sendActionsWithEvent(self, events, event);
}

void touchesEnded(Control* self, SEL, TouchSet* touches, Event* event) {
    ControlState& s = stateOf(self);
    const Ref<Touch> touch = s.trackedTouch;  // through the end of the touch
    if (!touch || touches == nullptr || !touches->containsObject(touch)) return;
    const Ref<Control> keep = self;
    bool inside = touchIsInside(self, touch);
    s.touchInside = inside;
    if (s.tracking) self->endTrackingWithTouch(touch.get(), event);
    s.tracking = false;
    s.trackedTouch.reset();
    self->setHighlighted(NO);
    sendActionsWithEvent(self, inside ? UIControlEventTouchUpInside : UIControlEventTouchUpOutside, event);
    s.touchInside = false;
}

void touchesCancelled(Control* self, SEL, TouchSet* touches, Event* event) {
    ControlState& s = stateOf(self);
    const Ref<Touch> touch = s.trackedTouch;  // through the end of the touch
    if (!touch || touches == nullptr || !touches->containsObject(touch)) return;
    const Ref<Control> keep = self;
    if (s.tracking) self->cancelTrackingWithEvent(event);
    s.tracking = false;
    s.trackedTouch.reset();
    s.touchInside = false;
    self->setHighlighted(NO);
    sendActionsWithEvent(self, UIControlEventTouchCancel, event);
}

}  // namespace

void registerControl() {
    objc::ClassBuilder("UIControl", "UIView"_cls)
        .state<ControlState>()
        .method("addTarget:action:forControlEvents:", &addTarget)
        .method("removeTarget:action:forControlEvents:", &removeTarget)
        .method("actionsForTarget:forControlEvent:", &actionsForTarget)
        .method("allControlEvents", &allControlEvents)
        .method("sendAction:to:forEvent:", &sendAction)
        .method("sendActionsForControlEvents:", &sendActionsForControlEvents)
        .method("isEnabled", &isEnabled)
        .method("setEnabled:", &setEnabled)
        .method("isHighlighted", &isHighlighted)
        .method("setHighlighted:", &setHighlighted)
        .method("isSelected", &isSelected)
        .method("setSelected:", &setSelected)
        .method("state", &controlState)
        .method("isTracking", &isTracking)
        .method("isTouchInside", &isTouchInside)
        .method("beginTrackingWithTouch:withEvent:", &beginTracking)
        .method("continueTrackingWithTouch:withEvent:", &continueTracking)
        .method("endTrackingWithTouch:withEvent:", &endTracking)
        .method("cancelTrackingWithEvent:", &cancelTracking)
        .method("touchesBegan:withEvent:", &touchesBegan)
        .method("touchesMoved:withEvent:", &touchesMoved)
        .method("touchesEnded:withEvent:", &touchesEnded)
        .method("touchesCancelled:withEvent:", &touchesCancelled)
        .build();
}

}  // namespace UI
