// The graphics state: save and restore, transform, colours, compositing,
// lines, shadow and clip.
#include "Context.h"

#include <cmath>

namespace cg {

cairo_operator_t operatorFor(CGBlendMode mode) {
    switch (mode) {
    case kCGBlendModeNormal: return CAIRO_OPERATOR_OVER;
    case kCGBlendModeMultiply: return CAIRO_OPERATOR_MULTIPLY;
    case kCGBlendModeScreen: return CAIRO_OPERATOR_SCREEN;
    case kCGBlendModeOverlay: return CAIRO_OPERATOR_OVERLAY;
    case kCGBlendModeDarken: return CAIRO_OPERATOR_DARKEN;
    case kCGBlendModeLighten: return CAIRO_OPERATOR_LIGHTEN;
    case kCGBlendModeColorDodge: return CAIRO_OPERATOR_COLOR_DODGE;
    case kCGBlendModeColorBurn: return CAIRO_OPERATOR_COLOR_BURN;
    case kCGBlendModeSoftLight: return CAIRO_OPERATOR_SOFT_LIGHT;
    case kCGBlendModeHardLight: return CAIRO_OPERATOR_HARD_LIGHT;
    case kCGBlendModeDifference: return CAIRO_OPERATOR_DIFFERENCE;
    case kCGBlendModeExclusion: return CAIRO_OPERATOR_EXCLUSION;
    case kCGBlendModeHue: return CAIRO_OPERATOR_HSL_HUE;
    case kCGBlendModeSaturation: return CAIRO_OPERATOR_HSL_SATURATION;
    case kCGBlendModeColor: return CAIRO_OPERATOR_HSL_COLOR;
    case kCGBlendModeLuminosity: return CAIRO_OPERATOR_HSL_LUMINOSITY;
    case kCGBlendModeClear: return CAIRO_OPERATOR_CLEAR;
    case kCGBlendModeCopy: return CAIRO_OPERATOR_SOURCE;
    case kCGBlendModeSourceIn: return CAIRO_OPERATOR_IN;
    case kCGBlendModeSourceOut: return CAIRO_OPERATOR_OUT;
    case kCGBlendModeSourceAtop: return CAIRO_OPERATOR_ATOP;
    case kCGBlendModeDestinationOver: return CAIRO_OPERATOR_DEST_OVER;
    case kCGBlendModeDestinationIn: return CAIRO_OPERATOR_DEST_IN;
    case kCGBlendModeDestinationOut: return CAIRO_OPERATOR_DEST_OUT;
    case kCGBlendModeDestinationAtop: return CAIRO_OPERATOR_DEST_ATOP;
    case kCGBlendModeXOR: return CAIRO_OPERATOR_XOR;
    case kCGBlendModePlusDarker: return CAIRO_OPERATOR_DARKEN;
    case kCGBlendModePlusLighter: return CAIRO_OPERATOR_ADD;
    }
    return CAIRO_OPERATOR_OVER;
}

Box deviceBoxOfUserRect(CGContextRef c, double x0, double y0, double x1, double y1) {
    const cairo_matrix_t& m = c->gs.ctm;
    double xs[4] = {x0, x1, x0, x1}, ys[4] = {y0, y0, y1, y1};
    double minX = INFINITY, minY = INFINITY, maxX = -INFINITY, maxY = -INFINITY;
    for (int i = 0; i < 4; ++i) {
        double x = xs[i], y = ys[i];
        cairo_matrix_transform_point(&m, &x, &y);
        minX = std::min(minX, x);
        maxX = std::max(maxX, x);
        minY = std::min(minY, y);
        maxY = std::max(maxY, y);
    }
    const double limit = 1 << 30;
    auto clampInt = [limit](double v) { return static_cast<int>(std::clamp(v, -limit, limit)); };
    if (!(minX <= maxX) || !(minY <= maxY)) return Box{};
    return Box{clampInt(std::floor(minX)), clampInt(std::floor(minY)), clampInt(std::ceil(maxX)),
               clampInt(std::ceil(maxY))};
}

}  // namespace cg

namespace {

bool invertible(const cairo_matrix_t& m) {
    const double det = m.xx * m.yy - m.xy * m.yx;
    return std::isfinite(det) && det != 0 && std::isfinite(m.x0) && std::isfinite(m.y0);
}

// Applies t (in user space, before the current transform) unless the result
// could not be inverted.
void concat(CGContextRef c, const cairo_matrix_t& t) {
    if (!c || c->gs.degenerate) return;
    cairo_matrix_t result;
    cairo_matrix_multiply(&result, &t, &c->gs.ctm);
    if (!invertible(result)) {
        c->gs.degenerate = true;
        return;
    }
    cairo_transform(c->cr, &t);
    c->syncTransform();
}

CGAffineTransform toCG(const cairo_matrix_t& m) { return CGAffineTransform{m.xx, m.yx, m.xy, m.yy, m.x0, m.y0}; }

cg::RGBA rgba(CGFloat r, CGFloat g, CGFloat b, CGFloat a) { return cg::RGBA{r, g, b, a}; }

void applyAntialias(CGContextRef c) {
    cairo_set_antialias(c->cr,
                        c->allowsAntialiasing && c->shouldAntialias ? CAIRO_ANTIALIAS_DEFAULT : CAIRO_ANTIALIAS_NONE);
}

}  // namespace

extern "C" {

void CGContextSaveGState(CGContextRef c) {
    if (!c) return;
    cairo_save(c->cr);
    c->stack.push_back(c->gs);
}

void CGContextRestoreGState(CGContextRef c) {
    if (!c || c->stack.empty()) return;
    cairo_restore(c->cr);
    c->gs = c->stack.back();
    c->stack.pop_back();
}

void CGContextTranslateCTM(CGContextRef c, CGFloat tx, CGFloat ty) {
    cairo_matrix_t t;
    cairo_matrix_init_translate(&t, tx, ty);
    concat(c, t);
}

void CGContextScaleCTM(CGContextRef c, CGFloat sx, CGFloat sy) {
    cairo_matrix_t t;
    cairo_matrix_init_scale(&t, sx, sy);
    concat(c, t);
}

void CGContextRotateCTM(CGContextRef c, CGFloat angle) {
    cairo_matrix_t t;
    cairo_matrix_init_rotate(&t, angle);
    concat(c, t);
}

void CGContextConcatCTM(CGContextRef c, CGAffineTransform t) {
    cairo_matrix_t m;
    cairo_matrix_init(&m, t.a, t.b, t.c, t.d, t.tx, t.ty);
    concat(c, m);
}

CGAffineTransform CGContextGetCTM(CGContextRef c) { return c ? toCG(c->gs.ctm) : CGAffineTransformIdentity; }

CGAffineTransform CGContextGetUserSpaceToDeviceSpaceTransform(CGContextRef c) { return CGContextGetCTM(c); }

CGPoint CGContextConvertPointToDeviceSpace(CGContextRef c, CGPoint p) {
    return CGPointApplyAffineTransform(p, CGContextGetCTM(c));
}
CGPoint CGContextConvertPointToUserSpace(CGContextRef c, CGPoint p) {
    return CGPointApplyAffineTransform(p, CGAffineTransformInvert(CGContextGetCTM(c)));
}
CGRect CGContextConvertRectToDeviceSpace(CGContextRef c, CGRect r) {
    return CGRectApplyAffineTransform(r, CGContextGetCTM(c));
}
CGRect CGContextConvertRectToUserSpace(CGContextRef c, CGRect r) {
    return CGRectApplyAffineTransform(r, CGAffineTransformInvert(CGContextGetCTM(c)));
}

// A NULL colour leaves the colour as it was.
void CGContextSetFillColorWithColor(CGContextRef c, CGColorRef color) {
    if (c && color) c->gs.fill = cg::rgbaOf(color);
}
void CGContextSetStrokeColorWithColor(CGContextRef c, CGColorRef color) {
    if (c && color) c->gs.stroke = cg::rgbaOf(color);
}
void CGContextSetRGBFillColor(CGContextRef c, CGFloat r, CGFloat g, CGFloat b, CGFloat a) {
    if (c) c->gs.fill = rgba(r, g, b, a);
}
void CGContextSetRGBStrokeColor(CGContextRef c, CGFloat r, CGFloat g, CGFloat b, CGFloat a) {
    if (c) c->gs.stroke = rgba(r, g, b, a);
}
void CGContextSetGrayFillColor(CGContextRef c, CGFloat gray, CGFloat a) {
    if (c) c->gs.fill = rgba(gray, gray, gray, a);
}
void CGContextSetGrayStrokeColor(CGContextRef c, CGFloat gray, CGFloat a) {
    if (c) c->gs.stroke = rgba(gray, gray, gray, a);
}

void CGContextSetAlpha(CGContextRef c, CGFloat alpha) {
    if (c) c->gs.alpha = std::clamp(alpha, 0.0, 1.0);
}

void CGContextSetBlendMode(CGContextRef c, CGBlendMode mode) {
    if (!c) return;
    c->gs.blend = mode;
    cairo_set_operator(c->cr, cg::operatorFor(mode));
}

void CGContextSetShouldAntialias(CGContextRef c, bool shouldAntialias) {
    if (!c) return;
    c->shouldAntialias = shouldAntialias;
    applyAntialias(c);
}

void CGContextSetAllowsAntialiasing(CGContextRef c, bool allowsAntialiasing) {
    if (!c) return;
    c->allowsAntialiasing = allowsAntialiasing;
    applyAntialias(c);
}

void CGContextSetInterpolationQuality(CGContextRef c, CGInterpolationQuality quality) {
    if (c) c->gs.interpolation = quality;
}
CGInterpolationQuality CGContextGetInterpolationQuality(CGContextRef c) {
    return c ? c->gs.interpolation : kCGInterpolationDefault;
}

void CGContextSetShadowWithColor(CGContextRef c, CGSize offset, CGFloat blur, CGColorRef color) {
    if (!c) return;
    const bool nothing = offset.width == 0 && offset.height == 0 && blur <= 0;
    c->gs.shadowOn = color != nullptr && !nothing && CGColorGetAlpha(color) > 0;
    c->gs.shadowOffset = offset;
    c->gs.shadowBlur = std::max<CGFloat>(blur, 0);
    if (color) c->gs.shadowColor = cg::rgbaOf(color);
}

void CGContextSetShadow(CGContextRef c, CGSize offset, CGFloat blur) {
    CGColorRef shadow = CGColorCreateGenericGray(0, 1.0 / 3.0);
    CGContextSetShadowWithColor(c, offset, blur, shadow);
    CGColorRelease(shadow);
}

void CGContextSetLineWidth(CGContextRef c, CGFloat width) {
    if (c) cairo_set_line_width(c->cr, std::max<CGFloat>(width, 0));
}

void CGContextSetLineCap(CGContextRef c, CGLineCap cap) {
    if (!c) return;
    cairo_set_line_cap(c->cr, cap == kCGLineCapRound    ? CAIRO_LINE_CAP_ROUND
                              : cap == kCGLineCapSquare ? CAIRO_LINE_CAP_SQUARE
                                                        : CAIRO_LINE_CAP_BUTT);
}

void CGContextSetLineJoin(CGContextRef c, CGLineJoin join) {
    if (!c) return;
    cairo_set_line_join(c->cr, join == kCGLineJoinRound   ? CAIRO_LINE_JOIN_ROUND
                               : join == kCGLineJoinBevel ? CAIRO_LINE_JOIN_BEVEL
                                                          : CAIRO_LINE_JOIN_MITER);
}

void CGContextSetMiterLimit(CGContextRef c, CGFloat limit) {
    if (c) cairo_set_miter_limit(c->cr, limit);
}

void CGContextSetLineDash(CGContextRef c, CGFloat phase, const CGFloat* lengths, size_t count) {
    if (!c) return;
    bool valid = lengths != nullptr;
    double total = 0;
    for (size_t i = 0; valid && i < count; ++i) {
        valid = lengths[i] >= 0;
        total += lengths[i];
    }
    if (!valid || count == 0 || total <= 0) {
        cairo_set_dash(c->cr, nullptr, 0, 0);
        return;
    }
    cairo_set_dash(c->cr, lengths, static_cast<int>(count), phase);
}

void CGContextClip(CGContextRef c) {
    if (!c) return;
    c->willUseCairo();
    cairo_set_fill_rule(c->cr, CAIRO_FILL_RULE_WINDING);
    cairo_clip(c->cr);
    c->gs.clipIsBox = false;
    c->pathUsed = false;
}

void CGContextEOClip(CGContextRef c) {
    if (!c) return;
    c->willUseCairo();
    cairo_set_fill_rule(c->cr, CAIRO_FILL_RULE_EVEN_ODD);
    cairo_clip(c->cr);
    cairo_set_fill_rule(c->cr, CAIRO_FILL_RULE_WINDING);
    c->gs.clipIsBox = false;
    c->pathUsed = false;
}

void CGContextClipToRects(CGContextRef c, const CGRect* rects, size_t count) {
    if (!c || (!rects && count)) return;
    c->willUseCairo();
    // Clipping to rectangles leaves the current path as it was.
    cairo_path_t* saved = c->pathUsed ? cairo_copy_path(c->cr) : nullptr;
    cairo_new_path(c->cr);
    for (size_t i = 0; i < count; ++i) {
        const CGRect r = CGRectStandardize(rects[i]);
        if (!CGRectIsNull(r)) cairo_rectangle(c->cr, r.origin.x, r.origin.y, r.size.width, r.size.height);
    }
    cairo_set_fill_rule(c->cr, CAIRO_FILL_RULE_WINDING);
    cairo_clip(c->cr);
    if (saved) {
        cairo_append_path(c->cr, saved);
        cairo_path_destroy(saved);
    }

    // One rectangle on whole device pixels keeps the clip a box.
    bool box = false;
    if (count == 1 && c->gs.clipIsBox && c->gs.axisAligned && !c->gs.degenerate) {
        const CGRect r = CGRectStandardize(rects[0]);
        if (CGRectIsNull(r)) {
            c->gs.clip = cg::Box{};
            box = true;
        } else {
            double x0 = r.origin.x, y0 = r.origin.y, x1 = r.origin.x + r.size.width, y1 = r.origin.y + r.size.height;
            cairo_matrix_transform_point(&c->gs.ctm, &x0, &y0);
            cairo_matrix_transform_point(&c->gs.ctm, &x1, &y1);
            if (x0 > x1) std::swap(x0, x1);
            if (y0 > y1) std::swap(y0, y1);
            const bool whole = std::isfinite(x0) && std::isfinite(x1) && std::isfinite(y0) && std::isfinite(y1) &&
                               x0 == std::floor(x0) && x1 == std::floor(x1) && y0 == std::floor(y0) &&
                               y1 == std::floor(y1);
            if (whole) {
                const cg::Box b = cg::deviceBoxOfUserRect(c, r.origin.x, r.origin.y, r.origin.x + r.size.width,
                                                          r.origin.y + r.size.height);
                c->gs.clip = c->gs.clip.intersect(b);
                box = true;
            }
        }
    }
    if (!box) c->gs.clipIsBox = false;
}

void CGContextClipToRect(CGContextRef c, CGRect rect) { CGContextClipToRects(c, &rect, 1); }

CGRect CGContextGetClipBoundingBox(CGContextRef c) {
    if (!c) return CGRectNull;
    double x0, y0, x1, y1;
    cairo_clip_extents(c->cr, &x0, &y0, &x1, &y1);
    if (x1 <= x0 || y1 <= y0) return CGRectNull;
    return CGRectMake(x0, y0, x1 - x0, y1 - y0);
}

}  // extern "C"

void CGCairoContextSetBaseCTM(CGContextRef c, CGAffineTransform t) {
    if (c) cairo_matrix_init(&c->base, t.a, t.b, t.c, t.d, t.tx, t.ty);
}
