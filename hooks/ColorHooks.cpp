// Replacements of the colour getters of CKUIBehavior: the 23 single colours
// and the three balloon gradients. Each looks its keys up anew on every call
// and falls back to the implementation it replaced.
#include "ColorHooks.h"

#include "BalloonMode.h"
#include "ColorString.h"
#include "Hooks.h"
#include "Settings.h"

#include <utility>

namespace huebloom {
namespace {

// The settings keys as strings, made once.
NS::String* keyString(std::size_t i) {
    static const auto keys = [] {
        std::array<NS::String*, kSingleColorHooks.size()> k{};
        for (std::size_t j = 0; j < k.size(); ++j) {
            k[j] = objc::cast<NS::String>(NS::String::alloc()->initWithUTF8String(kSingleColorHooks[j].key));
        }
        return k;
    }();
    return keys[i];
}

template <std::size_t I>
id singleColor(id self, SEL cmd) {
    const SingleColorHook& hook = kSingleColorHooks[I];
    NS::String* key = keyString(I);
    // The key is tested before the master switch, and looked up again to be
    // parsed: both lookups are cheap and the order is the one callers know.
    if (settingColorString(key) == nullptr) return objc::callImp<id>(savedImplementations[hook.index], self, cmd);
    if (!enabled()) return objc::callImp<id>(savedImplementations[hook.index], self, cmd);
    return objc::asId(colorFromString(settingColorString(key), hook.alpha));
}

template <std::size_t... I>
std::array<IMP, sizeof...(I)> makeSingleColorImps(std::index_sequence<I...>) {
    return {objc::detail::toImp(&singleColor<I>)...};
}

template <const BalloonKind& (*Kind)(), int Index>
id balloonColorsHook(id self, SEL cmd) {
    NS::Array* colors = balloonColors(Kind());
    if (colors == nullptr) return objc::callImp<id>(savedImplementations[Index], self, cmd);
    return objc::asId(colors);
}

}  // namespace

IMP singleColorReplacement(std::size_t i) {
    static const auto imps = makeSingleColorImps(std::make_index_sequence<kSingleColorHooks.size()>());
    return imps[i];
}

IMP blueBalloonColorsReplacement() { return objc::detail::toImp(&balloonColorsHook<&blueBalloons, kBlueBalloonColors>); }
IMP greenBalloonColorsReplacement() { return objc::detail::toImp(&balloonColorsHook<&greenBalloons, kGreenBalloonColors>); }
IMP grayBalloonColorsReplacement() { return objc::detail::toImp(&balloonColorsHook<&grayBalloons, kGrayBalloonColors>); }

}  // namespace huebloom
