// NSURL over its text.
#include <Foundation/NSString.h>
#include <Foundation/NSURL.h>

#include "FoundationInternal.h"

#include <string_view>

namespace NS::internal {
namespace {

Class urlClass = Nil;

struct URLState {
    id text = nil;  // retained, immutable
    ~URLState() { objc::release(text); }
};

URLState& st(id self) { return objc::state<URLState>(self); }

bool isAlpha(char16_t c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); }
bool isHex(char16_t c) { return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F'); }

// The characters of RFC 3986: unreserved, reserved, and "%" escapes.
bool wellFormed(std::u16string_view text) {
    if (text.empty()) return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char16_t c = text[i];
        if (c == u'%') {
            if (i + 2 >= text.size() || !isHex(text[i + 1]) || !isHex(text[i + 2])) return false;
            i += 2;
            continue;
        }
        bool ok = isAlpha(c) || (c >= u'0' && c <= u'9') ||
                  std::u16string_view(u"-._~:/?#[]@!$&'()*+,;=").find(c) != std::u16string_view::npos;
        if (!ok) return false;
    }
    std::size_t colon = text.find(u':');
    std::size_t end = text.find_first_of(u"/?#");
    if (colon != std::u16string_view::npos && (end == std::u16string_view::npos || colon < end)) {
        if (colon == 0 || !isAlpha(text[0])) return false;
        for (std::size_t i = 1; i < colon; ++i) {
            char16_t c = text[i];
            if (!isAlpha(c) && !(c >= u'0' && c <= u'9') && c != u'+' && c != u'-' && c != u'.') return false;
        }
    }
    return true;
}

id classURLWithString(Class self, SEL, id text) {
    if (!isString(text) || !wellFormed(stringText(text))) return nil;
    id url = objc::send<id>(self, "alloc"_sel);
    st(url).text = objc::send<id>(text, "copy"_sel);
    return objc::autorelease(url);
}

id absoluteString(id self, SEL) { return st(self).text; }

id scheme(id self, SEL) {
    const std::u16string& text = stringText(st(self).text);
    std::size_t colon = text.find(u':');
    std::size_t end = text.find_first_of(u"/?#");
    if (colon == std::u16string::npos || (end != std::u16string::npos && end < colon)) return nil;
    return objc::autorelease(newString(text.substr(0, colon)));
}

BOOL isEqual(id self, SEL, id other) {
    if (self == other) return YES;
    if (other == nil || object_getClass(other) != object_getClass(self)) return NO;
    return stringText(st(self).text) == stringText(st(other).text) ? YES : NO;
}
NSUInteger hash(id self, SEL) { return static_cast<NSUInteger>(stringHash(st(self).text)); }
id copyWithZone(id self, SEL, void*) { return objc::retain(self); }

}  // namespace

void registerURL() {
    urlClass = objc::ClassBuilder("NSURL", "NSObject"_cls)
                   .state<URLState>("_url")
                   .classMethod("URLWithString:", &classURLWithString)
                   .method("absoluteString", &absoluteString)
                   .method("scheme", &scheme)
                   .method("description", &absoluteString)
                   .method("isEqual:", &isEqual)
                   .method("hash", &hash)
                   .method("copyWithZone:", &copyWithZone)
                   .build();
}

}  // namespace NS::internal
