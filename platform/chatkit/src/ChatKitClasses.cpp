#include "ChatKitInternals.h"
#include "ChatKitRegistration.h"

#include <ChatKit/ChatKit.h>

#include <algorithm>
#include <cstring>
#include <iterator>

namespace chatkit {

const char* const kClassNames[6] = {"CKUIBehavior",      "CKGradientView",         "CKBalloonView",
                                    "CKTextBalloonView", "CKTranscriptController", "CKConversationListController"};

namespace {

struct Registration {
    const char* name;
    const char* requires_;  // a class this one is built on, or nullptr
    void (*registerClass)();
};

constexpr Registration kRegistrations[] = {
    {"CKUIBehavior", nullptr, &registerUIBehavior},
    {"CKGradientView", nullptr, &registerGradientView},
    {"CKBalloonView", nullptr, &registerBalloonView},
    {"CKTextBalloonView", "CKBalloonView", &registerTextBalloonView},
    {"CKTranscriptController", nullptr, &registerTranscriptController},
    {"CKConversationListController", nullptr, &registerConversationListController},
};

// The views the public classes are drawn with. They are no part of what a
// system may lack, so they are always there: the app can still show and
// measure a transcript when its controller class is left out.
constexpr Registration kPrivateRegistrations[] = {
    {"CKBalloonTextView", nullptr, &registerBalloonTextView},
    {"CKTranscriptView", nullptr, &registerTranscriptView},
    {"CKConversationListCell", nullptr, &registerConversationListCell},
};

}  // namespace

void checkSentAs(SEL cmd, const char* selector) {
    if (std::strcmp(sel_getName(cmd), selector) != 0) {
        objc::fatal("ChatKit: the implementation of %s was sent as %s (a hook called the wrong saved implementation)",
                    selector, sel_getName(cmd));
    }
}

void registerClasses(const std::set<std::string>& without) {
    for (const std::string& name : without) {
        if (std::find_if(std::begin(kClassNames), std::end(kClassNames), [&](const char* n) { return name == n; }) ==
            std::end(kClassNames)) {
            objc::fatal("chatkit::registerClasses: %s is not a ChatKit class", name.c_str());
        }
    }
    for (const Registration& r : kPrivateRegistrations) {
        if (objc_getClass(r.name) == Nil) r.registerClass();
    }
    for (const Registration& r : kRegistrations) {
        if (without.count(r.name) || objc_getClass(r.name) != Nil) continue;
        if (r.requires_ && objc_getClass(r.requires_) == Nil) continue;
        r.registerClass();
    }
}

}  // namespace chatkit
