#include <Foundation/NSString.h>
#include <UIKit/UIFont.h>

#include "FontInternals.h"
#include "UIKitRegistration.h"

#include <cmath>
#include <string>

namespace UI {
namespace {

struct FontState {
    CGCairoFont font;
};

CGCairoFont& fontOf(id self) { return objc::state<FontState>(self).font; }

id makeFont(Class cls, const CGCairoFont& font) {
    id f = objc::asId(objc::send<NS::Object*>(cls, "alloc"_sel)->init());
    fontOf(f) = font;
    return objc::autorelease(f);
}

// A size that is not a positive number gives the system's default text
// size, as the phone does for a zero size.
CGFloat usableSize(CGFloat size) { return std::isfinite(size) && size > 0 ? size : 12; }

id systemFontOfSize(Class self, SEL, CGFloat size) {
    CGCairoFont font;
    font.size = usableSize(size);
    return makeFont(self, font);
}

id boldSystemFontOfSize(Class self, SEL, CGFloat size) {
    CGCairoFont font;
    font.weight = 700;
    font.size = usableSize(size);
    return makeFont(self, font);
}

id fontWithNameSize(Class self, SEL, const NS::String* name, CGFloat size) {
    if (name == nullptr) return nil;
    const char* text = name->UTF8String();
    return makeFont(self, CGCairoFontWithName(text ? text : "", usableSize(size)));
}

id fontWithSize(id self, SEL, CGFloat size) {
    CGCairoFont font = fontOf(self);
    font.size = usableSize(size);
    return makeFont(object_getClass(self), font);
}

const char* styleName(const CGCairoFont& font) {
    if (font.weight >= 700) return font.italic ? "BoldItalic" : "Bold";
    if (font.weight >= 500) return font.italic ? "MediumItalic" : "Medium";
    if (font.weight <= 200) return font.italic ? "UltraLightItalic" : "UltraLight";
    if (font.weight <= 300) return font.italic ? "LightItalic" : "Light";
    return font.italic ? "Italic" : "";
}

id fontName(id self, SEL) {
    const CGCairoFont& font = fontOf(self);
    std::string name;
    for (char c : font.family) {
        if (c != ' ') name += c;
    }
    if (const char* style = styleName(font); *style != '\0') name += std::string("-") + style;
    return objc::asId(NS::String::stringWithUTF8String(name.c_str()));
}

id familyName(id self, SEL) { return objc::asId(NS::String::stringWithUTF8String(fontOf(self).family.c_str())); }

CGFloat pointSize(id self, SEL) { return fontOf(self).size; }
CGFloat ascender(id self, SEL) { return CGCairoFontGetMetrics(fontOf(self)).ascent; }
CGFloat descender(id self, SEL) { return -CGCairoFontGetMetrics(fontOf(self)).descent; }
CGFloat lineHeight(id self, SEL) { return CGCairoFontGetMetrics(fontOf(self)).lineHeight; }
CGFloat capHeight(id self, SEL) { return CGCairoFontGetMetrics(fontOf(self)).capHeight; }

BOOL isEqual(id self, SEL, id other) {
    if (other == self) return YES;
    if (other == nil || !objc::cast<NS::Object>(other)->isKindOfClass("UIFont"_cls)) return NO;
    const CGCairoFont &a = fontOf(self), &b = fontOf(other);
    return a.family == b.family && a.weight == b.weight && a.italic == b.italic && a.size == b.size;
}

NSUInteger hash(id self, SEL) {
    const CGCairoFont& f = fontOf(self);
    return std::hash<std::string>{}(f.family) ^ static_cast<NSUInteger>(f.weight * 31 + f.italic) ^
           static_cast<NSUInteger>(f.size * 64);
}

// Fonts never change, so a copy is the font itself.
id copyWithZone(id self, SEL, void*) { return objc::retain(self); }

}  // namespace

namespace detail {

CGCairoFont cairoFontOf(id font) {
    if (font == nil) return CGCairoFont{};
    return fontOf(font);
}

id systemFont(CGFloat size, bool bold) {
    return bold ? boldSystemFontOfSize("UIFont"_cls, nullptr, size) : systemFontOfSize("UIFont"_cls, nullptr, size);
}

}  // namespace detail

void registerFont() {
    objc::ClassBuilder("UIFont", "NSObject"_cls)
        .state<FontState>()
        .classMethod("systemFontOfSize:", &systemFontOfSize)
        .classMethod("boldSystemFontOfSize:", &boldSystemFontOfSize)
        .classMethod("fontWithName:size:", &fontWithNameSize)
        .method("fontWithSize:", &fontWithSize)
        .method("fontName", &fontName)
        .method("familyName", &familyName)
        .method("pointSize", &pointSize)
        .method("ascender", &ascender)
        .method("descender", &descender)
        .method("lineHeight", &lineHeight)
        .method("capHeight", &capHeight)
        .method("isEqual:", &isEqual)
        .method("hash", &hash)
        .method("copyWithZone:", &copyWithZone)
        .build();
}

}  // namespace UI
