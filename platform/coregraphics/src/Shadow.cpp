// Shadows: the alpha of what was drawn, blurred with a gaussian of sigma half
// the blur, tinted with the shadow colour and painted, offset, under it.
#include "Context.h"

#include <cmath>
#include <vector>

namespace {

// One pass of a separable gaussian over rows (or, with the strides swapped,
// columns) of an 8-bit buffer.
void blurPass(const std::vector<float>& kernel, int radius, const float* src, float* dst, int count, int length,
              int step, int lineStep) {
    for (int line = 0; line < count; ++line) {
        const float* in = src + static_cast<size_t>(line) * lineStep;
        float* out = dst + static_cast<size_t>(line) * lineStep;
        for (int i = 0; i < length; ++i) {
            float sum = 0;
            const int lo = std::max(0, i - radius), hi = std::min(length - 1, i + radius);
            for (int k = lo; k <= hi; ++k) sum += kernel[k - i + radius] * in[static_cast<size_t>(k) * step];
            out[static_cast<size_t>(i) * step] = sum;
        }
    }
}

}  // namespace

namespace cg {

void drawShadowOfGroup(CGContextRef c, cairo_pattern_t* group) {
    cairo_surface_t* drawn = nullptr;
    if (cairo_pattern_get_surface(group, &drawn) != CAIRO_STATUS_SUCCESS || !drawn ||
        cairo_surface_get_type(drawn) != CAIRO_SURFACE_TYPE_IMAGE) {
        return;
    }
    cairo_surface_flush(drawn);
    const int gw = cairo_image_surface_get_width(drawn), gh = cairo_image_surface_get_height(drawn);
    if (gw <= 0 || gh <= 0) return;
    double offsetX, offsetY;
    cairo_surface_get_device_offset(drawn, &offsetX, &offsetY);

    // Offset and blur are in the base space.
    const cairo_matrix_t& b = c->base;
    const double dx = b.xx * c->gs.shadowOffset.width + b.xy * c->gs.shadowOffset.height;
    const double dy = b.yx * c->gs.shadowOffset.width + b.yy * c->gs.shadowOffset.height;
    const double scale = std::sqrt(std::fabs(b.xx * b.yy - b.xy * b.yx));
    const double sigma = c->gs.shadowBlur * scale / 2;
    const int radius = sigma >= 0.25 ? static_cast<int>(std::ceil(3 * sigma)) : 0;

    const int mw = gw + 2 * radius, mh = gh + 2 * radius;
    std::vector<float> alpha(static_cast<size_t>(mw) * mh, 0.0f);
    const unsigned char* pixels = cairo_image_surface_get_data(drawn);
    const int stride = cairo_image_surface_get_stride(drawn);
    const cairo_format_t format = cairo_image_surface_get_format(drawn);
    for (int y = 0; y < gh; ++y) {
        const unsigned char* row = pixels + static_cast<size_t>(y) * stride;
        float* out = alpha.data() + static_cast<size_t>(y + radius) * mw + radius;
        for (int x = 0; x < gw; ++x) {
            if (format == CAIRO_FORMAT_A8) {
                out[x] = row[x];
            } else if (format == CAIRO_FORMAT_ARGB32) {
                out[x] = static_cast<float>(reinterpret_cast<const uint32_t*>(row)[x] >> 24);
            } else {
                out[x] = 255.0f;
            }
        }
    }
    if (radius > 0) {
        std::vector<float> kernel(static_cast<size_t>(2 * radius + 1));
        float total = 0;
        for (int k = -radius; k <= radius; ++k) {
            kernel[k + radius] = static_cast<float>(std::exp(-(k * k) / (2 * sigma * sigma)));
            total += kernel[k + radius];
        }
        for (float& w : kernel) w /= total;
        std::vector<float> tmp(alpha.size());
        blurPass(kernel, radius, alpha.data(), tmp.data(), mh, mw, 1, mw);
        blurPass(kernel, radius, tmp.data(), alpha.data(), mw, mh, mw, 1);
    }

    cairo_surface_t* mask = cairo_image_surface_create(CAIRO_FORMAT_A8, mw, mh);
    if (cairo_surface_status(mask) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(mask);
        return;
    }
    unsigned char* maskPixels = cairo_image_surface_get_data(mask);
    const int maskStride = cairo_image_surface_get_stride(mask);
    for (int y = 0; y < mh; ++y) {
        for (int x = 0; x < mw; ++x) {
            const float v = alpha[static_cast<size_t>(y) * mw + x];
            maskPixels[static_cast<size_t>(y) * maskStride + x] =
                static_cast<unsigned char>(std::clamp(std::lround(v), 0L, 255L));
        }
    }
    cairo_surface_mark_dirty(mask);

    cairo_t* cr = c->cr;
    cairo_save(cr);
    cairo_identity_matrix(cr);
    const RGBA& color = c->gs.shadowColor;
    cairo_set_source_rgba(cr, color.r, color.g, color.b, color.a * c->gs.alpha);
    // The group's pixel (0, 0) lies at device (-offsetX, -offsetY).
    cairo_mask_surface(cr, mask, -offsetX - radius + dx, -offsetY - radius + dy);
    cairo_restore(cr);
    cairo_surface_destroy(mask);
}

}  // namespace cg
