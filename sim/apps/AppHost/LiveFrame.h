// The PNG of a live frame. Painting a screen takes a few milliseconds, but
// the general PNG writer's thorough compression takes many times that, which
// is most of the wait between a touch and its frame. A frame only crosses a
// pipe and a loopback socket, so it is compressed lightly instead: the same
// pixels (unpremultiplied exactly as the general writer does it), a larger
// file, written in a fraction of the time.
#pragma once

#include <cairo.h>

#include <vector>

namespace apphost {

// RGBA PNG bytes of an ARGB32 image surface; empty when it cannot be encoded.
std::vector<unsigned char> encodeFramePNG(cairo_surface_t* surface);

}  // namespace apphost
