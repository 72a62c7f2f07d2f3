// The colour getters of CKUIBehavior that the library answers from the
// settings: 23 single colours, each under one key, and three gradients.
#pragma once

#include "ColorString.h"
#include "Hooks.h"

#include <array>

namespace huebloom {

struct SingleColorHook {
    HookIndex index;
    const char* selector;
    const char* key;
    AlphaRule alpha;
};

// The key names are those of the settings file and do not follow the
// selectors everywhere ("blueRText", "blueBar", "entryField", "entryFieldPost").
inline constexpr std::array<SingleColorHook, 23> kSingleColorHooks{{
    {kTranscriptBackgroundColor, "transcriptBackgroundColor", "background", AlphaRule::Opaque},
    {kBlueBalloonOverlayColor, "blue_balloonOverlayColor", "blueOverlay", AlphaRule::FromString},
    {kBlueBalloonTextColor, "blue_balloonTextColor", "blueText", AlphaRule::Opaque},
    {kBlueBalloonTextLinkColor, "blue_balloonTextLinkColor", "blueLinkText", AlphaRule::Opaque},
    {kBlueRecipientTextColor, "blue_recipientTextColor", "blueRText", AlphaRule::Opaque},
    {kBlueSendButtonColor, "blue_sendButtonColor", "blueSend", AlphaRule::Opaque},
    {kBlueProgressViewColor, "blue_progressViewColor", "blueBar", AlphaRule::Opaque},
    {kGreenBalloonOverlayColor, "green_balloonOverlayColor", "greenOverlay", AlphaRule::FromString},
    {kGreenBalloonTextColor, "green_balloonTextColor", "greenText", AlphaRule::Opaque},
    {kGreenBalloonTextLinkColor, "green_balloonTextLinkColor", "greenLinkText", AlphaRule::Opaque},
    {kGreenRecipientTextColor, "green_recipientTextColor", "greenRText", AlphaRule::Opaque},
    {kGreenSendButtonColor, "green_sendButtonColor", "greenSend", AlphaRule::Opaque},
    {kGreenProgressViewColor, "green_progressViewColor", "greenBar", AlphaRule::Opaque},
    {kGrayBalloonOverlayColor, "gray_balloonOverlayColor", "grayOverlay", AlphaRule::FromString},
    {kGrayBalloonTextColor, "gray_balloonTextColor", "grayText", AlphaRule::Opaque},
    {kGrayBalloonTextLinkColor, "gray_balloonTextLinkColor", "grayLinkText", AlphaRule::Opaque},
    {kGrayRecipientTextColor, "gray_recipientTextColor", "grayRText", AlphaRule::Opaque},
    {kGraySendButtonColor, "gray_sendButtonColor", "graySend", AlphaRule::Opaque},
    {kGrayProgressViewColor, "gray_progressViewColor", "grayBar", AlphaRule::Opaque},
    {kAppTintColor, "appTintColor", "appTint", AlphaRule::Opaque},
    {kEntryFieldCoverFillColor, "entryFieldCoverFillColor", "entryField", AlphaRule::Opaque},
    {kEntryFieldBackgroundColor, "entryFieldBackgroundColor", "entryFieldPost", AlphaRule::Opaque},
    {kEntryFieldTextColor, "entryFieldTextColor", "entryFieldText", AlphaRule::Opaque},
}};

// The replacement of kSingleColorHooks[i].
IMP singleColorReplacement(std::size_t i);

IMP blueBalloonColorsReplacement();
IMP greenBalloonColorsReplacement();
IMP grayBalloonColorsReplacement();

}  // namespace huebloom
