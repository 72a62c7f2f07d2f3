#include "Settings.h"

__attribute__((visibility("default"))) NS::Dictionary* pref = nullptr;

namespace huebloom {
namespace {

NS::Object* lookUp(NS::String* key) {
    // A message to a null `pref` answers nil, so a missing file needs no test.
    return objc::send<NS::Object*>(pref, "objectForKey:"_sel, key);
}

}  // namespace

void loadSettings() {
    pref = objc::cast<NS::Dictionary>(NS::Dictionary::alloc()->initWithContentsOfFile(NS::String::stringWithUTF8String(kSettingsPath)));
}

bool settingSwitch(NS::String* key) {
    NS::Object* value = lookUp(key);
    if (value == nullptr || !value->respondsToSelector("boolValue"_sel)) return false;
    return objc::send<BOOL>(value, "boolValue"_sel) != NO;
}

NSInteger settingInteger(NS::String* key) {
    NS::Object* value = lookUp(key);
    if (value == nullptr || !value->respondsToSelector("integerValue"_sel)) return 0;
    return objc::send<NSInteger>(value, "integerValue"_sel);
}

NS::String* settingColorString(NS::String* key) {
    NS::Object* value = lookUp(key);
    if (value == nullptr || !value->isKindOfClass("NSString"_cls)) return nullptr;
    NS::String* text = objc::cast<NS::String>(value);
    return text->length() == 0 ? nullptr : text;
}

}  // namespace huebloom
