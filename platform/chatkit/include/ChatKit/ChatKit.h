// Everything of ChatKit in one include, and the registration of its classes.
//
// ChatKit's classes are the Messages app's own: the app host registers them at
// launch (not at load), after the hooking platform has loaded its libraries,
// and can leave any of them out to run as a system that lacks it.
#pragma once

#include <ChatKit/CKBalloonView.h>
#include <ChatKit/CKConversationListController.h>
#include <ChatKit/CKGradientView.h>
#include <ChatKit/CKTranscriptController.h>
#include <ChatKit/CKTranscriptView.h>
#include <ChatKit/CKUIBehavior.h>
#include <ChatKit/SampleConversation.h>

#include <set>
#include <string>

namespace chatkit {

// The public classes, in registration order (superclasses first):
// CKUIBehavior, CKGradientView, CKBalloonView, CKTextBalloonView,
// CKTranscriptController, CKConversationListController.
extern const char* const kClassNames[6];

// Registers every ChatKit class except those named in `without`. Leaving a
// class out leaves out the classes built on it (no CKBalloonView, no
// CKTextBalloonView). Classes registered by an earlier call are kept, so a
// later call only adds what is still missing. A name that is not a ChatKit
// class is a programmer mistake and aborts.
void registerClasses(const std::set<std::string>& without = {});

}  // namespace chatkit
