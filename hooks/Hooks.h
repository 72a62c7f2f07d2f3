// The 30 hooked methods, in the order they are installed, and the slots that
// keep the implementations they replaced.
#pragma once

#include <ObjCBridge/ObjCBridge.h>

namespace huebloom {

enum HookIndex : int {
    kTranscriptBackgroundColor,
    kBlueBalloonColors,
    kGreenBalloonColors,
    kGrayBalloonColors,
    kBlueBalloonOverlayColor,
    kBlueBalloonTextColor,
    kBlueBalloonTextLinkColor,
    kBlueRecipientTextColor,
    kBlueSendButtonColor,
    kBlueProgressViewColor,
    kGreenBalloonOverlayColor,
    kGreenBalloonTextColor,
    kGreenBalloonTextLinkColor,
    kGreenRecipientTextColor,
    kGreenSendButtonColor,
    kGreenProgressViewColor,
    kGrayBalloonOverlayColor,
    kGrayBalloonTextColor,
    kGrayBalloonTextLinkColor,
    kGrayRecipientTextColor,
    kGraySendButtonColor,
    kGrayProgressViewColor,
    kAppTintColor,
    kEntryFieldCoverFillColor,
    kEntryFieldBackgroundColor,
    kEntryFieldTextColor,
    kShouldShowContactPhotos,
    kTranscriptLoadView,
    kTextBalloonLayoutSubviews,
    kBalloonHasTail,
    kHookCount
};

// Filled once, by the hooking platform, while the hooks are installed; zero
// for a hook whose class was missing.
extern IMP savedImplementations[kHookCount];

// The hook installer: the first initialiser of the library.
void installHooks();

}  // namespace huebloom
