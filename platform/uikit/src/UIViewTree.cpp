// UIView's tree: adding, moving and removing subviews with their callbacks,
// conversion of coordinates between views, hit testing and the responder
// chain.
#include <Foundation/NSArray.h>
#include <UIKit/UITouch.h>
#include <UIKit/UIWindow.h>

#include "ViewState.h"

#include <algorithm>

namespace UI {
namespace {

using detail::ViewState;
ViewState& stateOf(objc::AnyObject view) { return detail::viewStateOf(view); }
CA::detail::LayerState& layerOf(objc::AnyObject view) { return detail::viewLayerOf(view); }

// The subviews as they are now, each retained for the caller's loop, so that
// callbacks may change the tree while it is walked.
std::vector<Ref<View>> snapshotOfSubviews(View* view) { return stateOf(view).subviews; }

void removeFrom(std::vector<Ref<View>>& list, View* view) {
    list.erase(std::remove(list.begin(), list.end(), view), list.end());
}

View* superview(View* self, SEL) { return stateOf(self).superview; }

NS::Array* subviews(View* self, SEL) {
    std::vector<id> subs;
    for (View* sub : stateOf(self).subviews) subs.push_back(objc::asId(sub));
    return NS::Array::arrayWithObjects(subs.data(), subs.size());
}

Window* window(View* self, SEL) {
    for (View* v = self; v != nullptr; v = stateOf(v).superview) {
        if (v->isKindOfClass("UIWindow"_cls)) return objc::cast<Window>(v);
    }
    return nullptr;
}

BOOL isDescendantOfView(View* self, SEL, View* other) {
    if (other == nullptr) return NO;
    for (View* v = self; v != nullptr; v = stateOf(v).superview) {
        if (v == other) return YES;
    }
    return NO;
}

void willMoveToWindowInSubtree(View* view, Window* newWindow) {
    view->willMoveToWindow(newWindow);
    for (View* sub : snapshotOfSubviews(view)) willMoveToWindowInSubtree(sub, newWindow);
}

void didMoveToWindowInSubtree(View* view) {
    view->didMoveToWindow();
    for (View* sub : snapshotOfSubviews(view)) didMoveToWindowInSubtree(sub);
}

// Takes the view out of its superview's list and layer, no callbacks; the
// superview's reference goes with it.
void unlink(View* view) {
    ViewState& s = stateOf(view);
    if (s.superview == nullptr) return;
    Ref<View> keep(view);
    removeFrom(stateOf(s.superview).subviews, view);
    s.superview = nullptr;
    s.layer->removeFromSuperlayer();
}

// Puts the view's layer at the place of the view among the superview's.
void placeLayer(View* superview, View* view) {
    const auto& subs = stateOf(superview).subviews;
    auto it = std::find(subs.begin(), subs.end(), view);
    CA::Layer* superLayer = stateOf(superview).layer;
    CA::Layer* layer = stateOf(view).layer;
    if (it + 1 != subs.end()) {
        superLayer->insertSublayerBelow(layer, stateOf(*(it + 1)).layer.get());
    } else {
        superLayer->addSublayer(layer);
    }
}

void insertAt(std::vector<Ref<View>>& list, View* view, NSInteger index) {
    std::size_t at = std::clamp<NSInteger>(index, 0, static_cast<NSInteger>(list.size()));
    list.insert(list.begin() + static_cast<std::ptrdiff_t>(at), Ref<View>(view));
}

void insertSubviewAtIndex(View* self, SEL, View* view, NSInteger index) {
    if (view == nullptr || view == self) return;
    if (isDescendantOfView(self, nullptr, view)) objc::fatal("a view cannot become a subview of its own subview");
    ViewState& s = stateOf(self);
    ViewState& v = stateOf(view);

    if (v.superview == self) {
        // Only the order changes.
        Ref<View> keep(view);
        removeFrom(s.subviews, view);
        insertAt(s.subviews, view, index);
        placeLayer(self, view);
        return;
    }

    Ref<View> keep(view);
    View* oldSuperview = v.superview;
    Window* oldWindow = window(view, nullptr);
    Window* newWindow = window(self, nullptr);
    Ref<Color> tintBefore = v.tintColor ? nullptr : view->tintColor();

    if (oldSuperview != nullptr) oldSuperview->willRemoveSubview(view);
    view->willMoveToSuperview(self);
    if (oldWindow != newWindow) willMoveToWindowInSubtree(view, newWindow);

    if (oldSuperview != nullptr) unlink(view);
    insertAt(s.subviews, view, index);
    v.superview = self;
    placeLayer(self, view);

    if (oldWindow != newWindow) didMoveToWindowInSubtree(view);
    view->didMoveToSuperview();
    self->didAddSubview(view);
    self->setNeedsLayout();
    view->setNeedsLayout();

    if (tintBefore && !tintBefore->isEqual(view->tintColor())) detail::notifyTintChange(view);
}

void addSubview(View* self, SEL, View* view) {
    insertSubviewAtIndex(self, nullptr, view, static_cast<NSInteger>(stateOf(self).subviews.size()));
}

void bringSubviewToFront(View* self, SEL, View* view) {
    if (view == nullptr || stateOf(view).superview != self) return;
    insertSubviewAtIndex(self, nullptr, view, static_cast<NSInteger>(stateOf(self).subviews.size()));
}

void sendSubviewToBack(View* self, SEL, View* view) {
    if (view == nullptr || stateOf(view).superview != self) return;
    insertSubviewAtIndex(self, nullptr, view, 0);
}

void removeFromSuperview(View* self, SEL) {
    ViewState& s = stateOf(self);
    if (s.superview == nullptr) return;
    Ref<View> keep(self);
    View* oldSuperview = s.superview;
    Window* oldWindow = window(self, nullptr);
    oldSuperview->willRemoveSubview(self);
    self->willMoveToSuperview(nullptr);
    if (oldWindow != nullptr) willMoveToWindowInSubtree(self, nullptr);
    if (s.superview == oldSuperview) unlink(self);
    if (oldWindow != nullptr) didMoveToWindowInSubtree(self);
    self->didMoveToSuperview();
    oldSuperview->setNeedsLayout();
}

void noArgument(id, SEL) {}
void oneArgument(id, SEL, id) {}

// --- coordinates ------------------------------------------------------------

// Offset of the view's coordinates in those of the top of its tree, and the
// top itself.
CGPoint offsetInRoot(const View* view, const View** root) {
    CGPoint offset = CGPointZero;
    const View* v = view;
    while (true) {
        ViewState& s = stateOf(v);
        if (s.superview == nullptr) break;
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
CGPoint convert(CGPoint p, const View* from, const View* to) {
    const View *fromRoot = nullptr, *toRoot = nullptr;
    CGPoint fromOffset = from != nullptr ? offsetInRoot(from, &fromRoot) : CGPointZero;
    CGPoint toOffset = to != nullptr ? offsetInRoot(to, &toRoot) : CGPointZero;
    if (from == nullptr) fromRoot = toRoot;
    if (to == nullptr) toRoot = fromRoot;
    CGPoint q = CGPointMake(p.x + fromOffset.x, p.y + fromOffset.y);
    if (fromRoot != toRoot && fromRoot != nullptr && toRoot != nullptr) {
        CGRect a = CA::detail::frameOf(layerOf(fromRoot));
        CGRect b = CA::detail::frameOf(layerOf(toRoot));
        CGRect ab = layerOf(fromRoot).bounds, bb = layerOf(toRoot).bounds;
        q.x += a.origin.x - ab.origin.x - (b.origin.x - bb.origin.x);
        q.y += a.origin.y - ab.origin.y - (b.origin.y - bb.origin.y);
    }
    return CGPointMake(q.x - toOffset.x, q.y - toOffset.y);
}

CGPoint convertPointToView(View* self, SEL, CGPoint p, View* view) { return convert(p, self, view); }
CGPoint convertPointFromView(View* self, SEL, CGPoint p, View* view) { return convert(p, view, self); }
CGRect convertRectToView(View* self, SEL, CGRect r, View* view) {
    r.origin = convert(r.origin, self, view);
    return r;
}
CGRect convertRectFromView(View* self, SEL, CGRect r, View* view) {
    r.origin = convert(r.origin, view, self);
    return r;
}

// --- hit testing and the responder chain ------------------------------------

BOOL pointInside(View* self, SEL, CGPoint p, id) { return CGRectContainsPoint(layerOf(self).bounds, p) ? YES : NO; }

View* hitTest(View* self, SEL, CGPoint p, Event* event) {
    ViewState& s = stateOf(self);
    if (!s.userInteractionEnabled || layerOf(self).hidden || layerOf(self).opacity < 0.01f) return nullptr;
    if (!self->pointInside(p, event)) return nullptr;
    std::vector<Ref<View>> subs = snapshotOfSubviews(self);
    for (auto it = subs.rbegin(); it != subs.rend(); ++it) {
        CGPoint q = convert(p, self, *it);
        if (View* hit = (*it)->hitTest(q, event)) return hit;
    }
    return self;
}

id nextResponder(View* self, SEL) {
    ViewState& s = stateOf(self);
    return s.viewDelegate != nil ? s.viewDelegate : objc::asId(s.superview);
}

id viewControllerForAncestor(View* self, SEL) {
    for (View* v = self; v != nullptr; v = stateOf(v).superview) {
        if (stateOf(v).viewDelegate != nil) return stateOf(v).viewDelegate;
    }
    return nil;
}

}  // namespace

namespace detail {

void detachSubviewsForDealloc(View* self) {
    ViewState& s = stateOf(self);
    while (!s.subviews.empty()) {
        Ref<View> sub = std::move(s.subviews.back());
        s.subviews.pop_back();
        bool hadWindow = window(sub, nullptr) != nullptr;
        sub->willMoveToSuperview(nullptr);
        if (hadWindow) willMoveToWindowInSubtree(sub, nullptr);
        stateOf(sub).superview = nullptr;
        stateOf(sub).layer->removeFromSuperlayer();
        if (hadWindow) didMoveToWindowInSubtree(sub);
        sub->didMoveToSuperview();
    }
}

void addViewTreeMethods(objc::ClassBuilder& builder) {
    builder.method("superview", &superview)
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
        .method("convertPoint:toView:", &convertPointToView)
        .method("convertPoint:fromView:", &convertPointFromView)
        .method("convertRect:toView:", &convertRectToView)
        .method("convertRect:fromView:", &convertRectFromView)
        .method("pointInside:withEvent:", &pointInside)
        .method("hitTest:withEvent:", &hitTest)
        .method("nextResponder", &nextResponder)
        .method("_viewControllerForAncestor", &viewControllerForAncestor);
}

}  // namespace detail
}  // namespace UI
