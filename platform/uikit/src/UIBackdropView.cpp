#include <UIKit/UIBackdropView.h>
#include <UIKit/UIGraphics.h>

#include "ControlMetrics.h"
#include "UIKitRegistration.h"

#include <cstdlib>
#include <string_view>

namespace UI {
namespace {

// What lies behind shows through a white wash. A blur of it would need the
// compositor to hand over the pixels under the view; the panels that use a
// backdrop here lie over plain colours, where a blur changes nothing, so
// the wash alone gives the look.
void drawRect(View* self, SEL, CGRect) {
    CGContextRef c = UIGraphicsGetCurrentContext();
    if (c == nullptr) return;
    CGContextSetRGBFillColor(c, 1, 1, 1, metrics::kBackdropWhiteAlpha);
    CGContextFillRect(c, self->bounds());
}

id initWithFrame(id self, SEL, CGRect frame) {
    self = objc::sendSuper<id>(self, objc_getClass("_UIBackdropView"), "initWithFrame:"_sel, frame);
    if (self != nil) objc::cast<View>(self)->setOpaque(NO);
    return self;
}

}  // namespace

bool classLeftOut(const char* className) {
    const char* list = std::getenv("HB_UIKIT_WITHOUT_CLASSES");
    if (list == nullptr || className == nullptr) return false;
    std::string_view rest(list), name(className);
    while (!rest.empty()) {
        std::size_t comma = rest.find(',');
        std::string_view item = rest.substr(0, comma);
        while (!item.empty() && item.front() == ' ') item.remove_prefix(1);
        while (!item.empty() && item.back() == ' ') item.remove_suffix(1);
        if (item == name) return true;
        if (comma == std::string_view::npos) break;
        rest.remove_prefix(comma + 1);
    }
    return false;
}

void registerBackdropView() {
    if (objc_getClass("_UIBackdropView") != Nil) return;
    objc::ClassBuilder("_UIBackdropView", "UIView"_cls)
        .method("initWithFrame:", &initWithFrame)
        .method("drawRect:", &drawRect)
        .build();
}

void registerOptionalClasses() {
    if (!classLeftOut("_UIBackdropView")) registerBackdropView();
}

}  // namespace UI
