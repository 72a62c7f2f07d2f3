// The look of the controls, bars and tables in one place, so that it can be
// tuned against real screenshots. Values marked as estimates had no primary
// source; the others are the system's own. Internal to UIKit.
#pragma once

#include <CoreGraphics/CoreGraphics.h>

namespace UI::metrics {

struct RGB {
    CGFloat r, g, b;
};
constexpr RGB hex(unsigned v) { return RGB{((v >> 16) & 0xFF) / 255.0, ((v >> 8) & 0xFF) / 255.0, (v & 0xFF) / 255.0}; }

// Bars.
inline constexpr CGFloat kStatusBarHeight = 20;
inline constexpr CGFloat kNavigationBarHeight = 44;
inline constexpr RGB kBarBackground = hex(0xF7F7F7);
inline constexpr RGB kBarHairline = hex(0xB2B2B2);  // estimate: black at 0.3 over the bar
inline constexpr CGFloat kBarTitleSize = 17;        // Helvetica Neue Medium, estimate
inline constexpr CGFloat kBarButtonTextSize = 17;
inline constexpr CGFloat kBarButtonMargin = 8;
inline constexpr CGFloat kBackChevronWidth = 12.5;
inline constexpr CGFloat kBackChevronHeight = 21;
inline constexpr CGFloat kBackChevronGap = 6;
inline constexpr CGFloat kStatusBarTextSize = 12;

// Navigation transitions and rotation.
inline constexpr double kPushDuration = 0.35;
inline constexpr double kRotationDuration = 0.3;

// Controls.
inline constexpr RGB kSystemBlue = hex(0x007AFF);
inline constexpr RGB kSystemGreen = hex(0x4CD964);
inline constexpr RGB kSystemGray = hex(0x8E8E93);
inline constexpr CGFloat kButtonTextSize = 15;
inline constexpr CGFloat kHighlightedAlpha = 0.2;  // a system button's title while pressed

inline constexpr CGFloat kSliderTrackHeight = 2;
inline constexpr RGB kSliderMaximumTrack = hex(0xB7B7B7);
inline constexpr CGFloat kSliderThumbDiameter = 28;   // estimate
inline constexpr CGFloat kSliderThumbImageSize = 40;  // the default thumb with room for its shadow

inline constexpr CGFloat kSwitchWidth = 51;
inline constexpr CGFloat kSwitchHeight = 31;
inline constexpr RGB kSwitchOffBorder = hex(0xE3E3E8);
inline constexpr CGFloat kSwitchBorderWidth = 1.5;
inline constexpr CGFloat kSwitchKnobInset = 2;

inline constexpr RGB kTextFieldBorder = hex(0xCCCCCC);  // estimate
inline constexpr RGB kPlaceholder = hex(0xC7C7CD);
inline constexpr CGFloat kTextFieldCornerRadius = 5;
inline constexpr CGFloat kTextFieldInset = 7;

// Alerts.
inline constexpr CGFloat kAlertWidth = 270;
inline constexpr CGFloat kAlertCornerRadius = 7;
inline constexpr CGFloat kAlertDimAlpha = 0.4;
inline constexpr CGFloat kAlertButtonHeight = 44;
inline constexpr RGB kAlertSeparator = hex(0xDBDBDF);  // estimate
inline constexpr CGFloat kAlertTitleSize = 17;
inline constexpr CGFloat kAlertMessageSize = 13;
inline constexpr CGFloat kAlertFieldHeight = 29;

// Grouped tables.
inline constexpr RGB kGroupedBackground = hex(0xEFEFF4);
inline constexpr RGB kSeparator = hex(0xC8C7CC);
inline constexpr RGB kSectionText = hex(0x6D6D72);
inline constexpr RGB kCellHighlight = hex(0xD9D9D9);
inline constexpr RGB kDisclosure = hex(0xC7C7CC);
inline constexpr CGFloat kRowHeight = 44;
inline constexpr CGFloat kSeparatorInset = 15;
inline constexpr CGFloat kSectionGap = 35;          // estimate
inline constexpr CGFloat kTitledHeaderHeight = 55;  // estimate
inline constexpr CGFloat kHeaderTextSize = 14;
inline constexpr CGFloat kFooterTextSize = 13;
inline constexpr CGFloat kSectionTextPadding = 7;  // estimate
inline constexpr CGFloat kCellTextSize = 17;
inline constexpr CGFloat kSubtitleTextSize = 12;
inline constexpr CGFloat kCellMargin = 15;
inline constexpr CGFloat kAccessoryMargin = 15;
inline constexpr CGFloat kDisclosureWidth = 8;
inline constexpr CGFloat kDisclosureHeight = 13;

// Backdrops: white over what lies behind.
inline constexpr CGFloat kBackdropWhiteAlpha = 0.7;

}  // namespace UI::metrics
