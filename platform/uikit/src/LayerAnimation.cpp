#include "LayerAnimation.h"

#include <algorithm>
#include <cmath>

namespace CA::detail {
namespace {

std::vector<AnimationContext>& contextStack() {
    static std::vector<AnimationContext> stack;
    return stack;
}

// The timing curves of Core Animation, as cubic Bézier curves from (0, 0) to
// (1, 1) with control points (x1, y1) and (x2, y2).
struct Bezier {
    double x1, y1, x2, y2;
};

Bezier bezierOf(Curve curve) {
    switch (curve) {
    case Curve::EaseIn: return {0.42, 0, 1, 1};
    case Curve::EaseOut: return {0, 0, 0.58, 1};
    case Curve::Linear: return {0, 0, 1, 1};
    case Curve::EaseInOut: break;
    }
    return {0.42, 0, 0.58, 1};
}

double cubic(double p1, double p2, double t) {
    double u = 1 - t;
    return 3 * u * u * t * p1 + 3 * u * t * t * p2 + t * t * t;
}

// y at the x given: x(t) grows monotonically for these control points, so a
// bisection finds t.
double solve(const Bezier& b, double x) {
    double lo = 0, hi = 1;
    for (int i = 0; i < 40; ++i) {
        double mid = (lo + hi) / 2;
        if (cubic(b.x1, b.x2, mid) < x) {
            lo = mid;
        } else {
            hi = mid;
        }
    }
    return cubic(b.y1, b.y2, (lo + hi) / 2);
}

}  // namespace

const AnimationContext* currentAnimationContext() {
    auto& stack = contextStack();
    return stack.empty() ? nullptr : &stack.back();
}

void pushAnimationContext(const AnimationContext& context) { contextStack().push_back(context); }

void popAnimationContext() {
    auto& stack = contextStack();
    if (!stack.empty()) stack.pop_back();
}

double progressAt(const Animation& animation, double now) {
    if (now <= animation.begin) return 0;
    if (animation.duration <= 0 || now >= animation.begin + animation.duration) return 1;
    double x = (now - animation.begin) / animation.duration;
    if (animation.curve == Curve::Linear) return x;
    return solve(bezierOf(animation.curve), x);
}

void addAnimation(std::vector<Animation>& animations, const Animation& animation) {
    std::erase_if(animations, [&](const Animation& a) { return a.property == animation.property; });
    animations.push_back(animation);
}

}  // namespace CA::detail
