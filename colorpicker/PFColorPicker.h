// PFColorPicker: the hue and saturation field of the colour chooser. Every hue
// runs from the top edge to the bottom edge; across the width the field ramps
// from black through the pure hue (the centre column) to white. A tap or a drag
// on the field turns the colour under the finger into the picker's last
// selected colour and hands it to the delegate (PFColorPickerDelegate).
//
// Painting the field costs one fill per point, so the picker keeps a snapshot
// of it per view size in "/tmp/_PFColorPickerImage_<w>x<h>.png" and draws that
// file whenever it fits. A freshly painted field is written there by
// saveCache, which the chooser calls some time after the picker appeared.
#pragma once

#include <Foundation/NSString.h>
#include <UIKit/UIKit.h>

// The picker's delegate protocol: one required method. The runtime has no
// protocol objects of its own making, so the picker asks respondsToSelector:
// before it sends.
class PFColorPickerDelegate : public NS::Object {
public:
    void pickedColor(UI::Color* color) { objc::send<void>(this, "pickedColor:"_sel, color); }
};

class PFColorPicker : public UI::View {
public:
    static PFColorPicker* alloc() { return objc::send<PFColorPicker*>("PFColorPicker"_cls, "alloc"_sel); }
    PFColorPicker* initWithFrame(CGRect frame) { return objc::send<PFColorPicker*>(this, "initWithFrame:"_sel, frame); }

    // The picker cache file for a frame's size (its origin plays no part).
    static NS::String* cacheImageNameWithFrame(CGRect frame) {
        return objc::send<NS::String*>("PFColorPicker"_cls, "cacheImageNameWithFrame:"_sel, frame);
    }
    // The pure hue at full saturation and brightness.
    static UI::Color* colorWithHueForLocation(CGFloat hue) {
        return objc::send<UI::Color*>("PFColorPicker"_cls, "colorWithHueForLocation:"_sel, hue);
    }

    // A snapshot of the view at the main screen's scale.
    UI::Image* captureView() { return objc::send<UI::Image*>(this, "captureView"_sel); }
    // Writes the picker cache file when the field was painted from scratch
    // since the last save.
    void saveCache() { objc::send<void>(this, "saveCache"_sel); }
    // Attaches one more pan recogniser (drags pick) and enables interaction.
    void makeReadyForDisplay() { objc::send<void>(this, "makeReadyForDisplay"_sel); }
    // The rendered colour of the one-point square at the point; no bounds test.
    UI::Color* colorAtPoint(CGPoint point) { return objc::send<UI::Color*>(this, "colorAtPoint:"_sel, point); }
    void selectColor(UI::GestureRecognizer* recognizer) { objc::send<void>(this, "selectColor:"_sel, recognizer); }
    // Accepts the colour under the point (inside the view, not transparent)
    // and tells the delegate.
    void useColorAtPoint(CGPoint point) { objc::send<void>(this, "useColorAtPoint:"_sel, point); }

    UI::Color* lastSelectedColor() const { return objc::send<UI::Color*>(this, "lastSelectedColor"_sel); }
    // Not retained.
    id delegate() const { return objc::send<id>(this, "delegate"_sel); }
    void setDelegate(objc::AnyObject delegate) { objc::send<void>(this, "setDelegate:"_sel, delegate.get()); }

    // The public instance variable: YES while a field painted from scratch
    // has not been saved to the picker cache file.
    BOOL& shouldSaveNewCache();
};

namespace colorpicker {
void registerColorPicker();
}  // namespace colorpicker
