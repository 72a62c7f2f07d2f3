#include "SettingsReader.h"

namespace huebloom {

NS::Object* SettingsReader::lookUp(NS::String* key) const {
    // No settings file: no key has a value.
    return settings_ != nullptr ? objc::cast<NS::Object>(settings_->objectForKey(key)) : nullptr;
}

// Of the values a property list holds, numbers and strings are the ones with
// a Boolean and an integer reading; every other value reads as off and 0.
bool SettingsReader::isOn(NS::String* key) const {
    NS::Object* value = lookUp(key);
    if (value == nullptr) return false;
    if (value->isKindOfClass("NSNumber"_cls)) return objc::cast<NS::Number>(value)->boolValue() != NO;
    if (value->isKindOfClass("NSString"_cls)) return objc::cast<NS::String>(value)->boolValue() != NO;
    return false;
}

NSInteger SettingsReader::integer(NS::String* key) const {
    NS::Object* value = lookUp(key);
    if (value == nullptr) return 0;
    if (value->isKindOfClass("NSNumber"_cls)) return objc::cast<NS::Number>(value)->integerValue();
    if (value->isKindOfClass("NSString"_cls)) return objc::cast<NS::String>(value)->integerValue();
    return 0;
}

NS::String* SettingsReader::colorString(NS::String* key) const {
    NS::Object* value = lookUp(key);
    if (value == nullptr || !value->isKindOfClass("NSString"_cls)) return nullptr;
    NS::String* text = objc::cast<NS::String>(value);
    return text->length() == 0 ? nullptr : text;
}

UI::Color* SettingsReader::colorForKey(NS::String* key, NS::String* fallback, AlphaRule rule) const {
    NS::String* stored = colorString(key);
    return colorFromString(stored ? stored : fallback, rule);
}

}  // namespace huebloom
