// CKUIBehavior's system values: every getter answers the fixed colours the
// screenshots and the hook library's fallbacks rely on, as new objects.
#include "ChatKitTesting.h"

#include <Foundation/NSArray.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

using cktest::ChatKitTest;

struct Expected {
    const char* getter;
    std::uint32_t rgb;
    double alpha;
};

const Expected kColors[] = {
    {"transcriptBackgroundColor", 0xFFFFFF, 1},   {"blue_balloonOverlayColor", 0x000000, 0.1},
    {"green_balloonOverlayColor", 0x000000, 0.1}, {"gray_balloonOverlayColor", 0x000000, 0.05},
    {"blue_balloonTextColor", 0xFFFFFF, 1},       {"green_balloonTextColor", 0xFFFFFF, 1},
    {"gray_balloonTextColor", 0x000000, 1},       {"blue_balloonTextLinkColor", 0xFFFFFF, 1},
    {"green_balloonTextLinkColor", 0xFFFFFF, 1},  {"gray_balloonTextLinkColor", 0x0A7AFF, 1},
    {"blue_recipientTextColor", 0x007AFF, 1},     {"green_recipientTextColor", 0x28B54B, 1},
    {"gray_recipientTextColor", 0x8E8E93, 1},     {"blue_sendButtonColor", 0x007AFF, 1},
    {"green_sendButtonColor", 0x4CD964, 1},       {"gray_sendButtonColor", 0x8E8E93, 1},
    {"blue_progressViewColor", 0x007AFF, 1},      {"green_progressViewColor", 0x4CD964, 1},
    {"gray_progressViewColor", 0x8E8E93, 1},      {"appTintColor", 0x007AFF, 1},
    {"entryFieldCoverFillColor", 0xFAFAFA, 1},    {"entryFieldBackgroundColor", 0xFFFFFF, 1},
    {"entryFieldTextColor", 0x000000, 1},
};

void expectColor(UI::Color* color, std::uint32_t rgb, double alpha, const std::string& what) {
    ASSERT_NE(color, nullptr) << what;
    // Exact: each channel is the byte over 255, as the hook library's colours are.
    EXPECT_EQ(testcolors::componentsOf(color), testcolors::hex(rgb, alpha)) << what;
}

TEST_F(ChatKitTest, EveryColourGetterAnswersTheSystemColourAsANewObject) {
    CK::UIBehavior* behavior = CK::UIBehavior::sharedBehaviors();
    ASSERT_NE(behavior, nullptr);
    EXPECT_EQ(behavior, CK::UIBehavior::sharedBehaviors());
    for (const Expected& e : kColors) {
        SEL getter = objc::sel(e.getter);
        UI::Color* first = behavior->color(getter);
        expectColor(first, e.rgb, e.alpha, e.getter);
        EXPECT_NE(first, behavior->color(getter)) << e.getter << " gave the same object twice";
    }
}

// Each getter has its own implementation: the one of one getter, sent with the
// selector of another (what a hook falling back to the wrong saved
// implementation does), answers magenta, even between getters whose system
// colours agree (blue text and blue link text are both white).
TEST_F(ChatKitTest, AGetterImplementationSentAsAnotherGetterAnswersMagenta) {
    Class cls = objc_getClass("CKUIBehavior");
    id behavior = objc::asId(CK::UIBehavior::sharedBehaviors());
    const std::pair<const char*, const char*> mixUps[] = {
        {"blue_balloonTextColor", "blue_balloonTextLinkColor"}, {"blue_sendButtonColor", "blue_progressViewColor"},
        {"entryFieldTextColor", "gray_balloonTextColor"},       {"blue_balloonColors", "green_balloonColors"},
        {"gray_balloonColors", "blue_balloonColors"},
    };
    for (auto [implementationOf, sentAs] : mixUps) {
        IMP imp = class_getMethodImplementation(cls, objc::sel(implementationOf));
        EXPECT_NE(imp, class_getMethodImplementation(cls, objc::sel(sentAs))) << implementationOf;
        id answer = objc::callImp<id>(imp, behavior, objc::sel(sentAs));
        std::string what = std::string(implementationOf) + " sent as " + sentAs;
        if (std::string(sentAs).ends_with("Colors")) {
            auto* list = objc::cast<NS::Array>(answer);
            ASSERT_EQ(list->count(), 2u) << what;
            expectColor(objc::cast<UI::Color>(list->objectAtIndex(0)), 0xFF00FF, 1, what);
        } else {
            expectColor(objc::cast<UI::Color>(answer), 0xFF00FF, 1, what);
        }
    }
    // The other replaced methods stop the app, naming both selectors.
    IMP photos = class_getMethodImplementation(cls, "shouldShowContactPhotosInConversationList"_sel);
    EXPECT_DEATH(objc::callImp<BOOL>(photos, behavior, "hasTail"_sel),
                 "shouldShowContactPhotosInConversationList was sent as hasTail");
}

TEST_F(ChatKitTest, BalloonColourGettersListTopThenBottom) {
    struct Gradient {
        const char* getter;
        std::uint32_t top, bottom;
    };
    const Gradient gradients[] = {
        {"blue_balloonColors", 0x34AAFC, 0x0A7AFF},
        {"green_balloonColors", 0x5FE07C, 0x27C24C},
        {"gray_balloonColors", 0xE9E9EE, 0xE1E1E6},
    };
    CK::UIBehavior* behavior = CK::UIBehavior::sharedBehaviors();
    for (const Gradient& g : gradients) {
        auto* colors = objc::send<NS::Array*>(behavior, objc::sel(g.getter));
        ASSERT_NE(colors, nullptr) << g.getter;
        ASSERT_EQ(colors->count(), 2u) << g.getter;
        expectColor(objc::cast<UI::Color>(colors->objectAtIndex(0)), g.top, 1, std::string(g.getter) + " top");
        expectColor(objc::cast<UI::Color>(colors->objectAtIndex(1)), g.bottom, 1, std::string(g.getter) + " bottom");
        auto* again = objc::send<NS::Array*>(behavior, objc::sel(g.getter));
        EXPECT_NE(colors, again);
        EXPECT_NE(colors->objectAtIndex(0), again->objectAtIndex(0));
    }
}

TEST_F(ChatKitTest, ContactPhotosAreShownOnTheIPadOnly) {
    const std::pair<UI::screen::Model, BOOL> cases[] = {
        {UI::screen::Model::iPhone4, NO}, {UI::screen::Model::iPhone5, NO}, {UI::screen::Model::iPad, YES}};
    for (auto [model, expected] : cases) {
        UI::screen::setModel(model);
        EXPECT_EQ(CK::UIBehavior::sharedBehaviors()->shouldShowContactPhotosInConversationList(), expected)
            << UI::screen::modelName(model);
    }
}

}  // namespace
