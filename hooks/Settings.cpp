#include "Settings.h"

__attribute__((visibility("default"))) NS::Dictionary* pref = nullptr;

namespace huebloom {

void loadSettings() {
    pref = objc::cast<NS::Dictionary>(
        NS::Dictionary::alloc()->initWithContentsOfFile(NS::String::stringWithUTF8String(kSettingsPath)));
}

}  // namespace huebloom
