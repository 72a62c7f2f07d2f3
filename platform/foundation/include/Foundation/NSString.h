// NSString and NSMutableString. Text is kept as UTF-16 units, so `length`,
// `characterAtIndex:` and every range count UTF-16 units, as on the phone.
//
// Text given as UTF-8 must be valid UTF-8: `stringWithUTF8String:`,
// `initWithUTF8String:` and `initWithBytes:length:encoding:` answer nil for
// malformed input (a truncated sequence, an overlong form, an encoded
// surrogate, a value past U+10FFFF), as the phone's Foundation does.
// `UTF8String` writes an unpaired surrogate (which only
// `stringWithCharacters:length:` can produce) as U+FFFD.
//
//     NS::String* s = NS::String::stringWithFormat("#%02X%02X%02X"_ns, r, g, b);
//     if (s->hasPrefix("#"_ns)) ...
#pragma once

#include <Foundation/NSObject.h>
#include <Foundation/NSRange.h>

#include <cstddef>

using unichar = unsigned short;
using NSStringEncoding = NSUInteger;
inline constexpr NSStringEncoding NSASCIIStringEncoding = 1;
inline constexpr NSStringEncoding NSUTF8StringEncoding = 4;

namespace NS {

class Array;
class MutableString;

namespace detail {
// Sends a message whose method takes one object and then C variable
// arguments (the format methods). The arguments keep their C++ types, as
// printf's do: pass an int for %d, a long for %ld, a double for %f, an
// object for %@.
template <class R, class... Args>
inline R sendFormat(objc::AnyObject receiver, SEL selector, const String* format, Args... args) {
    id self = receiver.get();
    if (self == nil) return objc::detail::zeroValue<R>();
    IMP imp = objc_msg_lookup(self, selector);
    return objc::detail::impAs<R (*)(id, SEL, id, ...)>(imp)(self, selector, objc::asId(format), args...);
}

// The cached strings behind the _ns literal: created once, never released.
String* immortalString(const char* utf8, std::size_t length);
}  // namespace detail

class String : public Object {
public:
    static String* alloc() { return objc::send<String*>("NSString"_cls, "alloc"_sel); }
    static String* string() { return objc::send<String*>("NSString"_cls, "string"_sel); }
    static String* stringWithUTF8String(const char* text) {
        return objc::send<String*>("NSString"_cls, "stringWithUTF8String:"_sel, text);
    }
    static String* stringWithString(const String* other) {
        return objc::send<String*>("NSString"_cls, "stringWithString:"_sel, other);
    }
    static String* stringWithCharacters(const unichar* characters, NSUInteger length) {
        return objc::send<String*>("NSString"_cls, "stringWithCharacters:length:"_sel, characters, length);
    }
    // printf conversions with their C meaning, plus %@ for an object's
    // description (nil prints "(null)").
    template <class... Args>
    static String* stringWithFormat(const String* format, Args... args) {
        return detail::sendFormat<String*>("NSString"_cls, "stringWithFormat:"_sel, format, args...);
    }

    String* init() { return objc::send<String*>(this, "init"_sel); }
    String* initWithUTF8String(const char* text) { return objc::send<String*>(this, "initWithUTF8String:"_sel, text); }
    String* initWithString(const String* other) { return objc::send<String*>(this, "initWithString:"_sel, other); }
    String* initWithBytes(const void* bytes, NSUInteger length, NSStringEncoding encoding) {
        return objc::send<String*>(this, "initWithBytes:length:encoding:"_sel, bytes, length, encoding);
    }
    String* initWithCharacters(const unichar* characters, NSUInteger length) {
        return objc::send<String*>(this, "initWithCharacters:length:"_sel, characters, length);
    }
    template <class... Args>
    String* initWithFormat(const String* format, Args... args) {
        return detail::sendFormat<String*>(this, "initWithFormat:"_sel, format, args...);
    }

    NSUInteger length() const { return objc::send<NSUInteger>(this, "length"_sel); }
    unichar characterAtIndex(NSUInteger index) const {
        return objc::send<unichar>(this, "characterAtIndex:"_sel, index);
    }
    // Valid while the string lives and is not changed.
    const char* UTF8String() const { return objc::send<const char*>(this, "UTF8String"_sel); }

    BOOL isEqualToString(const String* other) const { return objc::send<BOOL>(this, "isEqualToString:"_sel, other); }
    NSComparisonResult compare(const String* other) const {
        return objc::send<NSComparisonResult>(this, "compare:"_sel, other);
    }
    BOOL hasPrefix(const String* prefix) const { return objc::send<BOOL>(this, "hasPrefix:"_sel, prefix); }
    BOOL hasSuffix(const String* suffix) const { return objc::send<BOOL>(this, "hasSuffix:"_sel, suffix); }
    NSRange rangeOfString(const String* other) const { return objc::send<NSRange>(this, "rangeOfString:"_sel, other); }

    String* substringFromIndex(NSUInteger from) const {
        return objc::send<String*>(this, "substringFromIndex:"_sel, from);
    }
    String* substringToIndex(NSUInteger to) const { return objc::send<String*>(this, "substringToIndex:"_sel, to); }
    String* substringWithRange(NSRange range) const {
        return objc::send<String*>(this, "substringWithRange:"_sel, range);
    }
    Array* componentsSeparatedByString(const String* separator) const {
        return objc::send<Array*>(this, "componentsSeparatedByString:"_sel, separator);
    }
    String* stringByAppendingString(const String* other) const {
        return objc::send<String*>(this, "stringByAppendingString:"_sel, other);
    }
    String* stringByReplacingOccurrencesOfString(const String* target, const String* replacement) const {
        return objc::send<String*>(this, "stringByReplacingOccurrencesOfString:withString:"_sel, target, replacement);
    }

    // Leading white space, then the number; see the implementation for the
    // exact grammar of each.
    BOOL boolValue() const { return objc::send<BOOL>(this, "boolValue"_sel); }
    int intValue() const { return objc::send<int>(this, "intValue"_sel); }
    NSInteger integerValue() const { return objc::send<NSInteger>(this, "integerValue"_sel); }
    long long longLongValue() const { return objc::send<long long>(this, "longLongValue"_sel); }
    float floatValue() const { return objc::send<float>(this, "floatValue"_sel); }
    double doubleValue() const { return objc::send<double>(this, "doubleValue"_sel); }

    String* copy() const { return objc::send<String*>(this, "copy"_sel); }
    MutableString* mutableCopy() const { return objc::send<MutableString*>(this, "mutableCopy"_sel); }
};

class MutableString : public String {
public:
    static MutableString* alloc() { return objc::send<MutableString*>("NSMutableString"_cls, "alloc"_sel); }
    static MutableString* string() { return objc::send<MutableString*>("NSMutableString"_cls, "string"_sel); }
    static MutableString* stringWithString(const String* other) {
        return objc::send<MutableString*>("NSMutableString"_cls, "stringWithString:"_sel, other);
    }
    static MutableString* stringWithUTF8String(const char* text) {
        return objc::send<MutableString*>("NSMutableString"_cls, "stringWithUTF8String:"_sel, text);
    }
    static MutableString* stringWithCapacity(NSUInteger capacity) {
        return objc::send<MutableString*>("NSMutableString"_cls, "stringWithCapacity:"_sel, capacity);
    }

    void appendString(const String* other) { objc::send<void>(this, "appendString:"_sel, other); }
    template <class... Args>
    void appendFormat(const String* format, Args... args) {
        detail::sendFormat<void>(this, "appendFormat:"_sel, format, args...);
    }
    void setString(const String* other) { objc::send<void>(this, "setString:"_sel, other); }
    void insertString(const String* other, NSUInteger index) {
        objc::send<void>(this, "insertString:atIndex:"_sel, other, index);
    }
    void deleteCharactersInRange(NSRange range) { objc::send<void>(this, "deleteCharactersInRange:"_sel, range); }
    void replaceCharactersInRange(NSRange range, const String* other) {
        objc::send<void>(this, "replaceCharactersInRange:withString:"_sel, range, other);
    }
};

}  // namespace NS

// "blueText"_ns: an NSString made once per literal and kept for the life of
// the process (never released), for keys and fixed texts.
template <objc::detail::FixedString Text>
inline NS::String* operator""_ns() {
    static NS::String* const string = NS::detail::immortalString(Text.text, sizeof(Text.text) - 1);
    return string;
}

// NSClassFromString: the class of that name, or Nil (also for nil).
inline Class NSClassFromString(const NS::String* name) {
    const char* text = name ? name->UTF8String() : nullptr;
    return text ? objc_getClass(text) : Nil;
}
