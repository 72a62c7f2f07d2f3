#include "ViewRules.h"

namespace huebloom {

std::optional<TransparentStyle> transparentStyle(const SettingsReader& settings) {
    if (!(settings.enabled() && settings.isOn("transparent"_ns))) return std::nullopt;
    return TransparentStyle{settings.colorForKey("border"_ns, "#5FC6F4"_ns, AlphaRule::Opaque),
                            CGFloat(settings.integer("tb_size"_ns)), CGFloat(settings.integer("tb_radius"_ns))};
}

bool hidesTails(const SettingsReader& settings) {
    if (settings.enabled() && settings.isOn("transparent"_ns)) return true;
    return settings.enabled() && settings.isOn("tail"_ns);
}

}  // namespace huebloom
