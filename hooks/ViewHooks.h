// Replacements that change the conversation views: contact photos, the
// details button's tint, transparent text balloons and balloon tails.
#pragma once

#include <ObjCBridge/ObjCBridge.h>

namespace huebloom {

BOOL shouldShowContactPhotosInConversationList(id self, SEL cmd);
void transcriptLoadView(id self, SEL cmd);
void textBalloonLayoutSubviews(id self, SEL cmd);
BOOL balloonHasTail(id self, SEL cmd);

}  // namespace huebloom
