#include "SingleColors.h"

#include <cstring>

namespace huebloom {

std::size_t singleColorIndex(const char* selector) {
    for (std::size_t i = 0; i < kSingleColors.size(); ++i) {
        if (std::strcmp(kSingleColors[i].selector, selector) == 0) return i;
    }
    objc::fatal("no single colour getter %s", selector);
}

NS::String* singleColorKey(std::size_t i) {
    static const auto keys = [] {
        std::array<NS::String*, kSingleColors.size()> k{};
        for (std::size_t j = 0; j < k.size(); ++j) {
            k[j] = objc::cast<NS::String>(NS::String::alloc()->initWithUTF8String(kSingleColors[j].key));
        }
        return k;
    }();
    return keys[i];
}

UI::Color* singleColor(const SettingsReader& settings, std::size_t i) {
    NS::String* key = singleColorKey(i);
    // The key is tested before the master switch, and looked up again to be
    // parsed: both lookups are cheap and the order is the one callers know.
    if (settings.colorString(key) == nullptr) return nullptr;
    if (!settings.enabled()) return nullptr;
    return colorFromString(settings.colorString(key), kSingleColors[i].alpha);
}

UI::Color* colorFromSystemColor(SystemColor color) {
    return UI::Color::colorWithRed(CGFloat(double((color.rgb >> 16) & 0xFF) / 255.0),
                                   CGFloat(double((color.rgb >> 8) & 0xFF) / 255.0),
                                   CGFloat(double(color.rgb & 0xFF) / 255.0), CGFloat(color.alpha));
}

}  // namespace huebloom
