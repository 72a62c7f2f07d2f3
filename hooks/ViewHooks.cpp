#include "ViewHooks.h"

#include "ColorString.h"
#include "Hooks.h"
#include "Settings.h"

#include <UIKit/UIKit.h>

namespace huebloom {

BOOL shouldShowContactPhotosInConversationList(id self, SEL cmd) {
    if (settingSwitch("pic"_ns) && enabled()) return YES;
    if (enabled()) return NO;
    return objc::callImp<BOOL>(savedImplementations[kShouldShowContactPhotos], self, cmd);
}

void transcriptLoadView(id self, SEL cmd) {
    if (!enabled()) {
        objc::callImp<void>(savedImplementations[kTranscriptLoadView], self, cmd);
        return;
    }
    // "detail" is read before the view exists, as the controller loads it.
    const bool tintDetails = settingColorString("detail"_ns) != nullptr;
    objc::callImp<void>(savedImplementations[kTranscriptLoadView], self, cmd);
    if (tintDetails) {
        // The controller may have no details button: a message to nil does nothing.
        id button = objc::send<id>(self, "detailsButton"_sel);
        objc::send<void>(button, "setTintColor:"_sel, colorFromString(settingColorString("detail"_ns), AlphaRule::Opaque));
    }
}

void textBalloonLayoutSubviews(id self, SEL cmd) {
    objc::callImp<void>(savedImplementations[kTextBalloonLayoutSubviews], self, cmd);
    if (!(enabled() && settingSwitch("transparent"_ns))) return;

    UI::View* balloon = objc::cast<UI::View>(self);
    CA::Layer* layer = balloon->layer();
    layer->setBorderColor(colorForKey("border"_ns, "#5FC6F4"_ns, AlphaRule::Opaque)->CGColor());
    balloon->setBackgroundColor(UI::Color::clearColor());
    layer->setBorderWidth(CGFloat(settingInteger("tb_size"_ns)));
    layer->setMasksToBounds(YES);
    layer->setCornerRadius(CGFloat(settingInteger("tb_radius"_ns)));
}

BOOL balloonHasTail(id self, SEL cmd) {
    if (enabled() && settingSwitch("transparent"_ns)) return NO;
    if (enabled() && settingSwitch("tail"_ns)) return NO;
    return objc::callImp<BOOL>(savedImplementations[kBalloonHasTail], self, cmd);
}

}  // namespace huebloom
