// UIView: creation, geometry and look (kept in the layer), tint, layout,
// drawing and gesture recognisers. The tree is in UIViewTree.cpp, the
// animations in UIViewAnimation.cpp.
#include <Foundation/NSArray.h>
#include <UIKit/UIGraphics.h>
#include <UIKit/UIScreen.h>
#include <UIKit/UIView.h>

#include "GestureInternals.h"
#include "UIKitRegistration.h"
#include "ViewInternals.h"
#include "ViewState.h"

#include <algorithm>

namespace UI {
namespace {

using detail::ViewState;
ViewState& stateOf(objc::AnyObject view) { return detail::viewStateOf(view); }
CA::detail::LayerState& layerOf(objc::AnyObject view) { return detail::viewLayerOf(view); }

IMP baseDrawRect = nullptr;

Color* defaultTint() { return Color::colorWithRed(0, 122.0 / 255.0, 1, 1); }

// --- creation -------------------------------------------------------------

id initWithFrame(id self, SEL, CGRect frame) {
    self = objc::sendSuper<id>(self, "UIView"_cls, "init"_sel);
    if (self == nil) return nil;
    auto* view = objc::cast<View>(self);
    Class layerClass = objc::send<Class>(object_getClass(self), "layerClass"_sel);
    ViewState& s = stateOf(self);
    s.layer = objc::adopt(objc::send<CA::Layer*>(layerClass, "alloc"_sel)->init());
    s.layer->setContentsScale(Screen::mainScreen()->scale());
    s.layer->setDelegate(self);
    view->setFrame(frame);
    return self;
}

View* init(View* self, SEL) { return self->initWithFrame(CGRectZero); }

Class layerClass(Class, SEL) { return "CALayer"_cls; }

void dealloc(View* self, SEL) {
    detail::detachSubviewsForDealloc(self);
    ViewState& s = stateOf(self);
    for (GestureRecognizer* r : s.gestureRecognizers) detail::setRecognizerView(r, nullptr);
    if (s.layer) {
        CA::detail::stateOf(s.layer).delegate = nil;
        s.layer->removeFromSuperlayer();
    }
    objc::sendSuper<void>(self, "UIView"_cls, "dealloc"_sel);
}

// --- geometry -------------------------------------------------------------

CGRect frame(View* self, SEL) { return CA::detail::frameOf(layerOf(self)); }
CGRect bounds(View* self, SEL) { return layerOf(self).bounds; }
CGPoint center(View* self, SEL) { return layerOf(self).position; }

void setFrame(View* self, SEL, CGRect f) {
    CGSize before = layerOf(self).bounds.size;
    stateOf(self).layer->setFrame(f);
    if (!CGSizeEqualToSize(before, layerOf(self).bounds.size)) self->setNeedsLayout();
}

void setBounds(View* self, SEL, CGRect b) {
    CGSize before = layerOf(self).bounds.size;
    stateOf(self).layer->setBounds(b);
    if (!CGSizeEqualToSize(before, b.size)) self->setNeedsLayout();
}

void setCenter(View* self, SEL, CGPoint c) { stateOf(self).layer->setPosition(c); }

CGSize sizeThatFits(View* self, SEL, CGSize) { return layerOf(self).bounds.size; }

void sizeToFit(View* self, SEL) {
    CGSize size = self->sizeThatFits(layerOf(self).bounds.size);
    CGRect f = frame(self, nullptr);
    self->setFrame(CGRectMake(f.origin.x, f.origin.y, size.width, size.height));
}

// --- simple properties ----------------------------------------------------

NSInteger tag(View* self, SEL) { return stateOf(self).tag; }
void setTag(View* self, SEL, NSInteger t) { stateOf(self).tag = t; }

View* viewWithTag(View* self, SEL, NSInteger t) {
    if (stateOf(self).tag == t) return self;
    for (View* sub : stateOf(self).subviews) {
        if (View* found = sub->viewWithTag(t)) return found;
    }
    return nullptr;
}

CGFloat alpha(View* self, SEL) { return layerOf(self).opacity; }
void setAlpha(View* self, SEL, CGFloat a) { stateOf(self).layer->setOpacity(static_cast<float>(a)); }
BOOL isHidden(View* self, SEL) { return layerOf(self).hidden; }
void setHidden(View* self, SEL, BOOL h) { stateOf(self).layer->setHidden(h); }
BOOL isOpaque(View* self, SEL) { return stateOf(self).opaque; }
void setOpaque(View* self, SEL, BOOL o) { stateOf(self).opaque = o; }
BOOL clipsToBounds(View* self, SEL) { return layerOf(self).masksToBounds; }
void setClipsToBounds(View* self, SEL, BOOL c) { stateOf(self).layer->setMasksToBounds(c); }
BOOL isUserInteractionEnabled(View* self, SEL) { return stateOf(self).userInteractionEnabled; }
void setUserInteractionEnabled(View* self, SEL, BOOL e) { stateOf(self).userInteractionEnabled = e; }

Color* backgroundColor(View* self, SEL) { return stateOf(self).backgroundColor; }
void setBackgroundColor(View* self, SEL, Color* color) {
    ViewState& s = stateOf(self);
    s.backgroundColor = color;
    s.layer->setBackgroundColor(color != nullptr ? color->CGColor() : nullptr);
}

// --- tint -----------------------------------------------------------------

Color* tintColor(View* self, SEL) {
    ViewState& s = stateOf(self);
    if (s.tintColor) return s.tintColor;
    if (s.superview != nullptr) return s.superview->tintColor();
    return defaultTint();
}

void setTintColor(View* self, SEL, Color* color) {
    Ref<Color> before = self->tintColor();
    stateOf(self).tintColor = color;
    if (!before || !before->isEqual(self->tintColor())) detail::notifyTintChange(self);
}

void tintColorDidChange(id, SEL) {}

// --- layout and drawing ---------------------------------------------------

void setNeedsLayout(View* self, SEL) { stateOf(self).needsLayout = true; }

void layoutTree(View* view) {
    ViewState& s = stateOf(view);
    if (s.needsLayout) {
        s.needsLayout = false;
        view->layoutSubviews();
    }
    std::vector<Ref<View>> subs = stateOf(view).subviews;
    for (View* sub : subs) layoutTree(sub);
}

void layoutIfNeeded(View* self, SEL) { layoutTree(self); }
void layoutSubviews(id, SEL) {}

void setNeedsDisplay(View* self, SEL) { stateOf(self).layer->setNeedsDisplay(); }
void setNeedsDisplayInRect(View* self, SEL, CGRect) { setNeedsDisplay(self, nullptr); }

void drawRect(id, SEL, CGRect) {}

void drawLayerInContext(View* self, SEL, id, CGContextRef context) {
    UIGraphicsPushContext(context);
    self->drawRect(layerOf(self).bounds);
    UIGraphicsPopContext();
}

CA::Layer* layer(View* self, SEL) { return stateOf(self).layer; }

// --- gesture recognisers ----------------------------------------------------

void removeGestureRecognizer(View* self, SEL, GestureRecognizer* recognizer) {
    auto& list = stateOf(self).gestureRecognizers;
    auto it = std::find(list.begin(), list.end(), recognizer);
    if (it == list.end()) return;
    Ref<GestureRecognizer> removed = std::move(*it);
    list.erase(it);
    detail::setRecognizerView(recognizer, nullptr);
}

void addGestureRecognizer(View* self, SEL, GestureRecognizer* recognizer) {
    if (recognizer == nullptr) return;
    auto& list = stateOf(self).gestureRecognizers;
    if (std::find(list.begin(), list.end(), recognizer) != list.end()) return;
    Ref<GestureRecognizer> added(recognizer);
    if (View* previous = recognizer->view()) previous->removeGestureRecognizer(recognizer);
    list.push_back(std::move(added));
    detail::setRecognizerView(recognizer, self);
}

NS::Array* gestureRecognizers(View* self, SEL) {
    const auto& list = stateOf(self).gestureRecognizers;
    if (list.empty()) return nullptr;
    std::vector<id> recognizers;
    for (GestureRecognizer* r : list) recognizers.push_back(objc::asId(r));
    return NS::Array::arrayWithObjects(recognizers.data(), recognizers.size());
}

}  // namespace

namespace detail {

void notifyTintChange(View* view) {
    view->tintColorDidChange();
    std::vector<Ref<View>> subs = stateOf(view).subviews;
    for (View* sub : subs) {
        if (!stateOf(sub).tintColor) notifyTintChange(sub);
    }
}

bool viewDrawsContent(id view) {
    return class_getMethodImplementation(object_getClass(view), "drawRect:"_sel) != baseDrawRect;
}

id viewDelegateOf(id view) { return stateOf(view).viewDelegate; }
void setViewDelegate(id view, id controller) { stateOf(view).viewDelegate = controller; }

}  // namespace detail

void registerView() {
    objc::ClassBuilder builder("UIView", "UIResponder"_cls);
    builder.state<ViewState>()
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
        .method("sizeThatFits:", &sizeThatFits)
        .method("sizeToFit", &sizeToFit)
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
        .method("layoutSubviews", &layoutSubviews)
        .method("setNeedsLayout", &setNeedsLayout)
        .method("layoutIfNeeded", &layoutIfNeeded)
        .method("drawRect:", &drawRect)
        .method("setNeedsDisplay", &setNeedsDisplay)
        .method("setNeedsDisplayInRect:", &setNeedsDisplayInRect)
        .method("drawLayer:inContext:", &drawLayerInContext)
        .method("layer", &layer)
        .method("addGestureRecognizer:", &addGestureRecognizer)
        .method("removeGestureRecognizer:", &removeGestureRecognizer)
        .method("gestureRecognizers", &gestureRecognizers);
    detail::addViewTreeMethods(builder);
    detail::addViewAnimationMethods(builder);
    builder.build();
    baseDrawRect = class_getMethodImplementation("UIView"_cls, "drawRect:"_sel);
}

}  // namespace UI
