// The context behind CGContextRef. Private to the library.
//
// Every context draws with cairo into an image surface. When the caller's
// pixel layout is one cairo has (premultiplied ARGB32 or RGB24 in the host's
// byte order, or A8), the surface lies over the caller's buffer itself;
// otherwise the context draws into a surface of its own and converts what each
// drawing call changed into the caller's buffer before the call returns.
//
// Pixel-aligned rectangle fills with a plain colour may bypass cairo and write
// the pixels directly (DirectFill.cpp). Cairo is told about those writes
// (mark dirty) before it next touches the surface, and is flushed before the
// next direct write after it drew.
#pragma once

#include <CoreGraphics/CGCairo.h>

#include "Objects.h"

#include <algorithm>
#include <vector>

namespace cg {

// A rectangle of whole device pixels, x0 ≤ x < x1, y0 ≤ y < y1.
struct Box {
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    bool empty() const { return x1 <= x0 || y1 <= y0; }
    Box intersect(const Box& o) const {
        return Box{std::max(x0, o.x0), std::max(y0, o.y0), std::min(x1, o.x1), std::min(y1, o.y1)};
    }
    Box unite(const Box& o) const {
        if (empty()) return o;
        if (o.empty()) return *this;
        return Box{std::min(x0, o.x0), std::min(y0, o.y0), std::max(x1, o.x1), std::max(y1, o.y1)};
    }
};

// A counted reference to a cairo font face, so that graphics states can be
// copied freely.
class FaceRef {
public:
    FaceRef() = default;
    explicit FaceRef(cairo_font_face_t* face) : face_(face ? cairo_font_face_reference(face) : nullptr) {}
    FaceRef(const FaceRef& o) : FaceRef(o.face_) {}
    FaceRef& operator=(const FaceRef& o) {
        if (this != &o) {
            FaceRef copy(o);
            std::swap(face_, copy.face_);
        }
        return *this;
    }
    ~FaceRef() {
        if (face_) cairo_font_face_destroy(face_);
    }
    cairo_font_face_t* get() const { return face_; }

private:
    cairo_font_face_t* face_ = nullptr;
};

// The graphics state beyond what cairo's own save/restore keeps (cairo keeps
// the transform, clip, line settings, operator and antialiasing).
struct GState {
    RGBA fill{0, 0, 0, 1};
    RGBA stroke{0, 0, 0, 1};
    double alpha = 1;
    CGBlendMode blend = kCGBlendModeNormal;
    CGInterpolationQuality interpolation = kCGInterpolationDefault;

    bool shadowOn = false;
    CGSize shadowOffset{};
    double shadowBlur = 0;
    RGBA shadowColor{0, 0, 0, 1.0 / 3.0};

    FaceRef font;  // null until a font is chosen: Helvetica is used then
    double fontSize = 12;
    CGTextEncoding encoding = kCGEncodingMacRoman;
    double characterSpacing = 0;
    CGTextDrawingMode textMode = kCGTextFill;

    // The transform as cairo holds it, cached for the direct fill test. A
    // transform that cannot be inverted is not given to cairo (it would put
    // the cairo context in a permanent error state): everything drawn under
    // it is drawn nowhere, as with any degenerate transform.
    cairo_matrix_t ctm{1, 0, 0, 1, 0, 0};
    bool axisAligned = true;
    bool degenerate = false;

    // The clip in device pixels while it is an intersection of pixel-aligned
    // rectangles; clipIsBox false once anything else has been clipped to.
    bool clipIsBox = true;
    Box clip;
};

enum class Storage {
    Direct,   // cairo draws into the caller's (or the context's own) buffer
    Convert,  // cairo draws into its own surface; results are converted out
};

// Byte positions of one 32-bit pixel of the caller's layout (-1: absent).
struct PixelLayout {
    int red = 0, green = 1, blue = 2, alpha = 3, skip = -1;
    bool alphaOnly = false;
};

}  // namespace cg

struct CGContext {
    std::atomic<int> refs{1};
    cairo_surface_t* surface = nullptr;
    cairo_t* cr = nullptr;

    // The caller's view of the pixels.
    size_t width = 0, height = 0, bitsPerComponent = 8, bitsPerPixel = 32, bytesPerRow = 0;
    CGBitmapInfo bitmapInfo = 0;
    unsigned char* data = nullptr;
    bool ownsData = false;
    cg::Storage storage = cg::Storage::Direct;
    cg::PixelLayout layout;

    // The surface's own pixels, for direct fills and conversion.
    unsigned char* pixels = nullptr;
    int stride = 0;
    bool argb32 = false;

    cg::GState gs;
    std::vector<cg::GState> stack;
    // Graphics states saved by transparency layers, innermost last.
    std::vector<cg::GState> layers;

    cairo_matrix_t base{1, 0, 0, 1, 0, 0};
    CGAffineTransform textMatrix = CGAffineTransformIdentity;

    bool cairoTouched = false;  // cairo drew since the last flush
    cg::Box pendingDirty;       // direct writes cairo has not been told of
    bool pathUsed = false;      // the current path may hold something
    bool allowsAntialiasing = true;
    bool shouldAntialias = true;
    size_t directFills = 0;

    ~CGContext();

    cg::Box bounds() const { return cg::Box{0, 0, static_cast<int>(width), static_cast<int>(height)}; }

    // Before cairo touches the surface: announce direct writes.
    void willUseCairo();
    // After a drawing call: results into the caller's buffer, for the pixels
    // in box (already limited to the surface).
    void didDraw(const cg::Box& box);
    void didDrawEverywhere() { didDraw(bounds()); }
    // Before a direct write into pixels.
    void willWritePixels();
    // Converts the surface's pixels in box into the caller's buffer.
    void exportBox(const cg::Box& box);
    // Re-reads the cached transform after cairo's changed.
    void syncTransform();
    // The device box that the current clip allows (whole pixels, outwards).
    cg::Box clipBox();
};

namespace cg {

// Maps the context's blend mode to cairo's operator.
cairo_operator_t operatorFor(CGBlendMode mode);

// The device pixels (outwards) covered by a user-space rectangle.
Box deviceBoxOfUserRect(CGContextRef c, double x0, double y0, double x1, double y1);

// Paints with the context's alpha and shadow: draw(alphaFactor) issues the
// cairo drawing for the operation (using and emptying the current path as it
// needs), painting its colours with alphaFactor times their own alpha. With a
// shadow the drawing goes into a group first. box bounds what may change.
template <class Draw>
void paint(CGContextRef c, Box box, Draw&& draw);

void drawShadowOfGroup(CGContextRef c, cairo_pattern_t* group);

// Tries the direct pixel path for a rectangle fill (or clear); false when the
// fill must go through cairo.
bool directFill(CGContextRef c, CGRect rect, bool clear);

// Fonts (FontResolver.cpp).
struct FontRequest {
    std::string family;
    int weight = 400;
    bool italic = false;
};
FontRequest parseFontName(std::string_view name);
cairo_font_face_t* fontFaceFor(const FontRequest& request);  // cached, borrowed
std::string resolvedFamilyFor(const FontRequest& request);
// Replaces invalid UTF-8 by U+FFFD.
std::string sanitizedUTF8(std::string_view text);
const cairo_font_options_t* textFontOptions();

template <class Draw>
void paint(CGContextRef c, Box box, Draw&& draw) {
    if (c->gs.degenerate) {
        cairo_new_path(c->cr);
        return;
    }
    c->willUseCairo();
    cairo_t* cr = c->cr;
    if (!c->gs.shadowOn) {
        draw(c->gs.alpha);
    } else {
        // The path is kept in device space; carry it into the group through
        // user space so that it lands on the group's pixels.
        cairo_path_t* path = cairo_copy_path(cr);
        cairo_new_path(cr);
        cairo_push_group(cr);
        cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
        cairo_append_path(cr, path);
        cairo_path_destroy(path);
        draw(1.0);
        cairo_pattern_t* group = cairo_pop_group(cr);
        drawShadowOfGroup(c, group);
        cairo_set_source(cr, group);
        cairo_paint_with_alpha(cr, c->gs.alpha);
        cairo_pattern_destroy(group);
        box = c->bounds();
    }
    cairo_new_path(cr);
    c->pathUsed = false;
    c->cairoTouched = true;
    c->didDraw(box.intersect(c->bounds()));
}

}  // namespace cg
