#include <Foundation/NSArray.h>
#include <Foundation/NSRunLoop.h>
#include <UIKit/CALayer.h>

#include "LayerRenderer.h"
#include "LayerState.h"
#include "UIKitRegistration.h"
#include "ViewInternals.h"

#include <algorithm>
#include <cmath>

namespace CA::detail {

LayerState::~LayerState() {
    for (const Ref<Layer>& sub : sublayers) stateOf(sub).superlayer = nullptr;
}

LayerState& stateOf(objc::AnyObject layer) { return objc::state<LayerState>(layer); }

CGRect frameOf(const LayerState& s) {
    return CGRectMake(s.position.x - s.anchorPoint.x * s.bounds.size.width,
                      s.position.y - s.anchorPoint.y * s.bounds.size.height, s.bounds.size.width, s.bounds.size.height);
}

void rgbaOf(CGColorRef color, CGFloat out[4]) {
    out[0] = out[1] = out[2] = out[3] = 0;
    if (color == nullptr) return;
    const CGFloat* c = CGColorGetComponents(color);
    std::size_t n = CGColorGetNumberOfComponents(color);
    if (c == nullptr) return;
    if (n == 2) {
        out[0] = out[1] = out[2] = c[0];
        out[3] = c[1];
    } else if (n >= 4) {
        std::copy(c, c + 4, out);
    }
}

namespace {

IMP baseDrawInContext = nullptr;

void drawInContextBase(id self, SEL, CGContextRef context);

}  // namespace

bool drawsContent(id layer) {
    IMP own = class_getMethodImplementation(object_getClass(layer), "drawInContext:"_sel);
    if (own != baseDrawInContext) return true;
    id delegate = stateOf(layer).delegate;
    return delegate != nil && UI::detail::viewDrawsContent(delegate);
}

Presentation presentationAt(LayerState& s, double now) {
    Presentation p{s.bounds, s.position, s.opacity, {0, 0, 0, 0}};
    rgbaOf(s.backgroundColor, p.background);
    if (s.animations.empty()) return p;
    std::erase_if(s.animations, [&](const Animation& a) { return now >= a.begin + a.duration; });
    for (const Animation& a : s.animations) {
        double t = progressAt(a, now);
        CGFloat v[4];
        for (int i = 0; i < 4; ++i) v[i] = a.from[i] + (a.to[i] - a.from[i]) * t;
        switch (a.property) {
        case Animation::Property::Position: p.position = CGPointMake(v[0], v[1]); break;
        case Animation::Property::Bounds: p.bounds = CGRectMake(v[0], v[1], v[2], v[3]); break;
        case Animation::Property::Opacity: p.opacity = static_cast<float>(v[0]); break;
        case Animation::Property::BackgroundColor: std::copy(v, v + 4, p.background); break;
        }
    }
    return p;
}

namespace {

// Records an animation of a property when an animation block is running and
// the value really changes.
void animate(LayerState& s, Animation::Property property, const CGFloat from[4], const CGFloat to[4]) {
    const AnimationContext* context = currentAnimationContext();
    if (context == nullptr || context->duration <= 0) return;
    if (std::equal(from, from + 4, to)) return;
    Animation a;
    a.property = property;
    a.begin = NS::loop::now() + std::max(0.0, context->delay);
    a.duration = context->duration;
    a.curve = context->curve;
    std::copy(from, from + 4, a.from);
    std::copy(to, to + 4, a.to);
    addAnimation(s.animations, a);
}

bool animating() {
    const AnimationContext* c = currentAnimationContext();
    return c != nullptr && c->duration > 0;
}

void changeBounds(id self, LayerState& s, CGRect bounds) {
    if (animating()) {
        Presentation now = presentationAt(s, NS::loop::now());
        CGFloat from[4] = {now.bounds.origin.x, now.bounds.origin.y, now.bounds.size.width, now.bounds.size.height};
        CGFloat to[4] = {bounds.origin.x, bounds.origin.y, bounds.size.width, bounds.size.height};
        animate(s, Animation::Property::Bounds, from, to);
    }
    bool resized = !CGSizeEqualToSize(bounds.size, s.bounds.size);
    s.bounds = bounds;
    // A drawing layer paints again at its new size.
    if (resized && drawsContent(self)) s.needsDisplay = true;
}

void changePosition(LayerState& s, CGPoint position) {
    if (animating()) {
        Presentation now = presentationAt(s, NS::loop::now());
        CGFloat from[4] = {now.position.x, now.position.y, 0, 0};
        CGFloat to[4] = {position.x, position.y, 0, 0};
        animate(s, Animation::Property::Position, from, to);
    }
    s.position = position;
}

id init(id self, SEL) {
    self = objc::sendSuper<id>(self, "CALayer"_cls, "init"_sel);
    if (self == nil) return nil;
    LayerState& s = stateOf(self);
    // Core Animation's default border colour is opaque black.
    s.borderColor = UI::detail::ColorHandle::adopt(CGColorCreateGenericRGB(0, 0, 0, 1));
    s.needsDisplay = true;
    return self;
}

id layerFactory(Class self, SEL) {
    return objc::autorelease(objc::cast<CA::Layer>(objc::send<id>(self, "alloc"_sel))->init());
}

CGRect bounds(id self, SEL) { return stateOf(self).bounds; }
void setBounds(id self, SEL, CGRect r) { changeBounds(self, stateOf(self), r); }
CGPoint position(id self, SEL) { return stateOf(self).position; }
void setPosition(id self, SEL, CGPoint p) { changePosition(stateOf(self), p); }
CGPoint anchorPoint(id self, SEL) { return stateOf(self).anchorPoint; }
void setAnchorPoint(id self, SEL, CGPoint p) { stateOf(self).anchorPoint = p; }
CGRect frame(id self, SEL) { return frameOf(stateOf(self)); }

void setFrame(id self, SEL, CGRect f) {
    LayerState& s = stateOf(self);
    f = CGRectStandardize(f);
    changeBounds(self, s, CGRectMake(s.bounds.origin.x, s.bounds.origin.y, f.size.width, f.size.height));
    changePosition(
        s, CGPointMake(f.origin.x + s.anchorPoint.x * f.size.width, f.origin.y + s.anchorPoint.y * f.size.height));
}

CGColorRef backgroundColor(id self, SEL) { return stateOf(self).backgroundColor; }
void setBackgroundColor(id self, SEL, CGColorRef color) {
    LayerState& s = stateOf(self);
    if (animating()) {
        Presentation now = presentationAt(s, NS::loop::now());
        CGFloat to[4];
        rgbaOf(color, to);
        animate(s, Animation::Property::BackgroundColor, now.background, to);
    }
    s.backgroundColor = color;
}
CGColorRef borderColor(id self, SEL) { return stateOf(self).borderColor; }
void setBorderColor(id self, SEL, CGColorRef color) { stateOf(self).borderColor = color; }
CGFloat borderWidth(id self, SEL) { return stateOf(self).borderWidth; }
void setBorderWidth(id self, SEL, CGFloat w) { stateOf(self).borderWidth = w; }
CGFloat cornerRadius(id self, SEL) { return stateOf(self).cornerRadius; }
void setCornerRadius(id self, SEL, CGFloat r) { stateOf(self).cornerRadius = r; }
BOOL masksToBounds(id self, SEL) { return stateOf(self).masksToBounds; }
void setMasksToBounds(id self, SEL, BOOL m) { stateOf(self).masksToBounds = m; }
float opacity(id self, SEL) { return stateOf(self).opacity; }
void setOpacity(id self, SEL, float o) {
    LayerState& s = stateOf(self);
    if (animating()) {
        Presentation now = presentationAt(s, NS::loop::now());
        CGFloat from[4] = {now.opacity, 0, 0, 0};
        CGFloat to[4] = {o, 0, 0, 0};
        animate(s, Animation::Property::Opacity, from, to);
    }
    s.opacity = o;
}
BOOL isHidden(id self, SEL) { return stateOf(self).hidden; }
void setHidden(id self, SEL, BOOL h) { stateOf(self).hidden = h; }

CGImageRef contents(id self, SEL) { return stateOf(self).contents; }
void setContents(id self, SEL, CGImageRef image) { stateOf(self).contents = image; }
CGFloat contentsScale(id self, SEL) { return stateOf(self).contentsScale; }
void setContentsScale(id self, SEL, CGFloat scale) {
    LayerState& s = stateOf(self);
    if (scale == s.contentsScale || !(scale > 0)) return;
    s.contentsScale = scale;
    if (drawsContent(self)) s.needsDisplay = true;
}

Layer* mask(Layer* self, SEL) { return stateOf(self).mask; }
void setMask(Layer* self, SEL, Layer* mask) { stateOf(self).mask = mask; }

Layer* superlayer(Layer* self, SEL) { return stateOf(self).superlayer; }

NS::Array* sublayers(Layer* self, SEL) {
    const auto& subs = stateOf(self).sublayers;
    if (subs.empty()) return nullptr;
    std::vector<id> ids;
    for (Layer* sub : subs) ids.push_back(objc::asId(sub));
    return NS::Array::arrayWithObjects(ids.data(), ids.size());
}

// Where the layer stands among the sublayers, or their end.
std::vector<Ref<Layer>>::iterator positionOf(std::vector<Ref<Layer>>& subs, Layer* layer) {
    return std::find_if(subs.begin(), subs.end(), [layer](const Ref<Layer>& sub) { return sub.get() == layer; });
}

void removeFromSuperlayer(Layer* self, SEL) {
    LayerState& s = stateOf(self);
    if (s.superlayer == nullptr) return;
    auto& siblings = stateOf(s.superlayer).sublayers;
    s.superlayer = nullptr;
    auto it = positionOf(siblings, self);
    if (it == siblings.end()) return;
    // Released once out of the list: the superlayer may hold the only reference.
    Ref<Layer> gone = std::move(*it);
    siblings.erase(it);
}

void insertAt(Layer* self, Layer* layer, std::size_t index) {
    if (layer == nullptr) return;
    for (Layer* up = self; up != nullptr; up = stateOf(up).superlayer) {
        if (up == layer) objc::fatal("a layer cannot become a sublayer of itself or of its own sublayer");
    }
    Ref<Layer> kept = layer;  // through its removal from where it was
    removeFromSuperlayer(layer, nullptr);
    auto& subs = stateOf(self).sublayers;
    index = std::min(index, subs.size());
    subs.insert(subs.begin() + static_cast<std::ptrdiff_t>(index), std::move(kept));
    stateOf(layer).superlayer = self;
}

std::size_t indexOf(Layer* self, Layer* sibling, std::size_t notFound) {
    auto& subs = stateOf(self).sublayers;
    auto it = positionOf(subs, sibling);
    return it == subs.end() ? notFound : static_cast<std::size_t>(it - subs.begin());
}

void addSublayer(Layer* self, SEL, Layer* layer) { insertAt(self, layer, stateOf(self).sublayers.size()); }
void insertSublayerAtIndex(Layer* self, SEL, Layer* layer, unsigned index) { insertAt(self, layer, index); }
void insertSublayerBelow(Layer* self, SEL, Layer* layer, Layer* sibling) {
    // Taken out first, so that the sibling's index is the one that stays.
    if (layer == nullptr || layer == sibling) return;
    Ref<Layer> kept = layer;
    removeFromSuperlayer(layer, nullptr);
    insertAt(self, layer, indexOf(self, sibling, 0));
}
void insertSublayerAbove(Layer* self, SEL, Layer* layer, Layer* sibling) {
    if (layer == nullptr || layer == sibling) return;
    Ref<Layer> kept = layer;
    removeFromSuperlayer(layer, nullptr);
    std::size_t count = stateOf(self).sublayers.size();
    std::size_t at = indexOf(self, sibling, count);
    insertAt(self, layer, at == count ? count : at + 1);
}

id delegate(id self, SEL) { return stateOf(self).delegate; }
void setDelegate(id self, SEL, id d) {
    LayerState& s = stateOf(self);
    s.delegate = d;
    if (drawsContent(self)) s.needsDisplay = true;
}

void setNeedsDisplay(id self, SEL) { stateOf(self).needsDisplay = true; }
BOOL needsDisplay(id self, SEL) { return stateOf(self).needsDisplay; }

void display(id self, SEL) {
    LayerState& s = stateOf(self);
    s.needsDisplay = false;
    if (!drawsContent(self)) {
        s.backing.clear();
        return;
    }
    CGContextRef context = s.backing.beginPainting(s.bounds, s.contentsScale);
    if (context == nullptr) return;  // nothing to paint on: an empty layer
    objc::cast<CA::Layer>(self)->drawInContext(context);
    s.backing.endPainting(context);
}

void displayIfNeeded(id self, SEL) {
    if (stateOf(self).needsDisplay) objc::cast<CA::Layer>(self)->display();
}

void drawInContextBase(id self, SEL, CGContextRef context) {
    id d = stateOf(self).delegate;
    if (objc::respondsTo(d, "drawLayer:inContext:"_sel)) {
        objc::send<void>(d, "drawLayer:inContext:"_sel, self, context);
    }
}

void renderInContext(id self, SEL, CGContextRef context) { renderLayer(self, context); }

}  // namespace
}  // namespace CA::detail

namespace UI {

void registerLayer() {
    using namespace CA::detail;
    objc::ClassBuilder("CALayer", "NSObject"_cls)
        .state<LayerState>()
        .method("init", &init)
        .classMethod("layer", &layerFactory)
        .method("bounds", &bounds)
        .method("setBounds:", &setBounds)
        .method("position", &position)
        .method("setPosition:", &setPosition)
        .method("anchorPoint", &anchorPoint)
        .method("setAnchorPoint:", &setAnchorPoint)
        .method("frame", &frame)
        .method("setFrame:", &setFrame)
        .method("backgroundColor", &backgroundColor)
        .method("setBackgroundColor:", &setBackgroundColor)
        .method("borderColor", &borderColor)
        .method("setBorderColor:", &setBorderColor)
        .method("borderWidth", &borderWidth)
        .method("setBorderWidth:", &setBorderWidth)
        .method("cornerRadius", &cornerRadius)
        .method("setCornerRadius:", &setCornerRadius)
        .method("masksToBounds", &masksToBounds)
        .method("setMasksToBounds:", &setMasksToBounds)
        .method("opacity", &opacity)
        .method("setOpacity:", &setOpacity)
        .method("isHidden", &isHidden)
        .method("setHidden:", &setHidden)
        .method("contents", &contents)
        .method("setContents:", &setContents)
        .method("contentsScale", &contentsScale)
        .method("setContentsScale:", &setContentsScale)
        .method("mask", &mask)
        .method("setMask:", &setMask)
        .method("superlayer", &superlayer)
        .method("sublayers", &sublayers)
        .method("addSublayer:", &addSublayer)
        .method("insertSublayer:atIndex:", &insertSublayerAtIndex)
        .method("insertSublayer:below:", &insertSublayerBelow)
        .method("insertSublayer:above:", &insertSublayerAbove)
        .method("removeFromSuperlayer", &removeFromSuperlayer)
        .method("delegate", &delegate)
        .method("setDelegate:", &setDelegate)
        .method("setNeedsDisplay", &setNeedsDisplay)
        .method("needsDisplay", &needsDisplay)
        .method("display", &display)
        .method("displayIfNeeded", &displayIfNeeded)
        .method("drawInContext:", &drawInContextBase)
        .method("renderInContext:", &renderInContext)
        .build();
    baseDrawInContext = class_getMethodImplementation("CALayer"_cls, "drawInContext:"_sel);
}

}  // namespace UI
