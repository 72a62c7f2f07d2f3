// The short conversation the settings panes' preview shows, and how Messages
// draws each of its balloons under the settings as they are saved: by the
// hook library's own rules (the shared rules library) where Huebloom changes
// a colour, and by the product's copy of the system's colours where it does
// not. The Settings app loads nothing of ChatKit, so this is the only way it
// can know what Messages will show.
#pragma once

#include <BalloonMode.h>
#include <SettingsReader.h>

#include <Foundation/Foundation.h>
#include <UIKit/UIColor.h>

#include <string>
#include <vector>

namespace huebloom {

// One message of the conversation.
struct PreviewMessage {
    const BalloonKind* kind;
    bool fromMe;
    std::string text;
    std::string link;  // the part of the text that is a link, or empty
};

// The conversation, oldest first: a received balloon, a sent iMessage
// balloon, a second received one and a sent SMS balloon, one after the
// other so that each ends its run and shows its tail. A link ends the last
// balloon of `linkKind`, the kind whose pane shows the preview, so that the
// link colour being edited is in sight beside the text colour.
std::vector<PreviewMessage> previewConversation(const BalloonKind& linkKind);

// What Messages paints for a balloon of one kind.
struct BalloonLook {
    // The body's gradient, top colour first (the system's two stops, or the
    // balloon mode's colours). Empty for a transparent text balloon, whose
    // body is not painted.
    Ref<NS::Array> fill;
    // The Random mode made the fill: Messages draws anew for every balloon,
    // this is one draw.
    bool random = false;
    Ref<UI::Color> text;
    Ref<UI::Color> link;
    // Laid over the body while a finger is on the balloon.
    Ref<UI::Color> overlay;
    // The transparent style's border; no border colour: none.
    Ref<UI::Color> border;
    CGFloat borderWidth = 0;
    CGFloat cornerRadius = 0;
    // Whether the last balloon of a run shows its tail.
    bool tails = true;
};

// The look of a kind's balloons under the settings.
BalloonLook balloonLook(const SettingsReader& settings, const BalloonKind& kind);

// The kind named "blue", "green" or "gray"; anything else is the gray kind,
// whose links are the most common.
const BalloonKind& balloonKindNamed(NS::String* name);

}  // namespace huebloom
