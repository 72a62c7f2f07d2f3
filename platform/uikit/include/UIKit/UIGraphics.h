// The current drawing context and image contexts. One stack serves both:
// UIGraphicsPushContext and image contexts push onto it, and
// UIGraphicsGetCurrentContext answers its top (the context drawRect: runs
// in while a view paints its backing bitmap).
//
// Image contexts are bitmaps of size × scale pixels (scale 0: the main
// screen's scale) whose user space is in points with the origin at the top
// left; they start fully transparent (black when opaque).
#pragma once

#include <CoreGraphics/CoreGraphics.h>
#include <Foundation/NSObject.h>
#include <UIKit/UIKitEncodings.h>

namespace UI {
class Image;
}

extern "C" {

CGContextRef UIGraphicsGetCurrentContext(void);
// The context is retained while it is on the stack.
void UIGraphicsPushContext(CGContextRef context);
void UIGraphicsPopContext(void);

void UIGraphicsBeginImageContextWithOptions(CGSize size, BOOL opaque, CGFloat scale);
void UIGraphicsBeginImageContext(CGSize size);
// The current image context's picture so far, at its scale (autoreleased);
// nil when the current context is not an image context.
UI::Image* UIGraphicsGetImageFromCurrentImageContext(void);
// Ends the innermost image context (and any contexts pushed above it).
void UIGraphicsEndImageContext(void);

// Fills the rectangle with the current fill colour, replacing what was
// there (the fill colour's alpha is what the rectangle then holds).
void UIRectFill(CGRect rect);
// Fills a one-point frame just inside the rectangle.
void UIRectFrame(CGRect rect);

}  // extern "C"
