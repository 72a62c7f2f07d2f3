// Text: the context's text functions (text space with y growing upwards, as
// in every Core Graphics context) and the lines that UIKit's labels and
// buttons draw and measure (y growing downwards, like the views).
#include "Context.h"

#include <cmath>

namespace {

// Mac Roman bytes 0x80..0xFF as Unicode code points.
constexpr uint16_t kMacRoman[128] = {
    0x00C4, 0x00C5, 0x00C7, 0x00C9, 0x00D1, 0x00D6, 0x00DC, 0x00E1, 0x00E0, 0x00E2, 0x00E4, 0x00E3, 0x00E5,
    0x00E7, 0x00E9, 0x00E8, 0x00EA, 0x00EB, 0x00ED, 0x00EC, 0x00EE, 0x00EF, 0x00F1, 0x00F3, 0x00F2, 0x00F4,
    0x00F6, 0x00F5, 0x00FA, 0x00F9, 0x00FB, 0x00FC, 0x2020, 0x00B0, 0x00A2, 0x00A3, 0x00A7, 0x2022, 0x00B6,
    0x00DF, 0x00AE, 0x00A9, 0x2122, 0x00B4, 0x00A8, 0x2260, 0x00C6, 0x00D8, 0x221E, 0x00B1, 0x2264, 0x2265,
    0x00A5, 0x00B5, 0x2202, 0x2211, 0x220F, 0x03C0, 0x222B, 0x00AA, 0x00BA, 0x03A9, 0x00E6, 0x00F8, 0x00BF,
    0x00A1, 0x00AC, 0x221A, 0x0192, 0x2248, 0x2206, 0x00AB, 0x00BB, 0x2026, 0x00A0, 0x00C0, 0x00C3, 0x00D5,
    0x0152, 0x0153, 0x2013, 0x2014, 0x201C, 0x201D, 0x2018, 0x2019, 0x00F7, 0x25CA, 0x00FF, 0x0178, 0x2044,
    0x20AC, 0x2039, 0x203A, 0xFB01, 0xFB02, 0x2021, 0x00B7, 0x201A, 0x201E, 0x2030, 0x00C2, 0x00CA, 0x00C1,
    0x00CB, 0x00C8, 0x00CD, 0x00CE, 0x00CF, 0x00CC, 0x00D3, 0x00D4, 0xF8FF, 0x00D2, 0x00DA, 0x00DB, 0x00D9,
    0x0131, 0x02C6, 0x02DC, 0x00AF, 0x02D8, 0x02D9, 0x02DA, 0x00B8, 0x02DD, 0x02DB, 0x02C7};

void appendUTF8(std::string& out, uint32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// Both text encodings are read as Mac Roman: the fonts here have no built-in
// encoding of their own to honour.
std::string decodeMacRoman(const char* bytes, size_t length) {
    std::string out;
    out.reserve(length);
    for (size_t i = 0; i < length; ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (b == 0) continue;
        appendUTF8(out, b < 0x80 ? b : kMacRoman[b - 0x80]);
    }
    return out;
}

cairo_font_face_t* faceOrDefault(CGContextRef c) {
    if (c->gs.font.get()) return c->gs.font.get();
    return cg::fontFaceFor(cg::parseFontName("Helvetica"));
}

struct Glyphs {
    cairo_glyph_t* glyphs = nullptr;
    int count = 0;
    ~Glyphs() { cairo_glyph_free(glyphs); }
};

bool toGlyphs(cairo_scaled_font_t* font, double x, double y, const std::string& utf8, Glyphs& out) {
    if (utf8.empty()) return false;
    return cairo_scaled_font_text_to_glyphs(font, x, y, utf8.data(), static_cast<int>(utf8.size()), &out.glyphs,
                                            &out.count, nullptr, nullptr, nullptr) == CAIRO_STATUS_SUCCESS &&
           out.count > 0;
}

// Runs body with the user's current path set aside: showing text neither
// uses nor empties it.
template <class Body>
void keepingPath(CGContextRef c, Body&& body) {
    cairo_path_t* saved = c->pathUsed ? cairo_copy_path(c->cr) : nullptr;
    const bool used = c->pathUsed;
    cairo_new_path(c->cr);
    c->pathUsed = false;
    body();
    if (saved) {
        cairo_append_path(c->cr, saved);
        cairo_path_destroy(saved);
    }
    c->pathUsed = used;
}

void showText(CGContextRef c, const char* bytes, size_t length) {
    if (!c || !bytes || length == 0) return;
    const std::string utf8 = decodeMacRoman(bytes, length);
    cairo_t* cr = c->cr;
    const CGAffineTransform& t = c->textMatrix;
    cairo_matrix_t tm;
    cairo_matrix_init(&tm, t.a, t.b, t.c, t.d, t.tx, t.ty);
    if (c->gs.degenerate || t.a * t.d - t.b * t.c == 0 || c->gs.fontSize == 0) return;

    double advance = 0;
    keepingPath(c, [&] {
        cairo_save(cr);
        cairo_transform(cr, &tm);
        cairo_set_font_face(cr, faceOrDefault(c));
        // Glyphs rise towards positive y in text space.
        cairo_matrix_t fm;
        cairo_matrix_init_scale(&fm, c->gs.fontSize, -c->gs.fontSize);
        cairo_set_font_matrix(cr, &fm);
        cairo_scaled_font_t* font = cairo_get_scaled_font(cr);
        Glyphs g;
        if (toGlyphs(font, 0, 0, utf8, g)) {
            const double spacing = c->gs.characterSpacing;
            for (int i = 0; i < g.count; ++i) g.glyphs[i].x += i * spacing;
            cairo_text_extents_t extents;
            cairo_scaled_font_text_extents(font, utf8.c_str(), &extents);
            advance = extents.x_advance + g.count * spacing;

            const CGTextDrawingMode mode = c->gs.textMode;
            const bool fill = mode == kCGTextFill || mode == kCGTextFillStroke || mode == kCGTextFillClip ||
                              mode == kCGTextFillStrokeClip;
            const bool stroke = mode == kCGTextStroke || mode == kCGTextFillStroke || mode == kCGTextStrokeClip ||
                                mode == kCGTextFillStrokeClip;
            const bool clip = mode >= kCGTextFillClip;
            if (fill || stroke) {
                cg::paint(c, c->clipBox(), [&](double alpha) {
                    if (fill) {
                        cairo_set_source_rgba(cr, c->gs.fill.r, c->gs.fill.g, c->gs.fill.b, c->gs.fill.a * alpha);
                        cairo_show_glyphs(cr, g.glyphs, g.count);
                    }
                    if (stroke) {
                        cairo_new_path(cr);
                        cairo_glyph_path(cr, g.glyphs, g.count);
                        cairo_set_source_rgba(cr, c->gs.stroke.r, c->gs.stroke.g, c->gs.stroke.b,
                                              c->gs.stroke.a * alpha);
                        cairo_stroke(cr);
                    }
                });
            }
            if (clip) cairo_glyph_path(cr, g.glyphs, g.count);
        }
        cairo_restore(cr);
        // The glyph outlines stay in device space across the restore.
        if (c->gs.textMode >= kCGTextFillClip) {
            cairo_clip(cr);
            c->gs.clipIsBox = false;
        }
    });
    c->textMatrix.tx += t.a * advance;
    c->textMatrix.ty += t.b * advance;
}

struct ScaledFont {
    cairo_scaled_font_t* font = nullptr;
    explicit ScaledFont(const CGCairoFont& f) {
        cg::FontRequest request{f.family, f.weight, f.italic};
        cairo_matrix_t fm, ctm;
        cairo_matrix_init_scale(&fm, f.size, f.size);
        cairo_matrix_init_identity(&ctm);
        font = cairo_scaled_font_create(cg::fontFaceFor(request), &fm, &ctm, cg::textFontOptions());
    }
    ~ScaledFont() { cairo_scaled_font_destroy(font); }
    ScaledFont(const ScaledFont&) = delete;
    ScaledFont& operator=(const ScaledFont&) = delete;
};

double widthOf(cairo_scaled_font_t* font, const std::string& utf8) {
    if (utf8.empty()) return 0;
    cairo_text_extents_t extents;
    cairo_scaled_font_text_extents(font, utf8.c_str(), &extents);
    return extents.x_advance;
}

// Byte offsets of the code points of s, with s.size() last.
std::vector<size_t> codePointStarts(const std::string& s) {
    std::vector<size_t> starts;
    for (size_t i = 0; i < s.size(); ++i) {
        if ((static_cast<unsigned char>(s[i]) & 0xC0) != 0x80) starts.push_back(i);
    }
    starts.push_back(s.size());
    return starts;
}

const std::string kEllipsis = "\xE2\x80\xA6";

std::string trimRight(std::string s) {
    while (!s.empty() && s.back() == ' ') s.pop_back();
    return s;
}
std::string trimLeft(std::string s) {
    size_t i = 0;
    while (i < s.size() && s[i] == ' ') ++i;
    return s.substr(i);
}

std::string truncated(cairo_scaled_font_t* font, const std::string& line, double width, CGCairoLineBreakMode mode) {
    if (widthOf(font, line) <= width) return line;
    const std::vector<size_t> starts = codePointStarts(line);
    const size_t n = starts.size() - 1;
    // The most code points kept that still fit, found by shrinking one at a
    // time (lines are short).
    for (size_t keep = n; keep-- > 0;) {
        std::string candidate;
        if (mode == CGCairoLineBreakByTruncatingHead) {
            candidate = kEllipsis + trimLeft(line.substr(starts[n - keep]));
        } else if (mode == CGCairoLineBreakByTruncatingMiddle) {
            const size_t head = (keep + 1) / 2, tail = keep - head;
            candidate = trimRight(line.substr(0, starts[head])) + kEllipsis + trimLeft(line.substr(starts[n - tail]));
        } else {
            candidate = trimRight(line.substr(0, starts[keep])) + kEllipsis;
        }
        if (widthOf(font, candidate) <= width || keep == 0) return candidate;
    }
    return kEllipsis;
}

// Greedy breaking of one paragraph: at spaces, or anywhere for character
// wrapping; a word wider than the line is broken between characters.
std::vector<std::string> wrapParagraph(cairo_scaled_font_t* font, const std::string& text, double width,
                                       bool byCharacter) {
    std::vector<std::string> lines;
    std::string line;
    // A word wider than a whole line is broken between characters.
    auto breakIfTooWide = [&] {
        if (widthOf(font, trimRight(line)) <= width) return;
        const std::vector<size_t> starts = codePointStarts(line);
        std::string part;
        for (size_t k = 0; k + 1 < starts.size(); ++k) {
            const std::string ch = line.substr(starts[k], starts[k + 1] - starts[k]);
            if (!part.empty() && widthOf(font, trimRight(part + ch)) > width) {
                lines.push_back(trimRight(part));
                part.clear();
            }
            part += ch;
        }
        line = part;
    };
    const std::vector<size_t> starts = codePointStarts(text);
    const size_t n = starts.size() - 1;
    size_t i = 0;
    while (i < n) {
        // The next unit: one code point, or the spaces before a word and the word.
        size_t j = i + 1;
        if (!byCharacter) {
            j = i;
            while (j < n && text[starts[j]] == ' ') ++j;
            while (j < n && text[starts[j]] != ' ') ++j;
        }
        const std::string unit = text.substr(starts[i], starts[j] - starts[i]);
        i = j;
        if (line.empty() || widthOf(font, trimRight(line + unit)) <= width) {
            line += unit;
        } else {
            lines.push_back(trimRight(line));
            line = byCharacter ? unit : trimLeft(unit);
        }
        breakIfTooWide();
    }
    lines.push_back(trimRight(line));
    return lines;
}

void showLine(CGContextRef c, cairo_scaled_font_t* measured, const CGCairoFont& font, const std::string& utf8,
              CGPoint baseline, const cg::RGBA& color) {
    if (utf8.empty()) return;
    cairo_t* cr = c->cr;
    keepingPath(c, [&] {
        cairo_save(cr);
        cairo_set_font_face(cr, cairo_scaled_font_get_font_face(measured));
        // The drawing font is the measured one under the context's transform.
        cairo_matrix_t fm;
        cairo_matrix_init_scale(&fm, font.size, font.size);
        cairo_set_font_matrix(cr, &fm);
        Glyphs g;
        if (toGlyphs(cairo_get_scaled_font(cr), baseline.x, baseline.y, utf8, g)) {
            cg::paint(c, c->clipBox(), [&](double alpha) {
                cairo_set_source_rgba(cr, color.r, color.g, color.b, color.a * alpha);
                cairo_show_glyphs(cr, g.glyphs, g.count);
            });
        }
        cairo_restore(cr);
    });
}

}  // namespace

extern "C" {

void CGContextSelectFont(CGContextRef c, const char* name, CGFloat size, CGTextEncoding) {
    if (!c || !name) return;
    c->gs.font = cg::FaceRef(cg::fontFaceFor(cg::parseFontName(name)));
    c->gs.fontSize = size;
}

void CGContextSetFontSize(CGContextRef c, CGFloat size) {
    if (c) c->gs.fontSize = size;
}
void CGContextSetCharacterSpacing(CGContextRef c, CGFloat spacing) {
    if (c) c->gs.characterSpacing = spacing;
}
void CGContextSetTextDrawingMode(CGContextRef c, CGTextDrawingMode mode) {
    if (c && mode >= kCGTextFill && mode <= kCGTextClip) c->gs.textMode = mode;
}
void CGContextSetTextPosition(CGContextRef c, CGFloat x, CGFloat y) {
    if (!c) return;
    c->textMatrix.tx = x;
    c->textMatrix.ty = y;
}
CGPoint CGContextGetTextPosition(CGContextRef c) {
    return c ? CGPointMake(c->textMatrix.tx, c->textMatrix.ty) : CGPointZero;
}
void CGContextSetTextMatrix(CGContextRef c, CGAffineTransform t) {
    if (c) c->textMatrix = t;
}
CGAffineTransform CGContextGetTextMatrix(CGContextRef c) { return c ? c->textMatrix : CGAffineTransformIdentity; }

void CGContextShowText(CGContextRef c, const char* string, size_t length) { showText(c, string, length); }

void CGContextShowTextAtPoint(CGContextRef c, CGFloat x, CGFloat y, const char* string, size_t length) {
    CGContextSetTextPosition(c, x, y);
    showText(c, string, length);
}

}  // extern "C"

CGCairoFont CGCairoFontWithName(std::string_view name, CGFloat size) {
    const cg::FontRequest request = cg::parseFontName(name);
    CGCairoFont font;
    font.family = request.family;
    font.weight = request.weight;
    font.italic = request.italic;
    font.size = size;
    return font;
}

std::string CGCairoFontResolvedFamily(const CGCairoFont& font) {
    return cg::resolvedFamilyFor(cg::FontRequest{font.family, font.weight, font.italic});
}

CGCairoFontMetrics CGCairoFontGetMetrics(const CGCairoFont& font) {
    ScaledFont f(font);
    cairo_font_extents_t extents;
    cairo_scaled_font_extents(f.font, &extents);
    cairo_text_extents_t capital;
    cairo_scaled_font_text_extents(f.font, "H", &capital);
    CGCairoFontMetrics metrics;
    metrics.ascent = extents.ascent;
    metrics.descent = extents.descent;
    metrics.lineHeight = extents.height;
    metrics.capHeight = -capital.y_bearing;
    return metrics;
}

CGFloat CGCairoTextWidth(const CGCairoFont& font, std::string_view utf8) {
    ScaledFont f(font);
    return widthOf(f.font, cg::sanitizedUTF8(utf8));
}

CGCairoTextLayout CGCairoTextLayoutMake(const CGCairoFont& font, std::string_view text, CGFloat width,
                                        CGCairoLineBreakMode mode, int numberOfLines) {
    ScaledFont f(font);
    CGCairoTextLayout layout;
    layout.metrics = CGCairoFontGetMetrics(font);
    const std::string utf8 = cg::sanitizedUTF8(text);
    const bool limited = width > 0 && std::isfinite(width);
    const bool truncating = mode == CGCairoLineBreakByTruncatingHead || mode == CGCairoLineBreakByTruncatingTail ||
                            mode == CGCairoLineBreakByTruncatingMiddle;

    std::vector<std::string> paragraphs;
    size_t start = 0;
    for (;;) {
        const size_t end = utf8.find('\n', start);
        paragraphs.push_back(utf8.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (end == std::string::npos) break;
        start = end + 1;
    }

    // A single-line layout never wraps; every other layout wraps to width.
    std::vector<std::string> lines;
    for (const std::string& p : paragraphs) {
        if (!limited || numberOfLines == 1) {
            lines.push_back(p);
        } else {
            for (std::string& l : wrapParagraph(f.font, p, width, mode == CGCairoLineBreakByCharWrapping)) {
                lines.push_back(std::move(l));
            }
        }
    }
    if (numberOfLines > 0 && lines.size() > static_cast<size_t>(numberOfLines)) {
        std::string last = lines[static_cast<size_t>(numberOfLines) - 1];
        lines.resize(static_cast<size_t>(numberOfLines));
        if (truncating && limited) {
            // More text than lines: the last line ends in an ellipsis however
            // much of it fits.
            std::string marked = trimRight(last) + kEllipsis;
            while (widthOf(f.font, marked) > width && !last.empty()) {
                const std::vector<size_t> starts = codePointStarts(last);
                last = trimRight(last.substr(0, starts[starts.size() - 2]));
                marked = last + kEllipsis;
            }
            lines.back() = marked;
        } else if (truncating) {
            lines.back() = trimRight(last) + kEllipsis;
        }
    }
    if (truncating && limited) {
        for (std::string& l : lines) l = truncated(f.font, l, width, mode);
    }

    double widest = 0;
    for (const std::string& l : lines) {
        const double w = widthOf(f.font, l);
        layout.lineWidths.push_back(w);
        widest = std::max(widest, w);
    }
    layout.lines = std::move(lines);
    layout.size = CGSizeMake(widest, layout.metrics.lineHeight * static_cast<double>(layout.lines.size()));
    return layout;
}

void CGCairoContextShowText(CGContextRef c, const CGCairoFont& font, std::string_view utf8, CGPoint baseline,
                            CGColorRef color) {
    if (!c) return;
    ScaledFont f(font);
    showLine(c, f.font, font, cg::sanitizedUTF8(utf8), baseline, color ? cg::rgbaOf(color) : c->gs.fill);
}

CGSize CGCairoContextShowTextInRect(CGContextRef c, const CGCairoFont& font, std::string_view utf8, CGRect rect,
                                    CGCairoTextAlignment alignment, CGCairoLineBreakMode mode, int numberOfLines,
                                    CGColorRef color) {
    if (!c) return CGSizeZero;
    const CGRect r = CGRectStandardize(rect);
    const CGCairoTextLayout layout = CGCairoTextLayoutMake(font, utf8, r.size.width, mode, numberOfLines);
    ScaledFont f(font);
    const cg::RGBA rgba = color ? cg::rgbaOf(color) : c->gs.fill;
    for (size_t i = 0; i < layout.lines.size(); ++i) {
        double x = r.origin.x;
        if (alignment == CGCairoTextAlignmentCenter) x += (r.size.width - layout.lineWidths[i]) / 2;
        if (alignment == CGCairoTextAlignmentRight) x += r.size.width - layout.lineWidths[i];
        const double y = r.origin.y + layout.metrics.ascent + layout.metrics.lineHeight * static_cast<double>(i);
        showLine(c, f.font, font, layout.lines[i], CGPointMake(x, y), rgba);
    }
    return layout.size;
}
