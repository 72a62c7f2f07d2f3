// Font names to cairo font faces through fontconfig. The phone's Helvetica
// families are served by Liberation Sans, which has the same metrics; DejaVu
// Sans is the last resort for every family.
#include "Context.h"

#include <cairo-ft.h>
#include <fontconfig/fontconfig.h>

#include <cctype>
#include <map>
#include <mutex>
#include <tuple>

namespace {

std::string squeezed(std::string_view s) {
    std::string out;
    for (char ch : s) {
        if (ch != ' ' && ch != '-' && ch != '_') out += static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    }
    return out;
}

// Weights of the style words, longest first so that "ultralight" is not read
// as "light".
struct StyleWord {
    const char* word;
    int weight;  // 0: not a weight
};
constexpr StyleWord kStyleWords[] = {
    {"ultralight", 200}, {"extralight", 200}, {"extrabold", 800}, {"ultrabold", 800}, {"semibold", 600},
    {"demibold", 600},   {"condensed", 0},    {"regular", 400},   {"medium", 500},    {"light", 300},
    {"heavy", 800},      {"black", 900},      {"roman", 400},     {"normal", 400},    {"thin", 100},
    {"bold", 700},       {"book", 400},       {"demi", 600},      {"plain", 400},
};

// Reads a run of style words ("BoldItalic", "Light", "Condensed Bold") into
// request; false when the text holds anything else.
bool readStyle(std::string_view text, cg::FontRequest& request) {
    std::string s = squeezed(text);
    if (s.empty()) return false;
    int weight = -1;
    bool italic = false;
    size_t i = 0;
    while (i < s.size()) {
        bool matched = false;
        for (const char* slant : {"italic", "oblique"}) {
            const std::string_view w(slant);
            if (s.compare(i, w.size(), w) == 0) {
                italic = true;
                i += w.size();
                matched = true;
                break;
            }
        }
        if (matched) continue;
        for (const StyleWord& style : kStyleWords) {
            const std::string_view w(style.word);
            if (s.compare(i, w.size(), w) == 0) {
                if (style.weight) weight = style.weight;
                i += w.size();
                matched = true;
                break;
            }
        }
        if (!matched) return false;
    }
    if (weight >= 0) request.weight = weight;
    if (italic) request.italic = true;
    return true;
}

// "HelveticaNeue" -> "Helvetica Neue".
std::string spacedCamelCase(std::string_view s) {
    std::string out;
    for (size_t i = 0; i < s.size(); ++i) {
        const auto ch = static_cast<unsigned char>(s[i]);
        if (i > 0 && std::isupper(ch) && std::islower(static_cast<unsigned char>(s[i - 1]))) out += ' ';
        out += static_cast<char>(ch);
    }
    return out;
}

std::string installedFamilyFor(const std::string& family) {
    const std::string key = squeezed(family);
    if (key == "helveticaneue" || key == "helvetica" || key == "arial" || key == "system" || key.empty()) {
        return "Liberation Sans";
    }
    return family;
}

struct Cache {
    std::mutex lock;
    std::map<std::tuple<std::string, int, bool>, std::pair<cairo_font_face_t*, std::string>> faces;
};

Cache& cache() {
    static Cache* instance = new Cache;  // lives as long as the process
    return *instance;
}

std::pair<cairo_font_face_t*, std::string> lookUp(const cg::FontRequest& request) {
    const std::string family = installedFamilyFor(request.family);
    Cache& c = cache();
    std::lock_guard guard(c.lock);
    const auto key = std::make_tuple(family, request.weight, request.italic);
    auto found = c.faces.find(key);
    if (found != c.faces.end()) return found->second;

    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>("DejaVu Sans"));
    FcPatternAddInteger(pattern, FC_WEIGHT, FcWeightFromOpenType(request.weight));
    FcPatternAddInteger(pattern, FC_SLANT, request.italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    FcPatternDestroy(pattern);

    cairo_font_face_t* face = nullptr;
    std::string resolved;
    if (match) {
        FcChar8* name = nullptr;
        if (FcPatternGetString(match, FC_FAMILY, 0, &name) == FcResultMatch && name) {
            resolved = reinterpret_cast<const char*>(name);
        }
        face = cairo_ft_font_face_create_for_pattern(match);
        FcPatternDestroy(match);
    }
    if (!face || cairo_font_face_status(face) != CAIRO_STATUS_SUCCESS) {
        // Without fontconfig's match, cairo's own choice of a sans face.
        if (face) cairo_font_face_destroy(face);
        face =
            cairo_toy_font_face_create("sans-serif", request.italic ? CAIRO_FONT_SLANT_ITALIC : CAIRO_FONT_SLANT_NORMAL,
                                       request.weight >= 600 ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
        resolved = "sans-serif";
    }
    auto entry = std::make_pair(face, resolved);
    c.faces.emplace(key, entry);
    return entry;
}

}  // namespace

namespace cg {

FontRequest parseFontName(std::string_view name) {
    FontRequest request;
    // Trim.
    while (!name.empty() && std::isspace(static_cast<unsigned char>(name.front()))) name.remove_prefix(1);
    while (!name.empty() && std::isspace(static_cast<unsigned char>(name.back()))) name.remove_suffix(1);
    if (name.empty()) {
        request.family = "Helvetica";
        return request;
    }
    // PostScript form: family in camel case, a hyphen, the style.
    const size_t dash = name.rfind('-');
    if (dash != std::string_view::npos && name.find(' ') == std::string_view::npos) {
        FontRequest styled;
        if (readStyle(name.substr(dash + 1), styled)) {
            styled.family = spacedCamelCase(name.substr(0, dash));
            return styled;
        }
    }
    // Full-name form: trailing words that are styles.
    std::string family(name);
    FontRequest styled;
    for (;;) {
        const size_t space = family.rfind(' ');
        if (space == std::string::npos) break;
        FontRequest word = styled;
        if (!readStyle(std::string_view(family).substr(space + 1), word)) break;
        styled = word;
        family.erase(space);
    }
    styled.family = family.find(' ') == std::string::npos ? spacedCamelCase(family) : family;
    return styled;
}

cairo_font_face_t* fontFaceFor(const FontRequest& request) { return lookUp(request).first; }

std::string resolvedFamilyFor(const FontRequest& request) { return lookUp(request).second; }

const cairo_font_options_t* textFontOptions() {
    // Unhinted advances, so that text measures the same at every scale.
    static cairo_font_options_t* options = [] {
        cairo_font_options_t* o = cairo_font_options_create();
        cairo_font_options_set_hint_metrics(o, CAIRO_HINT_METRICS_OFF);
        cairo_font_options_set_hint_style(o, CAIRO_HINT_STYLE_NONE);
        cairo_font_options_set_antialias(o, CAIRO_ANTIALIAS_GRAY);
        return o;
    }();
    return options;
}

std::string sanitizedUTF8(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    const auto* s = reinterpret_cast<const unsigned char*>(text.data());
    const size_t n = text.size();
    size_t i = 0;
    while (i < n) {
        const unsigned char b = s[i];
        size_t len = b < 0x80 ? 1 : (b >> 5) == 0x6 ? 2 : (b >> 4) == 0xE ? 3 : (b >> 3) == 0x1E ? 4 : 0;
        bool ok = len > 0 && i + len <= n && b != 0;
        uint32_t cp = len == 1 ? b : len == 2 ? (b & 0x1F) : len == 3 ? (b & 0x0F) : (b & 0x07);
        for (size_t k = 1; ok && k < len; ++k) {
            ok = (s[i + k] & 0xC0) == 0x80;
            cp = cp << 6 | (s[i + k] & 0x3F);
        }
        if (ok) {
            // Overlong forms, surrogates and values past the last code point.
            ok = !(len == 2 && cp < 0x80) && !(len == 3 && cp < 0x800) && !(len == 4 && cp < 0x10000) &&
                 !(cp >= 0xD800 && cp <= 0xDFFF) && cp <= 0x10FFFF;
        }
        if (ok) {
            out.append(text.substr(i, len));
            i += len;
        } else {
            out += "\xEF\xBF\xBD";
            ++i;
        }
    }
    return out;
}

}  // namespace cg
