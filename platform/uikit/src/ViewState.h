// The fields of a UIView, shared by the files that implement the class: the
// view's own properties (UIView.cpp), the tree and hit testing
// (UIViewTree.cpp) and the animations (UIViewAnimation.cpp). Internal to
// UIKit.
#pragma once

#include <ObjCBridge/ClassBuilder.h>
#include <ObjCBridge/Ref.h>
#include <UIKit/UIGestureRecognizer.h>
#include <UIKit/UIView.h>

#include "LayerState.h"

#include <vector>

namespace UI::detail {

struct ViewState {
    Ref<CA::Layer> layer;
    View* superview = nullptr;  // not owned
    std::vector<Ref<View>> subviews;
    NSInteger tag = 0;
    Ref<Color> backgroundColor;
    Ref<Color> tintColor;  // nil inherits
    bool userInteractionEnabled = true;
    bool opaque = true;
    bool needsLayout = true;
    std::vector<Ref<GestureRecognizer>> gestureRecognizers;
    id viewDelegate = nil;  // the view's controller (not owned)
};

inline ViewState& viewStateOf(objc::AnyObject view) { return objc::state<ViewState>(view); }
inline CA::detail::LayerState& viewLayerOf(objc::AnyObject view) {
    return CA::detail::stateOf(viewStateOf(view).layer);
}

// Tells the view and every descendant that inherits its tint.
void notifyTintChange(View* view);

// A view going away takes its subviews out first; they hear that they have
// left their superview (and window), as when removed.
void detachSubviewsForDealloc(View* view);

// The methods of the tree and of hit testing, and those of the animations.
void addViewTreeMethods(objc::ClassBuilder& builder);
void addViewAnimationMethods(objc::ClassBuilder& builder);

}  // namespace UI::detail
