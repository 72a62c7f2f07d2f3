// UIPushedView: the colour chooser's content panel. It keeps its top edge 64
// points below the top of its superview (under the status and navigation
// bars) and, once it has a superview, reaches down to the superview's bottom
// edge, whatever frame it is given.
#pragma once

#include <UIKit/UIKit.h>

class UIPushedView : public UI::View {
public:
    static UIPushedView* alloc() { return objc::send<UIPushedView*>("UIPushedView"_cls, "alloc"_sel); }
    UIPushedView* initWithFrame(CGRect frame) { return objc::send<UIPushedView*>(this, "initWithFrame:"_sel, frame); }
};

namespace colorpicker {

// The height of the status bar and the navigation bar together.
inline constexpr CGFloat kPushedViewOffset = 64;

void registerPushedView();

}  // namespace colorpicker
