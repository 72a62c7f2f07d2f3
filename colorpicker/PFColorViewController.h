// PFColorViewController: the colour chooser screen. It edits the one colour
// setting named by `key` in the preferences domain `defaults`: a panel whose
// background is the colour, the hue and saturation picker in its upper half, a
// translucent panel of three or four sliders at the bottom, and a "#" button in
// the navigation bar for hex entry. Every change is written at once into the
// settings file and the domain as a colour string ("#RRGGBB", or
// "#RRGGBB:alpha" for rows that edit alpha); leaving the screen after a change
// posts the Darwin notification `postNotification`.
//
// Creating it builds only the content panel, invisible; the controls are built
// 0.1 s after the screen first appears (loadCustomViews) and fade in.
//
// What it shows is read through its messages and its view tree, which are
// kept stable for that (the Settings app's script driver reads nothing else):
// the chooser's view holds the content panel, a UIPushedView whose background
// colour is the colour shown; in it are the picker (`colorPicker`) and the
// four sliders, each with its tag below (the alpha slider hidden on rows that
// do not edit alpha; its value is the alpha that is saved).
//
//     PFColorViewController* chooser =
//         PFColorViewController::alloc()->initForContentSize(pane->view()->frame().size);
//     chooser->setKey("blueText"_ns);
//     chooser->setDefaults("com.Quillfen.huebloom"_ns);
//     navigationController->pushViewController(chooser, YES);
#pragma once

#include "PFColorPicker.h"
#include "PFColorTransparentView.h"
#include "UIPushedView.h"

#include <Preferences/PSViewController.h>
#include <UIKit/UIAlertView.h>
#include <UIKit/UIBarButtonItem.h>
#include <UIKit/UIKit.h>
#include <UIKit/UINavigationItem.h>
#include <UIKit/UISlider.h>

class PFColorViewController : public PS::ViewController {
public:
    static PFColorViewController* alloc() {
        return objc::send<PFColorViewController*>("PFColorViewController"_cls, "alloc"_sel);
    }
    PFColorViewController* initForContentSize(CGSize size) {
        return objc::send<PFColorViewController*>(this, "initForContentSize:"_sel, size);
    }

    // Builds every view, or lays the existing ones out again.
    void loadCustomViews() { objc::send<void>(this, "loadCustomViews"_sel); }

    // The stored colour of key in the domain's settings file, with the stored
    // alpha (which also becomes currentAlpha); the fallback when none is
    // stored.
    UI::Color* colorFromDefaults(NS::String* defaults, NS::String* key) {
        return objc::send<UI::Color*>(this, "colorFromDefaults:withKey:"_sel, defaults, key);
    }
    // Shows the colour, sets the sliders from it and saves it.
    void pickedColor(UI::Color* color) { objc::send<void>(this, "pickedColor:"_sel, color); }
    void hueSliderChanged() { objc::send<void>(this, "hueSliderChanged"_sel); }
    void chooseHexColor() { objc::send<void>(this, "chooseHexColor"_sel); }
    void alertViewClickedButtonAtIndex(UI::AlertView* alertView, NSInteger index) {
        objc::send<void>(this, "alertView:clickedButtonAtIndex:"_sel, alertView, index);
    }
    // A 31 × 36 point slider thumb: a filled circle with a soft shadow and the
    // letter in black.
    static UI::Image* thumbImageWithColor(UI::Color* color, unichar letter) {
        return objc::send<UI::Image*>("PFColorViewController"_cls, "thumbImageWithColor:letter:"_sel, color, letter);
    }

    PFColorPicker* colorPicker() const { return objc::send<PFColorPicker*>(this, "colorPicker"_sel); }
    void setColorPicker(PFColorPicker* picker) { objc::send<void>(this, "setColorPicker:"_sel, picker); }
    NS::String* key() const { return objc::send<NS::String*>(this, "key"_sel); }
    void setKey(NS::String* key) { objc::send<void>(this, "setKey:"_sel, key); }
    NS::String* defaults() const { return objc::send<NS::String*>(this, "defaults"_sel); }
    void setDefaults(NS::String* defaults) { objc::send<void>(this, "setDefaults:"_sel, defaults); }
    NS::String* postNotification() const { return objc::send<NS::String*>(this, "postNotification"_sel); }
    void setPostNotification(NS::String* name) { objc::send<void>(this, "setPostNotification:"_sel, name); }
    NS::String* fallback() const { return objc::send<NS::String*>(this, "fallback"_sel); }
    void setFallback(NS::String* fallback) { objc::send<void>(this, "setFallback:"_sel, fallback); }
    BOOL usesRGB() const { return objc::send<BOOL>(this, "usesRGB"_sel); }
    void setUsesRGB(BOOL usesRGB) { objc::send<void>(this, "setUsesRGB:"_sel, usesRGB); }
    BOOL usesAlpha() const { return objc::send<BOOL>(this, "usesAlpha"_sel); }
    void setUsesAlpha(BOOL usesAlpha) { objc::send<void>(this, "setUsesAlpha:"_sel, usesAlpha); }
};

namespace colorpicker {

// The sliders' tags in the chooser's view tree (viewWithTag:), from top to
// bottom. The first three edit red, green and blue on rows that use RGB.
inline constexpr NSInteger kHueSliderTag = 4101;         // hue, or red
inline constexpr NSInteger kSaturationSliderTag = 4102;  // saturation, or green
inline constexpr NSInteger kBrightnessSliderTag = 4103;  // brightness, or blue
inline constexpr NSInteger kAlphaSliderTag = 4104;       // alpha

void registerColorViewController();

// The content size that loadCustomViews lays out in, shared by every chooser
// of the process: set on creation and on rotation.
CGSize chooserContentSize();

}  // namespace colorpicker
