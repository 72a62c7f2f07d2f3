// Animations of layer properties, as the view animation blocks make them.
// While a block runs, every change of an animatable property (position,
// bounds, opacity, background colour) takes its new value in the model at
// once and records an animation from the value on screen to the new one; the
// compositor shows the interpolated value until the animation ends.
// Internal to UIKit.
#pragma once

#include <CoreGraphics/CoreGraphics.h>

#include <vector>

namespace CA::detail {

enum class Curve { EaseInOut, EaseIn, EaseOut, Linear };

struct Animation {
    enum class Property { Position, Bounds, Opacity, BackgroundColor };
    Property property = Property::Opacity;
    double begin = 0;  // on the run loop's clock; later than now while delayed
    double duration = 0;
    Curve curve = Curve::EaseInOut;
    CGFloat from[4] = {0, 0, 0, 0};
    CGFloat to[4] = {0, 0, 0, 0};
};

// The animation block being run, if any.
struct AnimationContext {
    double duration = 0;
    double delay = 0;
    Curve curve = Curve::EaseInOut;
};
const AnimationContext* currentAnimationContext();
void pushAnimationContext(const AnimationContext& context);
void popAnimationContext();

// The fraction of the way from `from` to `to` at the given time (0 before
// the animation begins, 1 once it has ended), along its timing curve.
double progressAt(const Animation& animation, double now);

// Replaces any running animation of the same property: the new one starts
// from what the screen shows, so interrupted animations do not jump.
void addAnimation(std::vector<Animation>& animations, const Animation& animation);

}  // namespace CA::detail
