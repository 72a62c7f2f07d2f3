#include "BalloonMode.h"

#include "ColorString.h"
#include "RandomColor.h"

#include <vector>

namespace huebloom {

const BalloonKind& blueBalloons() {
    static const BalloonKind kind{"blue",       "imessage"_ns, "top"_ns,     "#5FC6F4"_ns, "mid"_ns,
                                  "#3AA8F9"_ns, "bot"_ns,      "#157EFB"_ns, 0x34AAFC,     0x0A7AFF};
    return kind;
}

const BalloonKind& greenBalloons() {
    static const BalloonKind kind{"green",      "sms"_ns,    "topSMS"_ns,  "#27EC59"_ns, "midSMS"_ns,
                                  "#24DB54"_ns, "botSMS"_ns, "#20CA4F"_ns, 0x5FE07C,     0x27C24C};
    return kind;
}

const BalloonKind& grayBalloons() {
    static const BalloonKind kind{"gray",       "gray"_ns,    "topGray"_ns, "#E5E5EA"_ns, "midGray"_ns,
                                  "#E5E5EA"_ns, "botGray"_ns, "#E5E5EA"_ns, 0xE9E9EE,     0xE1E1E6};
    return kind;
}

const BalloonKind* const* balloonKinds() {
    static const BalloonKind* const kinds[kBalloonKindCount] = {&blueBalloons(), &greenBalloons(), &grayBalloons()};
    return kinds;
}

BalloonMode balloonModeFor(NSInteger value) {
    if (value == 5) return BalloonMode::Clear;
    if (value == 3) return BalloonMode::Stripes;
    if (value == 4) return BalloonMode::Random;
    if (value == 1) return BalloonMode::ThreeStop;
    if (value == 2) return BalloonMode::Solid;
    return BalloonMode::System;
}

namespace {

UI::Color* rgba(CGFloat r, CGFloat g, CGFloat b, CGFloat a) { return UI::Color::colorWithRed(r, g, b, a); }

NS::Array* arrayOf(const std::vector<UI::Color*>& colors) {
    NS::MutableArray* array = NS::MutableArray::array();
    for (UI::Color* c : colors) array->addObject(c);
    return array;
}

}  // namespace

NS::Array* balloonColors(const SettingsReader& settings, const BalloonKind& kind) {
    if (!settings.enabled()) return nullptr;
    NSInteger value = settings.integer(kind.modeKey);
    if (value == 0) return nullptr;

    switch (balloonModeFor(value)) {
    case BalloonMode::Clear: return arrayOf({rgba(0, 0, 0, 0), rgba(0, 0, 0, 0)});
    case BalloonMode::Stripes: {
        std::vector<UI::Color*> colors;
        for (int i = 0; i < 6; ++i) colors.push_back(i % 2 == 0 ? rgba(1, 0, 0, 1) : rgba(0, 1, 0, 1));
        return arrayOf(colors);
    }
    case BalloonMode::Random: {
        std::vector<UI::Color*> colors;
        for (int i = 0; i < 6; ++i) colors.push_back(randomNamedColor());
        return arrayOf(colors);
    }
    case BalloonMode::ThreeStop: {
        UI::Color* top = settings.colorForKey(kind.topKey, kind.topDefault, AlphaRule::Opaque);
        UI::Color* mid = settings.colorForKey(kind.midKey, kind.midDefault, AlphaRule::Opaque);
        UI::Color* bot = settings.colorForKey(kind.botKey, kind.botDefault, AlphaRule::Opaque);
        return arrayOf({top, mid, bot});
    }
    case BalloonMode::Solid: {
        UI::Color* a = settings.colorForKey(kind.botKey, kind.botDefault, AlphaRule::Opaque);
        UI::Color* b = settings.colorForKey(kind.botKey, kind.botDefault, AlphaRule::Opaque);
        UI::Color* c = settings.colorForKey(kind.botKey, kind.botDefault, AlphaRule::Opaque);
        return arrayOf({a, b, c});
    }
    case BalloonMode::System: break;
    }
    return nullptr;
}

}  // namespace huebloom
