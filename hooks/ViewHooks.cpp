#include "ViewHooks.h"

#include "Hooks.h"
#include "Settings.h"

#include <RandomColor.h>
#include <ViewRules.h>

#include <UIKit/UIKit.h>

namespace huebloom {

BOOL shouldShowContactPhotosInConversationList(id self, SEL cmd) {
    const SettingsReader s = settings();
    if (s.isOn("pic"_ns) && s.enabled()) return YES;
    if (s.enabled()) return NO;
    return objc::callImp<BOOL>(savedImplementations[kShouldShowContactPhotos], self, cmd);
}

void transcriptLoadView(id self, SEL cmd) {
    const SettingsReader s = settings();
    if (!s.enabled()) {
        objc::callImp<void>(savedImplementations[kTranscriptLoadView], self, cmd);
        return;
    }
    // "detail" is read before the view exists, as the controller loads it.
    const bool tintDetails = s.colorString("detail"_ns) != nullptr;
    objc::callImp<void>(savedImplementations[kTranscriptLoadView], self, cmd);
    if (tintDetails) {
        // The controller is ChatKit's, reached by name, so it is sent to
        // directly; it may have no details button.
        UI::Button* button = objc::send<UI::Button*>(self, "detailsButton"_sel);
        if (button != nullptr) button->setTintColor(colorFromString(s.colorString("detail"_ns), AlphaRule::Opaque));
    }
}

void textBalloonLayoutSubviews(id self, SEL cmd) {
    objc::callImp<void>(savedImplementations[kTextBalloonLayoutSubviews], self, cmd);
    const std::optional<TransparentStyle> style = transparentStyle(settings());
    if (!style) return;

    UI::View* balloon = objc::cast<UI::View>(self);
    CA::Layer* layer = balloon->layer();
    layer->setBorderColor(style->border->CGColor());
    balloon->setBackgroundColor(UI::Color::clearColor());
    layer->setBorderWidth(style->borderWidth);
    layer->setMasksToBounds(YES);
    layer->setCornerRadius(style->cornerRadius);
}

BOOL balloonHasTail(id self, SEL cmd) {
    if (hidesTails(settings())) return NO;
    return objc::callImp<BOOL>(savedImplementations[kBalloonHasTail], self, cmd);
}

id getRandomColor(id, SEL) { return objc::asId(randomNamedColor()); }

}  // namespace huebloom
