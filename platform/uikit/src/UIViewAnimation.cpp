// UIView's animation class methods: the block sets the final values inside
// an animation context, which makes the layers animate from the old values;
// the completion runs on the run loop once the animation is over.
#include <Foundation/NSRunLoop.h>
#include <UIKit/UIView.h>

#include "LayerAnimation.h"
#include "ViewState.h"

namespace UI {
namespace {

CA::detail::Curve curveOf(UIViewAnimationOptions options) {
    switch ((options >> 16) & 0xF) {
    case 1: return CA::detail::Curve::EaseIn;
    case 2: return CA::detail::Curve::EaseOut;
    case 3: return CA::detail::Curve::Linear;
    default: return CA::detail::Curve::EaseInOut;
    }
}

void animate(Class, SEL, double duration, double delay, UIViewAnimationOptions options, Block* animations,
             Block* completion) {
    CA::detail::AnimationContext context;
    context.duration = duration > 0 ? duration : 0;
    context.delay = delay > 0 ? delay : 0;
    context.curve = curveOf(options);
    CA::detail::pushAnimationContext(context);
    if (animations != nullptr) animations->invoke();
    CA::detail::popAnimationContext();
    if (completion != nullptr) {
        Ref<Block> block(completion);
        NS::loop::schedule(context.delay + context.duration, [block] { block->invokeWithFinished(YES); });
    }
}

void animateWithCompletion(Class self, SEL, double duration, Block* animations, Block* completion) {
    animate(self, nullptr, duration, 0, 0, animations, completion);
}

void animateSimply(Class self, SEL, double duration, Block* animations) {
    animate(self, nullptr, duration, 0, 0, animations, nullptr);
}

}  // namespace

namespace detail {

void addViewAnimationMethods(objc::ClassBuilder& builder) {
    builder.classMethod("animateWithDuration:delay:options:animations:completion:", &animate)
        .classMethod("animateWithDuration:animations:completion:", &animateWithCompletion)
        .classMethod("animateWithDuration:animations:", &animateSimply);
}

}  // namespace detail
}  // namespace UI
