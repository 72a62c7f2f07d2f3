// The compositor behind renderInContext:. Internal to UIKit.
#pragma once

#include <CoreGraphics/CoreGraphics.h>
#include <ObjCBridge/Runtime.h>

namespace CA::detail {

// Composites the layer tree into the context, the layer's bounds origin at
// the context's user-space origin, showing each layer as it is on the run
// loop's clock now.
void renderLayer(id layer, CGContextRef context);

}  // namespace CA::detail
