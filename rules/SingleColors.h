// The 23 single colours Messages asks CKUIBehavior for, each answered from
// one settings key: the getter's selector, its key, its alpha rule, and the
// colour the system answers when the key is empty or the master switch is
// off (the product's copy of the system's colours).
#pragma once

#include "ColorString.h"
#include "SettingsReader.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace huebloom {

// A colour as 0xRRGGBB and an alpha.
struct SystemColor {
    std::uint32_t rgb;
    double alpha;
};

struct SingleColor {
    const char* selector;
    const char* key;
    AlphaRule alpha;
    SystemColor system;
};

// The key names are those of the settings file and do not follow the
// selectors everywhere ("blueRText", "blueBar", "entryField", "entryFieldPost").
inline constexpr std::array<SingleColor, 23> kSingleColors{{
    {"transcriptBackgroundColor", "background", AlphaRule::Opaque, {0xFFFFFF, 1}},
    {"blue_balloonOverlayColor", "blueOverlay", AlphaRule::FromString, {0x000000, 0.1}},
    {"blue_balloonTextColor", "blueText", AlphaRule::Opaque, {0xFFFFFF, 1}},
    {"blue_balloonTextLinkColor", "blueLinkText", AlphaRule::Opaque, {0xFFFFFF, 1}},
    {"blue_recipientTextColor", "blueRText", AlphaRule::Opaque, {0x007AFF, 1}},
    {"blue_sendButtonColor", "blueSend", AlphaRule::Opaque, {0x007AFF, 1}},
    {"blue_progressViewColor", "blueBar", AlphaRule::Opaque, {0x007AFF, 1}},
    {"green_balloonOverlayColor", "greenOverlay", AlphaRule::FromString, {0x000000, 0.1}},
    {"green_balloonTextColor", "greenText", AlphaRule::Opaque, {0xFFFFFF, 1}},
    {"green_balloonTextLinkColor", "greenLinkText", AlphaRule::Opaque, {0xFFFFFF, 1}},
    {"green_recipientTextColor", "greenRText", AlphaRule::Opaque, {0x28B54B, 1}},
    {"green_sendButtonColor", "greenSend", AlphaRule::Opaque, {0x4CD964, 1}},
    {"green_progressViewColor", "greenBar", AlphaRule::Opaque, {0x4CD964, 1}},
    {"gray_balloonOverlayColor", "grayOverlay", AlphaRule::FromString, {0x000000, 0.05}},
    {"gray_balloonTextColor", "grayText", AlphaRule::Opaque, {0x000000, 1}},
    {"gray_balloonTextLinkColor", "grayLinkText", AlphaRule::Opaque, {0x0A7AFF, 1}},
    {"gray_recipientTextColor", "grayRText", AlphaRule::Opaque, {0x8E8E93, 1}},
    {"gray_sendButtonColor", "graySend", AlphaRule::Opaque, {0x8E8E93, 1}},
    {"gray_progressViewColor", "grayBar", AlphaRule::Opaque, {0x8E8E93, 1}},
    {"appTintColor", "appTint", AlphaRule::Opaque, {0x007AFF, 1}},
    {"entryFieldCoverFillColor", "entryField", AlphaRule::Opaque, {0xFAFAFA, 1}},
    {"entryFieldBackgroundColor", "entryFieldPost", AlphaRule::Opaque, {0xFFFFFF, 1}},
    {"entryFieldTextColor", "entryFieldText", AlphaRule::Opaque, {0x000000, 1}},
}};

// The tint the system gives the transcript's details button: the app tint.
inline constexpr SystemColor kSystemDetailsTint{0x007AFF, 1};

// The index in kSingleColors of a getter; a selector that is not one of
// them is a programmer mistake and aborts.
std::size_t singleColorIndex(const char* selector);

// The key of kSingleColors[i] as a string, made once.
NS::String* singleColorKey(std::size_t i);

// The colour Messages shows for kSingleColors[i] under the settings, or null
// when the system's own colour applies (the key empty or the master switch
// off). New and autoreleased.
UI::Color* singleColor(const SettingsReader& settings, std::size_t i);

// A system colour as a new (autoreleased) colour object.
UI::Color* colorFromSystemColor(SystemColor color);

}  // namespace huebloom
