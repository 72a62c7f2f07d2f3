// The balloon mode of one balloon kind: which colours its gradient is made of.
#pragma once

#include <Foundation/Foundation.h>

namespace huebloom {

enum class BalloonMode {
    System,         // 0 or any value outside 1..5: the system's own colours
    ThreeStop,      // 1: top, middle and bottom stop from the settings
    Solid,          // 2: the bottom stop three times
    Stripes,        // 3: red, green, red, green, red, green
    Random,         // 4: six random named colours
    Clear,          // 5: two fully transparent colours
};

// The mode for a stored integer. The values are tested in the order 5, 3, 4,
// 1, 2, as they always have been; the order matters to nobody but is kept.
BalloonMode balloonModeFor(NSInteger value);

// One balloon kind's settings keys and built-in stop colours.
struct BalloonKind {
    NS::String* modeKey;
    NS::String* topKey;
    NS::String* topDefault;
    NS::String* midKey;
    NS::String* midDefault;
    NS::String* botKey;
    NS::String* botDefault;
};

const BalloonKind& blueBalloons();
const BalloonKind& greenBalloons();
const BalloonKind& grayBalloons();

// The colours of a balloon kind under the current settings, or null when the
// system's own colours apply (master switch off, mode 0 or out of range).
NS::Array* balloonColors(const BalloonKind& kind);

}  // namespace huebloom
