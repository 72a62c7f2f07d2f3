#include <Foundation/NSArray.h>
#include <UIKit/UIGestureRecognizer.h>
#include <UIKit/UITouch.h>

#include "GestureInternals.h"
#include "TouchDelivery.h"
#include "TouchInternals.h"

#include <algorithm>

namespace UI::detail {
namespace {

SEL selectorFor(UITouchPhase phase) {
    switch (phase) {
    case UITouchPhaseBegan: return "touchesBegan:withEvent:"_sel;
    case UITouchPhaseEnded: return "touchesEnded:withEvent:"_sel;
    case UITouchPhaseCancelled: return "touchesCancelled:withEvent:"_sel;
    default: return "touchesMoved:withEvent:"_sel;
    }
}

UIGestureRecognizerState stateOf(id recognizer) {
    return objc::send<UIGestureRecognizerState>(recognizer, "state"_sel);
}

bool finished(UIGestureRecognizerState s) {
    return s == UIGestureRecognizerStateEnded || s == UIGestureRecognizerStateCancelled ||
           s == UIGestureRecognizerStateFailed;
}

// The recognisers of the view and of its ancestors, nearest first.
void collectRecognizers(id view, std::vector<Ref<GestureRecognizer>>& into) {
    for (id v = view; v != nil; v = objc::send<id>(v, "superview"_sel)) {
        id list = objc::send<id>(v, "gestureRecognizers"_sel);
        NSUInteger n = objc::send<NSUInteger>(list, "count"_sel);
        for (NSUInteger i = 0; i < n; ++i) {
            id r = objc::send<id>(list, "objectAtIndex:"_sel, i);
            if (objc::send<BOOL>(r, "isEnabled"_sel)) into.emplace_back(objc::cast<GestureRecognizer>(r));
        }
    }
}

// A recogniser that has recognised takes the finger from the view.
bool takenFromView(const std::vector<Ref<GestureRecognizer>>& recognizers) {
    return std::any_of(recognizers.begin(), recognizers.end(), [](const Ref<GestureRecognizer>& ref) {
        id r = objc::asId(ref.get());
        UIGestureRecognizerState s = stateOf(r);
        bool recognised = s == UIGestureRecognizerStateBegan || s == UIGestureRecognizerStateChanged ||
                          s == UIGestureRecognizerStateEnded || s == UIGestureRecognizerStateCancelled;
        return recognised && objc::send<BOOL>(r, "cancelsTouchesInView"_sel);
    });
}

}  // namespace

void deliverTouchEvent(id, id event) {
    id touches = objc::send<id>(event, "allTouches"_sel);
    id touch = objc::send<id>(touches, "anyObject"_sel);
    if (touch == nil) return;
    const Ref<Touch> keepTouch = objc::cast<Touch>(touch);
    TouchDelivery& d = deliveryOf(objc::cast<Touch>(touch));
    UITouchPhase phase = objc::send<UITouchPhase>(touch, "phase"_sel);
    id view = objc::send<id>(touch, "view"_sel);
    SEL selector = selectorFor(phase);

    if (phase == UITouchPhaseBegan) collectRecognizers(view, d.recognizers);

    const std::vector<Ref<GestureRecognizer>> recognizers = d.recognizers;  // held through the delivery
    for (GestureRecognizer* recognizer : recognizers) {
        id r = objc::asId(recognizer);
        if (finished(stateOf(r))) continue;
        setRecognizerTouch(r, touch);
        objc::send<void>(r, selector, touches, event);
    }

    if (view != nil && !d.viewCancelled) {
        if (takenFromView(recognizers)) {
            d.viewCancelled = true;
            if (d.viewBegan) objc::send<void>(view, "touchesCancelled:withEvent:"_sel, touches, event);
        } else {
            objc::send<void>(view, selector, touches, event);
            if (phase == UITouchPhaseBegan) d.viewBegan = true;
        }
    }

    if (phase == UITouchPhaseEnded || phase == UITouchPhaseCancelled) {
        for (GestureRecognizer* r : recognizers) resetRecognizer(objc::asId(r));
        d.recognizers.clear();
    }
}

}  // namespace UI::detail
