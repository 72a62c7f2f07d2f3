// CKGradientView: a view that paints a vertical gradient from any number of
// colours, the first at the top and the last at the bottom, at evenly spaced
// stops (one colour paints a flat fill; none paints nothing).
//
// The gradient spans the gradient frame, in the view's own coordinates, and
// the view shows its part of it: a view whose gradient frame is a whole
// screen's height shows the slice of the screen-tall gradient that lies
// behind it, which is how sent balloons lower on the screen come out darker.
// An empty gradient frame (the default) is the view's bounds. Above and below
// the frame the end colours continue.
#pragma once

#include <UIKit/UIView.h>

namespace NS {
class Array;
}

namespace CK {

class GradientView : public UI::View {
public:
    static GradientView* alloc() { return objc::send<GradientView*>("CKGradientView"_cls, "alloc"_sel); }
    GradientView* initWithFrame(CGRect frame) { return objc::send<GradientView*>(this, "initWithFrame:"_sel, frame); }

    // An array of UIColor; the view keeps a copy of the array.
    NS::Array* colors() const { return objc::send<NS::Array*>(this, "colors"_sel); }
    void setColors(NS::Array* colors) { objc::send<void>(this, "setColors:"_sel, colors); }

    CGRect gradientFrame() const { return objc::send<CGRect>(this, "gradientFrame"_sel); }
    void setGradientFrame(CGRect frame) { objc::send<void>(this, "setGradientFrame:"_sel, frame); }
};

}  // namespace CK
