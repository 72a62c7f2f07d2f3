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

#include <Foundation/Foundation.h>
#include <Preferences/PSTableCell.h>

// The typed view of the class: the panes tell it to read the settings again;
// the Settings app's script driver asks it what it draws.
class HBPreviewCell : public PS::TableCell {
public:
    void redrawPreview() { objc::send<void>(this, "redrawPreview"_sel); }

    // What the cell draws, laid out at its present width, in plain objects
    // (the balloons are drawn, not views, so nothing else shows them):
    //
    //     "caption"   NSString   the caption above the balloons
    //     "balloons"  NSArray    one NSDictionary per balloon, oldest first:
    //         "kind"       NSString   "blue", "green" or "gray"
    //         "fromMe"     NSNumber   Boolean: sent, on the right
    //         "text"       NSString   the message
    //         "link"       NSString   the part of the text drawn as a link; absent when none
    //         "frame"      NSDictionary of NSNumber "x", "y", "width", "height": the body
    //                                 without the tail, in points of the cell
    //         "fill"       NSArray    the body's gradient, UIColor, top first; empty when
    //                                 the body is not painted (the transparent style)
    //         "random"     NSNumber   Boolean: the fill is one draw of the Random mode
    //         "textColor", "linkColor", "overlay"   UIColor (the overlay is laid over the
    //                                 balloon while a finger is on it); absent when none
    //         "border"     NSDictionary "color" (UIColor), "width", "cornerRadius"
    //                                 (NSNumber) of the transparent style; absent when none
    //         "tail"       NSNumber   Boolean: the tail is drawn
    //
    // The keys are kept as they are: the Settings app's dumps are read from
    // them.
    NS::Dictionary* previewContents() const { return objc::send<NS::Dictionary*>(this, "previewContents"_sel); }
};

namespace huebloom {

void registerPreviewCell();

}  // namespace huebloom
