// Building the current path. Points go through the transform as they are
// added, as in cairo, so a later change of transform does not move them.
#include "Context.h"

#include <cmath>

namespace {

constexpr double kTwoPi = 2 * M_PI;

bool usable(CGContextRef c) { return c && !c->gs.degenerate; }

void markPath(CGContextRef c) { c->pathUsed = true; }

}  // namespace

extern "C" {

void CGContextBeginPath(CGContextRef c) {
    if (!c) return;
    cairo_new_path(c->cr);
    c->pathUsed = false;
}

void CGContextMoveToPoint(CGContextRef c, CGFloat x, CGFloat y) {
    if (!usable(c)) return;
    cairo_move_to(c->cr, x, y);
    markPath(c);
}

// A line with no current point starts the path at its end point.
void CGContextAddLineToPoint(CGContextRef c, CGFloat x, CGFloat y) {
    if (!usable(c)) return;
    if (cairo_has_current_point(c->cr)) {
        cairo_line_to(c->cr, x, y);
    } else {
        cairo_move_to(c->cr, x, y);
    }
    markPath(c);
}

void CGContextAddLines(CGContextRef c, const CGPoint* points, size_t count) {
    if (!usable(c) || !points || count == 0) return;
    cairo_move_to(c->cr, points[0].x, points[0].y);
    for (size_t i = 1; i < count; ++i) cairo_line_to(c->cr, points[i].x, points[i].y);
    markPath(c);
}

void CGContextAddCurveToPoint(CGContextRef c, CGFloat cp1x, CGFloat cp1y, CGFloat cp2x, CGFloat cp2y, CGFloat x,
                              CGFloat y) {
    if (!usable(c)) return;
    if (!cairo_has_current_point(c->cr)) cairo_move_to(c->cr, cp1x, cp1y);
    cairo_curve_to(c->cr, cp1x, cp1y, cp2x, cp2y, x, y);
    markPath(c);
}

// A quadratic curve is the cubic with control points two thirds of the way
// from each end to the quadratic's control point.
void CGContextAddQuadCurveToPoint(CGContextRef c, CGFloat cpx, CGFloat cpy, CGFloat x, CGFloat y) {
    if (!usable(c)) return;
    if (!cairo_has_current_point(c->cr)) cairo_move_to(c->cr, cpx, cpy);
    double x0, y0;
    cairo_get_current_point(c->cr, &x0, &y0);
    cairo_curve_to(c->cr, x0 + 2.0 / 3.0 * (cpx - x0), y0 + 2.0 / 3.0 * (cpy - y0), x + 2.0 / 3.0 * (cpx - x),
                   y + 2.0 / 3.0 * (cpy - y), x, y);
    markPath(c);
}

void CGContextAddRect(CGContextRef c, CGRect rect) { CGContextAddRects(c, &rect, 1); }

void CGContextAddRects(CGContextRef c, const CGRect* rects, size_t count) {
    if (!usable(c) || !rects) return;
    for (size_t i = 0; i < count; ++i) {
        const CGRect r = CGRectStandardize(rects[i]);
        if (CGRectIsNull(r)) continue;
        cairo_rectangle(c->cr, r.origin.x, r.origin.y, r.size.width, r.size.height);
        markPath(c);
    }
}

void CGContextAddEllipseInRect(CGContextRef c, CGRect rect) {
    if (!usable(c)) return;
    const CGRect r = CGRectStandardize(rect);
    if (CGRectIsNull(r)) return;
    cairo_t* cr = c->cr;
    cairo_new_sub_path(cr);
    if (r.size.width == 0 || r.size.height == 0) {
        // A flat ellipse is a line, closed on itself.
        cairo_move_to(cr, r.origin.x, r.origin.y);
        cairo_line_to(cr, r.origin.x + r.size.width, r.origin.y + r.size.height);
        cairo_close_path(cr);
    } else {
        cairo_save(cr);
        cairo_translate(cr, r.origin.x + r.size.width / 2, r.origin.y + r.size.height / 2);
        cairo_scale(cr, r.size.width / 2, r.size.height / 2);
        cairo_arc(cr, 0, 0, 1, 0, kTwoPi);
        cairo_close_path(cr);
        cairo_restore(cr);
    }
    markPath(c);
}

void CGContextAddArc(CGContextRef c, CGFloat x, CGFloat y, CGFloat radius, CGFloat startAngle, CGFloat endAngle,
                     int clockwise) {
    if (!usable(c) || !(radius >= 0) || !std::isfinite(startAngle) || !std::isfinite(endAngle)) return;
    cairo_t* cr = c->cr;
    // The span in the arc's own direction, in [0, 2π]: a whole, non-zero
    // number of turns is one full turn.
    const double delta = clockwise ? startAngle - endAngle : endAngle - startAngle;
    double span = std::fmod(delta, kTwoPi);
    if (span < 0) span += kTwoPi;
    const double turns = delta / kTwoPi;
    if (delta != 0 && std::fabs(turns - std::nearbyint(turns)) < 1e-12) span = kTwoPi;
    if (delta == 0) span = 0;
    if (clockwise) {
        cairo_arc_negative(cr, x, y, radius, startAngle, startAngle - span);
    } else {
        cairo_arc(cr, x, y, radius, startAngle, startAngle + span);
    }
    markPath(c);
}

void CGContextAddArcToPoint(CGContextRef c, CGFloat x1, CGFloat y1, CGFloat x2, CGFloat y2, CGFloat radius) {
    if (!usable(c) || !(radius >= 0)) return;
    cairo_t* cr = c->cr;
    markPath(c);
    if (!cairo_has_current_point(cr)) {
        cairo_move_to(cr, x1, y1);
        return;
    }
    double x0, y0;
    cairo_get_current_point(cr, &x0, &y0);
    // Directions from the corner towards both neighbours.
    const double ax = x0 - x1, ay = y0 - y1, bx = x2 - x1, by = y2 - y1;
    const double la = std::hypot(ax, ay), lb = std::hypot(bx, by);
    const double cross = ax * by - ay * bx;
    if (radius == 0 || la == 0 || lb == 0 || std::fabs(cross) < 1e-12 * la * lb) {
        cairo_line_to(cr, x1, y1);
        return;
    }
    const double cosTheta = std::clamp((ax * bx + ay * by) / (la * lb), -1.0, 1.0);
    const double theta = std::acos(cosTheta);  // angle at the corner
    const double tangent = radius / std::tan(theta / 2);
    const double t1x = x1 + ax / la * tangent, t1y = y1 + ay / la * tangent;
    const double t2x = x1 + bx / lb * tangent, t2y = y1 + by / lb * tangent;
    // The centre lies on the bisector, radius / sin(θ/2) from the corner.
    const double bisX = ax / la + bx / lb, bisY = ay / la + by / lb;
    const double bisL = std::hypot(bisX, bisY);
    const double d = radius / std::sin(theta / 2);
    const double cx = x1 + bisX / bisL * d, cy = y1 + bisY / bisL * d;
    const double start = std::atan2(t1y - cy, t1x - cx), end = std::atan2(t2y - cy, t2x - cx);
    cairo_line_to(cr, t1x, t1y);
    // The arc turns the way the corner turns.
    if (cross < 0) {
        cairo_arc(cr, cx, cy, radius, start, end);
    } else {
        cairo_arc_negative(cr, cx, cy, radius, start, end);
    }
}

void CGContextClosePath(CGContextRef c) {
    if (c && cairo_has_current_point(c->cr)) cairo_close_path(c->cr);
}

bool CGContextIsPathEmpty(CGContextRef c) {
    if (!c || !c->pathUsed) return true;
    cairo_path_t* path = cairo_copy_path(c->cr);
    const bool empty = path->num_data == 0;
    cairo_path_destroy(path);
    return empty;
}

CGPoint CGContextGetPathCurrentPoint(CGContextRef c) {
    if (!c || !cairo_has_current_point(c->cr)) return CGPointZero;
    double x, y;
    cairo_get_current_point(c->cr, &x, &y);
    return CGPointMake(x, y);
}

CGRect CGContextGetPathBoundingBox(CGContextRef c) {
    if (CGContextIsPathEmpty(c)) return CGRectNull;
    double x0, y0, x1, y1;
    cairo_path_extents(c->cr, &x0, &y0, &x1, &y1);
    return CGRectMake(x0, y0, x1 - x0, y1 - y0);
}

}  // extern "C"
