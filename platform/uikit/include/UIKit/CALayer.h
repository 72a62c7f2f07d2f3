// CALayer: the rendered face of a view. Every view owns one layer (its class
// comes from the view's +layerClass) and is the layer's delegate; the layer
// tree mirrors the view tree. A layer keeps the geometry (bounds, position,
// anchor point), the look Core Animation composites (background colour,
// border, corner radius, opacity, masks) and, for views that draw, a backing
// bitmap at the layer's contents scale.
//
// Compositing (renderInContext:) draws, for each visible layer from back to
// front: the background colour (always inside the rounded corners), the
// contents (the backing bitmap or the contents image, stretched over the
// bounds), the sublayers, and last the border, inside the bounds and above
// everything else. With masksToBounds the contents and sublayers are clipped
// to the rounded bounds. Opacity applies to the layer and its sublayers as one
// group; a mask layer's alpha masks the whole group. The context's current
// transform is honoured, so a 1×1 bitmap context translated by (−x, −y)
// samples the point (x, y); only the layers that fall inside the context's
// clip are composited.
//
// A layer that draws (its delegate view overrides drawRect:, or a layer
// subclass overrides drawInContext:) is painted only when it needs display:
// when first shown, after setNeedsDisplay and after its size changes.
// Compositing an already painted layer never paints it again.
#pragma once

#include <CoreGraphics/CoreGraphics.h>
#include <Foundation/NSObject.h>
#include <UIKit/UIKitEncodings.h>

namespace NS {
class Array;
}

namespace CA {

class Layer : public NS::Object {
public:
    static Layer* alloc() { return objc::send<Layer*>("CALayer"_cls, "alloc"_sel); }
    static Layer* layer() { return objc::send<Layer*>("CALayer"_cls, "layer"_sel); }
    Layer* init() { return objc::send<Layer*>(this, "init"_sel); }

    // Geometry: the frame is derived from bounds, position and anchor point.
    CGRect bounds() const { return objc::send<CGRect>(this, "bounds"_sel); }
    void setBounds(CGRect bounds) { objc::send<void>(this, "setBounds:"_sel, bounds); }
    CGPoint position() const { return objc::send<CGPoint>(this, "position"_sel); }
    void setPosition(CGPoint position) { objc::send<void>(this, "setPosition:"_sel, position); }
    CGPoint anchorPoint() const { return objc::send<CGPoint>(this, "anchorPoint"_sel); }
    void setAnchorPoint(CGPoint anchor) { objc::send<void>(this, "setAnchorPoint:"_sel, anchor); }
    CGRect frame() const { return objc::send<CGRect>(this, "frame"_sel); }
    void setFrame(CGRect frame) { objc::send<void>(this, "setFrame:"_sel, frame); }

    // Colours are retained by the layer. The border colour starts as opaque
    // black, the background colour as none.
    CGColorRef backgroundColor() const { return objc::send<CGColorRef>(this, "backgroundColor"_sel); }
    void setBackgroundColor(CGColorRef color) { objc::send<void>(this, "setBackgroundColor:"_sel, color); }
    CGColorRef borderColor() const { return objc::send<CGColorRef>(this, "borderColor"_sel); }
    void setBorderColor(CGColorRef color) { objc::send<void>(this, "setBorderColor:"_sel, color); }
    CGFloat borderWidth() const { return objc::send<CGFloat>(this, "borderWidth"_sel); }
    void setBorderWidth(CGFloat width) { objc::send<void>(this, "setBorderWidth:"_sel, width); }
    CGFloat cornerRadius() const { return objc::send<CGFloat>(this, "cornerRadius"_sel); }
    void setCornerRadius(CGFloat radius) { objc::send<void>(this, "setCornerRadius:"_sel, radius); }
    BOOL masksToBounds() const { return objc::send<BOOL>(this, "masksToBounds"_sel); }
    void setMasksToBounds(BOOL masks) { objc::send<void>(this, "setMasksToBounds:"_sel, masks); }
    float opacity() const { return objc::send<float>(this, "opacity"_sel); }
    void setOpacity(float opacity) { objc::send<void>(this, "setOpacity:"_sel, opacity); }
    BOOL isHidden() const { return objc::send<BOOL>(this, "isHidden"_sel); }
    void setHidden(BOOL hidden) { objc::send<void>(this, "setHidden:"_sel, hidden); }

    // An image shown over the bounds (retained); a drawing layer's own
    // backing bitmap takes its place.
    CGImageRef contents() const { return objc::send<CGImageRef>(this, "contents"_sel); }
    void setContents(CGImageRef image) { objc::send<void>(this, "setContents:"_sel, image); }
    CGFloat contentsScale() const { return objc::send<CGFloat>(this, "contentsScale"_sel); }
    void setContentsScale(CGFloat scale) { objc::send<void>(this, "setContentsScale:"_sel, scale); }

    // A layer whose alpha masks this one (in this layer's coordinates);
    // retained, not part of the sublayer tree.
    Layer* mask() const { return objc::send<Layer*>(this, "mask"_sel); }
    void setMask(Layer* mask) { objc::send<void>(this, "setMask:"_sel, mask); }

    Layer* superlayer() const { return objc::send<Layer*>(this, "superlayer"_sel); }
    NS::Array* sublayers() const { return objc::send<NS::Array*>(this, "sublayers"_sel); }
    void addSublayer(Layer* layer) { objc::send<void>(this, "addSublayer:"_sel, layer); }
    void insertSublayer(Layer* layer, unsigned index) {
        objc::send<void>(this, "insertSublayer:atIndex:"_sel, layer, index);
    }
    void insertSublayerBelow(Layer* layer, Layer* sibling) {
        objc::send<void>(this, "insertSublayer:below:"_sel, layer, sibling);
    }
    void insertSublayerAbove(Layer* layer, Layer* sibling) {
        objc::send<void>(this, "insertSublayer:above:"_sel, layer, sibling);
    }
    void removeFromSuperlayer() { objc::send<void>(this, "removeFromSuperlayer"_sel); }

    // The delegate (a view) is not retained.
    id delegate() const { return objc::send<id>(this, "delegate"_sel); }
    void setDelegate(objc::AnyObject delegate) { objc::send<void>(this, "setDelegate:"_sel, delegate.get()); }

    void setNeedsDisplay() { objc::send<void>(this, "setNeedsDisplay"_sel); }
    BOOL needsDisplay() const { return objc::send<BOOL>(this, "needsDisplay"_sel); }
    void displayIfNeeded() { objc::send<void>(this, "displayIfNeeded"_sel); }
    // Paints the backing bitmap now: a fresh transparent bitmap of the
    // bounds' size at the contents scale, drawn by drawInContext:.
    void display() { objc::send<void>(this, "display"_sel); }
    // Asks the delegate (drawLayer:inContext:); override to draw in a layer
    // subclass.
    void drawInContext(CGContextRef context) { objc::send<void>(this, "drawInContext:"_sel, context); }

    // Composites the layer and its sublayers, in the layer's own coordinates
    // (its bounds origin at the context's origin), into the context.
    void renderInContext(CGContextRef context) { objc::send<void>(this, "renderInContext:"_sel, context); }
};

}  // namespace CA
