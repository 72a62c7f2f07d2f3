// The register functions of ChatKit's runtime classes, called by
// chatkit::registerClasses in superclass order.
#pragma once

namespace chatkit {

void registerUIBehavior();
void registerGradientView();
void registerBalloonView();
void registerTextBalloonView();
void registerBalloonTextView();
void registerTranscriptView();
void registerTranscriptController();
void registerConversationListCell();
void registerConversationListController();

}  // namespace chatkit
