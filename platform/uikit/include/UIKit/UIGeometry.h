// UIKit's geometry values beyond Core Graphics': edge insets.
#pragma once

#include <CoreGraphics/CoreGraphics.h>
#include <ObjCBridge/Encoding.h>

struct UIEdgeInsets {
    CGFloat top, left, bottom, right;
    constexpr bool operator==(const UIEdgeInsets&) const = default;
};

constexpr UIEdgeInsets UIEdgeInsetsMake(CGFloat top, CGFloat left, CGFloat bottom, CGFloat right) {
    return UIEdgeInsets{top, left, bottom, right};
}
inline constexpr UIEdgeInsets UIEdgeInsetsZero{0, 0, 0, 0};

template <>
struct objc::Encoding<UIEdgeInsets> {
    static constexpr const char* value = "{UIEdgeInsets=dddd}";
};
