// PFColorTransparentView: a checkerboard of white and grey 20-point squares,
// the top-left one white. The colour chooser lays it behind the colour it
// edits and fades it in as the colour's alpha falls, so that transparency
// shows as the pattern showing through.
#pragma once

#include <UIKit/UIKit.h>

class PFColorTransparentView : public UI::View {
public:
    static PFColorTransparentView* alloc() {
        return objc::send<PFColorTransparentView*>("PFColorTransparentView"_cls, "alloc"_sel);
    }
    PFColorTransparentView* initWithFrame(CGRect frame) {
        return objc::send<PFColorTransparentView*>(this, "initWithFrame:"_sel, frame);
    }
};

namespace colorpicker {
void registerTransparentView();
}  // namespace colorpicker
