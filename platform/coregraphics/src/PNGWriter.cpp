// The one PNG writer of the stand-in: screenshots, UIImagePNGRepresentation
// (the picker's cache file among them) and the live frames of the app hosts.
// libpng at compression level 1 with the Up filter: flat interface areas and
// the picker's smooth field still shrink well, and both writing and reading
// back take a fraction of the time that the thorough default (level 6, a
// filter chosen per row, often Paeth) takes. Of the fast filters, Up reads
// back quickest (a row is added to the one above it as a whole), which is
// what the picker's cache file is for. The pixels are the same: straight RGBA, unpremultiplied with
// the rounding of cairo's own writer.
#include "PNGWriter.h"

#include <png.h>

#include <cstdint>
#include <cstring>

namespace cg {
namespace {

void appendBytes(png_structp png, png_bytep data, png_size_t length) {
    auto* out = static_cast<std::vector<unsigned char>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

void flushNothing(png_structp) {}

// One row of premultiplied native-endian ARGB32 as straight RGBA, with the
// rounding of cairo's own PNG writer.
void unpremultiplyRow(const std::uint32_t* in, unsigned char* out, int width) {
    for (int x = 0; x < width; ++x) {
        const std::uint32_t p = in[x];
        const unsigned a = p >> 24;
        unsigned r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
        if (a == 0) {
            r = g = b = 0;
        } else if (a != 255) {
            r = (r * 255 + a / 2) / a;
            g = (g * 255 + a / 2) / a;
            b = (b * 255 + a / 2) / a;
        }
        out[4 * x] = static_cast<unsigned char>(r);
        out[4 * x + 1] = static_cast<unsigned char>(g);
        out[4 * x + 2] = static_cast<unsigned char>(b);
        out[4 * x + 3] = static_cast<unsigned char>(a);
    }
}

}  // namespace

std::vector<unsigned char> encodePNG(cairo_surface_t* surface) {
    std::vector<unsigned char> out;
    if (surface == nullptr || cairo_surface_get_type(surface) != CAIRO_SURFACE_TYPE_IMAGE ||
        cairo_image_surface_get_format(surface) != CAIRO_FORMAT_ARGB32)
        return out;
    cairo_surface_flush(surface);
    const int width = cairo_image_surface_get_width(surface);
    const int height = cairo_image_surface_get_height(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    const unsigned char* data = cairo_image_surface_get_data(surface);
    if (data == nullptr || width <= 0 || height <= 0) return out;

    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (png == nullptr) return out;
    png_infop info = png_create_info_struct(png);
    std::vector<unsigned char> row(static_cast<std::size_t>(width) * 4);
    // libpng reports failures by longjmp; nothing with a destructor is made
    // between here and the end of the writing.
    if (info == nullptr || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return {};
    }
    png_set_write_fn(png, &out, &appendBytes, &flushNothing);
    png_set_compression_level(png, 1);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_UP);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
                 PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_BASE, PNG_FILTER_TYPE_BASE);
    png_write_info(png, info);
    for (int y = 0; y < height; ++y) {
        unpremultiplyRow(reinterpret_cast<const std::uint32_t*>(data + static_cast<std::size_t>(y) * stride),
                         row.data(), width);
        png_write_row(png, row.data());
    }
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return out;
}

}  // namespace cg
