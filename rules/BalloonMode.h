// The balloon mode of one balloon kind: which colours its gradient is made of.
#pragma once

#include "SettingsReader.h"

#include <Foundation/Foundation.h>

#include <cstdint>

namespace huebloom {

enum class BalloonMode {
    System,     // 0 or any value outside 1..5: the system's own colours
    ThreeStop,  // 1: top, middle and bottom stop from the settings
    Solid,      // 2: the bottom stop three times
    Stripes,    // 3: red, green, red, green, red, green
    Random,     // 4: six random named colours
    Clear,      // 5: two fully transparent colours
};

// The mode for a stored integer. The values are tested in the order 5, 3, 4,
// 1, 2, as they always have been; the order matters to nobody but is kept.
BalloonMode balloonModeFor(NSInteger value);

// One balloon kind's settings keys and built-in stop colours, and the two
// ends of the gradient the system paints the kind with when Huebloom leaves
// it alone (the product's copy of the system's colours, as 0xRRGGBB).
struct BalloonKind {
    const char* name;  // "blue" (iMessage), "green" (SMS) or "gray" (received)
    NS::String* modeKey;
    NS::String* topKey;
    NS::String* topDefault;
    NS::String* midKey;
    NS::String* midDefault;
    NS::String* botKey;
    NS::String* botDefault;
    std::uint32_t systemTop;
    std::uint32_t systemBottom;
};

const BalloonKind& blueBalloons();
const BalloonKind& greenBalloons();
const BalloonKind& grayBalloons();

// The three kinds, blue first.
const BalloonKind* const* balloonKinds();
inline constexpr std::size_t kBalloonKindCount = 3;

// The colours of a balloon kind under the settings, or null when the
// system's own colours apply (master switch off, mode 0 or out of range).
// Autoreleased; the Random mode draws anew on every call.
NS::Array* balloonColors(const SettingsReader& settings, const BalloonKind& kind);

}  // namespace huebloom
