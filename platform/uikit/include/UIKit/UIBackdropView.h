// _UIBackdropView: the system's private translucent panel, made with only a
// frame. It shows what lies behind it washed with white at 0.7, the light
// backdrop of the phone's panels and bars.
//
// A device model may lack the class. UIKit registers it when loaded unless
// the environment variable HB_UIKIT_WITHOUT_CLASSES (class names separated
// by commas) names it; an app host started with "--without-class
// _UIBackdropView" sets that variable for itself before UIKit loads, or
// leaves registration to UI::registerBackdropView.
#pragma once

#include <UIKit/UIView.h>

namespace UI {

class BackdropView : public View {
public:
    // Nil when the class is left out.
    static Class backdropClass() { return objc_getClass("_UIBackdropView"); }
    static BackdropView* alloc() { return objc::send<BackdropView*>(backdropClass(), "alloc"_sel); }
    BackdropView* initWithFrame(CGRect frame) { return objc::send<BackdropView*>(this, "initWithFrame:"_sel, frame); }
};

// Registers _UIBackdropView when it is not registered yet.
void registerBackdropView();

// True when HB_UIKIT_WITHOUT_CLASSES names the class.
bool classLeftOut(const char* className);

}  // namespace UI
