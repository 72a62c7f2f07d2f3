// The chooser's editing half: reading the stored colour string, appearing and
// leaving, slider and hex input, applying and saving every change, and the
// lettered slider thumbs.
#include "PFColorViewController.h"

#include "PFColorViewControllerInternal.h"
#include "UIColor+PFColor.h"

#include <CoreFoundation/CoreFoundation.h>
#include <Foundation/Foundation.h>

#include <array>
#include <cmath>

namespace colorpicker {
namespace {

constexpr double kLayoutDelay = 0.1;

CFStringRef cf(const NS::String* s) { return reinterpret_cast<CFStringRef>(s); }

bool isString(id object) { return object != nil && objc::cast<NS::Object>(object)->isKindOfClass("NSString"_cls); }

// A colour string's colour with the chooser's alpha: an alpha part, when the
// text has one, becomes currentAlpha (and the alpha slider's value); text
// without one gets whatever currentAlpha holds. A row that does not edit
// alpha ignores an alpha part and shows its colour opaque, as Messages draws
// the colour of such a key.
UI::Color* colorFromColorString(PFColorViewControllerFields& f, NS::String* text) {
    NS::Array* pieces = text->componentsSeparatedByString(":"_ns);
    if (pieces->count() > 1 && f._usesAlpha) {
        f.currentAlpha = objc::cast<NS::String>(pieces->objectAtIndex(1))->doubleValue();
        if (f.alphaSlider != nullptr) f.alphaSlider->setValue(static_cast<float>(f.currentAlpha));
    }
    return PFColor::colorWithHex(objc::cast<NS::String>(pieces->objectAtIndex(0)))
        ->colorWithAlphaComponent(f.currentAlpha);
}

// The stored colour string's colour, its alpha replaced by the stored alpha;
// the fallback when nothing is stored. A fallback with an alpha part (the
// translucent system colour of an overlay) is read as a stored value is, so
// that a person who picks a colour keeps that translucency; one without is
// shown opaque.
UI::Color* colorFromDefaults(PFColorViewController* self, SEL, NS::String* domain, NS::String* key) {
    PFColorViewControllerFields& f = fieldsOf(self);
    NS::String* path = settingsPathForDomain(domain);
    NS::Dictionary* settings = path != nullptr ? NS::Dictionary::dictionaryWithContentsOfFile(path) : nullptr;
    UI::Color* fallbackColor = PFColor::colorWithHex(f.fallback);
    id entry = settings != nullptr && key != nullptr ? settings->objectForKey(key) : nil;
    // A value that is not text cannot be a colour string: it reads as absent.
    if (!isString(entry)) {
        if (f.fallback && f.fallback->rangeOfString(":"_ns).location != static_cast<NSUInteger>(NSNotFound))
            return colorFromColorString(f, f.fallback);
        return fallbackColor;
    }
    return colorFromColorString(f, objc::cast<NS::String>(entry));
}

void viewDidAppear(PFColorViewController* self, SEL _cmd, BOOL animated) {
    objc::sendSuper<void>(self, "PFColorViewController"_cls, _cmd, animated);
    PFColorViewControllerFields& f = fieldsOf(self);
    if (f.defaults && f.key) f.loadedColor = self->colorFromDefaults(f.defaults, f.key);
    UI::Color* stored = self->colorFromDefaults(f.defaults, f.key);
    if (f.alphaSlider != nullptr) f.alphaSlider->setValue(static_cast<float>(f.currentAlpha));
    // On the first appearance only the background colours exist to show it.
    showStoredColor(self, f, stored);
    self->performSelector("loadCustomViews"_sel, nullptr, kLayoutDelay);
    // Only a picker that exists by now gets its cache saved here; on the
    // first appearance the layout pass that creates the picker schedules it.
    if (f.colorPicker) f.colorPicker->performSelector("saveCache"_sel, nullptr, kCacheSaveDelay);
}

bool sameColor(UI::Color* a, UI::Color* b) {
    CGFloat ca[4] = {0, 0, 0, 0}, cb[4] = {0, 0, 0, 0};
    a->getRed(&ca[0], &ca[1], &ca[2], &ca[3]);
    b->getRed(&cb[0], &cb[1], &cb[2], &cb[3]);
    return ca[0] == cb[0] && ca[1] == cb[1] && ca[2] == cb[2] && ca[3] == cb[3];
}

// Tells whoever listens that the setting changed, once, when the screen is
// left with a stored colour other than the one it found.
void viewDidDisappear(PFColorViewController* self, SEL _cmd, BOOL animated) {
    objc::sendSuper<void>(self, "PFColorViewController"_cls, _cmd, animated);
    PFColorViewControllerFields& f = fieldsOf(self);
    if (!f.postNotification) return;
    UI::Color* stored = self->colorFromDefaults(f.defaults, f.key);
    if (!f.loadedColor || !sameColor(stored, f.loadedColor)) {
        CFNotificationCenterPostNotification(CFNotificationCenterGetDarwinNotifyCenter(), cf(f.postNotification),
                                             nullptr, nullptr, true);
    }
}

// All four sliders send this. Their values are hue, saturation, brightness
// and alpha, or red, green, blue and alpha in RGB mode; the alpha slider's
// value is taken even where alpha is not edited.
void hueSliderChanged(PFColorViewController* self, SEL) {
    PFColorViewControllerFields& f = fieldsOf(self);
    const CGFloat a = f.hueSlider->value();
    const CGFloat b = f.saturationSlider->value();
    const CGFloat c = f.brightnessSlider->value();
    const CGFloat alpha = f.alphaSlider->value();
    // Only the alpha slider moved: the colour is the one shown, exactly.
    // Making it again from the sliders' single-precision values would lose a
    // step of red, green or blue now and then, and the saved hex would creep
    // with every visit.
    const std::array<float, 3> values{f.hueSlider->value(), f.saturationSlider->value(), f.brightnessSlider->value()};
    if (f.sliderValuesOfShownColor == values) {
        self->pickedColor(f._pushedView->backgroundColor()->colorWithAlphaComponent(alpha));
        return;
    }
    UI::Color* color = f._usesRGB ? UI::Color::colorWithRed(a, b, c, alpha) : UI::Color::colorWithHue(a, b, c, alpha);
    self->pickedColor(color);
}

NS::String* colorString(const PFColorViewControllerFields& f, UI::Color* color) {
    NS::String* hex = PFColor::hexFromColor(color);
    if (!f._usesAlpha) return hex;
    // Only currentAlpha is saved, never the colour's own alpha.
    return NS::String::stringWithFormat("%@:%f"_ns, hex, static_cast<double>(f.currentAlpha));
}

// Shows the colour, moves the sliders to it and saves it under the key, into
// the settings file and the preferences domain alike. Every change comes
// through here, so there is no save button.
void pickedColor(PFColorViewController* self, SEL, UI::Color* color) {
    PFColorViewControllerFields& f = fieldsOf(self);
    f._pushedView->setBackgroundColor(color);
    self->view()->setBackgroundColor(color);

    if (f.hueSlider != nullptr) {
        CGFloat first = 0, second = 0, third = 0;
        if (f._usesRGB) {
            color->getRed(&first, &second, &third, nullptr);
        } else {
            color->getHue(&first, &second, &third, nullptr);
        }
        f.hueSlider->setValue(static_cast<float>(first));
        f.saturationSlider->setValue(static_cast<float>(second));
        f.brightnessSlider->setValue(static_cast<float>(third));
        f.sliderValuesOfShownColor = {f.hueSlider->value(), f.saturationSlider->value(), f.brightnessSlider->value()};
    }
    if (f._usesAlpha && f.alphaSlider != nullptr) {
        const CGFloat alpha = f.alphaSlider->value();
        f.transparent->setAlpha(1 - alpha);
        f.currentAlpha = alpha;
    }

    // Without a key, or without a domain that names a settings file, the
    // colour is shown and edited but never saved.
    NS::String* path = settingsPathForDomain(f.defaults);
    if (!f.key || path == nullptr) return;
    NS::MutableDictionary* settings = NS::MutableDictionary::dictionaryWithContentsOfFile(path);
    if (f.showingStoredColor && (settings == nullptr || !isString(settings->objectForKey(f.key)))) return;
    if (settings == nullptr) settings = NS::MutableDictionary::dictionary();
    NS::String* value = colorString(f, color);
    // A stored value already in the row's form is left as it is, file and
    // all: showing it changes nothing to write.
    if (f.showingStoredColor && value->isEqualToString(objc::cast<NS::String>(settings->objectForKey(f.key)))) return;
    settings->setObject(value, f.key);
    settings->writeToFile(path, YES);
    CFPreferencesSetAppValue(cf(f.key), value, cf(f.defaults));
    CFPreferencesAppSynchronize(cf(f.defaults));
}

void chooseHexColor(PFColorViewController* self, SEL) {
    PFColorViewControllerFields& f = fieldsOf(self);
    Ref<UI::AlertView> alert = objc::adopt(
        UI::AlertView::alloc()->initWithTitle("Hex Color"_ns, "Enter a hex color or copy it to your pasteboard."_ns,
                                              self, "Close"_ns, {"Set"_ns, "Copy"_ns}));
    alert->setAlertViewStyle(UI::UIAlertViewStylePlainTextInput);
    alert->textFieldAtIndex(0)->setText(PFColor::hexFromColor(f._pushedView->backgroundColor()));
    alert->show();
}

// 0 "Close" does nothing; 1 "Set" applies text that starts with "#"; 2 "Copy"
// puts the current colour's hex text on the general pasteboard.
void alertViewClickedButtonAtIndex(PFColorViewController* self, SEL, UI::AlertView* alertView, NSInteger index) {
    PFColorViewControllerFields& f = fieldsOf(self);
    if (index == 1) {
        NS::String* text = alertView->textFieldAtIndex(0)->text();
        if (text == nullptr || !text->hasPrefix("#"_ns)) return;
        UI::Color* color = PFColor::colorWithHex(text);
        if (color != nullptr) self->pickedColor(color);
    } else if (index == 2) {
        UI::Pasteboard::generalPasteboard()->setString(PFColor::hexFromColor(f._pushedView->backgroundColor()));
    }
}

// A white disc with a soft drop shadow and the slider's letter on it, at the
// main screen's scale.
UI::Image* thumbImageWithColor(id, SEL, UI::Color* color, unichar letter) {
    UIGraphicsBeginImageContextWithOptions(CGSizeMake(31, 36), NO, UI::Screen::mainScreen()->scale());
    CGContextRef context = UIGraphicsGetCurrentContext();

    CGContextSetShadowWithColor(context, CGSizeMake(0, 3), 4, UI::Color::colorWithWhite(0, 0.25)->CGColor());
    CGContextSetFillColorWithColor(context, color->CGColor());
    CGContextAddArc(context, 15.5, 15.5, 14, 0, 2 * M_PI, 1);
    CGContextDrawPath(context, kCGPathFill);
    CGContextSetShadow(context, CGSizeMake(0, 0), 0);

    // Text is laid out with y growing upwards: flip so the letter stands
    // upright.
    CGContextTranslateCTM(context, 0, 36);
    CGContextScaleCTM(context, 1, -1);
    CGContextSetRGBFillColor(context, 0, 0, 0, 1);
    CGContextSelectFont(context, "Helvetica Neue Bold", 15, kCGEncodingMacRoman);
    CGContextSetCharacterSpacing(context, 1.7);
    CGContextSetTextDrawingMode(context, kCGTextFill);
    NS::String* text = NS::String::stringWithCharacters(&letter, 1);
    // The letters are ASCII: one byte each.
    CGContextShowTextAtPoint(context, 10, 15, text->UTF8String(), 1);

    UI::Image* image = UIGraphicsGetImageFromCurrentImageContext();
    UIGraphicsEndImageContext();
    return image;
}

}  // namespace

// Shows the colour the chooser found on appearing or laying out. It is
// written back only over a value already stored (which it normalises to the
// row's form, the same colour): looking at a row that holds nothing must
// leave it holding nothing.
void showStoredColor(PFColorViewController* self, PFColorViewControllerFields& f, UI::Color* stored) {
    f.showingStoredColor = true;
    self->pickedColor(stored);
    f.showingStoredColor = false;
}

NS::String* settingsPathForDomain(NS::String* domain) {
    if (!isUsableSettingsDomain(domain)) return nullptr;
    return NS::String::stringWithFormat("/var/mobile/Library/Preferences/%@.plist"_ns, domain);
}

void addEditingMethods(objc::ClassBuilder& builder) {
    builder.method("colorFromDefaults:withKey:", &colorFromDefaults)
        .method("viewDidAppear:", &viewDidAppear)
        .method("viewDidDisappear:", &viewDidDisappear)
        .method("hueSliderChanged", &hueSliderChanged)
        .method("pickedColor:", &pickedColor)
        .method("chooseHexColor", &chooseHexColor)
        .method("alertView:clickedButtonAtIndex:", &alertViewClickedButtonAtIndex)
        .classMethod("thumbImageWithColor:letter:", &thumbImageWithColor);
}

}  // namespace colorpicker
