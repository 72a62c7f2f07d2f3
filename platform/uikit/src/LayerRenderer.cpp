#include "LayerRenderer.h"

#include <CoreGraphics/CGCairo.h>
#include <Foundation/NSRunLoop.h>

#include "LayerState.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace CA::detail {
namespace {

// A rectangle in device space (pixels of the destination).
struct Box {
    double x1, y1, x2, y2;
    bool intersects(const Box& o) const { return x1 < o.x2 && o.x1 < x2 && y1 < o.y2 && o.y1 < y2; }
    Box intersection(const Box& o) const {
        return Box{std::max(x1, o.x1), std::max(y1, o.y1), std::min(x2, o.x2), std::min(y2, o.y2)};
    }
};

Box deviceBoxOf(cairo_t* cr, CGRect r) {
    double xs[4] = {r.origin.x, r.origin.x + r.size.width, r.origin.x, r.origin.x + r.size.width};
    double ys[4] = {r.origin.y, r.origin.y, r.origin.y + r.size.height, r.origin.y + r.size.height};
    Box box{INFINITY, INFINITY, -INFINITY, -INFINITY};
    for (int i = 0; i < 4; ++i) {
        cairo_user_to_device(cr, &xs[i], &ys[i]);
        box.x1 = std::min(box.x1, xs[i]);
        box.y1 = std::min(box.y1, ys[i]);
        box.x2 = std::max(box.x2, xs[i]);
        box.y2 = std::max(box.y2, ys[i]);
    }
    return box;
}

Box deviceClipOf(cairo_t* cr) {
    cairo_save(cr);
    cairo_identity_matrix(cr);
    Box box;
    cairo_clip_extents(cr, &box.x1, &box.y1, &box.x2, &box.y2);
    cairo_restore(cr);
    return box;
}

// Core Animation never rounds a corner by more than half the shorter side.
double effectiveRadius(CGRect r, CGFloat radius) {
    double limit = std::min(std::fabs(r.size.width), std::fabs(r.size.height)) / 2;
    return radius > 0 ? std::min<double>(radius, limit) : 0;
}

void addRoundedRect(cairo_t* cr, CGRect r, double radius) {
    double x = r.origin.x, y = r.origin.y, w = r.size.width, h = r.size.height;
    if (radius <= 0) {
        cairo_rectangle(cr, x, y, w, h);
        return;
    }
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + w - radius, y + radius, radius, -M_PI / 2, 0);
    cairo_arc(cr, x + w - radius, y + h - radius, radius, 0, M_PI / 2);
    cairo_arc(cr, x + radius, y + h - radius, radius, M_PI / 2, M_PI);
    cairo_arc(cr, x + radius, y + radius, radius, M_PI, 3 * M_PI / 2);
    cairo_close_path(cr);
}

// Paints a surface stretched over r: sx, sy are points per pixel.
void paintSurface(cairo_t* cr, cairo_surface_t* surface, CGRect r, double sx, double sy) {
    if (surface == nullptr || !(sx > 0) || !(sy > 0)) return;
    cairo_save(cr);
    cairo_rectangle(cr, r.origin.x, r.origin.y, r.size.width, r.size.height);
    cairo_clip(cr);
    cairo_translate(cr, r.origin.x, r.origin.y);
    cairo_scale(cr, sx, sy);
    cairo_set_source_surface(cr, surface, 0, 0);
    // Pixels at the edges stretch outwards instead of fading into nothing.
    cairo_pattern_set_extend(cairo_get_source(cr), CAIRO_EXTEND_PAD);
    cairo_paint(cr);
    cairo_restore(cr);
}

class Renderer {
public:
    Renderer(cairo_t* cr, double now) : cr_(cr), now_(now), clip_(deviceClipOf(cr)) {}

    // The layer in its own coordinates: its bounds origin at the user origin.
    void renderRoot(id layer) {
        Presentation p = presentationAt(stateOf(layer), now_);
        cairo_save(cr_);
        cairo_translate(cr_, -p.bounds.origin.x, -p.bounds.origin.y);
        draw(layer, p);
        cairo_restore(cr_);
    }

private:
    // A sublayer, placed by its frame in its superlayer's coordinates.
    void renderPlaced(id layer) {
        LayerState& s = stateOf(layer);
        Presentation p = presentationAt(s, now_);
        double x = p.position.x - s.anchorPoint.x * p.bounds.size.width - p.bounds.origin.x;
        double y = p.position.y - s.anchorPoint.y * p.bounds.size.height - p.bounds.origin.y;
        cairo_save(cr_);
        cairo_translate(cr_, x, y);
        draw(layer, p);
        cairo_restore(cr_);
    }

    void draw(id layer, const Presentation& p) {
        LayerState& s = stateOf(layer);
        if (s.hidden || !(p.opacity > 0)) return;
        const CGRect b = p.bounds;
        const Box box = deviceBoxOf(cr_, b);
        const bool visible = box.intersects(clip_);
        if (s.masksToBounds && !visible) return;
        if (!visible && s.sublayers.empty()) return;

        const bool grouped = p.opacity < 1 || s.mask != nullptr;
        if (grouped) cairo_push_group(cr_);

        const double radius = effectiveRadius(b, s.cornerRadius);
        if (visible && p.background[3] > 0) {
            cairo_set_source_rgba(cr_, p.background[0], p.background[1], p.background[2], p.background[3]);
            addRoundedRect(cr_, b, radius);
            cairo_fill(cr_);
        }

        cairo_save(cr_);
        const Box outerClip = clip_;
        if (s.masksToBounds) {
            addRoundedRect(cr_, b, radius);
            cairo_clip(cr_);
            clip_ = clip_.intersection(box);
        }
        if (visible) drawContents(layer, s, b);
        if (!s.sublayers.empty()) {
            // Retained for the walk: painting may change the tree.
            const std::vector<Ref<Layer>> subs = s.sublayers;
            for (Layer* sub : subs) renderPlaced(objc::asId(sub));
        }
        clip_ = outerClip;
        cairo_restore(cr_);

        if (visible) drawBorder(s, b, radius);

        if (grouped) finishGroup(s, p);
    }

    void drawContents(id layer, LayerState& s, CGRect b) {
        if (drawsContent(layer)) {
            if (s.needsDisplay || s.backing.surface() == nullptr) objc::cast<CA::Layer>(layer)->display();
            cairo_surface_t* surface = s.backing.surface();
            if (surface == nullptr || s.bounds.size.width <= 0 || s.bounds.size.height <= 0) return;
            double scale = s.backing.scale();
            paintSurface(cr_, surface, b, b.size.width / (s.bounds.size.width * scale),
                         b.size.height / (s.bounds.size.height * scale));
        } else if (s.contents != nullptr) {
            double w = static_cast<double>(CGImageGetWidth(s.contents));
            double h = static_cast<double>(CGImageGetHeight(s.contents));
            if (w > 0 && h > 0) {
                paintSurface(cr_, CGCairoImageGetSurface(s.contents), b, b.size.width / w, b.size.height / h);
            }
        }
    }

    // Inside the bounds, above the contents and the sublayers.
    void drawBorder(const LayerState& s, CGRect b, double radius) {
        if (!(s.borderWidth > 0) || s.borderColor == nullptr) return;
        CGFloat c[4];
        rgbaOf(s.borderColor, c);
        if (!(c[3] > 0)) return;
        cairo_save(cr_);
        cairo_set_source_rgba(cr_, c[0], c[1], c[2], c[3]);
        cairo_set_fill_rule(cr_, CAIRO_FILL_RULE_EVEN_ODD);
        addRoundedRect(cr_, b, radius);
        double w = s.borderWidth;
        if (2 * w < b.size.width && 2 * w < b.size.height) {
            CGRect inner = CGRectMake(b.origin.x + w, b.origin.y + w, b.size.width - 2 * w, b.size.height - 2 * w);
            addRoundedRect(cr_, inner, std::max(0.0, radius - w));
        }
        cairo_fill(cr_);
        cairo_restore(cr_);
    }

    void finishGroup(LayerState& s, const Presentation& p) {
        if (s.mask == nullptr) {
            cairo_pop_group_to_source(cr_);
            cairo_paint_with_alpha(cr_, p.opacity);
            return;
        }
        cairo_pattern_t* content = cairo_pop_group(cr_);
        cairo_push_group(cr_);
        renderPlaced(objc::asId(s.mask.get()));
        cairo_pattern_t* mask = cairo_pop_group(cr_);
        if (p.opacity < 1) cairo_push_group(cr_);
        cairo_set_source(cr_, content);
        cairo_mask(cr_, mask);
        if (p.opacity < 1) {
            cairo_pop_group_to_source(cr_);
            cairo_paint_with_alpha(cr_, p.opacity);
        }
        cairo_pattern_destroy(mask);
        cairo_pattern_destroy(content);
    }

    cairo_t* cr_;
    double now_;
    Box clip_;
};

}  // namespace

void renderLayer(id layer, CGContextRef context) {
    if (layer == nil || context == nullptr) return;
    cairo_t* cr = CGCairoContextGetCairo(context);
    if (cr == nullptr) return;
    CGCairoContextBeginDirectDrawing(context);
    cairo_save(cr);
    Renderer(cr, NS::loop::now()).renderRoot(layer);
    cairo_restore(cr);
    CGCairoContextEndDirectDrawing(context);
}

}  // namespace CA::detail
