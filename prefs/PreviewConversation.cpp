#include "PreviewConversation.h"

#include <SingleColors.h>
#include <ViewRules.h>

#include <string>

namespace huebloom {
namespace {

// The system's gradient of a kind: its two stops, top first.
NS::Array* systemFill(const BalloonKind& kind) {
    return NS::Array::arrayWithObjects(
        {colorFromSystemColor({kind.systemTop, 1}), colorFromSystemColor({kind.systemBottom, 1})});
}

// The single colour of the kind's getter ("blue_" + getter), as Messages
// answers it.
UI::Color* kindColor(const SettingsReader& settings, const BalloonKind& kind, const char* getter) {
    const std::size_t i = singleColorIndex((std::string(kind.name) + "_" + getter).c_str());
    UI::Color* color = singleColor(settings, i);
    return color != nullptr ? color : colorFromSystemColor(kSingleColors[i].system);
}

}  // namespace

std::vector<PreviewMessage> previewConversation(const BalloonKind& linkKind) {
    std::vector<PreviewMessage> messages{
        {&grayBalloons(), false, "Beach at ten?", ""},
        {&blueBalloons(), true, "Count me in!", ""},
        {&grayBalloons(), false, "Forecast: sun", ""},
        {&greenBalloons(), true, "Sent as SMS", ""},
    };
    // The link is the last word of its balloon, as a pasted address is,
    // after a word in the text colour, so that both colours show.
    for (auto it = messages.rbegin(); it != messages.rend(); ++it) {
        if (it->kind != &linkKind) continue;
        it->link = &linkKind == &blueBalloons()    ? "sea.test"
                   : &linkKind == &greenBalloons() ? "dunes.test"
                                                   : "sun.test";
        it->text = (&linkKind == &greenBalloons() ? "At " : &linkKind == &blueBalloons() ? "See " : "Try ") + it->link;
        break;
    }
    return messages;
}

BalloonLook balloonLook(const SettingsReader& settings, const BalloonKind& kind) {
    BalloonLook look;
    const std::optional<TransparentStyle> transparent = transparentStyle(settings);
    if (transparent) {
        look.border = transparent->border;
        look.borderWidth = transparent->borderWidth;
        look.cornerRadius = transparent->cornerRadius;
    } else {
        NS::Array* colors = balloonColors(settings, kind);
        look.fill = colors != nullptr ? colors : systemFill(kind);
        look.random = colors != nullptr && balloonModeFor(settings.integer(kind.modeKey)) == BalloonMode::Random;
    }
    look.text = kindColor(settings, kind, "balloonTextColor");
    look.link = kindColor(settings, kind, "balloonTextLinkColor");
    look.overlay = kindColor(settings, kind, "balloonOverlayColor");
    look.tails = !hidesTails(settings);
    return look;
}

const BalloonKind& balloonKindNamed(NS::String* name) {
    const char* text = name != nullptr ? name->UTF8String() : nullptr;
    for (std::size_t i = 0; i < kBalloonKindCount && text != nullptr; ++i) {
        if (std::string(text) == balloonKinds()[i]->name) return *balloonKinds()[i];
    }
    return grayBalloons();
}

}  // namespace huebloom
