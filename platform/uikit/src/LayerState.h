// The fields of a CALayer, shared by the layer class, the compositor and the
// view animations. Internal to UIKit.
#pragma once

#include <UIKit/CALayer.h>

#include "BackingStore.h"
#include "LayerAnimation.h"

#include <vector>

namespace CA::detail {

struct LayerState {
    CGRect bounds = CGRectZero;
    CGPoint position = CGPointZero;
    CGPoint anchorPoint = CGPointMake(0.5, 0.5);
    CGColorRef backgroundColor = nullptr;  // retained
    CGColorRef borderColor = nullptr;      // retained
    CGFloat borderWidth = 0;
    CGFloat cornerRadius = 0;
    bool masksToBounds = false;
    bool hidden = false;
    float opacity = 1;
    CGImageRef contents = nullptr;  // retained
    CGFloat contentsScale = 1;
    id mask = nil;  // retained
    id superlayer = nil;
    std::vector<id> sublayers;  // each retained
    id delegate = nil;          // not retained
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
