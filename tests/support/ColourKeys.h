// Every colour key of the settings file that a CKUIBehavior colour getter of
// Messages answers, with that getter's selector: the whole-device tests set a
// key and read its getter from the Messages dump. Kept apart from the
// product's own table, so that a mix-up there shows here.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace e2e {

inline const std::vector<std::pair<std::string, std::string>> kColorKeys = {
    {"background", "transcriptBackgroundColor"}, {"blueOverlay", "blue_balloonOverlayColor"},
    {"blueText", "blue_balloonTextColor"},       {"blueLinkText", "blue_balloonTextLinkColor"},
    {"blueRText", "blue_recipientTextColor"},    {"blueSend", "blue_sendButtonColor"},
    {"blueBar", "blue_progressViewColor"},       {"greenOverlay", "green_balloonOverlayColor"},
    {"greenText", "green_balloonTextColor"},     {"greenLinkText", "green_balloonTextLinkColor"},
    {"greenRText", "green_recipientTextColor"},  {"greenSend", "green_sendButtonColor"},
    {"greenBar", "green_progressViewColor"},     {"grayOverlay", "gray_balloonOverlayColor"},
    {"grayText", "gray_balloonTextColor"},       {"grayLinkText", "gray_balloonTextLinkColor"},
    {"grayRText", "gray_recipientTextColor"},    {"graySend", "gray_sendButtonColor"},
    {"grayBar", "gray_progressViewColor"},       {"appTint", "appTintColor"},
    {"entryField", "entryFieldCoverFillColor"},  {"entryFieldPost", "entryFieldBackgroundColor"},
    {"entryFieldText", "entryFieldTextColor"},
};

// The getter of a colour key; "" for a key no single getter answers (the
// gradient stops, the border, the details tint).
inline std::string getterOfColorKey(const std::string& key) {
    for (const auto& [k, getter] : kColorKeys)
        if (k == key) return getter;
    return "";
}

}  // namespace e2e
