// The colour getters of CKUIBehavior that the library answers from the
// settings: 23 single colours, each under one key, and three gradients.
#pragma once

#include "Hooks.h"

#include <SingleColors.h>

#include <array>

namespace huebloom {

// The saved-implementation slot of each of kSingleColors, in its order.
inline constexpr std::array<HookIndex, kSingleColors.size()> kSingleColorSlots{{
    kTranscriptBackgroundColor, kBlueBalloonOverlayColor,   kBlueBalloonTextColor,    kBlueBalloonTextLinkColor,
    kBlueRecipientTextColor,    kBlueSendButtonColor,       kBlueProgressViewColor,   kGreenBalloonOverlayColor,
    kGreenBalloonTextColor,     kGreenBalloonTextLinkColor, kGreenRecipientTextColor, kGreenSendButtonColor,
    kGreenProgressViewColor,    kGrayBalloonOverlayColor,   kGrayBalloonTextColor,    kGrayBalloonTextLinkColor,
    kGrayRecipientTextColor,    kGraySendButtonColor,       kGrayProgressViewColor,   kAppTintColor,
    kEntryFieldCoverFillColor,  kEntryFieldBackgroundColor, kEntryFieldTextColor,
}};

// The replacement of kSingleColors[i].
IMP singleColorReplacement(std::size_t i);

IMP blueBalloonColorsReplacement();
IMP greenBalloonColorsReplacement();
IMP grayBalloonColorsReplacement();

}  // namespace huebloom
