// The fields of a CALayer, shared by the layer class, the compositor and the
// view animations. Internal to UIKit.
#pragma once

#include <ObjCBridge/Ref.h>
#include <UIKit/CALayer.h>

#include "BackingStore.h"
#include "CGHandle.h"
#include "LayerAnimation.h"

#include <vector>

namespace CA::detail {

struct LayerState {
    CGRect bounds = CGRectZero;
    CGPoint position = CGPointZero;
    CGPoint anchorPoint = CGPointMake(0.5, 0.5);
    UI::detail::ColorHandle backgroundColor;
    UI::detail::ColorHandle borderColor;
    CGFloat borderWidth = 0;
    CGFloat cornerRadius = 0;
    bool masksToBounds = false;
    bool hidden = false;
    float opacity = 1;
    UI::detail::ImageHandle contents;
    CGFloat contentsScale = 1;
    Ref<Layer> mask;
    Layer* superlayer = nullptr;  // not owned
    std::vector<Ref<Layer>> sublayers;
    id delegate = nil;  // not owned
    bool needsDisplay = false;
    BackingStore backing;
    std::vector<Animation> animations;

    ~LayerState();
};

LayerState& stateOf(objc::AnyObject layer);

// The frame that bounds, position and anchor point give.
CGRect frameOf(const LayerState& s);

// True when the layer paints its own contents (so keeps a backing bitmap).
bool drawsContent(id layer);

// The values the layer shows at a time on the run loop's clock: the model
// values with the running animations applied.
struct Presentation {
    CGRect bounds;
    CGPoint position;
    float opacity;
    CGFloat background[4];  // red, green, blue, alpha; all 0 without a colour
};
Presentation presentationAt(LayerState& s, double now);

// Components of a colour as red, green, blue, alpha (grey colours spread out).
void rgbaOf(CGColorRef color, CGFloat out[4]);

}  // namespace CA::detail
