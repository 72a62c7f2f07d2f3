// UIView: a rectangle of the screen in a tree of views. Its geometry and look
// live in its layer (UIView is the layer's delegate); the view adds the tree,
// touches, gesture recognisers, layout and drawing.
//
// Subclasses override through the runtime (ClassBuilder under "UIView"):
// drawRect: (the view then keeps a backing bitmap at screen scale, painted
// with UIGraphicsGetCurrentContext() as the current context only when it
// needs display), layoutSubviews, sizeThatFits:, hitTest:withEvent:,
// pointInside:withEvent:, the touch methods, the move callbacks and
// tintColorDidChange.
//
// Animations: inside an animation block the animatable properties (frame,
// bounds, center, alpha, backgroundColor) take their final values in the
// model at once; what the screen shows (screenshots, sampling) moves from the
// old to the new value over the duration, along the chosen curve, on the run
// loop's clock. The completion runs once the delay and duration have passed,
// on the run loop, with finished YES.
#pragma once

#include <UIKit/CALayer.h>
#include <UIKit/UIBlock.h>
#include <UIKit/UIColor.h>
#include <UIKit/UIResponder.h>

#include <functional>

namespace NS {
class Array;
}

namespace UI {

class GestureRecognizer;
class Window;

using UIViewAnimationOptions = NSUInteger;
inline constexpr UIViewAnimationOptions UIViewAnimationOptionCurveEaseInOut = 0 << 16;
inline constexpr UIViewAnimationOptions UIViewAnimationOptionCurveEaseIn = 1 << 16;
inline constexpr UIViewAnimationOptions UIViewAnimationOptionCurveEaseOut = 2 << 16;
inline constexpr UIViewAnimationOptions UIViewAnimationOptionCurveLinear = 3 << 16;
inline constexpr UIViewAnimationOptions UIViewAnimationOptionTransitionCrossDissolve = 5 << 20;

class View : public Responder {
public:
    static View* alloc() { return objc::send<View*>("UIView"_cls, "alloc"_sel); }
    static Class layerClass() { return objc::send<Class>("UIView"_cls, "layerClass"_sel); }

    View* initWithFrame(CGRect frame) { return objc::send<View*>(this, "initWithFrame:"_sel, frame); }
    View* init() { return objc::send<View*>(this, "init"_sel); }

    CGRect frame() const { return objc::send<CGRect>(this, "frame"_sel); }
    void setFrame(CGRect frame) { objc::send<void>(this, "setFrame:"_sel, frame); }
    CGRect bounds() const { return objc::send<CGRect>(this, "bounds"_sel); }
    void setBounds(CGRect bounds) { objc::send<void>(this, "setBounds:"_sel, bounds); }
    CGPoint center() const { return objc::send<CGPoint>(this, "center"_sel); }
    void setCenter(CGPoint center) { objc::send<void>(this, "setCenter:"_sel, center); }

    NSInteger tag() const { return objc::send<NSInteger>(this, "tag"_sel); }
    void setTag(NSInteger tag) { objc::send<void>(this, "setTag:"_sel, tag); }
    // The first view with the tag, depth first, this view included.
    View* viewWithTag(NSInteger tag) const { return objc::send<View*>(this, "viewWithTag:"_sel, tag); }

    CGFloat alpha() const { return objc::send<CGFloat>(this, "alpha"_sel); }
    void setAlpha(CGFloat alpha) { objc::send<void>(this, "setAlpha:"_sel, alpha); }
    BOOL isHidden() const { return objc::send<BOOL>(this, "isHidden"_sel); }
    void setHidden(BOOL hidden) { objc::send<void>(this, "setHidden:"_sel, hidden); }
    BOOL isOpaque() const { return objc::send<BOOL>(this, "isOpaque"_sel); }
    void setOpaque(BOOL opaque) { objc::send<void>(this, "setOpaque:"_sel, opaque); }
    Color* backgroundColor() const { return objc::send<Color*>(this, "backgroundColor"_sel); }
    void setBackgroundColor(Color* color) { objc::send<void>(this, "setBackgroundColor:"_sel, color); }
    // The view's own tint, else its superview's, else the system blue
    // #007AFF. Setting it (nil to inherit again) tells every view whose
    // tint changes through tintColorDidChange.
    Color* tintColor() const { return objc::send<Color*>(this, "tintColor"_sel); }
    void setTintColor(Color* color) { objc::send<void>(this, "setTintColor:"_sel, color); }
    void tintColorDidChange() { objc::send<void>(this, "tintColorDidChange"_sel); }
    BOOL isUserInteractionEnabled() const { return objc::send<BOOL>(this, "isUserInteractionEnabled"_sel); }
    void setUserInteractionEnabled(BOOL enabled) { objc::send<void>(this, "setUserInteractionEnabled:"_sel, enabled); }
    BOOL clipsToBounds() const { return objc::send<BOOL>(this, "clipsToBounds"_sel); }
    void setClipsToBounds(BOOL clips) { objc::send<void>(this, "setClipsToBounds:"_sel, clips); }

    // The tree. A view retains its subviews; the superview and window are
    // observed.
    View* superview() const { return objc::send<View*>(this, "superview"_sel); }
    NS::Array* subviews() const { return objc::send<NS::Array*>(this, "subviews"_sel); }
    Window* window() const { return objc::send<Window*>(this, "window"_sel); }
    void addSubview(View* view) { objc::send<void>(this, "addSubview:"_sel, view); }
    void insertSubview(View* view, NSInteger index) {
        objc::send<void>(this, "insertSubview:atIndex:"_sel, view, index);
    }
    void bringSubviewToFront(View* view) { objc::send<void>(this, "bringSubviewToFront:"_sel, view); }
    void sendSubviewToBack(View* view) { objc::send<void>(this, "sendSubviewToBack:"_sel, view); }
    void removeFromSuperview() { objc::send<void>(this, "removeFromSuperview"_sel); }
    BOOL isDescendantOfView(const View* view) const { return objc::send<BOOL>(this, "isDescendantOfView:"_sel, view); }
    void willMoveToSuperview(View* newSuperview) { objc::send<void>(this, "willMoveToSuperview:"_sel, newSuperview); }
    void didMoveToSuperview() { objc::send<void>(this, "didMoveToSuperview"_sel); }
    void willMoveToWindow(Window* newWindow) { objc::send<void>(this, "willMoveToWindow:"_sel, newWindow); }
    void didMoveToWindow() { objc::send<void>(this, "didMoveToWindow"_sel); }
    void didAddSubview(View* view) { objc::send<void>(this, "didAddSubview:"_sel, view); }
    void willRemoveSubview(View* view) { objc::send<void>(this, "willRemoveSubview:"_sel, view); }

    // Layout runs layoutSubviews on the views marked as needing it (new
    // views, views resized, views given subviews, setNeedsLayout), from the
    // top of the tree down.
    void layoutSubviews() { objc::send<void>(this, "layoutSubviews"_sel); }
    void setNeedsLayout() { objc::send<void>(this, "setNeedsLayout"_sel); }
    void layoutIfNeeded() { objc::send<void>(this, "layoutIfNeeded"_sel); }

    void drawRect(CGRect rect) { objc::send<void>(this, "drawRect:"_sel, rect); }
    void setNeedsDisplay() { objc::send<void>(this, "setNeedsDisplay"_sel); }
    void setNeedsDisplayInRect(CGRect rect) { objc::send<void>(this, "setNeedsDisplayInRect:"_sel, rect); }

    CA::Layer* layer() const { return objc::send<CA::Layer*>(this, "layer"_sel); }

    // A nil view stands for the window's coordinates.
    CGPoint convertPointToView(CGPoint point, const View* view) const {
        return objc::send<CGPoint>(this, "convertPoint:toView:"_sel, point, view);
    }
    CGPoint convertPointFromView(CGPoint point, const View* view) const {
        return objc::send<CGPoint>(this, "convertPoint:fromView:"_sel, point, view);
    }
    CGRect convertRectToView(CGRect rect, const View* view) const {
        return objc::send<CGRect>(this, "convertRect:toView:"_sel, rect, view);
    }
    CGRect convertRectFromView(CGRect rect, const View* view) const {
        return objc::send<CGRect>(this, "convertRect:fromView:"_sel, rect, view);
    }

    // UIView's own answer is its current size.
    CGSize sizeThatFits(CGSize size) const { return objc::send<CGSize>(this, "sizeThatFits:"_sel, size); }
    void sizeToFit() { objc::send<void>(this, "sizeToFit"_sel); }

    void addGestureRecognizer(GestureRecognizer* recognizer) {
        objc::send<void>(this, "addGestureRecognizer:"_sel, recognizer);
    }
    void removeGestureRecognizer(GestureRecognizer* recognizer) {
        objc::send<void>(this, "removeGestureRecognizer:"_sel, recognizer);
    }
    NS::Array* gestureRecognizers() const { return objc::send<NS::Array*>(this, "gestureRecognizers"_sel); }

    // The deepest visible, interactive view under the point (in this view's
    // coordinates), subviews front to back; nil when the point is outside.
    View* hitTest(CGPoint point, Event* event) {
        return objc::send<View*>(this, "hitTest:withEvent:"_sel, point, event);
    }
    BOOL pointInside(CGPoint point, Event* event) {
        return objc::send<BOOL>(this, "pointInside:withEvent:"_sel, point, event);
    }

    // The nearest view controller whose view is this view or an ancestor.
    id _viewControllerForAncestor() const { return objc::send<id>(this, "_viewControllerForAncestor"_sel); }

    static void animateWithDuration(double duration, double delay, UIViewAnimationOptions options, Block* animations,
                                    Block* completion) {
        objc::send<void>("UIView"_cls, "animateWithDuration:delay:options:animations:completion:"_sel, duration, delay,
                         options, animations, completion);
    }
    static void animateWithDuration(double duration, Block* animations, Block* completion) {
        objc::send<void>("UIView"_cls, "animateWithDuration:animations:completion:"_sel, duration, animations,
                         completion);
    }
    static void animateWithDuration(double duration, Block* animations) {
        objc::send<void>("UIView"_cls, "animateWithDuration:animations:"_sel, duration, animations);
    }
    // The same with C++ functions; an empty completion is none.
    static void animateWithDuration(double duration, double delay, UIViewAnimationOptions options,
                                    std::function<void()> animations, std::function<void(BOOL)> completion = {}) {
        animateWithDuration(duration, delay, options, Block::blockWithAction(std::move(animations)),
                            completion ? Block::blockWithCompletion(std::move(completion)) : nullptr);
    }
    static void animateWithDuration(double duration, std::function<void()> animations) {
        animateWithDuration(duration, Block::blockWithAction(std::move(animations)));
    }
};

}  // namespace UI
