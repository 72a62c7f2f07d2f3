// Rectangle fills that land on whole device pixels, under a transform without
// rotation, inside a clip of whole pixels, with no shadow and a plain colour
// in the normal or copy blend mode, are written straight into the pixels: a
// field painted point by point costs one such fill per point, and going
// through cairo costs far more than the few pixels it changes.
//
// The pixels are exactly those cairo would produce: the colour is turned into
// a premultiplied pixel the way cairo turns it (components to 16 bits rounded
// to nearest, then the high byte), and the normal blend mode is the 8-bit
// "over" with cairo's rounding.
#include "Context.h"

#include <cmath>

namespace {

inline uint32_t toShort(double v) { return static_cast<uint32_t>(v * 65535.0 + 0.5); }

inline uint32_t pixelFor(const cg::RGBA& color, double alphaFactor) {
    const double a = std::clamp(color.a * alphaFactor, 0.0, 1.0);
    const double r = std::clamp(color.r, 0.0, 1.0), g = std::clamp(color.g, 0.0, 1.0),
                 b = std::clamp(color.b, 0.0, 1.0);
    return (toShort(a) >> 8) << 24 | (toShort(r * a) >> 8) << 16 | (toShort(g * a) >> 8) << 8 | toShort(b * a) >> 8;
}

// x·y / 255, rounded as cairo rounds it.
inline uint32_t multiply(uint32_t x, uint32_t y) {
    const uint32_t t = x * y + 0x80;
    return ((t >> 8) + t) >> 8;
}

inline uint32_t over(uint32_t source, uint32_t dest) {
    const uint32_t inverse = 255 - (source >> 24);
    uint32_t result = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        const uint32_t sum = ((source >> shift) & 0xFF) + multiply((dest >> shift) & 0xFF, inverse);
        result |= std::min<uint32_t>(sum, 255) << shift;
    }
    return result;
}

inline bool whole(double v) { return std::isfinite(v) && v == std::floor(v); }

}  // namespace

namespace cg {

bool directFill(CGContextRef c, CGRect rect, bool clear) {
    const GState& gs = c->gs;
    if (!c->argb32 || !c->layers.empty() || !gs.axisAligned || !gs.clipIsBox || gs.degenerate) return false;
    if (!clear && (gs.shadowOn || (gs.blend != kCGBlendModeNormal && gs.blend != kCGBlendModeCopy))) return false;

    const CGRect r = CGRectStandardize(rect);
    if (CGRectIsNull(r)) return false;
    double x0 = gs.ctm.xx * r.origin.x + gs.ctm.x0;
    double x1 = gs.ctm.xx * (r.origin.x + r.size.width) + gs.ctm.x0;
    double y0 = gs.ctm.yy * r.origin.y + gs.ctm.y0;
    double y1 = gs.ctm.yy * (r.origin.y + r.size.height) + gs.ctm.y0;
    if (!whole(x0) || !whole(x1) || !whole(y0) || !whole(y1)) return false;
    if (x0 > x1) std::swap(x0, x1);
    if (y0 > y1) std::swap(y0, y1);

    // Limits in double first, so that huge rectangles convert safely.
    const Box& clip = gs.clip;
    const Box box{static_cast<int>(std::max<double>(x0, clip.x0)), static_cast<int>(std::max<double>(y0, clip.y0)),
                  static_cast<int>(std::min<double>(x1, clip.x1)), static_cast<int>(std::min<double>(y1, clip.y1))};

    // Filling a rectangle empties the current path.
    if (c->pathUsed) {
        cairo_new_path(c->cr);
        c->pathUsed = false;
    }
    ++c->directFills;
    if (box.empty()) return true;

    const uint32_t pixel = clear ? 0 : pixelFor(gs.fill, gs.alpha);
    const bool blend = !clear && gs.blend == kCGBlendModeNormal && (pixel >> 24) != 0xFF;
    if (blend && pixel == 0) return true;  // a transparent colour changes nothing

    c->willWritePixels();
    for (int y = box.y0; y < box.y1; ++y) {
        auto* row = reinterpret_cast<uint32_t*>(c->pixels + static_cast<size_t>(y) * c->stride);
        if (blend) {
            for (int x = box.x0; x < box.x1; ++x) row[x] = over(pixel, row[x]);
        } else {
            std::fill(row + box.x0, row + box.x1, pixel);
        }
    }
    c->pendingDirty = c->pendingDirty.unite(box);
    if (c->storage == Storage::Convert) c->exportBox(box);
    return true;
}

}  // namespace cg
