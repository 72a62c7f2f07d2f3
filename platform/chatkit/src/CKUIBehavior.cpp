// CKUIBehavior's system values. Every getter has an implementation of its own
// that knows which getter it is, as on the phone, so a hook that falls back to
// another getter's saved implementation gets a visibly wrong answer (the
// mismatch colour below), even between two getters whose system values agree.
#include "ChatKitInternals.h"
#include "ChatKitRegistration.h"

#include <ChatKit/CKUIBehavior.h>
#include <Foundation/NSArray.h>
#include <UIKit/UIScreen.h>

#include <cstdint>
#include <cstring>
#include <iterator>
#include <utility>
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
    {"transcriptBackgroundColor", {0xFFFFFF, 1}}, {"blue_balloonOverlayColor", kBlack10},
    {"blue_balloonTextColor", {0xFFFFFF, 1}},     {"blue_balloonTextLinkColor", {0xFFFFFF, 1}},
    {"blue_recipientTextColor", {0x007AFF, 1}},   {"blue_sendButtonColor", {0x007AFF, 1}},
    {"blue_progressViewColor", {0x007AFF, 1}},    {"green_balloonOverlayColor", kBlack10},
    {"green_balloonTextColor", {0xFFFFFF, 1}},    {"green_balloonTextLinkColor", {0xFFFFFF, 1}},
    {"green_recipientTextColor", {0x28B54B, 1}},  {"green_sendButtonColor", {0x4CD964, 1}},
    {"green_progressViewColor", {0x4CD964, 1}},   {"gray_balloonOverlayColor", kBlack05},
    {"gray_balloonTextColor", {0x000000, 1}},     {"gray_balloonTextLinkColor", {0x0A7AFF, 1}},
    {"gray_recipientTextColor", {0x8E8E93, 1}},   {"gray_sendButtonColor", {0x8E8E93, 1}},
    {"gray_progressViewColor", {0x8E8E93, 1}},    {"appTintColor", {0x007AFF, 1}},
    {"entryFieldCoverFillColor", {0xFAFAFA, 1}},  {"entryFieldBackgroundColor", {0xFFFFFF, 1}},
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

// What an implementation answers when it is sent with another getter's
// selector: what a saved implementation gives when a hook calls the wrong one.
// Opaque magenta, a colour no getter of the system answers.
constexpr std::uint32_t kMismatch = 0xFF00FF;

bool sentAs(SEL cmd, const char* selector) { return std::strcmp(sel_getName(cmd), selector) == 0; }

template <std::size_t I>
UI::Color* colorGetter(id, SEL cmd) {
    const ColorGetter& g = kColorGetters[I];
    if (!sentAs(cmd, g.selector)) return makeColor(kMismatch, 1);
    return makeColor(g.color.rgb, g.color.alpha);
}

template <std::size_t I>
NS::Array* gradientGetter(id, SEL cmd) {
    const GradientGetter& g = kGradientGetters[I];
    if (!sentAs(cmd, g.selector))
        return NS::Array::arrayWithObjects({makeColor(kMismatch, 1), makeColor(kMismatch, 1)});
    return NS::Array::arrayWithObjects({makeColor(g.top, 1), makeColor(g.bottom, 1)});
}

template <std::size_t... I>
void addColorGetters(objc::ClassBuilder& builder, std::index_sequence<I...>) {
    (builder.method(kColorGetters[I].selector, &colorGetter<I>), ...);
}

template <std::size_t... I>
void addGradientGetters(objc::ClassBuilder& builder, std::index_sequence<I...>) {
    (builder.method(kGradientGetters[I].selector, &gradientGetter<I>), ...);
}

BOOL shouldShowContactPhotosInConversationList(id, SEL cmd) {
    checkSentAs(cmd, "shouldShowContactPhotosInConversationList");
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
    addColorGetters(builder, std::make_index_sequence<std::size(kColorGetters)>());
    addGradientGetters(builder, std::make_index_sequence<std::size(kGradientGetters)>());
    builder.method("shouldShowContactPhotosInConversationList", &shouldShowContactPhotosInConversationList);
    builder.build();
}

}  // namespace chatkit
