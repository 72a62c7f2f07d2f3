#include "SettingsReader.h"

namespace huebloom {

NS::Object* SettingsReader::lookUp(NS::String* key) const {
    // A message to a null dictionary answers nil, so a missing file needs no test.
    return objc::send<NS::Object*>(settings_, "objectForKey:"_sel, key);
}

bool SettingsReader::isOn(NS::String* key) const {
    NS::Object* value = lookUp(key);
    if (value == nullptr || !value->respondsToSelector("boolValue"_sel)) return false;
    return objc::send<BOOL>(value, "boolValue"_sel) != NO;
}

NSInteger SettingsReader::integer(NS::String* key) const {
    NS::Object* value = lookUp(key);
    if (value == nullptr || !value->respondsToSelector("integerValue"_sel)) return 0;
    return objc::send<NSInteger>(value, "integerValue"_sel);
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
