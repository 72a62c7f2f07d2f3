#include <UIKit/UIColor.h>
#include <UIKit/UIGraphics.h>

#include "UIKitRegistration.h"

#include <cmath>
#include <functional>

namespace UI {
namespace {

struct ColorState {
    // Red, green, blue, alpha; a grey keeps its level in the first three.
    CGFloat rgba[4] = {0, 0, 0, 0};
    bool grey = false;
    // Made on first request and owned by the colour.
    CGColorRef cgColor = nullptr;
    ~ColorState() {
        if (cgColor != nullptr) CGColorRelease(cgColor);
    }
};

ColorState& stateOf(id self) { return objc::state<ColorState>(self); }

CGColorSpaceRef deviceRGB() {
    // One colour space serves every colour of the process.
    static CGColorSpaceRef space = CGColorSpaceCreateDeviceRGB();
    return space;
}

CGFloat unitOrZero(CGFloat v) {
    if (std::isnan(v) || v < 0) return 0;
    return v > 1 ? 1 : v;
}

void hsbToRgb(CGFloat h, CGFloat s, CGFloat v, CGFloat out[3]) {
    CGFloat sector = h * 6;
    if (sector >= 6) sector = 0;  // hue 1 is a full turn: red again
    int i = static_cast<int>(std::floor(sector));
    CGFloat f = sector - i;
    CGFloat p = v * (1 - s), q = v * (1 - s * f), t = v * (1 - s * (1 - f));
    switch (i) {
    case 0: out[0] = v, out[1] = t, out[2] = p; break;
    case 1: out[0] = q, out[1] = v, out[2] = p; break;
    case 2: out[0] = p, out[1] = v, out[2] = t; break;
    case 3: out[0] = p, out[1] = q, out[2] = v; break;
    case 4: out[0] = t, out[1] = p, out[2] = v; break;
    default: out[0] = v, out[1] = p, out[2] = q; break;
    }
}

void rgbToHsb(const CGFloat rgb[3], CGFloat out[3]) {
    CGFloat r = rgb[0], g = rgb[1], b = rgb[2];
    CGFloat max = std::fmax(r, std::fmax(g, b));
    CGFloat min = std::fmin(r, std::fmin(g, b));
    CGFloat delta = max - min;
    CGFloat hue = 0;
    if (delta > 0) {
        if (max == r) {
            hue = (g - b) / delta;
        } else if (max == g) {
            hue = (b - r) / delta + 2;
        } else {
            hue = (r - g) / delta + 4;
        }
        hue /= 6;
        if (hue < 0) hue += 1;
    }
    out[0] = hue;
    out[1] = max > 0 ? delta / max : 0;
    out[2] = max;
}

// Red, green and blue are kept as given (hex formatting relies on seeing
// them), but an opacity only means something within 0..1: above is opaque,
// below (or not a number) is transparent, as the phone's colours treat it.
// A stored alpha text can read as any number ("2", "-1", "1e999"), which the
// colour would otherwise hand to every blend of the view that draws with it.
id initWithRed(id self, SEL, CGFloat r, CGFloat g, CGFloat b, CGFloat a) {
    ColorState& s = stateOf(self);
    s.rgba[0] = r, s.rgba[1] = g, s.rgba[2] = b, s.rgba[3] = unitOrZero(a);
    s.grey = false;
    return self;
}

id initWithHue(id self, SEL, CGFloat h, CGFloat sat, CGFloat bri, CGFloat a) {
    ColorState& s = stateOf(self);
    hsbToRgb(unitOrZero(h), unitOrZero(sat), unitOrZero(bri), s.rgba);
    s.rgba[3] = unitOrZero(a);
    s.grey = false;
    return self;
}

id initWithWhite(id self, SEL, CGFloat w, CGFloat a) {
    ColorState& s = stateOf(self);
    s.rgba[0] = s.rgba[1] = s.rgba[2] = w;
    s.rgba[3] = unitOrZero(a);
    s.grey = true;
    return self;
}

id initWithCGColor(id self, SEL, CGColorRef color) {
    if (color == nullptr) return initWithWhite(self, nullptr, 0, 0);
    const CGFloat* c = CGColorGetComponents(color);
    std::size_t n = CGColorGetNumberOfComponents(color);
    if (n == 2) return initWithWhite(self, nullptr, c[0], c[1]);
    if (n >= 4) return initWithRed(self, nullptr, c[0], c[1], c[2], c[3]);
    return initWithWhite(self, nullptr, 0, 0);
}

// A +0 colour of the class the message went to, which may be a subclass.
id make(Class cls, const std::function<Color*(Color*)>& init) {
    return objc::autorelease(init(objc::cast<Color>(objc::send<id>(cls, "alloc"_sel))));
}

id colorWithRed(Class self, SEL, CGFloat r, CGFloat g, CGFloat b, CGFloat a) {
    return make(self, [&](Color* c) { return c->initWithRed(r, g, b, a); });
}
id colorWithHue(Class self, SEL, CGFloat h, CGFloat s, CGFloat b, CGFloat a) {
    return make(self, [&](Color* c) { return c->initWithHue(h, s, b, a); });
}
id colorWithWhite(Class self, SEL, CGFloat w, CGFloat a) {
    return make(self, [&](Color* c) { return c->initWithWhite(w, a); });
}
id colorWithCGColor(Class self, SEL, CGColorRef color) {
    return make(self, [&](Color* c) { return c->initWithCGColor(color); });
}

id rgb(Class self, CGFloat r, CGFloat g, CGFloat b) { return colorWithRed(self, nullptr, r, g, b, 1); }
id grey(Class self, CGFloat w, CGFloat a = 1) { return colorWithWhite(self, nullptr, w, a); }

id blackColor(Class self, SEL) { return grey(self, 0); }
id darkGrayColor(Class self, SEL) { return grey(self, 1.0 / 3.0); }
id lightGrayColor(Class self, SEL) { return grey(self, 2.0 / 3.0); }
id whiteColor(Class self, SEL) { return grey(self, 1); }
id grayColor(Class self, SEL) { return grey(self, 0.5); }
id clearColor(Class self, SEL) { return grey(self, 0, 0); }
id redColor(Class self, SEL) { return rgb(self, 1, 0, 0); }
id greenColor(Class self, SEL) { return rgb(self, 0, 1, 0); }
id blueColor(Class self, SEL) { return rgb(self, 0, 0, 1); }
id cyanColor(Class self, SEL) { return rgb(self, 0, 1, 1); }
id yellowColor(Class self, SEL) { return rgb(self, 1, 1, 0); }
id magentaColor(Class self, SEL) { return rgb(self, 1, 0, 1); }
id orangeColor(Class self, SEL) { return rgb(self, 1, 0.5, 0); }
id purpleColor(Class self, SEL) { return rgb(self, 0.5, 0, 0.5); }
id brownColor(Class self, SEL) { return rgb(self, 0.6, 0.4, 0.2); }

void put(CGFloat* out, CGFloat value) {
    if (out != nullptr) *out = value;
}

BOOL getRed(id self, SEL, CGFloat* r, CGFloat* g, CGFloat* b, CGFloat* a) {
    const ColorState& s = stateOf(self);
    put(r, s.rgba[0]), put(g, s.rgba[1]), put(b, s.rgba[2]), put(a, s.rgba[3]);
    return YES;
}

BOOL getHue(id self, SEL, CGFloat* h, CGFloat* sat, CGFloat* bri, CGFloat* a) {
    const ColorState& s = stateOf(self);
    CGFloat hsb[3];
    rgbToHsb(s.rgba, hsb);
    put(h, hsb[0]), put(sat, hsb[1]), put(bri, hsb[2]), put(a, s.rgba[3]);
    return YES;
}

BOOL getWhite(id self, SEL, CGFloat* w, CGFloat* a) {
    const ColorState& s = stateOf(self);
    put(w, s.grey ? s.rgba[0] : 0.299 * s.rgba[0] + 0.587 * s.rgba[1] + 0.114 * s.rgba[2]);
    put(a, s.rgba[3]);
    return YES;
}

id colorWithAlphaComponent(id self, SEL, CGFloat alpha) {
    const ColorState& s = stateOf(self);
    Class cls = object_getClass(self);
    if (s.grey) return colorWithWhite(cls, nullptr, s.rgba[0], alpha);
    return colorWithRed(cls, nullptr, s.rgba[0], s.rgba[1], s.rgba[2], alpha);
}

CGColorRef cgColor(id self, SEL) {
    ColorState& s = stateOf(self);
    if (s.cgColor == nullptr) s.cgColor = CGColorCreate(deviceRGB(), s.rgba);
    return s.cgColor;
}

void setFill(id self, SEL) {
    if (CGContextRef c = UIGraphicsGetCurrentContext()) CGContextSetFillColorWithColor(c, cgColor(self, nullptr));
}
void setStroke(id self, SEL) {
    if (CGContextRef c = UIGraphicsGetCurrentContext()) CGContextSetStrokeColorWithColor(c, cgColor(self, nullptr));
}
void set(id self, SEL) {
    setFill(self, nullptr);
    setStroke(self, nullptr);
}

BOOL isEqual(id self, SEL, id other) {
    if (other == self) return YES;
    if (other == nil || !objc::cast<NS::Object>(other)->isKindOfClass("UIColor"_cls)) return NO;
    const ColorState& a = stateOf(self);
    const ColorState& b = stateOf(other);
    for (int i = 0; i < 4; ++i) {
        if (a.rgba[i] != b.rgba[i]) return NO;
    }
    return YES;
}

NSUInteger hash(id self, SEL) {
    const ColorState& s = stateOf(self);
    NSUInteger h = 0;
    for (CGFloat c : s.rgba) h = h * 31 + static_cast<NSUInteger>(std::lround(c * 1e6));
    return h;
}

// Colours are immutable: a copy is the colour itself.
id copyWithZone(id self, SEL, void*) { return objc::retain(self); }

}  // namespace

void registerColor() {
    objc::ClassBuilder("UIColor", "NSObject"_cls)
        .state<ColorState>()
        .method("initWithRed:green:blue:alpha:", &initWithRed)
        .method("initWithHue:saturation:brightness:alpha:", &initWithHue)
        .method("initWithWhite:alpha:", &initWithWhite)
        .method("initWithCGColor:", &initWithCGColor)
        .classMethod("colorWithRed:green:blue:alpha:", &colorWithRed)
        .classMethod("colorWithHue:saturation:brightness:alpha:", &colorWithHue)
        .classMethod("colorWithWhite:alpha:", &colorWithWhite)
        .classMethod("colorWithCGColor:", &colorWithCGColor)
        .classMethod("blackColor", &blackColor)
        .classMethod("darkGrayColor", &darkGrayColor)
        .classMethod("lightGrayColor", &lightGrayColor)
        .classMethod("whiteColor", &whiteColor)
        .classMethod("grayColor", &grayColor)
        .classMethod("clearColor", &clearColor)
        .classMethod("redColor", &redColor)
        .classMethod("greenColor", &greenColor)
        .classMethod("blueColor", &blueColor)
        .classMethod("cyanColor", &cyanColor)
        .classMethod("yellowColor", &yellowColor)
        .classMethod("magentaColor", &magentaColor)
        .classMethod("orangeColor", &orangeColor)
        .classMethod("purpleColor", &purpleColor)
        .classMethod("brownColor", &brownColor)
        .method("getRed:green:blue:alpha:", &getRed)
        .method("getHue:saturation:brightness:alpha:", &getHue)
        .method("getWhite:alpha:", &getWhite)
        .method("colorWithAlphaComponent:", &colorWithAlphaComponent)
        .method("CGColor", &cgColor)
        .method("setFill", &setFill)
        .method("setStroke", &setStroke)
        .method("set", &set)
        .method("isEqual:", &isEqual)
        .method("hash", &hash)
        .method("copyWithZone:", &copyWithZone)
        .build();
}

}  // namespace UI
