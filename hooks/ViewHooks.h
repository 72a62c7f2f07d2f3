// Replacements that change the conversation views: contact photos, the
// details button's tint, transparent text balloons and balloon tails; and
// `getRandomColor`, added to CKGradientView.
#pragma once

#include <ObjCBridge/ObjCBridge.h>

namespace huebloom {

BOOL shouldShowContactPhotosInConversationList(id self, SEL cmd);
void transcriptLoadView(id self, SEL cmd);
void textBalloonLayoutSubviews(id self, SEL cmd);
BOOL balloonHasTail(id self, SEL cmd);

// The random colour choice; the receiver is not used.
id getRandomColor(id self, SEL cmd);

}  // namespace huebloom
