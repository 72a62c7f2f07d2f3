// The colour values the tests compare, in one place: a pixel as 8-bit
// unpremultiplied channels read from a bitmap or a screenshot, and a colour's
// components as the platform colour gives them. Each test folder adds its own
// samplers and tolerances around these.
#pragma once

#include <cstdint>
#include <ostream>

namespace testcolors {

struct Pixel {
    int r = 0, g = 0, b = 0, a = 0;
    bool operator==(const Pixel&) const = default;
};

inline std::ostream& operator<<(std::ostream& out, const Pixel& p) {
    return out << "(" << p.r << ", " << p.g << ", " << p.b << ", " << p.a << ")";
}

// An opaque pixel from 0xRRGGBB.
constexpr Pixel rgb(std::uint32_t hex) { return {int(hex >> 16), int((hex >> 8) & 0xFF), int(hex & 0xFF), 255}; }

struct RGBA {
    double r = 0, g = 0, b = 0, a = 0;
    bool operator==(const RGBA&) const = default;
};

inline std::ostream& operator<<(std::ostream& out, const RGBA& c) {
    return out << "(" << c.r << ", " << c.g << ", " << c.b << ", " << c.a << ")";
}

// The components of 0xRRGGBB, each byte over 255, as a colour string gives them.
constexpr RGBA hex(std::uint32_t v, double alpha = 1.0) {
    return {((v >> 16) & 0xFF) / 255.0, ((v >> 8) & 0xFF) / 255.0, (v & 0xFF) / 255.0, alpha};
}

}  // namespace testcolors
