// NSString and NSMutableString over UTF-16 text.
//
// Arguments: a nil string argument reads as the empty string (so
// `hasPrefix:nil` is NO and `appendString:nil` changes nothing); an argument
// that is an object but not a string is a programmer mistake and aborts.
// Indexes and ranges past the end abort too, as they raise on the phone.
#include <Foundation/NSArray.h>
#include <Foundation/NSString.h>

#include "FoundationInternal.h"
#include "TextNumbers.h"
#include "Unicode.h"

#include <climits>
#include <cmath>
#include <cstring>
#include <memory>
#include <string>

namespace NS::internal {

Class stringClass = Nil;
Class mutableStringClass = Nil;

namespace {

struct StringState {
    std::u16string text;
    // The hash and the UTF-8 form are computed on demand and dropped when a
    // mutable string changes.
    std::uint64_t hash = 0;
    bool hashed = false;
    std::unique_ptr<std::string> utf8;

    void changed() {
        hashed = false;
        utf8.reset();
    }
};

StringState& st(id self) { return objc::state<StringState>(self); }

std::u16string_view argText(id arg, const char* method) {
    if (arg == nil) return {};
    if (!isString(arg)) objc::fatal("-[NSString %s]: argument is a %s, not a string", method, object_getClassName(arg));
    return st(arg).text;
}

void checkIndex(id self, NSUInteger index, NSUInteger limit, const char* method) {
    if (index > limit) {
        objc::fatal("-[%s %s]: index %lu beyond bounds (length %lu)", object_getClassName(self), method, index,
                    static_cast<NSUInteger>(st(self).text.size()));
    }
}

void checkRange(id self, NSRange range, const char* method) {
    NSUInteger length = st(self).text.size();
    if (range.location > length || range.length > length - range.location) {
        objc::fatal("-[%s %s]: range {%lu, %lu} beyond bounds (length %lu)", object_getClassName(self), method,
                    range.location, range.length, length);
    }
}

bool isMutable(id self) {
    for (Class c = object_getClass(self); c != Nil; c = class_getSuperclass(c)) {
        if (c == mutableStringClass) return true;
    }
    return false;
}

id autoreleased(id object) { return objc::autorelease(object); }

// A new, autoreleased string of the receiver's class (or of `cls`).
id makeString(Class cls, std::u16string text) {
    id object = objc::send<id>(cls, "alloc"_sel);
    st(object).text = std::move(text);
    return autoreleased(object);
}

id immutableString(std::u16string text) { return makeString(stringClass, std::move(text)); }

// --- creating ---------------------------------------------------------------

id init(id self, SEL) { return self; }

id initWithUTF8String(id self, SEL, const char* text) {
    if (text == nullptr || !unicode::utf8ToUtf16(text, st(self).text)) {
        objc::release(self);
        return nil;
    }
    return self;
}

id initWithBytes(id self, SEL, const void* bytes, NSUInteger length, NSStringEncoding encoding) {
    std::string_view view(static_cast<const char*>(bytes), bytes ? length : 0);
    bool ok = false;
    if (encoding == NSUTF8StringEncoding) {
        ok = unicode::utf8ToUtf16(view, st(self).text);
    } else if (encoding == NSASCIIStringEncoding) {
        ok = true;
        for (char c : view) {
            if (static_cast<unsigned char>(c) >= 0x80) ok = false;
        }
        if (ok) st(self).text.assign(view.begin(), view.end());
    }
    if (!ok) {
        objc::release(self);
        return nil;
    }
    return self;
}

id initWithCharacters(id self, SEL, const unichar* characters, NSUInteger length) {
    if (characters != nullptr) st(self).text.assign(characters, characters + length);
    return self;
}

id initWithString(id self, SEL, id other) {
    st(self).text = argText(other, "initWithString:");
    return self;
}

id initWithFormat(id self, SEL, id format, ...) {
    va_list args;
    va_start(args, format);
    std::string utf8 = formatUTF8(format, args);
    va_end(args);
    unicode::utf8ToUtf16Lossy(utf8, st(self).text);
    return self;
}

id classString(Class self, SEL) { return makeString(self, {}); }

id classStringWithUTF8String(Class self, SEL, const char* text) {
    std::u16string converted;
    if (text == nullptr || !unicode::utf8ToUtf16(text, converted)) return nil;
    return makeString(self, std::move(converted));
}

id classStringWithString(Class self, SEL, id other) {
    return makeString(self, std::u16string(argText(other, "stringWithString:")));
}

id classStringWithCharacters(Class self, SEL, const unichar* characters, NSUInteger length) {
    std::u16string text;
    if (characters != nullptr) text.assign(characters, characters + length);
    return makeString(self, std::move(text));
}

id classStringWithFormat(Class self, SEL, id format, ...) {
    va_list args;
    va_start(args, format);
    std::string utf8 = formatUTF8(format, args);
    va_end(args);
    std::u16string text;
    unicode::utf8ToUtf16Lossy(utf8, text);
    return makeString(self, std::move(text));
}

id classStringWithCapacity(Class self, SEL, NSUInteger capacity) {
    std::u16string text;
    text.reserve(std::min<NSUInteger>(capacity, 1 << 20));
    return makeString(self, std::move(text));
}

// --- reading ----------------------------------------------------------------

NSUInteger length(id self, SEL) { return st(self).text.size(); }

unichar characterAtIndex(id self, SEL, NSUInteger index) {
    const std::u16string& text = st(self).text;
    if (index >= text.size()) {
        objc::fatal("-[%s characterAtIndex:]: index %lu beyond bounds (length %lu)", object_getClassName(self), index,
                    static_cast<NSUInteger>(text.size()));
    }
    return text[index];
}

const char* UTF8String(id self, SEL) {
    StringState& s = st(self);
    if (!s.utf8) {
        s.utf8 = std::make_unique<std::string>();
        unicode::utf16ToUtf8(s.text, *s.utf8);
    }
    return s.utf8->c_str();
}

NSUInteger hash(id self, SEL) { return static_cast<NSUInteger>(stringHash(self)); }

BOOL isEqual(id self, SEL, id other) {
    if (self == other) return YES;
    return isString(other) && st(self).text == st(other).text;
}

BOOL isEqualToString(id self, SEL, id other) {
    if (self == other) return YES;
    return other != nil && st(self).text == argText(other, "isEqualToString:");
}

NSComparisonResult compare(id self, SEL, id other) {
    int c = std::u16string_view(st(self).text).compare(argText(other, "compare:"));
    return c < 0 ? NSOrderedAscending : c > 0 ? NSOrderedDescending : NSOrderedSame;
}

id description(id self, SEL) { return self; }

id copyWithZone(id self, SEL, void*) {
    // An immutable string is its own copy.
    if (!isMutable(self)) return objc::retain(self);
    id copy = objc::send<id>(stringClass, "alloc"_sel);
    st(copy).text = st(self).text;
    return copy;
}

id mutableCopyWithZone(id self, SEL, void*) {
    id copy = objc::send<id>(mutableStringClass, "alloc"_sel);
    st(copy).text = st(self).text;
    return copy;
}

// An empty prefix or suffix is never found, as on the phone.
BOOL hasPrefix(id self, SEL, id prefix) {
    std::u16string_view p = argText(prefix, "hasPrefix:");
    return !p.empty() && std::u16string_view(st(self).text).starts_with(p);
}

BOOL hasSuffix(id self, SEL, id suffix) {
    std::u16string_view p = argText(suffix, "hasSuffix:");
    return !p.empty() && std::u16string_view(st(self).text).ends_with(p);
}

NSRange rangeOfString(id self, SEL, id other) {
    std::u16string_view needle = argText(other, "rangeOfString:");
    if (needle.empty()) return NSMakeRange(NSNotFound, 0);
    std::size_t at = std::u16string_view(st(self).text).find(needle);
    if (at == std::u16string_view::npos) return NSMakeRange(NSNotFound, 0);
    return NSMakeRange(at, needle.size());
}

id substringFromIndex(id self, SEL, NSUInteger from) {
    checkIndex(self, from, st(self).text.size(), "substringFromIndex:");
    return immutableString(st(self).text.substr(from));
}

id substringToIndex(id self, SEL, NSUInteger to) {
    checkIndex(self, to, st(self).text.size(), "substringToIndex:");
    return immutableString(st(self).text.substr(0, to));
}

id substringWithRange(id self, SEL, NSRange range) {
    checkRange(self, range, "substringWithRange:");
    return immutableString(st(self).text.substr(range.location, range.length));
}

// Every separator splits, so neighbouring separators give empty pieces and
// there is always at least one piece.
id componentsSeparatedByString(id self, SEL, id separator) {
    std::u16string_view text = st(self).text;
    std::u16string_view sep = argText(separator, "componentsSeparatedByString:");
    std::vector<id> pieces;
    if (sep.empty()) {
        pieces.push_back(newString(std::u16string(text)));
    } else {
        std::size_t start = 0;
        for (;;) {
            std::size_t at = text.find(sep, start);
            if (at == std::u16string_view::npos) break;
            pieces.push_back(newString(std::u16string(text.substr(start, at - start))));
            start = at + sep.size();
        }
        pieces.push_back(newString(std::u16string(text.substr(start))));
    }
    return autoreleased(newArrayAdopting(arrayClass, std::move(pieces)));
}

id stringByAppendingString(id self, SEL, id other) {
    std::u16string text = st(self).text;
    text += argText(other, "stringByAppendingString:");
    return immutableString(std::move(text));
}

id stringByReplacingOccurrences(id self, SEL, id target, id replacement) {
    std::u16string_view from = argText(target, "stringByReplacingOccurrencesOfString:withString:");
    std::u16string_view to = argText(replacement, "stringByReplacingOccurrencesOfString:withString:");
    const std::u16string& text = st(self).text;
    if (from.empty()) return immutableString(text);
    std::u16string result;
    std::size_t start = 0;
    for (;;) {
        std::size_t at = text.find(from, start);
        if (at == std::u16string::npos) break;
        result.append(text, start, at - start);
        result += to;
        start = at + from.size();
    }
    result.append(text, start, std::u16string::npos);
    return immutableString(std::move(result));
}

BOOL boolValue(id self, SEL) { return text::leadingBool(st(self).text) ? YES : NO; }

long long longLongValue(id self, SEL) { return text::leadingInteger(st(self).text); }
NSInteger integerValue(id self, SEL) { return static_cast<NSInteger>(text::leadingInteger(st(self).text)); }

int intValue(id self, SEL) {
    long long v = text::leadingInteger(st(self).text);
    return v > INT_MAX ? INT_MAX : v < INT_MIN ? INT_MIN : static_cast<int>(v);
}

double doubleValue(id self, SEL) { return text::leadingDouble(st(self).text); }
float floatValue(id self, SEL) { return static_cast<float>(text::leadingDouble(st(self).text)); }

// --- changing (NSMutableString) -----------------------------------------------

void appendString(id self, SEL, id other) {
    st(self).text += argText(other, "appendString:");
    st(self).changed();
}

void appendFormat(id self, SEL, id format, ...) {
    va_list args;
    va_start(args, format);
    std::string utf8 = formatUTF8(format, args);
    va_end(args);
    std::u16string text;
    unicode::utf8ToUtf16Lossy(utf8, text);
    st(self).text += text;
    st(self).changed();
}

void setString(id self, SEL, id other) {
    std::u16string text(argText(other, "setString:"));
    st(self).text = std::move(text);
    st(self).changed();
}

void insertString(id self, SEL, id other, NSUInteger index) {
    checkIndex(self, index, st(self).text.size(), "insertString:atIndex:");
    std::u16string text(argText(other, "insertString:atIndex:"));
    st(self).text.insert(index, text);
    st(self).changed();
}

void deleteCharactersInRange(id self, SEL, NSRange range) {
    checkRange(self, range, "deleteCharactersInRange:");
    st(self).text.erase(range.location, range.length);
    st(self).changed();
}

void replaceCharactersInRange(id self, SEL, NSRange range, id other) {
    checkRange(self, range, "replaceCharactersInRange:withString:");
    std::u16string text(argText(other, "replaceCharactersInRange:withString:"));
    st(self).text.replace(range.location, range.length, text);
    st(self).changed();
}

void addVariadic(Class cls, const char* selector, IMP imp, const char* types) {
    if (!class_addMethod(cls, sel_registerName(selector), imp, types)) {
        objc::fatal("%s already defines %s", class_getName(cls), selector);
    }
}

}  // namespace

bool isPlainString(id object) {
    if (object == nil) return false;
    Class c = object_getClass(object);
    return c == stringClass || c == mutableStringClass;
}

bool isString(id object) {
    if (object == nil) return false;
    if (isPlainString(object)) return true;
    for (Class c = object_getClass(object); c != Nil; c = class_getSuperclass(c)) {
        if (c == stringClass) return true;
    }
    return false;
}

const std::u16string& stringText(id string) { return st(string).text; }

std::uint64_t stringHash(id string) {
    StringState& s = st(string);
    if (!s.hashed) {
        // FNV-1a over the UTF-16 units: cheap, and the result is kept.
        std::uint64_t h = 0xcbf29ce484222325ull;
        for (char16_t c : s.text) {
            h = (h ^ (c & 0xFF)) * 0x100000001b3ull;
            h = (h ^ (c >> 8)) * 0x100000001b3ull;
        }
        s.hash = h;
        s.hashed = true;
    }
    return s.hash;
}

id newString(std::u16string text) {
    id object = objc::send<id>(stringClass, "alloc"_sel);
    st(object).text = std::move(text);
    return object;
}

id newStringFromUTF8Lossy(std::string_view utf8) {
    std::u16string text;
    unicode::utf8ToUtf16Lossy(utf8, text);
    return newString(std::move(text));
}

id stringFromUTF8(std::string_view utf8) {
    std::u16string text;
    if (!unicode::utf8ToUtf16(utf8, text)) return nil;
    return immutableString(std::move(text));
}

std::string utf8Of(id string) {
    std::string out;
    unicode::utf16ToUtf8(st(string).text, out);
    return out;
}

void registerString() {
    stringClass = objc::ClassBuilder("NSString", "NSObject"_cls)
                      .state<StringState>("_text")
                      .classMethod("string", &classString)
                      .classMethod("stringWithUTF8String:", &classStringWithUTF8String)
                      .classMethod("stringWithString:", &classStringWithString)
                      .classMethod("stringWithCharacters:length:", &classStringWithCharacters)
                      .method("init", &init)
                      .method("initWithUTF8String:", &initWithUTF8String)
                      .method("initWithBytes:length:encoding:", &initWithBytes)
                      .method("initWithCharacters:length:", &initWithCharacters)
                      .method("initWithString:", &initWithString)
                      .method("length", &length)
                      .method("characterAtIndex:", &characterAtIndex)
                      .method("UTF8String", &UTF8String)
                      .method("hash", &hash)
                      .method("isEqual:", &isEqual)
                      .method("isEqualToString:", &isEqualToString)
                      .method("compare:", &compare)
                      .method("description", &description)
                      .method("copyWithZone:", &copyWithZone)
                      .method("mutableCopyWithZone:", &mutableCopyWithZone)
                      .method("hasPrefix:", &hasPrefix)
                      .method("hasSuffix:", &hasSuffix)
                      .method("rangeOfString:", &rangeOfString)
                      .method("substringFromIndex:", &substringFromIndex)
                      .method("substringToIndex:", &substringToIndex)
                      .method("substringWithRange:", &substringWithRange)
                      .method("componentsSeparatedByString:", &componentsSeparatedByString)
                      .method("stringByAppendingString:", &stringByAppendingString)
                      .method("stringByReplacingOccurrencesOfString:withString:", &stringByReplacingOccurrences)
                      .method("boolValue", &boolValue)
                      .method("intValue", &intValue)
                      .method("integerValue", &integerValue)
                      .method("longLongValue", &longLongValue)
                      .method("floatValue", &floatValue)
                      .method("doubleValue", &doubleValue)
                      .build();
    // The format methods take C variable arguments, which a type encoding
    // cannot describe; they are added as "object from object".
    addVariadic(object_getClass(reinterpret_cast<id>(stringClass)),
                "stringWithFormat:", objc::detail::toImp(&classStringWithFormat), "@@:@");
    addVariadic(stringClass, "initWithFormat:", objc::detail::toImp(&initWithFormat), "@@:@");

    mutableStringClass = objc::ClassBuilder("NSMutableString", stringClass)
                             .classMethod("stringWithCapacity:", &classStringWithCapacity)
                             .method("appendString:", &appendString)
                             .method("setString:", &setString)
                             .method("insertString:atIndex:", &insertString)
                             .method("deleteCharactersInRange:", &deleteCharactersInRange)
                             .method("replaceCharactersInRange:withString:", &replaceCharactersInRange)
                             .build();
    addVariadic(mutableStringClass, "appendFormat:", objc::detail::toImp(&appendFormat), "v@:@");
}

}  // namespace NS::internal

namespace NS::detail {

String* immortalString(const char* utf8, std::size_t length) {
    internal::registerAll();
    // Held for the life of the process: the +1 of newString is never given up.
    return objc::cast<String>(internal::newStringFromUTF8Lossy(std::string_view(utf8, length)));
}

}  // namespace NS::detail
