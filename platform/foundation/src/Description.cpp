// Descriptions: what %@ prints and what the collections' `description`
// gives, in the old text form of property lists: arrays as "( a, b )",
// dictionaries as "{ key = value; }", one entry per line indented by four
// spaces per level, strings quoted when they hold anything but letters,
// digits and "_$./-". Other objects give their own description; one without
// any gives "<ClassName: 0x...>".
#include <Foundation/NSString.h>

#include "FoundationInternal.h"

#include <cstdio>
#include <string>

namespace NS::internal {
namespace {

// Collections that contain themselves would never end; nesting this deep
// is cut short.
constexpr int kMaxDescriptionDepth = 64;

std::string quoted(const std::string& text) {
    bool plain = !text.empty();
    for (char c : text) {
        bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '$' ||
                  c == '.' || c == '/' || c == '-';
        if (!ok) plain = false;
    }
    if (plain) return text;
    std::string out = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (c == '\n') {
            out += "\\n";
        } else {
            out += c;
        }
    }
    return out + "\"";
}

std::string pad(int indent) { return std::string(static_cast<std::size_t>(indent) * 4, ' '); }

id defaultDescription(id self, SEL) {
    char buffer[128];
    std::snprintf(buffer, sizeof buffer, "<%s: %p>", object_getClassName(self), static_cast<void*>(self));
    return objc::autorelease(newStringFromUTF8Lossy(buffer));
}

}  // namespace

std::string describe(id object) {
    if (object == nil) return "(null)";
    if (isString(object)) return utf8Of(object);
    id text = objc::send<id>(object, "description"_sel);
    return isString(text) ? utf8Of(text) : std::string();
}

std::string describeNested(id object, int indent) {
    if (object == nil) return "(null)";
    if (indent > kMaxDescriptionDepth) return "...";
    if (isString(object)) return indent == 0 ? utf8Of(object) : quoted(utf8Of(object));
    if (isArray(object)) {
        std::string out = "(\n";
        const auto& items = arrayItems(object);
        for (std::size_t i = 0; i < items.size(); ++i) {
            out += pad(indent + 1) + describeNested(items[i], indent + 1);
            out += i + 1 < items.size() ? ",\n" : "\n";
        }
        return out + pad(indent) + ")";
    }
    if (isDictionary(object)) {
        std::string out = "{\n";
        std::vector<id> keys, values;
        dictionaryEntries(object, keys, values);
        for (std::size_t i = 0; i < keys.size(); ++i) {
            out += pad(indent + 1) + describeNested(keys[i], indent + 1) + " = " +
                   describeNested(values[i], indent + 1) + ";\n";
        }
        return out + pad(indent) + "}";
    }
    return describe(object);
}

void registerObjectDescription() { objc::ClassExtender("NSObject"_cls).method("description", &defaultDescription); }

}  // namespace NS::internal
