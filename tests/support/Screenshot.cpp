// A screenshot's pixels, read with cairo, for the whole-device tests.
#include "DeviceRun.h"

#include <gtest/gtest.h>

#include <cairo.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace fs = std::filesystem;

namespace e2e {

bool near(const Pixel& p, const Pixel& q, int tolerance) {
    return std::abs(p.r - q.r) <= tolerance && std::abs(p.g - q.g) <= tolerance && std::abs(p.b - q.b) <= tolerance &&
           std::abs(p.a - q.a) <= tolerance;
}

Screenshot::Screenshot(const fs::path& png) {
    cairo_surface_t* s = cairo_image_surface_create_from_png(png.c_str());
    if (cairo_surface_status(s) == CAIRO_STATUS_SUCCESS) {
        cairo_surface_flush(s);
        width_ = cairo_image_surface_get_width(s);
        height_ = cairo_image_surface_get_height(s);
        const int stride = cairo_image_surface_get_stride(s);
        const unsigned char* data = cairo_image_surface_get_data(s);
        const bool hasAlpha = cairo_image_surface_get_format(s) == CAIRO_FORMAT_ARGB32;
        pixels_.resize(static_cast<std::size_t>(width_) * height_);
        for (int y = 0; y < height_; ++y) {
            const auto* row = reinterpret_cast<const std::uint32_t*>(data + static_cast<std::size_t>(y) * stride);
            for (int x = 0; x < width_; ++x) {
                pixels_[static_cast<std::size_t>(y) * width_ + x] = hasAlpha ? row[x] : (row[x] | 0xFF000000u);
            }
        }
    }
    cairo_surface_destroy(s);
}

Pixel Screenshot::at(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) {
        ADD_FAILURE() << "pixel (" << x << ", " << y << ") is outside the " << width_ << "x" << height_
                      << " screenshot";
        return {};
    }
    std::uint32_t v = pixels_[static_cast<std::size_t>(y) * width_ + x];
    int a = int(v >> 24);
    auto un = [a](std::uint32_t c) { return a == 0 ? 0 : int(std::lround(double(c & 0xFF) * 255.0 / a)); };
    return {un(v >> 16), un(v >> 8), un(v), a};
}

Pixel Screenshot::atPoint(double x, double y, double scale) const {
    return at(int(std::floor(x * scale)), int(std::floor(y * scale)));
}

}  // namespace e2e
