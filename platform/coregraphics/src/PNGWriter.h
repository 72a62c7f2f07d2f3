// RGBA PNG bytes of an ARGB32 image surface, written quickly (see
// PNGWriter.cpp); empty when the surface cannot be encoded.
#pragma once

#include <cairo.h>

#include <vector>

namespace cg {

std::vector<unsigned char> encodePNG(cairo_surface_t* surface);

}  // namespace cg
