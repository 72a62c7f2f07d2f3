// CKUIBehavior's system values. The colour getters share one implementation
// that answers by the selector it was sent with, so each getter is still its
// own method of the class (a hook replaces one without touching the others).
#include "ChatKitInternals.h"
#include "ChatKitRegistration.h"

#include <ChatKit/CKUIBehavior.h>
#include <Foundation/NSArray.h>
#include <UIKit/UIScreen.h>

#include <cstdint>
#include <cstring>
#include <vector>

namespace chatkit {
namespace {

struct SystemColor {
    std::uint32_t rgb;
    CGFloat alpha;
};

struct ColorGetter {
    const char* selector;
    SystemColor color;
};

constexpr SystemColor kBlack10{0x000000, 0.1};
constexpr SystemColor kBlack05{0x000000, 0.05};

// The values the system answers with when nothing has changed them.
constexpr ColorGetter kColorGetters[] = {
    {"transcriptBackgroundColor", {0xFFFFFF, 1}},
    {"blue_balloonOverlayColor", kBlack10},
    {"blue_balloonTextColor", {0xFFFFFF, 1}},
    {"blue_balloonTextLinkColor", {0xFFFFFF, 1}},
    {"blue_recipientTextColor", {0x007AFF, 1}},
    {"blue_sendButtonColor", {0x007AFF, 1}},
    {"blue_progressViewColor", {0x007AFF, 1}},
    {"green_balloonOverlayColor", kBlack10},
    {"green_balloonTextColor", {0xFFFFFF, 1}},
    {"green_balloonTextLinkColor", {0xFFFFFF, 1}},
    {"green_recipientTextColor", {0x28B54B, 1}},
    {"green_sendButtonColor", {0x4CD964, 1}},
    {"green_progressViewColor", {0x4CD964, 1}},
    {"gray_balloonOverlayColor", kBlack05},
    {"gray_balloonTextColor", {0x000000, 1}},
    {"gray_balloonTextLinkColor", {0x0A7AFF, 1}},
    {"gray_recipientTextColor", {0x8E8E93, 1}},
    {"gray_sendButtonColor", {0x8E8E93, 1}},
    {"gray_progressViewColor", {0x8E8E93, 1}},
    {"appTintColor", {0x007AFF, 1}},
    {"entryFieldCoverFillColor", {0xFAFAFA, 1}},
    {"entryFieldBackgroundColor", {0xFFFFFF, 1}},
    {"entryFieldTextColor", {0x000000, 1}},
};

struct GradientGetter {
    const char* selector;
    std::uint32_t top;
    std::uint32_t bottom;
};

constexpr GradientGetter kGradientGetters[] = {
    {"blue_balloonColors", 0x34AAFC, 0x0A7AFF},
    {"green_balloonColors", 0x5FE07C, 0x27C24C},
    {"gray_balloonColors", 0xE9E9EE, 0xE1E1E6},
};

UI::Color* makeColor(std::uint32_t rgb, CGFloat alpha) {
    return UI::Color::colorWithRed(CGFloat((rgb >> 16) & 0xFF) / 255.0, CGFloat((rgb >> 8) & 0xFF) / 255.0,
                                   CGFloat(rgb & 0xFF) / 255.0, alpha);
}

UI::Color* colorGetter(id, SEL cmd) {
    const char* name = sel_getName(cmd);
    for (const ColorGetter& g : kColorGetters) {
        if (std::strcmp(g.selector, name) == 0) return makeColor(g.color.rgb, g.color.alpha);
    }
    objc::fatal("CKUIBehavior has no colour getter %s", name);
}

NS::Array* gradientGetter(id, SEL cmd) {
    const char* name = sel_getName(cmd);
    for (const GradientGetter& g : kGradientGetters) {
        if (std::strcmp(g.selector, name) == 0) {
            return NS::Array::arrayWithObjects({makeColor(g.top, 1), makeColor(g.bottom, 1)});
        }
    }
    objc::fatal("CKUIBehavior has no gradient getter %s", name);
}

BOOL shouldShowContactPhotosInConversationList(id, SEL) {
    return UI::screen::model() == UI::screen::Model::iPad ? YES : NO;
}

// One instance for the life of the process, as the system keeps it.
id sharedBehaviors(id cls, SEL) {
    static id shared = objc::send<id>(objc::send<id>(cls, "alloc"_sel), "init"_sel);
    return shared;
}

}  // namespace

UI::Color* behaviorColor(SEL getter) { return objc::send<UI::Color*>(CK::UIBehavior::sharedBehaviors(), getter); }
NS::Array* behaviorColors(SEL getter) { return objc::send<NS::Array*>(CK::UIBehavior::sharedBehaviors(), getter); }
bool behaviorShowsContactPhotos() {
    return objc::send<BOOL>(CK::UIBehavior::sharedBehaviors(), "shouldShowContactPhotosInConversationList"_sel);
}

void registerUIBehavior() {
    objc::ClassBuilder builder("CKUIBehavior", "NSObject"_cls);
    builder.classMethod("sharedBehaviors", &sharedBehaviors);
    for (const ColorGetter& g : kColorGetters) builder.method(g.selector, &colorGetter);
    for (const GradientGetter& g : kGradientGetters) builder.method(g.selector, &gradientGetter);
    builder.method("shouldShowContactPhotosInConversationList", &shouldShowContactPhotosInConversationList);
    builder.build();
}

}  // namespace chatkit
