#include <Foundation/NSString.h>
#include <UIKit/UIColor.h>
#include <UIKit/UIView.h>

#include "ControlDrawing.h"

#include <cmath>

namespace UI::detail {

id color(metrics::RGB rgb, CGFloat alpha) { return objc::asId(Color::colorWithRed(rgb.r, rgb.g, rgb.b, alpha)); }

std::string utf8(id string) {
    const char* text = string != nil ? objc::cast<NS::String>(string)->UTF8String() : nullptr;
    return text ? text : "";
}

void componentsOf(id c, CGFloat out[4]) {
    out[0] = out[1] = out[2] = 0;
    out[3] = 1;
    if (c != nil) objc::cast<Color>(c)->getRed(&out[0], &out[1], &out[2], &out[3]);
}

void fillRect(CGContextRef c, CGRect rect, id fill) {
    CGFloat rgba[4];
    componentsOf(fill, rgba);
    CGContextSetRGBFillColor(c, rgba[0], rgba[1], rgba[2], rgba[3]);
    CGContextFillRect(c, rect);
}

void addRoundedRect(CGContextRef c, CGRect r, CGFloat radius) {
    radius = std::fmin(radius, std::fmin(r.size.width, r.size.height) / 2);
    const CGFloat x0 = r.origin.x, y0 = r.origin.y, x1 = x0 + r.size.width, y1 = y0 + r.size.height;
    CGContextMoveToPoint(c, x0 + radius, y0);
    CGContextAddArcToPoint(c, x1, y0, x1, y1, radius);
    CGContextAddArcToPoint(c, x1, y1, x0, y1, radius);
    CGContextAddArcToPoint(c, x0, y1, x0, y0, radius);
    CGContextAddArcToPoint(c, x0, y0, x1, y0, radius);
    CGContextClosePath(c);
}

void fillRoundedRect(CGContextRef c, CGRect rect, CGFloat radius, id fill) {
    CGFloat rgba[4];
    componentsOf(fill, rgba);
    CGContextSetRGBFillColor(c, rgba[0], rgba[1], rgba[2], rgba[3]);
    CGContextBeginPath(c);
    addRoundedRect(c, rect, radius);
    CGContextFillPath(c);
}

void strokeChevron(CGContextRef c, CGRect r, bool pointsLeft, CGFloat lineWidth, id stroke) {
    CGFloat rgba[4];
    componentsOf(stroke, rgba);
    CGContextSaveGState(c);
    CGContextSetRGBStrokeColor(c, rgba[0], rgba[1], rgba[2], rgba[3]);
    CGContextSetLineWidth(c, lineWidth);
    CGContextSetLineCap(c, kCGLineCapRound);
    CGContextSetLineJoin(c, kCGLineJoinRound);
    const CGFloat inset = lineWidth / 2;
    const CGFloat left = r.origin.x + inset, right = r.origin.x + r.size.width - inset;
    const CGFloat top = r.origin.y + inset, bottom = r.origin.y + r.size.height - inset;
    const CGFloat middle = r.origin.y + r.size.height / 2;
    CGContextBeginPath(c);
    if (pointsLeft) {
        CGContextMoveToPoint(c, right, top);
        CGContextAddLineToPoint(c, left, middle);
        CGContextAddLineToPoint(c, right, bottom);
    } else {
        CGContextMoveToPoint(c, left, top);
        CGContextAddLineToPoint(c, right, middle);
        CGContextAddLineToPoint(c, left, bottom);
    }
    CGContextStrokePath(c);
    CGContextRestoreGState(c);
}

id solidView(CGRect frame, id fill) {
    View* v = View::alloc()->initWithFrame(frame);
    v->setBackgroundColor(objc::cast<Color>(fill));
    v->setUserInteractionEnabled(NO);
    return objc::autorelease(v);
}

}  // namespace UI::detail
