// Painting: paths, rectangles, images, gradients and transparency layers.
#include "Context.h"

#include <cmath>

namespace {

void setSource(cairo_t* cr, const cg::RGBA& color, double alphaFactor) {
    cairo_set_source_rgba(cr, color.r, color.g, color.b, color.a * alphaFactor);
}

// The device pixels a fill or stroke of the current path may change, with a
// pixel of room for antialiasing.
cg::Box pathBox(CGContextRef c, bool stroke) {
    double x0, y0, x1, y1;
    if (stroke) {
        cairo_stroke_extents(c->cr, &x0, &y0, &x1, &y1);
    } else {
        cairo_fill_extents(c->cr, &x0, &y0, &x1, &y1);
    }
    cg::Box b = cg::deviceBoxOfUserRect(c, x0, y0, x1, y1);
    b = cg::Box{b.x0 - 1, b.y0 - 1, b.x1 + 1, b.y1 + 1};
    return b.intersect(c->clipBox());
}

void drawPath(CGContextRef c, CGPathDrawingMode mode) {
    if (!c) return;
    const bool fill =
        mode == kCGPathFill || mode == kCGPathEOFill || mode == kCGPathFillStroke || mode == kCGPathEOFillStroke;
    const bool stroke = mode == kCGPathStroke || mode == kCGPathFillStroke || mode == kCGPathEOFillStroke;
    const bool evenOdd = mode == kCGPathEOFill || mode == kCGPathEOFillStroke;
    if (!fill && !stroke) return;
    cg::Box box = pathBox(c, stroke);
    if (fill && stroke) box = box.unite(pathBox(c, false));
    cg::paint(c, box, [&](double alpha) {
        cairo_t* cr = c->cr;
        if (fill) {
            cairo_set_fill_rule(cr, evenOdd ? CAIRO_FILL_RULE_EVEN_ODD : CAIRO_FILL_RULE_WINDING);
            setSource(cr, c->gs.fill, alpha);
            cairo_fill_preserve(cr);
            cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
        }
        if (stroke) {
            setSource(cr, c->gs.stroke, alpha);
            cairo_stroke_preserve(cr);
        }
    });
}

cairo_filter_t filterFor(CGInterpolationQuality quality) {
    switch (quality) {
    case kCGInterpolationNone: return CAIRO_FILTER_NEAREST;
    case kCGInterpolationLow: return CAIRO_FILTER_FAST;
    case kCGInterpolationHigh: return CAIRO_FILTER_BEST;
    default: return CAIRO_FILTER_GOOD;
    }
}

// Draws image into rect, its first row at rect's top when upright, at rect's
// bottom otherwise.
void drawImage(CGContextRef c, CGRect rect, CGImageRef image, bool upright) {
    if (!c || !image) return;
    const CGRect r = CGRectStandardize(rect);
    if (CGRectIsEmpty(r) || !std::isfinite(r.size.width) || !std::isfinite(r.size.height)) return;
    cairo_surface_t* pixels = CGCairoImageGetSurface(image);
    const double iw = cairo_image_surface_get_width(pixels), ih = cairo_image_surface_get_height(pixels);
    const cg::Box box =
        cg::deviceBoxOfUserRect(c, r.origin.x, r.origin.y, r.origin.x + r.size.width, r.origin.y + r.size.height)
            .intersect(c->clipBox());
    cg::paint(c, box, [&](double alpha) {
        cairo_t* cr = c->cr;
        cairo_save(cr);
        if (upright) {
            cairo_translate(cr, r.origin.x, r.origin.y);
            cairo_scale(cr, r.size.width / iw, r.size.height / ih);
        } else {
            cairo_translate(cr, r.origin.x, r.origin.y + r.size.height);
            cairo_scale(cr, r.size.width / iw, -r.size.height / ih);
        }
        cairo_pattern_t* pattern = cairo_pattern_create_for_surface(pixels);
        cairo_pattern_set_filter(pattern, filterFor(c->gs.interpolation));
        // Padding keeps the image's edges crisp where it is scaled; the
        // rectangle limits it to its own area.
        cairo_pattern_set_extend(pattern, CAIRO_EXTEND_PAD);
        cairo_set_source(cr, pattern);
        cairo_pattern_destroy(pattern);
        cairo_new_path(cr);
        cairo_rectangle(cr, 0, 0, iw, ih);
        if (alpha >= 1) {
            cairo_fill(cr);
        } else {
            cairo_clip(cr);
            cairo_paint_with_alpha(cr, alpha);
        }
        cairo_restore(cr);
    });
}

void addStops(cairo_pattern_t* pattern, CGGradientRef gradient) {
    for (const auto& stop : gradient->stops) {
        cairo_pattern_add_color_stop_rgba(pattern, std::clamp(stop.location, 0.0, 1.0), stop.color.r, stop.color.g,
                                          stop.color.b, stop.color.a);
    }
}

// Paints pattern over the whole clip.
void paintPattern(CGContextRef c, cairo_pattern_t* pattern) {
    cg::paint(c, c->clipBox(), [&](double alpha) {
        cairo_set_source(c->cr, pattern);
        cairo_paint_with_alpha(c->cr, alpha);
    });
}

}  // namespace

extern "C" {

void CGContextFillPath(CGContextRef c) { drawPath(c, kCGPathFill); }
void CGContextEOFillPath(CGContextRef c) { drawPath(c, kCGPathEOFill); }
void CGContextStrokePath(CGContextRef c) { drawPath(c, kCGPathStroke); }
void CGContextDrawPath(CGContextRef c, CGPathDrawingMode mode) { drawPath(c, mode); }

void CGContextFillRect(CGContextRef c, CGRect rect) {
    if (!c) return;
    if (cg::directFill(c, rect, false)) return;
    CGContextBeginPath(c);
    CGContextAddRect(c, rect);
    drawPath(c, kCGPathFill);
}

void CGContextFillRects(CGContextRef c, const CGRect* rects, size_t count) {
    if (!c || !rects) return;
    for (size_t i = 0; i < count; ++i) CGContextFillRect(c, rects[i]);
}

void CGContextStrokeRect(CGContextRef c, CGRect rect) {
    if (!c) return;
    CGContextBeginPath(c);
    CGContextAddRect(c, rect);
    drawPath(c, kCGPathStroke);
}

void CGContextStrokeRectWithWidth(CGContextRef c, CGRect rect, CGFloat width) {
    if (!c) return;
    const double saved = cairo_get_line_width(c->cr);
    CGContextSetLineWidth(c, width);
    CGContextStrokeRect(c, rect);
    cairo_set_line_width(c->cr, saved);
}

void CGContextFillEllipseInRect(CGContextRef c, CGRect rect) {
    if (!c) return;
    CGContextBeginPath(c);
    CGContextAddEllipseInRect(c, rect);
    drawPath(c, kCGPathFill);
}

void CGContextStrokeEllipseInRect(CGContextRef c, CGRect rect) {
    if (!c) return;
    CGContextBeginPath(c);
    CGContextAddEllipseInRect(c, rect);
    drawPath(c, kCGPathStroke);
}

void CGContextStrokeLineSegments(CGContextRef c, const CGPoint* points, size_t count) {
    if (!c || !points) return;
    CGContextBeginPath(c);
    for (size_t i = 0; i + 1 < count; i += 2) {
        CGContextMoveToPoint(c, points[i].x, points[i].y);
        CGContextAddLineToPoint(c, points[i + 1].x, points[i + 1].y);
    }
    drawPath(c, kCGPathStroke);
}

void CGContextClearRect(CGContextRef c, CGRect rect) {
    if (!c) return;
    if (cg::directFill(c, rect, true)) return;
    if (c->gs.degenerate) return;
    const CGRect r = CGRectStandardize(rect);
    if (CGRectIsNull(r)) return;
    c->willUseCairo();
    cairo_t* cr = c->cr;
    cairo_path_t* saved = c->pathUsed ? cairo_copy_path(cr) : nullptr;
    cairo_save(cr);
    cairo_new_path(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_CLEAR);
    cairo_rectangle(cr, r.origin.x, r.origin.y, r.size.width, r.size.height);
    cairo_fill(cr);
    cairo_restore(cr);
    if (saved) {
        cairo_append_path(cr, saved);
        cairo_path_destroy(saved);
    }
    c->cairoTouched = true;
    c->didDraw(cg::deviceBoxOfUserRect(c, r.origin.x, r.origin.y, r.origin.x + r.size.width, r.origin.y + r.size.height)
                   .intersect(c->clipBox()));
}

void CGContextDrawImage(CGContextRef c, CGRect rect, CGImageRef image) { drawImage(c, rect, image, false); }

void CGContextDrawLinearGradient(CGContextRef c, CGGradientRef gradient, CGPoint start, CGPoint end,
                                 CGGradientDrawingOptions options) {
    if (!c || !gradient || gradient->stops.empty()) return;
    cairo_pattern_t* pattern = cairo_pattern_create_linear(start.x, start.y, end.x, end.y);
    addStops(pattern, gradient);
    const bool before = options & kCGGradientDrawsBeforeStartLocation;
    const bool after = options & kCGGradientDrawsAfterEndLocation;
    cairo_pattern_set_extend(pattern, before || after ? CAIRO_EXTEND_PAD : CAIRO_EXTEND_NONE);
    // Extending one side only: pad both, then clip away the other side's
    // half-plane.
    const double dx = end.x - start.x, dy = end.y - start.y;
    if (before != after && (dx != 0 || dy != 0)) {
        CGContextSaveGState(c);
        const CGPoint edge = before ? end : start;
        const double far = 1e6;
        const double len = std::hypot(dx, dy);
        const double ux = dx / len, uy = dy / len;   // along the axis
        const double sign = before ? -1 : 1;         // towards the side kept
        const double px = -uy * far, py = ux * far;  // along the edge
        CGContextBeginPath(c);
        CGContextMoveToPoint(c, edge.x + px, edge.y + py);
        CGContextAddLineToPoint(c, edge.x - px, edge.y - py);
        CGContextAddLineToPoint(c, edge.x - px + sign * ux * far, edge.y - py + sign * uy * far);
        CGContextAddLineToPoint(c, edge.x + px + sign * ux * far, edge.y + py + sign * uy * far);
        CGContextClosePath(c);
        CGContextClip(c);
        paintPattern(c, pattern);
        CGContextRestoreGState(c);
    } else {
        paintPattern(c, pattern);
    }
    cairo_pattern_destroy(pattern);
}

void CGContextDrawRadialGradient(CGContextRef c, CGGradientRef gradient, CGPoint startCenter, CGFloat startRadius,
                                 CGPoint endCenter, CGFloat endRadius, CGGradientDrawingOptions options) {
    if (!c || !gradient || gradient->stops.empty()) return;
    cairo_pattern_t* pattern =
        cairo_pattern_create_radial(startCenter.x, startCenter.y, std::max<CGFloat>(startRadius, 0), endCenter.x,
                                    endCenter.y, std::max<CGFloat>(endRadius, 0));
    addStops(pattern, gradient);
    cairo_pattern_set_extend(pattern, options ? CAIRO_EXTEND_PAD : CAIRO_EXTEND_NONE);
    paintPattern(c, pattern);
    cairo_pattern_destroy(pattern);
}

void CGContextBeginTransparencyLayer(CGContextRef c, const void*) {
    if (!c) return;
    c->willUseCairo();
    c->layers.push_back(c->gs);
    cairo_push_group(c->cr);
    cairo_set_operator(c->cr, CAIRO_OPERATOR_OVER);
    // Inside the layer everything is drawn plainly; alpha, blend mode and
    // shadow apply to the layer as a whole when it ends.
    c->gs.alpha = 1;
    c->gs.shadowOn = false;
    c->gs.blend = kCGBlendModeNormal;
}

void CGContextEndTransparencyLayer(CGContextRef c) {
    if (!c || c->layers.empty()) return;
    cairo_pattern_t* group = cairo_pop_group(c->cr);
    c->gs = c->layers.back();
    c->layers.pop_back();
    cairo_path_t* saved = c->pathUsed ? cairo_copy_path(c->cr) : nullptr;
    cairo_new_path(c->cr);
    cg::paint(c, c->clipBox(), [&](double alpha) {
        cairo_set_source(c->cr, group);
        cairo_paint_with_alpha(c->cr, alpha);
    });
    if (saved) {
        cairo_append_path(c->cr, saved);
        cairo_path_destroy(saved);
        c->pathUsed = true;
    }
    cairo_pattern_destroy(group);
}

}  // extern "C"

void CGCairoContextDrawImageUpright(CGContextRef c, CGRect rect, CGImageRef image) { drawImage(c, rect, image, true); }
