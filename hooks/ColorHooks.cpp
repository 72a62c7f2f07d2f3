// Replacements of the colour getters of CKUIBehavior: the 23 single colours
// and the three balloon gradients. Each looks its keys up anew on every call
// and falls back to the implementation it replaced.
#include "ColorHooks.h"

#include "Hooks.h"
#include "Settings.h"

#include <BalloonMode.h>

#include <ObjCBridge/Implementation.h>

#include <utility>

namespace huebloom {
namespace {

template <std::size_t I>
id singleColorHook(id self, SEL cmd) {
    UI::Color* color = singleColor(settings(), I);
    if (color == nullptr) return objc::callImp<id>(savedImplementations[kSingleColorSlots[I]], self, cmd);
    return objc::asId(color);
}

template <std::size_t... I>
std::array<IMP, sizeof...(I)> makeSingleColorImps(std::index_sequence<I...>) {
    return {objc::implementation(&singleColorHook<I>).imp...};
}

template <const BalloonKind& (*Kind)(), int Index>
id balloonColorsHook(id self, SEL cmd) {
    NS::Array* colors = balloonColors(settings(), Kind());
    if (colors == nullptr) return objc::callImp<id>(savedImplementations[Index], self, cmd);
    return objc::asId(colors);
}

}  // namespace

IMP singleColorReplacement(std::size_t i) {
    static const auto imps = makeSingleColorImps(std::make_index_sequence<kSingleColors.size()>());
    return imps[i];
}

IMP blueBalloonColorsReplacement() {
    return objc::implementation(&balloonColorsHook<&blueBalloons, kBlueBalloonColors>).imp;
}
IMP greenBalloonColorsReplacement() {
    return objc::implementation(&balloonColorsHook<&greenBalloons, kGreenBalloonColors>).imp;
}
IMP grayBalloonColorsReplacement() {
    return objc::implementation(&balloonColorsHook<&grayBalloons, kGrayBalloonColors>).imp;
}

}  // namespace huebloom
