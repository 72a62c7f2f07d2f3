#include <Foundation/NSArray.h>
#include <Foundation/NSRunLoop.h>
#include <UIKit/UIGraphics.h>
#include <UIKit/UIScreen.h>
#include <UIKit/UIView.h>

#include "GestureInternals.h"
#include "LayerAnimation.h"
#include "LayerState.h"
#include "UIKitRegistration.h"
#include "ViewInternals.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace UI {
namespace {

struct ViewState {
    id layer = nil;            // retained
    id superview = nil;        // observed
    std::vector<id> subviews;  // each retained
    NSInteger tag = 0;
    id backgroundColor = nil;  // retained
    id tintColor = nil;        // retained; nil inherits
    bool userInteractionEnabled = true;
    bool opaque = true;
    bool needsLayout = true;
    std::vector<id> gestureRecognizers;  // each retained
    id viewDelegate = nil;               // the view's controller, observed

    ~ViewState() {
        for (id sub : subviews) objc::release(sub);
        for (id r : gestureRecognizers) objc::release(r);
        objc::release(backgroundColor);
        objc::release(tintColor);
        objc::release(layer);
    }
};

IMP baseDrawRect = nullptr;

ViewState& stateOf(id view) { return objc::state<ViewState>(view); }
CA::detail::LayerState& layerOf(id view) { return CA::detail::stateOf(stateOf(view).layer); }

// The subviews as they are now, each retained for the caller's loop, so that
// callbacks may change the tree while it is walked.
struct Snapshot {
    std::vector<id> views;
    explicit Snapshot(const std::vector<id>& from) : views(from) {
        for (id v : views) objc::retain(v);
    }
    ~Snapshot() {
        for (id v : views) objc::release(v);
    }
};

id defaultTint() { return objc::asId(Color::colorWithRed(0, 122.0 / 255.0, 1, 1)); }

// --- creation -------------------------------------------------------------

id initWithFrame(id self, SEL, CGRect frame) {
    self = objc::sendSuper<id>(self, "UIView"_cls, "init"_sel);
    if (self == nil) return nil;
    Class layerClass = objc::send<Class>(object_getClass(self), "layerClass"_sel);
    id layer = objc::send<id>(objc::send<id>(layerClass, "alloc"_sel), "init"_sel);
    ViewState& s = stateOf(self);
    s.layer = layer;
    objc::send<void>(layer, "setContentsScale:"_sel, Screen::mainScreen()->scale());
    objc::send<void>(layer, "setDelegate:"_sel, self);
    objc::send<void>(self, "setFrame:"_sel, frame);
    return self;
}

id init(id self, SEL) { return objc::send<id>(self, "initWithFrame:"_sel, CGRectZero); }

Class layerClass(Class, SEL) { return "CALayer"_cls; }

void detachSubviewsForDealloc(id self);

void dealloc(id self, SEL) {
    detachSubviewsForDealloc(self);
    ViewState& s = stateOf(self);
    for (id r : s.gestureRecognizers) detail::setRecognizerView(r, nil);
    if (s.layer != nil) {
        CA::detail::stateOf(s.layer).delegate = nil;
        objc::send<void>(s.layer, "removeFromSuperlayer"_sel);
    }
    objc::sendSuper<void>(self, "UIView"_cls, "dealloc"_sel);
}

// --- geometry -------------------------------------------------------------

CGRect frame(id self, SEL) { return CA::detail::frameOf(layerOf(self)); }
CGRect bounds(id self, SEL) { return layerOf(self).bounds; }
CGPoint center(id self, SEL) { return layerOf(self).position; }

void setFrame(id self, SEL, CGRect f) {
    CGSize before = layerOf(self).bounds.size;
    objc::send<void>(stateOf(self).layer, "setFrame:"_sel, f);
    if (!CGSizeEqualToSize(before, layerOf(self).bounds.size)) objc::send<void>(self, "setNeedsLayout"_sel);
}

void setBounds(id self, SEL, CGRect b) {
    CGSize before = layerOf(self).bounds.size;
    objc::send<void>(stateOf(self).layer, "setBounds:"_sel, b);
    if (!CGSizeEqualToSize(before, b.size)) objc::send<void>(self, "setNeedsLayout"_sel);
}

void setCenter(id self, SEL, CGPoint c) { objc::send<void>(stateOf(self).layer, "setPosition:"_sel, c); }

// --- simple properties ----------------------------------------------------

NSInteger tag(id self, SEL) { return stateOf(self).tag; }
void setTag(id self, SEL, NSInteger t) { stateOf(self).tag = t; }

id viewWithTag(id self, SEL, NSInteger t) {
    if (stateOf(self).tag == t) return self;
    for (id sub : stateOf(self).subviews) {
        if (id found = objc::send<id>(sub, "viewWithTag:"_sel, t)) return found;
    }
    return nil;
}

CGFloat alpha(id self, SEL) { return layerOf(self).opacity; }
void setAlpha(id self, SEL, CGFloat a) {
    objc::send<void>(stateOf(self).layer, "setOpacity:"_sel, static_cast<float>(a));
}
BOOL isHidden(id self, SEL) { return layerOf(self).hidden; }
void setHidden(id self, SEL, BOOL h) { objc::send<void>(stateOf(self).layer, "setHidden:"_sel, h); }
BOOL isOpaque(id self, SEL) { return stateOf(self).opaque; }
void setOpaque(id self, SEL, BOOL o) { stateOf(self).opaque = o; }
BOOL clipsToBounds(id self, SEL) { return layerOf(self).masksToBounds; }
void setClipsToBounds(id self, SEL, BOOL c) { objc::send<void>(stateOf(self).layer, "setMasksToBounds:"_sel, c); }
BOOL isUserInteractionEnabled(id self, SEL) { return stateOf(self).userInteractionEnabled; }
void setUserInteractionEnabled(id self, SEL, BOOL e) { stateOf(self).userInteractionEnabled = e; }

id backgroundColor(id self, SEL) { return stateOf(self).backgroundColor; }
void setBackgroundColor(id self, SEL, id color) {
    ViewState& s = stateOf(self);
    objc::retain(color);
    objc::release(s.backgroundColor);
    s.backgroundColor = color;
    objc::send<void>(s.layer, "setBackgroundColor:"_sel, objc::send<CGColorRef>(color, "CGColor"_sel));
}

// --- tint -----------------------------------------------------------------

id tintColor(id self, SEL) {
    ViewState& s = stateOf(self);
    if (s.tintColor != nil) return s.tintColor;
    if (s.superview != nil) return objc::send<id>(s.superview, "tintColor"_sel);
    return defaultTint();
}

// Tells the view and every descendant that inherits its tint.
void notifyTintChange(id view) {
    objc::send<void>(view, "tintColorDidChange"_sel);
    Snapshot subs(stateOf(view).subviews);
    for (id sub : subs.views) {
        if (stateOf(sub).tintColor == nil) notifyTintChange(sub);
    }
}

void setTintColor(id self, SEL, id color) {
    ViewState& s = stateOf(self);
    id before = objc::retain(objc::send<id>(self, "tintColor"_sel));
    objc::retain(color);
    objc::release(s.tintColor);
    s.tintColor = color;
    id after = objc::send<id>(self, "tintColor"_sel);
    bool changed = !objc::send<BOOL>(before, "isEqual:"_sel, after);
    objc::release(before);
    if (changed) notifyTintChange(self);
}

void tintColorDidChange(id, SEL) {}

// --- the tree -------------------------------------------------------------

id superview(id self, SEL) { return stateOf(self).superview; }

id subviews(id self, SEL) {
    const auto& subs = stateOf(self).subviews;
    return objc::asId(NS::Array::arrayWithObjects(subs.data(), subs.size()));
}

id window(id self, SEL) {
    for (id v = self; v != nil; v = stateOf(v).superview) {
        if (objc::send<BOOL>(v, "isKindOfClass:"_sel, "UIWindow"_cls)) return v;
    }
    return nil;
}

BOOL isDescendantOfView(id self, SEL, id other) {
    if (other == nil) return NO;
    for (id v = self; v != nil; v = stateOf(v).superview) {
        if (v == other) return YES;
    }
    return NO;
}

void sendToSubtree(id view, SEL selector, id argument) {
    objc::send<void>(view, selector, argument);
    Snapshot subs(stateOf(view).subviews);
    for (id sub : subs.views) sendToSubtree(sub, selector, argument);
}

void didMoveToWindowInSubtree(id view) {
    objc::send<void>(view, "didMoveToWindow"_sel);
    Snapshot subs(stateOf(view).subviews);
    for (id sub : subs.views) didMoveToWindowInSubtree(sub);
}

// Takes the view out of its superview's list and layer, no callbacks. The
// superview's reference goes to the caller.
void unlink(id view) {
    ViewState& s = stateOf(view);
    if (s.superview == nil) return;
    auto& siblings = stateOf(s.superview).subviews;
    siblings.erase(std::remove(siblings.begin(), siblings.end(), view), siblings.end());
    s.superview = nil;
    objc::send<void>(s.layer, "removeFromSuperlayer"_sel);
}

// Puts the view's layer at the place of the view among the superview's.
void placeLayer(id superview, id view) {
    const auto& subs = stateOf(superview).subviews;
    auto it = std::find(subs.begin(), subs.end(), view);
    id superLayer = stateOf(superview).layer;
    id layer = stateOf(view).layer;
    if (it + 1 != subs.end()) {
        objc::send<void>(superLayer, "insertSublayer:below:"_sel, layer, stateOf(*(it + 1)).layer);
    } else {
        objc::send<void>(superLayer, "addSublayer:"_sel, layer);
    }
}

void insertSubviewAtIndex(id self, SEL, id view, NSInteger index) {
    if (view == nil || view == self) return;
    if (isDescendantOfView(self, nullptr, view)) objc::fatal("a view cannot become a subview of its own subview");
    ViewState& s = stateOf(self);
    ViewState& v = stateOf(view);

    if (v.superview == self) {
        // Only the order changes.
        s.subviews.erase(std::remove(s.subviews.begin(), s.subviews.end(), view), s.subviews.end());
        std::size_t at = std::clamp<NSInteger>(index, 0, static_cast<NSInteger>(s.subviews.size()));
        s.subviews.insert(s.subviews.begin() + static_cast<std::ptrdiff_t>(at), view);
        placeLayer(self, view);
        return;
    }

    objc::retain(view);
    id oldSuperview = v.superview;
    id oldWindow = window(view, nullptr);
    id newWindow = window(self, nullptr);
    id tintBefore = v.tintColor == nil ? objc::retain(objc::send<id>(view, "tintColor"_sel)) : nil;

    if (oldSuperview != nil) objc::send<void>(oldSuperview, "willRemoveSubview:"_sel, view);
    objc::send<void>(view, "willMoveToSuperview:"_sel, self);
    if (oldWindow != newWindow) sendToSubtree(view, "willMoveToWindow:"_sel, newWindow);

    if (oldSuperview != nil) {
        unlink(view);
        objc::release(view);  // the old superview's reference
    }
    std::size_t at = std::clamp<NSInteger>(index, 0, static_cast<NSInteger>(s.subviews.size()));
    s.subviews.insert(s.subviews.begin() + static_cast<std::ptrdiff_t>(at), objc::retain(view));
    v.superview = self;
    placeLayer(self, view);

    if (oldWindow != newWindow) didMoveToWindowInSubtree(view);
    objc::send<void>(view, "didMoveToSuperview"_sel);
    objc::send<void>(self, "didAddSubview:"_sel, view);
    objc::send<void>(self, "setNeedsLayout"_sel);
    objc::send<void>(view, "setNeedsLayout"_sel);

    if (tintBefore != nil) {
        if (!objc::send<BOOL>(tintBefore, "isEqual:"_sel, objc::send<id>(view, "tintColor"_sel))) {
            notifyTintChange(view);
        }
        objc::release(tintBefore);
    }
    objc::release(view);
}

void addSubview(id self, SEL, id view) {
    insertSubviewAtIndex(self, nullptr, view, static_cast<NSInteger>(stateOf(self).subviews.size()));
}

void bringSubviewToFront(id self, SEL, id view) {
    if (view == nil || stateOf(view).superview != self) return;
    insertSubviewAtIndex(self, nullptr, view, static_cast<NSInteger>(stateOf(self).subviews.size()));
}

void sendSubviewToBack(id self, SEL, id view) {
    if (view == nil || stateOf(view).superview != self) return;
    insertSubviewAtIndex(self, nullptr, view, 0);
}

void removeFromSuperview(id self, SEL) {
    ViewState& s = stateOf(self);
    if (s.superview == nil) return;
    objc::retain(self);
    id oldSuperview = s.superview;
    id oldWindow = window(self, nullptr);
    objc::send<void>(oldSuperview, "willRemoveSubview:"_sel, self);
    objc::send<void>(self, "willMoveToSuperview:"_sel, nil);
    if (oldWindow != nil) sendToSubtree(self, "willMoveToWindow:"_sel, nil);
    if (s.superview == oldSuperview) {
        unlink(self);
        objc::release(self);  // the superview's reference
    }
    if (oldWindow != nil) didMoveToWindowInSubtree(self);
    objc::send<void>(self, "didMoveToSuperview"_sel);
    objc::send<void>(oldSuperview, "setNeedsLayout"_sel);
    objc::release(self);
}

// A view going away takes its subviews out first; they hear that they have
// left their superview (and window), as when removed.
void detachSubviewsForDealloc(id self) {
    ViewState& s = stateOf(self);
    while (!s.subviews.empty()) {
        id sub = s.subviews.back();
        s.subviews.pop_back();
        bool hadWindow = window(sub, nullptr) != nil;
        objc::send<void>(sub, "willMoveToSuperview:"_sel, nil);
        if (hadWindow) sendToSubtree(sub, "willMoveToWindow:"_sel, nil);
        stateOf(sub).superview = nil;
        objc::send<void>(stateOf(sub).layer, "removeFromSuperlayer"_sel);
        if (hadWindow) didMoveToWindowInSubtree(sub);
        objc::send<void>(sub, "didMoveToSuperview"_sel);
        objc::release(sub);
    }
}

void noArgument(id, SEL) {}
void oneArgument(id, SEL, id) {}

// --- layout and drawing ---------------------------------------------------

void setNeedsLayout(id self, SEL) { stateOf(self).needsLayout = true; }

void layoutTree(id view) {
    ViewState& s = stateOf(view);
    if (s.needsLayout) {
        s.needsLayout = false;
        objc::send<void>(view, "layoutSubviews"_sel);
    }
    Snapshot subs(stateOf(view).subviews);
    for (id sub : subs.views) layoutTree(sub);
}

void layoutIfNeeded(id self, SEL) { layoutTree(self); }

void setNeedsDisplay(id self, SEL) { objc::send<void>(stateOf(self).layer, "setNeedsDisplay"_sel); }
void setNeedsDisplayInRect(id self, SEL, CGRect) { setNeedsDisplay(self, nullptr); }

void drawRect(id, SEL, CGRect) {}

void drawLayerInContext(id self, SEL, id, CGContextRef context) {
    UIGraphicsPushContext(context);
    objc::send<void>(self, "drawRect:"_sel, layerOf(self).bounds);
    UIGraphicsPopContext();
}

id layer(id self, SEL) { return stateOf(self).layer; }

// --- coordinates ------------------------------------------------------------

// Offset of the view's coordinates in those of the top of its tree, and the
// top itself.
CGPoint offsetInRoot(id view, id* root) {
    CGPoint offset = CGPointZero;
    id v = view;
    while (true) {
        ViewState& s = stateOf(v);
        if (s.superview == nil) break;
        CGRect f = CA::detail::frameOf(layerOf(v));
        CGRect b = layerOf(v).bounds;
        offset.x += f.origin.x - b.origin.x;
        offset.y += f.origin.y - b.origin.y;
        v = s.superview;
    }
    *root = v;
    return offset;
}

// Converts between two views (nil: the window, or the top of the other
// view's tree). Views of different trees meet in screen coordinates, each
// top placed at its frame.
CGPoint convert(CGPoint p, id from, id to) {
    id fromRoot = nil, toRoot = nil;
    CGPoint fromOffset = from != nil ? offsetInRoot(from, &fromRoot) : CGPointZero;
    CGPoint toOffset = to != nil ? offsetInRoot(to, &toRoot) : CGPointZero;
    if (from == nil) fromRoot = toRoot;
    if (to == nil) toRoot = fromRoot;
    CGPoint q = CGPointMake(p.x + fromOffset.x, p.y + fromOffset.y);
    if (fromRoot != toRoot && fromRoot != nil && toRoot != nil) {
        CGRect a = CA::detail::frameOf(layerOf(fromRoot));
        CGRect b = CA::detail::frameOf(layerOf(toRoot));
        CGRect ab = layerOf(fromRoot).bounds, bb = layerOf(toRoot).bounds;
        q.x += a.origin.x - ab.origin.x - (b.origin.x - bb.origin.x);
        q.y += a.origin.y - ab.origin.y - (b.origin.y - bb.origin.y);
    }
    return CGPointMake(q.x - toOffset.x, q.y - toOffset.y);
}

CGPoint convertPointToView(id self, SEL, CGPoint p, id view) { return convert(p, self, view); }
CGPoint convertPointFromView(id self, SEL, CGPoint p, id view) { return convert(p, view, self); }
CGRect convertRectToView(id self, SEL, CGRect r, id view) {
    r.origin = convert(r.origin, self, view);
    return r;
}
CGRect convertRectFromView(id self, SEL, CGRect r, id view) {
    r.origin = convert(r.origin, view, self);
    return r;
}

CGSize sizeThatFits(id self, SEL, CGSize) { return layerOf(self).bounds.size; }

void sizeToFit(id self, SEL) {
    CGSize size = objc::send<CGSize>(self, "sizeThatFits:"_sel, layerOf(self).bounds.size);
    CGRect f = frame(self, nullptr);
    objc::send<void>(self, "setFrame:"_sel, CGRectMake(f.origin.x, f.origin.y, size.width, size.height));
}

// --- gestures and touches ---------------------------------------------------

void removeGestureRecognizer(id self, SEL, id recognizer) {
    auto& list = stateOf(self).gestureRecognizers;
    auto it = std::find(list.begin(), list.end(), recognizer);
    if (it == list.end()) return;
    list.erase(it);
    detail::setRecognizerView(recognizer, nil);
    objc::release(recognizer);
}

void addGestureRecognizer(id self, SEL, id recognizer) {
    if (recognizer == nil) return;
    auto& list = stateOf(self).gestureRecognizers;
    if (std::find(list.begin(), list.end(), recognizer) != list.end()) return;
    objc::retain(recognizer);
    if (id previous = objc::send<id>(recognizer, "view"_sel)) {
        objc::send<void>(previous, "removeGestureRecognizer:"_sel, recognizer);
    }
    list.push_back(recognizer);
    detail::setRecognizerView(recognizer, self);
}

id gestureRecognizers(id self, SEL) {
    const auto& list = stateOf(self).gestureRecognizers;
    if (list.empty()) return nil;
    return objc::asId(NS::Array::arrayWithObjects(list.data(), list.size()));
}

BOOL pointInside(id self, SEL, CGPoint p, id) { return CGRectContainsPoint(layerOf(self).bounds, p) ? YES : NO; }

id hitTest(id self, SEL, CGPoint p, id event) {
    ViewState& s = stateOf(self);
    if (!s.userInteractionEnabled || layerOf(self).hidden || layerOf(self).opacity < 0.01f) return nil;
    if (!objc::send<BOOL>(self, "pointInside:withEvent:"_sel, p, event)) return nil;
    Snapshot subs(s.subviews);
    for (auto it = subs.views.rbegin(); it != subs.views.rend(); ++it) {
        CGPoint q = convert(p, self, *it);
        if (id hit = objc::send<id>(*it, "hitTest:withEvent:"_sel, q, event)) return hit;
    }
    return self;
}

id nextResponder(id self, SEL) {
    ViewState& s = stateOf(self);
    return s.viewDelegate != nil ? s.viewDelegate : s.superview;
}

id viewControllerForAncestor(id self, SEL) {
    for (id v = self; v != nil; v = stateOf(v).superview) {
        if (stateOf(v).viewDelegate != nil) return stateOf(v).viewDelegate;
    }
    return nil;
}

// --- animations -------------------------------------------------------------

CA::detail::Curve curveOf(UIViewAnimationOptions options) {
    switch ((options >> 16) & 0xF) {
    case 1: return CA::detail::Curve::EaseIn;
    case 2: return CA::detail::Curve::EaseOut;
    case 3: return CA::detail::Curve::Linear;
    default: return CA::detail::Curve::EaseInOut;
    }
}

void animate(Class, SEL, double duration, double delay, UIViewAnimationOptions options, id animations, id completion) {
    CA::detail::AnimationContext context;
    context.duration = duration > 0 ? duration : 0;
    context.delay = delay > 0 ? delay : 0;
    context.curve = curveOf(options);
    CA::detail::pushAnimationContext(context);
    objc::send<void>(animations, "invoke"_sel);
    CA::detail::popAnimationContext();
    if (completion != nil) {
        Ref<Block> block(objc::cast<Block>(completion));
        NS::loop::schedule(context.delay + context.duration, [block] { block->invokeWithFinished(YES); });
    }
}

void animateWithCompletion(Class self, SEL, double duration, id animations, id completion) {
    animate(self, nullptr, duration, 0, 0, animations, completion);
}

void animateSimply(Class self, SEL, double duration, id animations) {
    animate(self, nullptr, duration, 0, 0, animations, nil);
}

}  // namespace

namespace detail {

bool viewDrawsContent(id view) {
    return class_getMethodImplementation(object_getClass(view), "drawRect:"_sel) != baseDrawRect;
}

id viewDelegateOf(id view) { return stateOf(view).viewDelegate; }
void setViewDelegate(id view, id controller) { stateOf(view).viewDelegate = controller; }

}  // namespace detail

void registerView() {
    objc::ClassBuilder("UIView", "UIResponder"_cls)
        .state<ViewState>()
        .classMethod("layerClass", &layerClass)
        .method("initWithFrame:", &initWithFrame)
        .method("init", &init)
        .method("dealloc", &dealloc)
        .method("frame", &frame)
        .method("setFrame:", &setFrame)
        .method("bounds", &bounds)
        .method("setBounds:", &setBounds)
        .method("center", &center)
        .method("setCenter:", &setCenter)
        .method("tag", &tag)
        .method("setTag:", &setTag)
        .method("viewWithTag:", &viewWithTag)
        .method("alpha", &alpha)
        .method("setAlpha:", &setAlpha)
        .method("isHidden", &isHidden)
        .method("setHidden:", &setHidden)
        .method("isOpaque", &isOpaque)
        .method("setOpaque:", &setOpaque)
        .method("backgroundColor", &backgroundColor)
        .method("setBackgroundColor:", &setBackgroundColor)
        .method("tintColor", &tintColor)
        .method("setTintColor:", &setTintColor)
        .method("tintColorDidChange", &tintColorDidChange)
        .method("isUserInteractionEnabled", &isUserInteractionEnabled)
        .method("setUserInteractionEnabled:", &setUserInteractionEnabled)
        .method("clipsToBounds", &clipsToBounds)
        .method("setClipsToBounds:", &setClipsToBounds)
        .method("superview", &superview)
        .method("subviews", &subviews)
        .method("window", &window)
        .method("isDescendantOfView:", &isDescendantOfView)
        .method("addSubview:", &addSubview)
        .method("insertSubview:atIndex:", &insertSubviewAtIndex)
        .method("bringSubviewToFront:", &bringSubviewToFront)
        .method("sendSubviewToBack:", &sendSubviewToBack)
        .method("removeFromSuperview", &removeFromSuperview)
        .method("willMoveToSuperview:", &oneArgument)
        .method("didMoveToSuperview", &noArgument)
        .method("willMoveToWindow:", &oneArgument)
        .method("didMoveToWindow", &noArgument)
        .method("didAddSubview:", &oneArgument)
        .method("willRemoveSubview:", &oneArgument)
        .method("layoutSubviews", &noArgument)
        .method("setNeedsLayout", &setNeedsLayout)
        .method("layoutIfNeeded", &layoutIfNeeded)
        .method("drawRect:", &drawRect)
        .method("setNeedsDisplay", &setNeedsDisplay)
        .method("setNeedsDisplayInRect:", &setNeedsDisplayInRect)
        .method("drawLayer:inContext:", &drawLayerInContext)
        .method("layer", &layer)
        .method("convertPoint:toView:", &convertPointToView)
        .method("convertPoint:fromView:", &convertPointFromView)
        .method("convertRect:toView:", &convertRectToView)
        .method("convertRect:fromView:", &convertRectFromView)
        .method("sizeThatFits:", &sizeThatFits)
        .method("sizeToFit", &sizeToFit)
        .method("addGestureRecognizer:", &addGestureRecognizer)
        .method("removeGestureRecognizer:", &removeGestureRecognizer)
        .method("gestureRecognizers", &gestureRecognizers)
        .method("pointInside:withEvent:", &pointInside)
        .method("hitTest:withEvent:", &hitTest)
        .method("nextResponder", &nextResponder)
        .method("_viewControllerForAncestor", &viewControllerForAncestor)
        .classMethod("animateWithDuration:delay:options:animations:completion:", &animate)
        .classMethod("animateWithDuration:animations:completion:", &animateWithCompletion)
        .classMethod("animateWithDuration:animations:", &animateSimply)
        .build();
    baseDrawRect = class_getMethodImplementation("UIView"_cls, "drawRect:"_sel);
}

}  // namespace UI
