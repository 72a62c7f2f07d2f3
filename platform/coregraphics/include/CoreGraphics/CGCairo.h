// For the platform's UIKit only. What UIKit needs of Core Graphics beyond the
// phone's public functions: the cairo objects behind a context, image
// decoding and encoding, text laid out and measured for labels and buttons.
// Product code never includes this header.
#pragma once

#include <CoreGraphics/CoreGraphics.h>

#include <cairo.h>

#include <string>
#include <string_view>
#include <vector>

// ---- Contexts -------------------------------------------------------------

// The cairo context and surface a context draws with. To draw with cairo
// directly, call CGCairoContextBeginDirectDrawing first and
// CGCairoContextEndDirectDrawing after, and leave the cairo state as it was
// found (cairo_save / cairo_restore around any change of transform, clip,
// source or operator).
cairo_t* CGCairoContextGetCairo(CGContextRef c);
cairo_surface_t* CGCairoContextGetSurface(CGContextRef c);
void CGCairoContextBeginDirectDrawing(CGContextRef c);
void CGCairoContextEndDirectDrawing(CGContextRef c);

// Declares the current transform as the context's base space, the space of
// shadow offsets and blur. An image context at screen scale s scales its
// transform by (s, s) and then calls this, so that a shadow offset of 3 is
// 3 points, as on the phone.
void CGCairoContextSetBaseCTM(CGContextRef c, CGAffineTransform base);

// Draws an image into rect with its first row at the top of rect, the way a
// view's image is drawn (CGContextDrawImage puts the first row at the bottom).
void CGCairoContextDrawImageUpright(CGContextRef c, CGRect rect, CGImageRef image);

// How many rectangle fills were written straight into the pixels rather than
// through cairo. For tests and diagnostics.
size_t CGCairoContextDirectFillCount(CGContextRef c);

// ---- Images -----------------------------------------------------------------

// NULL for bytes or a file that are not a PNG image.
CGImageRef CGCairoImageCreateWithPNGData(const void* bytes, size_t length);
CGImageRef CGCairoImageCreateWithPNGFile(const char* hostPath);
// Empty when the image cannot be encoded.
std::vector<unsigned char> CGCairoImageCopyPNGData(CGImageRef image);
// A copy of the surface's pixels as an image; NULL for a surface in error.
CGImageRef CGCairoImageCreateWithSurface(cairo_surface_t* surface);
// The image's own pixels (premultiplied ARGB32); read them, never write them.
cairo_surface_t* CGCairoImageGetSurface(CGImageRef image);

// ---- Gradients --------------------------------------------------------------

// A gradient from count colours (RGB or gray, converted to the space's model).
CGGradientRef CGCairoGradientCreateWithColors(CGColorSpaceRef space, const CGColorRef* colors, const CGFloat* locations,
                                              size_t count);

// ---- Text -------------------------------------------------------------------

// A font as UIKit names it: a family ("Helvetica Neue"), a weight on the
// 100..900 scale (400 regular, 500 medium, 700 bold), an italic flag and a size
// in points.
struct CGCairoFont {
    std::string family = "Helvetica Neue";
    int weight = 400;
    bool italic = false;
    CGFloat size = 17;
};

// Reads a font name in either of the phone's forms: "Helvetica Neue Bold",
// "HelveticaNeue-Medium", "Helvetica-BoldOblique".
CGCairoFont CGCairoFontWithName(std::string_view name, CGFloat size);
// The installed family that draws the font ("Liberation Sans", ...).
std::string CGCairoFontResolvedFamily(const CGCairoFont& font);

struct CGCairoFontMetrics {
    CGFloat ascent = 0;      // above the baseline, positive
    CGFloat descent = 0;     // below the baseline, positive
    CGFloat lineHeight = 0;  // baseline to baseline
    CGFloat capHeight = 0;   // height of a capital letter
};
CGCairoFontMetrics CGCairoFontGetMetrics(const CGCairoFont& font);

// The advance width of one line of UTF-8 text (invalid bytes are drawn as the
// replacement character).
CGFloat CGCairoTextWidth(const CGCairoFont& font, std::string_view utf8);

// Same numbering as the phone's line break modes and text alignments.
enum CGCairoLineBreakMode : int {
    CGCairoLineBreakByWordWrapping = 0,
    CGCairoLineBreakByCharWrapping = 1,
    CGCairoLineBreakByClipping = 2,
    CGCairoLineBreakByTruncatingHead = 3,
    CGCairoLineBreakByTruncatingTail = 4,
    CGCairoLineBreakByTruncatingMiddle = 5,
};
enum CGCairoTextAlignment : int {
    CGCairoTextAlignmentLeft = 0,
    CGCairoTextAlignmentCenter = 1,
    CGCairoTextAlignmentRight = 2,
};

// Text broken into lines no wider than width (0 or less: no limit). Line
// breaks in the text always break. numberOfLines 0 is no limit; when the text
// needs more lines, the last kept line is truncated with an ellipsis under the
// truncating modes and cut otherwise. A single line that is too wide is
// truncated under the truncating modes and left whole (to be clipped) under
// the others.
struct CGCairoTextLayout {
    std::vector<std::string> lines;
    std::vector<CGFloat> lineWidths;
    CGSize size;  // widest line by lines × line height
    CGCairoFontMetrics metrics;
};
CGCairoTextLayout CGCairoTextLayoutMake(const CGCairoFont& font, std::string_view utf8, CGFloat width,
                                        CGCairoLineBreakMode mode, int numberOfLines);

// Draws one line with its baseline starting at the point, upright in the
// context's y-down user space. A NULL colour draws in the fill colour. The
// context's alpha, shadow and clip apply.
void CGCairoContextShowText(CGContextRef c, const CGCairoFont& font, std::string_view utf8, CGPoint baseline,
                            CGColorRef color);
// Lays the text out to rect's width and draws the lines from rect's top,
// aligned within rect's width. Returns the size of the drawn text.
CGSize CGCairoContextShowTextInRect(CGContextRef c, const CGCairoFont& font, std::string_view utf8, CGRect rect,
                                    CGCairoTextAlignment alignment, CGCairoLineBreakMode mode, int numberOfLines,
                                    CGColorRef color);
