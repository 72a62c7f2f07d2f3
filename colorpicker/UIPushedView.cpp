#include "UIPushedView.h"

namespace colorpicker {
namespace {

// Only the x origin and the width of the frame are taken as given: the top is
// always the offset, and the height follows the superview when there is one.
void setFrame(UIPushedView* self, SEL _cmd, CGRect frame) {
    UI::View* superview = self->superview();
    const CGFloat height =
        superview != nullptr ? superview->frame().size.height - kPushedViewOffset : frame.size.height;
    objc::sendSuper<void>(self, "UIPushedView"_cls, _cmd,
                          CGRectMake(frame.origin.x, kPushedViewOffset, frame.size.width, height));
}

}  // namespace

void registerPushedView() { objc::ClassBuilder("UIPushedView", "UIView"_cls).method("setFrame:", &setFrame).build(); }

}  // namespace colorpicker
