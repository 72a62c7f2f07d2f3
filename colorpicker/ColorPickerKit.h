// The colour picker kit's runtime classes: the UIColor category PFColor,
// PFColorPicker, PFColorTransparentView, UIPushedView and
// PFColorViewController.
#pragma once

namespace colorpicker {

// Registers every class of the kit, each superclass before its subclasses,
// once; later calls do nothing. UIKit and the Preferences framework must be
// loaded (the chooser's superclass is PSViewController). The settings
// bundle's load-time constructor calls it before it registers its own
// classes.
void registerClasses();

}  // namespace colorpicker
