// HBPreviewCell: the preview row at the top of the Huebloom, iMessage, SMS
// and Received balloon panes. It draws a short conversation the way Messages
// will draw it with the settings as they are saved now: the balloon colours
// or gradients, text and link colours, the transparent style with its
// border, and the tails. The colours come from the settings file by the hook
// library's own rules (the shared rules library), not by the settings
// panes' lookups, so the preview never shows what Messages would not.
//
// It reads the settings file each time it is placed in a table, when it is
// told `redrawPreview` (the root pane does so before it appears), and when
// the row's "redrawNotification" is posted (the master switch and the
// balloon mode rows post it as they write, so the preview follows at once).
// A finger on a balloon lays the kind's overlay colour over it, as in
// Messages.
//
// The row's properties: "previewLink" names the kind whose balloon carries
// the link ("blue", "green" or "gray"; the pane's own kind, so the link
// colour being edited is in sight), "redrawNotification" the Darwin
// notification to follow, "height" the row's height.
#pragma once

#include "PreviewConversation.h"

#include <Preferences/PSTableCell.h>

#include <vector>

// What the cell shows, for the Settings app's dumps and the tests; the
// class keeps it as its C++ state.
struct HBPreviewCellFields {
    struct Balloon {
        huebloom::PreviewMessage message;
        huebloom::BalloonLook look;
        bool tail = false;
        CGRect body = CGRectZero;  // in the cell's coordinates, without the tail
    };
    std::vector<Balloon> balloons;
    // The caption above the balloons; it says when the colours are one draw
    // of the Random mode.
    std::string caption;
    // The balloon a finger is on, or -1.
    int pressed = -1;
    CGFloat laidOutWidth = -1;
    Ref<NS::String> observedNotification;
};

// The typed view of the class, for the panes that tell it to read the
// settings again.
class HBPreviewCell : public PS::TableCell {
public:
    void redrawPreview() { objc::send<void>(this, "redrawPreview"_sel); }
};

namespace huebloom {

// The fields of a cell of the class, or nullptr for any other object.
HBPreviewCellFields* previewFieldsOf(id cell);

void registerPreviewCell();

}  // namespace huebloom
