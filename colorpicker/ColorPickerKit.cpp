#include "ColorPickerKit.h"

#include "PFColorPicker.h"
#include "PFColorTransparentView.h"
#include "PFColorViewController.h"
#include "UIColor+PFColor.h"
#include "UIPushedView.h"

namespace colorpicker {

void registerClasses() {
    static const bool registered = [] {
        registerColorCategory();
        registerColorPicker();
        registerTransparentView();
        registerPushedView();
        registerColorViewController();
        return true;
    }();
    (void)registered;
}

}  // namespace colorpicker
