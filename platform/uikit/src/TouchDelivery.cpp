#include <Foundation/NSArray.h>
#include <UIKit/UIGestureRecognizer.h>
#include <UIKit/UITouch.h>
#include <UIKit/UIView.h>

#include "GestureInternals.h"
#include "TouchDelivery.h"
#include "TouchInternals.h"

#include <algorithm>

namespace UI::detail {
namespace {

// The touch message of the phase, to a recogniser or a view.
template <class Receiver>
void sendTouches(Receiver* receiver, UITouchPhase phase, TouchSet* touches, Event* event) {
    switch (phase) {
    case UITouchPhaseBegan: receiver->touchesBegan(touches, event); break;
    case UITouchPhaseEnded: receiver->touchesEnded(touches, event); break;
    case UITouchPhaseCancelled: receiver->touchesCancelled(touches, event); break;
    default: receiver->touchesMoved(touches, event); break;
    }
}

bool finished(UIGestureRecognizerState s) {
    return s == UIGestureRecognizerStateEnded || s == UIGestureRecognizerStateCancelled ||
           s == UIGestureRecognizerStateFailed;
}

// The recognisers of the view and of its ancestors, nearest first.
void collectRecognizers(const View* view, std::vector<Ref<GestureRecognizer>>& into) {
    for (const View* v = view; v != nullptr; v = v->superview()) {
        const NS::Array* list = v->gestureRecognizers();
        NSUInteger n = list != nullptr ? list->count() : 0;
        for (NSUInteger i = 0; i < n; ++i) {
            auto* r = objc::cast<GestureRecognizer>(list->objectAtIndex(i));
            if (r->isEnabled()) into.emplace_back(r);
        }
    }
}

// A recogniser that has recognised takes the finger from the view.
bool takenFromView(const std::vector<Ref<GestureRecognizer>>& recognizers) {
    return std::any_of(recognizers.begin(), recognizers.end(), [](const Ref<GestureRecognizer>& r) {
        UIGestureRecognizerState s = r->state();
        bool recognised = s == UIGestureRecognizerStateBegan || s == UIGestureRecognizerStateChanged ||
                          s == UIGestureRecognizerStateEnded || s == UIGestureRecognizerStateCancelled;
        return recognised && r->cancelsTouchesInView();
    });
}

}  // namespace

void deliverTouchEvent(Window*, Event* event) {
    TouchSet* touches = event != nullptr ? event->allTouches() : nullptr;
    Touch* touch = touches != nullptr ? touches->anyObject() : nullptr;
    if (touch == nullptr) return;
    const Ref<Touch> keepTouch = touch;
    TouchDelivery& d = deliveryOf(touch);
    UITouchPhase phase = touch->phase();
    View* view = touch->view();

    if (phase == UITouchPhaseBegan) collectRecognizers(view, d.recognizers);

    const std::vector<Ref<GestureRecognizer>> recognizers = d.recognizers;  // held through the delivery
    for (GestureRecognizer* recognizer : recognizers) {
        if (finished(recognizer->state())) continue;
        setRecognizerTouch(recognizer, touch);
        sendTouches(recognizer, phase, touches, event);
    }

    if (view != nullptr && !d.viewCancelled) {
        if (takenFromView(recognizers)) {
            d.viewCancelled = true;
            if (d.viewBegan) view->touchesCancelled(touches, event);
        } else {
            sendTouches(view, phase, touches, event);
            if (phase == UITouchPhaseBegan) d.viewBegan = true;
        }
    }

    if (phase == UITouchPhaseEnded || phase == UITouchPhaseCancelled) {
        for (GestureRecognizer* r : recognizers) resetRecognizer(r);
        d.recognizers.clear();
    }
}

}  // namespace UI::detail
