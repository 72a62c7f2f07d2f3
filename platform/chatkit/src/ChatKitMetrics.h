// Every size, spacing and font of the Messages screens in one place, so the
// look can be tuned against real screenshots. Points unless stated.
#pragma once

#include <CoreGraphics/CGBase.h>

namespace chatkit::metrics {

// Bars above the content (drawn by the navigation controller).
inline constexpr CGFloat kTopBarsHeight = 64;

// Balloons.
inline constexpr CGFloat kBalloonCornerRadius = 17;
inline constexpr CGFloat kBalloonTextSize = 17;
inline constexpr CGFloat kBalloonInsetTop = 7;
inline constexpr CGFloat kBalloonInsetBottom = 8;
inline constexpr CGFloat kBalloonInsetSide = 14;
// The tail sticks out of the body on the sender's side, at the bottom.
inline constexpr CGFloat kTailWidth = 6;
inline constexpr CGFloat kTailHeight = 18;
inline constexpr CGFloat kBalloonMinWidth = 2 * kBalloonCornerRadius;
inline constexpr CGFloat kBalloonMinHeight = 2 * kBalloonCornerRadius + 1;
// The widest a balloon grows: two thirds of the screen, and never closer than
// the margin to the other side.
inline constexpr CGFloat kBalloonMaxWidthFraction = 2.0 / 3.0;
inline constexpr CGFloat kBalloonFarSideMargin = 50;

// The transcript.
inline constexpr CGFloat kTranscriptSideMargin = 4;  // screen edge to the tail's tip
inline constexpr CGFloat kBalloonSpacingInRun = 2;
inline constexpr CGFloat kBalloonSpacingBetweenRuns = 12;
inline constexpr CGFloat kTranscriptTopPadding = 4;  // above the first timestamp of a short conversation
inline constexpr CGFloat kRecipientFieldHeight = 44;
inline constexpr CGFloat kRecipientTextSize = 15;
inline constexpr CGFloat kTimestampHeight = 30;
inline constexpr CGFloat kTimestampTextSize = 11;
inline constexpr CGFloat kDeliveryLabelHeight = 16;
inline constexpr CGFloat kDeliveryTextSize = 11;
inline constexpr CGFloat kProgressBarHeight = 2.5;
inline constexpr CGFloat kSeparatorGray = 0xC8 / 255.0;
inline constexpr CGFloat kSecondaryTextGray = 0x8E / 255.0;

// The entry bar at the bottom.
inline constexpr CGFloat kEntryBarHeight = 44;
inline constexpr CGFloat kEntryFieldInsetX = 8;
inline constexpr CGFloat kEntryFieldInsetY = 7;
inline constexpr CGFloat kEntryFieldCornerRadius = 6;
inline constexpr CGFloat kEntryFieldTextSize = 16;
inline constexpr CGFloat kSendButtonWidth = 58;
inline constexpr CGFloat kSendButtonTextSize = 17;

// The conversation list.
inline constexpr CGFloat kListRowHeight = 76;
inline constexpr CGFloat kListNameSize = 17;
inline constexpr CGFloat kListPreviewSize = 15;
inline constexpr CGFloat kListDateSize = 15;
inline constexpr CGFloat kListTextInset = 15;  // left edge to the text without photos
inline constexpr CGFloat kListPhotoSize = 40;
inline constexpr CGFloat kListPhotoInset = 10;  // left edge to the photo
inline constexpr CGFloat kListPhotoGap = 10;    // photo to the text
inline constexpr CGFloat kListRightInset = 15;
inline constexpr CGFloat kListInitialsSize = 16;

}  // namespace chatkit::metrics
