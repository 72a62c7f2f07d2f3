// Drawing contexts. A context keeps a graphics state (transform, clip, colours,
// line and text settings, shadow, alpha), saved and restored as a stack, and a
// current path built in user space and fixed in device space as it is built.
//
// Orientation: the contexts are those a view draws into, origin at the top
// left and y growing downwards. Text shown with CGContextShowText* and images
// drawn with CGContextDrawImage are laid out with y growing upwards, as in
// every Core Graphics context; in this orientation they come out upside down
// unless the caller flips the transform first (translate by the height, then
// scale by (1, -1)).
#pragma once

#include <CoreGraphics/CGAffineTransform.h>
#include <CoreGraphics/CGColor.h>
#include <CoreGraphics/CGGeometry.h>
#include <CoreGraphics/CGGradient.h>
#include <CoreGraphics/CGImage.h>

typedef struct CGContext* CGContextRef;

enum CGPathDrawingMode : int32_t {
    kCGPathFill = 0,
    kCGPathEOFill = 1,
    kCGPathStroke = 2,
    kCGPathFillStroke = 3,
    kCGPathEOFillStroke = 4,
};

enum CGLineCap : int32_t { kCGLineCapButt = 0, kCGLineCapRound = 1, kCGLineCapSquare = 2 };
enum CGLineJoin : int32_t { kCGLineJoinMiter = 0, kCGLineJoinRound = 1, kCGLineJoinBevel = 2 };

enum CGTextDrawingMode : int32_t {
    kCGTextFill = 0,
    kCGTextStroke = 1,
    kCGTextFillStroke = 2,
    kCGTextInvisible = 3,
    kCGTextFillClip = 4,
    kCGTextStrokeClip = 5,
    kCGTextFillStrokeClip = 6,
    kCGTextClip = 7,
};

enum CGTextEncoding : int32_t { kCGEncodingFontSpecific = 0, kCGEncodingMacRoman = 1 };

enum CGInterpolationQuality : int32_t {
    kCGInterpolationDefault = 0,
    kCGInterpolationNone = 1,
    kCGInterpolationLow = 2,
    kCGInterpolationMedium = 4,
    kCGInterpolationHigh = 3,
};

enum CGBlendMode : int32_t {
    kCGBlendModeNormal,
    kCGBlendModeMultiply,
    kCGBlendModeScreen,
    kCGBlendModeOverlay,
    kCGBlendModeDarken,
    kCGBlendModeLighten,
    kCGBlendModeColorDodge,
    kCGBlendModeColorBurn,
    kCGBlendModeSoftLight,
    kCGBlendModeHardLight,
    kCGBlendModeDifference,
    kCGBlendModeExclusion,
    kCGBlendModeHue,
    kCGBlendModeSaturation,
    kCGBlendModeColor,
    kCGBlendModeLuminosity,
    kCGBlendModeClear,
    kCGBlendModeCopy,
    kCGBlendModeSourceIn,
    kCGBlendModeSourceOut,
    kCGBlendModeSourceAtop,
    kCGBlendModeDestinationOver,
    kCGBlendModeDestinationIn,
    kCGBlendModeDestinationOut,
    kCGBlendModeDestinationAtop,
    kCGBlendModeXOR,
    kCGBlendModePlusDarker,
    kCGBlendModePlusLighter,
};

CG_EXTERN_C_BEGIN

// Lifetime.
CG_EXTERN CGContextRef CGContextRetain(CGContextRef c);
CG_EXTERN void CGContextRelease(CGContextRef c);
// Leaves every pending result in the context's pixel buffer.
CG_EXTERN void CGContextFlush(CGContextRef c);
CG_EXTERN void CGContextSynchronize(CGContextRef c);

// Graphics state.
CG_EXTERN void CGContextSaveGState(CGContextRef c);
CG_EXTERN void CGContextRestoreGState(CGContextRef c);

// Current transform (user space to device pixels).
CG_EXTERN void CGContextTranslateCTM(CGContextRef c, CGFloat tx, CGFloat ty);
CG_EXTERN void CGContextScaleCTM(CGContextRef c, CGFloat sx, CGFloat sy);
CG_EXTERN void CGContextRotateCTM(CGContextRef c, CGFloat angle);
CG_EXTERN void CGContextConcatCTM(CGContextRef c, CGAffineTransform transform);
CG_EXTERN CGAffineTransform CGContextGetCTM(CGContextRef c);
CG_EXTERN CGAffineTransform CGContextGetUserSpaceToDeviceSpaceTransform(CGContextRef c);
CG_EXTERN CGPoint CGContextConvertPointToDeviceSpace(CGContextRef c, CGPoint point);
CG_EXTERN CGPoint CGContextConvertPointToUserSpace(CGContextRef c, CGPoint point);
CG_EXTERN CGRect CGContextConvertRectToDeviceSpace(CGContextRef c, CGRect rect);
CG_EXTERN CGRect CGContextConvertRectToUserSpace(CGContextRef c, CGRect rect);

// Colours and compositing.
CG_EXTERN void CGContextSetFillColorWithColor(CGContextRef c, CGColorRef color);
CG_EXTERN void CGContextSetStrokeColorWithColor(CGContextRef c, CGColorRef color);
CG_EXTERN void CGContextSetRGBFillColor(CGContextRef c, CGFloat red, CGFloat green, CGFloat blue, CGFloat alpha);
CG_EXTERN void CGContextSetRGBStrokeColor(CGContextRef c, CGFloat red, CGFloat green, CGFloat blue, CGFloat alpha);
CG_EXTERN void CGContextSetGrayFillColor(CGContextRef c, CGFloat gray, CGFloat alpha);
CG_EXTERN void CGContextSetGrayStrokeColor(CGContextRef c, CGFloat gray, CGFloat alpha);
// The alpha every drawing operation is painted with, on top of its colours.
CG_EXTERN void CGContextSetAlpha(CGContextRef c, CGFloat alpha);
CG_EXTERN void CGContextSetBlendMode(CGContextRef c, CGBlendMode mode);
CG_EXTERN void CGContextSetShouldAntialias(CGContextRef c, bool shouldAntialias);
CG_EXTERN void CGContextSetAllowsAntialiasing(CGContextRef c, bool allowsAntialiasing);
CG_EXTERN void CGContextSetInterpolationQuality(CGContextRef c, CGInterpolationQuality quality);
CG_EXTERN CGInterpolationQuality CGContextGetInterpolationQuality(CGContextRef c);

// Shadows: a blurred copy of what is drawn, in the shadow colour, offset in
// the context's base space (the space the context was made in, not affected
// by later transforms; positive height moves the shadow down), painted under
// the drawing. The default colour is black at alpha 1/3. A NULL colour, or no
// offset and no blur, turns the shadow off.
CG_EXTERN void CGContextSetShadow(CGContextRef c, CGSize offset, CGFloat blur);
CG_EXTERN void CGContextSetShadowWithColor(CGContextRef c, CGSize offset, CGFloat blur, CGColorRef color);

// Lines.
CG_EXTERN void CGContextSetLineWidth(CGContextRef c, CGFloat width);
CG_EXTERN void CGContextSetLineCap(CGContextRef c, CGLineCap cap);
CG_EXTERN void CGContextSetLineJoin(CGContextRef c, CGLineJoin join);
CG_EXTERN void CGContextSetMiterLimit(CGContextRef c, CGFloat limit);
CG_EXTERN void CGContextSetLineDash(CGContextRef c, CGFloat phase, const CGFloat* lengths, size_t count);

// The current path.
CG_EXTERN void CGContextBeginPath(CGContextRef c);
CG_EXTERN void CGContextMoveToPoint(CGContextRef c, CGFloat x, CGFloat y);
CG_EXTERN void CGContextAddLineToPoint(CGContextRef c, CGFloat x, CGFloat y);
CG_EXTERN void CGContextAddLines(CGContextRef c, const CGPoint* points, size_t count);
CG_EXTERN void CGContextAddCurveToPoint(CGContextRef c, CGFloat cp1x, CGFloat cp1y, CGFloat cp2x, CGFloat cp2y,
                                        CGFloat x, CGFloat y);
CG_EXTERN void CGContextAddQuadCurveToPoint(CGContextRef c, CGFloat cpx, CGFloat cpy, CGFloat x, CGFloat y);
CG_EXTERN void CGContextAddRect(CGContextRef c, CGRect rect);
CG_EXTERN void CGContextAddRects(CGContextRef c, const CGRect* rects, size_t count);
CG_EXTERN void CGContextAddEllipseInRect(CGContextRef c, CGRect rect);
// An arc of the circle at (x, y), from startAngle to endAngle (radians,
// measured from the positive x axis towards the positive y axis). clockwise 0
// runs with growing angles, 1 with falling ones; in this context's y-down
// orientation a "clockwise" arc therefore turns anticlockwise on screen. A
// span that is a whole number of turns is a full circle.
CG_EXTERN void CGContextAddArc(CGContextRef c, CGFloat x, CGFloat y, CGFloat radius, CGFloat startAngle,
                               CGFloat endAngle, int clockwise);
// A rounded corner: the arc of the given radius tangent to the line from the
// current point to (x1, y1) and to the line from there to (x2, y2).
CG_EXTERN void CGContextAddArcToPoint(CGContextRef c, CGFloat x1, CGFloat y1, CGFloat x2, CGFloat y2, CGFloat radius);
CG_EXTERN void CGContextClosePath(CGContextRef c);
CG_EXTERN bool CGContextIsPathEmpty(CGContextRef c);
CG_EXTERN CGPoint CGContextGetPathCurrentPoint(CGContextRef c);
CG_EXTERN CGRect CGContextGetPathBoundingBox(CGContextRef c);

// Painting; each paints with the current state and empties the current path.
CG_EXTERN void CGContextFillPath(CGContextRef c);
CG_EXTERN void CGContextEOFillPath(CGContextRef c);
CG_EXTERN void CGContextStrokePath(CGContextRef c);
CG_EXTERN void CGContextDrawPath(CGContextRef c, CGPathDrawingMode mode);
CG_EXTERN void CGContextFillRect(CGContextRef c, CGRect rect);
CG_EXTERN void CGContextFillRects(CGContextRef c, const CGRect* rects, size_t count);
CG_EXTERN void CGContextStrokeRect(CGContextRef c, CGRect rect);
CG_EXTERN void CGContextStrokeRectWithWidth(CGContextRef c, CGRect rect, CGFloat width);
CG_EXTERN void CGContextFillEllipseInRect(CGContextRef c, CGRect rect);
CG_EXTERN void CGContextStrokeEllipseInRect(CGContextRef c, CGRect rect);
CG_EXTERN void CGContextStrokeLineSegments(CGContextRef c, const CGPoint* points, size_t count);
// Makes the rectangle fully transparent, whatever the colours, alpha and
// shadow; only the clip limits it.
CG_EXTERN void CGContextClearRect(CGContextRef c, CGRect rect);
CG_EXTERN void CGContextDrawImage(CGContextRef c, CGRect rect, CGImageRef image);
CG_EXTERN void CGContextDrawLinearGradient(CGContextRef c, CGGradientRef gradient, CGPoint startPoint, CGPoint endPoint,
                                           CGGradientDrawingOptions options);
CG_EXTERN void CGContextDrawRadialGradient(CGContextRef c, CGGradientRef gradient, CGPoint startCenter,
                                           CGFloat startRadius, CGPoint endCenter, CGFloat endRadius,
                                           CGGradientDrawingOptions options);

// Clipping; CGContextClip and CGContextEOClip use and empty the current path.
CG_EXTERN void CGContextClip(CGContextRef c);
CG_EXTERN void CGContextEOClip(CGContextRef c);
CG_EXTERN void CGContextClipToRect(CGContextRef c, CGRect rect);
CG_EXTERN void CGContextClipToRects(CGContextRef c, const CGRect* rects, size_t count);
CG_EXTERN CGRect CGContextGetClipBoundingBox(CGContextRef c);

// Transparency layers: drawing between begin and end is composited as one
// image, with the alpha and shadow in force at the begin.
CG_EXTERN void CGContextBeginTransparencyLayer(CGContextRef c, const void* auxiliaryInfo);
CG_EXTERN void CGContextEndTransparencyLayer(CGContextRef c);

// Text. Font names are family names with an optional style ("Helvetica Neue
// Bold") or PostScript-style names ("HelveticaNeue-Medium"); Helvetica and
// Helvetica Neue are served by Liberation Sans of the nearest weight, any
// other family by the closest installed face. The text position is not part
// of the graphics state; each shown string advances it.
CG_EXTERN void CGContextSelectFont(CGContextRef c, const char* name, CGFloat size, CGTextEncoding textEncoding);
CG_EXTERN void CGContextSetFontSize(CGContextRef c, CGFloat size);
CG_EXTERN void CGContextSetCharacterSpacing(CGContextRef c, CGFloat spacing);
CG_EXTERN void CGContextSetTextDrawingMode(CGContextRef c, CGTextDrawingMode mode);
CG_EXTERN void CGContextSetTextPosition(CGContextRef c, CGFloat x, CGFloat y);
CG_EXTERN CGPoint CGContextGetTextPosition(CGContextRef c);
CG_EXTERN void CGContextSetTextMatrix(CGContextRef c, CGAffineTransform t);
CG_EXTERN CGAffineTransform CGContextGetTextMatrix(CGContextRef c);
CG_EXTERN void CGContextShowText(CGContextRef c, const char* string, size_t length);
CG_EXTERN void CGContextShowTextAtPoint(CGContextRef c, CGFloat x, CGFloat y, const char* string, size_t length);

CG_EXTERN_C_END
