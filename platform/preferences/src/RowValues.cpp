#include "RowValues.h"

#include <ObjCBridge/ObjCBridge.h>

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "PreferencesInternal.h"

namespace PS::rows {
namespace {

using internal::isKind;
bool isNumber(id object) { return isKind(object, "NSNumber"_cls); }
bool isString(id object) { return isKind(object, "NSString"_cls); }

SEL selectorProperty(Specifier* row, const char* key) {
    id name = row->propertyForKey(NS::String::stringWithUTF8String(key));
    if (!isString(name) || objc::cast<NS::String>(name)->length() == 0) return nullptr;
    return sel_registerName(objc::cast<NS::String>(name)->UTF8String());
}

std::size_t argumentCount(SEL selector) {
    const char* name = sel_getName(selector);
    std::size_t colons = 0;
    for (const char* c = name; c != nullptr && *c != '\0'; ++c) colons += *c == ':';
    return colons;
}

// Whether the method gives an object: a getter that answers a number or a
// Boolean cannot be read as one.
bool returnsObject(id target, SEL selector) {
    Method method = class_getInstanceMethod(object_getClass(target), selector);
    const char* types = method != nullptr ? method_getTypeEncoding(method) : nullptr;
    if (types == nullptr) return false;
    while (*types != '\0' && std::strchr("rnNoORV", *types) != nullptr) ++types;
    return *types == '@';
}

}  // namespace

id readValue(id pane, Specifier* row) {
    if (row == nullptr) return nil;
    id target = row->target();
    if (SEL get = selectorProperty(row, "get");
        get != nullptr && objc::respondsTo(target, get) && returnsObject(target, get)) {
        return argumentCount(get) == 0 ? objc::send<id>(target, get) : objc::send<id>(target, get, row);
    }
    if (objc::respondsTo(pane, "readPreferenceValue:"_sel))
        return objc::send<id>(pane, "readPreferenceValue:"_sel, row);
    return nil;
}

void writeValue(id pane, Specifier* row, id value) {
    if (row == nullptr) return;
    id target = row->target();
    if (SEL set = selectorProperty(row, "set"); set != nullptr && objc::respondsTo(target, set)) {
        // A setter takes the value, and the row when it has room for it.
        const std::size_t arguments = argumentCount(set);
        if (arguments == 1)
            objc::send<void>(target, set, value);
        else if (arguments >= 2)
            objc::send<void>(target, set, value, row);
        return;
    }
    if (objc::respondsTo(pane, "setPreferenceValue:specifier:"_sel))
        objc::send<void>(pane, "setPreferenceValue:specifier:"_sel, value, row);
}

void sendRowAction(id target, SEL action, Specifier* row) {
    if (target == nil || action == nullptr || !objc::respondsTo(target, action)) return;
    switch (argumentCount(action)) {
    case 0: objc::send<void>(target, action); break;
    case 1: objc::send<void>(target, action, row); break;
    default: objc::send<void>(target, action, row, static_cast<id>(nil)); break;
    }
}

bool boolOf(id value) {
    if (isNumber(value) || isString(value)) return objc::send<BOOL>(value, "boolValue"_sel);
    return false;
}

double numberOf(id value, double fallback) {
    if (!isNumber(value) && !isString(value)) return fallback;
    const double number = objc::send<double>(value, "doubleValue"_sel);
    return std::isfinite(number) ? number : fallback;
}

NS::String* textOf(id value) {
    if (isString(value)) return objc::cast<NS::String>(value);
    if (isNumber(value)) return objc::send<NS::String*>(value, "stringValue"_sel);
    return nullptr;
}

bool sameChoice(id a, id b) {
    if (a == nil || b == nil) return false;
    if (objc::send<BOOL>(a, "isEqual:"_sel, b)) return true;
    if (isString(a) == isString(b)) return false;  // two strings, or two numbers, that differ
    NS::String* left = textOf(a);
    NS::String* right = textOf(b);
    return left != nullptr && right != nullptr && left->isEqualToString(right);
}

NS::String* titleForValue(Specifier* row, id value) {
    if (row == nullptr || value == nil) return nullptr;
    if (NS::String* exact = row->titleForValue(value)) return exact;
    NS::Array* values = row->values();
    NS::Array* titles = row->titles();
    if (values == nullptr || titles == nullptr) return nullptr;
    for (NSUInteger i = 0, n = std::min(values->count(), titles->count()); i < n; ++i) {
        if (sameChoice(values->objectAtIndex(i), value)) return textOf(titles->objectAtIndex(i));
    }
    return nullptr;
}

double shortestDecimal(float value) {
    char text[32];
    auto [end, error] = std::to_chars(text, text + sizeof text - 1, value);
    if (error != std::errc()) return value;
    *end = '\0';
    return std::strtod(text, nullptr);
}

}  // namespace PS::rows
