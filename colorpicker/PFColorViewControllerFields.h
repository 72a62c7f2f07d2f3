// PFColorViewControllerFields: the chooser's C++ state, as the class keeps it
// in every instance. Only the kit's own files and its tests read it; anything
// else (the Settings app's script driver) reads the chooser through the
// messages it answers and the view tree it shows (PFColorViewController.h).
#pragma once

#include "PFColorViewController.h"

#include <array>

// The chooser's fields, in their declared order. Views marked "not owned" are
// kept alive by the view hierarchy; the controller only points at them.
struct PFColorViewControllerFields {
    Ref<UI::Color> loadedColor;               // the stored colour when the screen appeared
    UI::View* backdrop = nullptr;             // the slider panel's backdrop (not owned)
    Ref<PFColorTransparentView> transparent;  // checkerboard behind the colour
    UI::Slider* hueSlider = nullptr;          // hue, or red (not owned)
    UI::Slider* saturationSlider = nullptr;   // saturation, or green (not owned)
    UI::Slider* brightnessSlider = nullptr;   // brightness, or blue (not owned)
    UI::Slider* alphaSlider = nullptr;        // alpha (not owned)
    UI::View* controlsContainer = nullptr;    // the slider panel (not owned)
    Ref<UI::BarButtonItem> hexButton;         // the "#" button
    CGFloat currentAlpha = 1;                 // the alpha that is saved
    UIPushedView* _pushedView = nullptr;      // the content panel; its background is the colour (not owned)
    BOOL _usesRGB = NO;                       // sliders edit red, green and blue
    BOOL _usesAlpha = NO;                     // the alpha slider and the checkerboard are shown, alpha is saved
    Ref<PFColorPicker> colorPicker;
    Ref<NS::String> key;
    Ref<NS::String> defaults;
    Ref<NS::String> postNotification;
    Ref<NS::String> fallback;
    // Not declared by the class: the editing half's own bookkeeping.
    bool showingStoredColor = false;                            // applying the colour found, not one the person made
    std::array<float, 3> sliderValuesOfShownColor{-1, -1, -1};  // the first three sliders as the shown colour set them
};

namespace colorpicker {

// The fields of a chooser.
PFColorViewControllerFields& fieldsOf(objc::AnyObject self);

}  // namespace colorpicker
