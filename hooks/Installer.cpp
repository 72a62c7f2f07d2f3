// The two load-time initialisers: the hook installer runs first, the settings
// loader second, both before the Messages app can call a replaced method.
#include "ColorHooks.h"
#include "Hooks.h"
#include "Settings.h"
#include "ViewHooks.h"

#include <ObjCBridge/Implementation.h>
#include <substrate.h>

namespace huebloom {

IMP savedImplementations[kHookCount] = {};

namespace {

void hook(Class cls, const char* selector, IMP replacement, HookIndex slot) {
    MSHookMessageEx(cls, sel_registerName(selector), replacement, &savedImplementations[slot]);
}

}  // namespace

void installHooks() {
    // No lookup result is tested: a class missing from the running system is
    // passed on as Nil, which the hooking platform ignores, and the others go on.
    Class behavior = objc_getClass("CKUIBehavior");
    hook(behavior, "transcriptBackgroundColor", singleColorReplacement(0), kTranscriptBackgroundColor);
    hook(behavior, "blue_balloonColors", blueBalloonColorsReplacement(), kBlueBalloonColors);
    hook(behavior, "green_balloonColors", greenBalloonColorsReplacement(), kGreenBalloonColors);
    hook(behavior, "gray_balloonColors", grayBalloonColorsReplacement(), kGrayBalloonColors);
    for (std::size_t i = 1; i < kSingleColors.size(); ++i) {
        hook(behavior, kSingleColors[i].selector, singleColorReplacement(i), kSingleColorSlots[i]);
    }
    hook(behavior, "shouldShowContactPhotosInConversationList",
         objc::implementation(&shouldShowContactPhotosInConversationList).imp, kShouldShowContactPhotos);

    hook(objc_getClass("CKTranscriptController"), "loadView", objc::implementation(&transcriptLoadView).imp,
         kTranscriptLoadView);
    hook(objc_getClass("CKTextBalloonView"), "layoutSubviews", objc::implementation(&textBalloonLayoutSubviews).imp,
         kTextBalloonLayoutSubviews);
    hook(objc_getClass("CKBalloonView"), "hasTail", objc::implementation(&balloonHasTail).imp, kBalloonHasTail);

    Class gradient = objc_getClass("CKGradientView");
    if (gradient != Nil) {
        const objc::Implementation random = objc::implementation(&getRandomColor);
        class_addMethod(gradient, sel_registerName("getRandomColor"), random.imp, random.types.c_str());
    }
}

}  // namespace huebloom

__attribute__((constructor(101))) static void huebloomInstallHooks() { huebloom::installHooks(); }

__attribute__((constructor(102))) static void huebloomLoadSettings() {
    objc::AutoreleasePool pool;
    huebloom::loadSettings();
}
