// Drawing helpers shared by the controls, bars and tables. Internal to UIKit.
#pragma once

#include <CoreGraphics/CGCairo.h>
#include <ObjCBridge/Runtime.h>

#include "ControlMetrics.h"

#include <string>

namespace UI::detail {

// A +0 UIColor of the metric colour.
id color(metrics::RGB rgb, CGFloat alpha = 1);

// The UTF-8 text of an NSString; empty for nil.
std::string utf8(id string);

// The colour's components; black for nil.
void componentsOf(id color, CGFloat out[4]);

void fillRect(CGContextRef c, CGRect rect, id color);
void fillRoundedRect(CGContextRef c, CGRect rect, CGFloat radius, id color);
void addRoundedRect(CGContextRef c, CGRect rect, CGFloat radius);

// A chevron pointing right (a table cell's disclosure) or left (a back
// button), stroked within rect.
void strokeChevron(CGContextRef c, CGRect rect, bool pointsLeft, CGFloat lineWidth, id color);

// A plain view with a solid background colour (+0), for hairlines and bar
// backgrounds.
id solidView(CGRect frame, id color);

}  // namespace UI::detail
