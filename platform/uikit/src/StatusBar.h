// The 20-point status bar a navigation controller shows at the top of the
// screen: the time in the middle, the carrier at the left and the battery at
// the right, in black over whatever lies below. Internal to UIKit.
#pragma once

#include <ObjCBridge/Runtime.h>

namespace UI::detail {

// A new status bar view (+0) of the width.
id makeStatusBar(CGFloat width);

void registerStatusBar();

}  // namespace UI::detail
