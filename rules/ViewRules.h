// What the hook library changes in the conversation's balloon views: the
// transparent style of text balloons (clear fill, a coloured border, rounded
// corners) and the tails.
#pragma once

#include "SettingsReader.h"

#include <optional>

namespace huebloom {

struct TransparentStyle {
    UI::Color* border;  // autoreleased
    CGFloat borderWidth;
    CGFloat cornerRadius;
};

// The transparent style when the master switch and "transparent" are on:
// the border colour from "border" (or the built-in #5FC6F4), its width from
// "tb_size" and the corner radius from "tb_radius", both whole points.
// Nothing when text balloons keep the fill and corners the system gives them.
std::optional<TransparentStyle> transparentStyle(const SettingsReader& settings);

// Whether balloons lose their tails: with the master switch on, the
// transparent style and the "tail" switch each take them away. Otherwise the
// system decides (a tail on the last balloon of a run of one sender).
bool hidesTails(const SettingsReader& settings);

}  // namespace huebloom
