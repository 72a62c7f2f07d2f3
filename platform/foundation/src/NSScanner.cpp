// NSScanner over a copy of the scanned text.
#include <Foundation/NSScanner.h>
#include <Foundation/NSString.h>

#include "FoundationInternal.h"
#include "TextNumbers.h"

namespace NS::internal {
namespace {

struct ScannerState {
    id string = nil;  // retained
    std::size_t location = 0;
    ~ScannerState() { objc::release(string); }
};

ScannerState& st(id self) { return objc::state<ScannerState>(self); }

std::u16string_view textOf(id self) {
    return st(self).string ? std::u16string_view(stringText(st(self).string)) : std::u16string_view();
}

id initWithString(id self, SEL, id string) {
    if (string != nil && !isString(string)) objc::fatal("-[NSScanner initWithString:] needs a string");
    // A copy, so that a mutable string changed later does not move under
    // the scan location.
    st(self).string = string ? objc::send<id>(string, "copy"_sel) : newString({});
    return self;
}

id classScannerWithString(Class self, SEL s, id string) {
    return objc::autorelease(initWithString(objc::send<id>(self, "alloc"_sel), s, string));
}

id string(id self, SEL) { return st(self).string; }
NSUInteger scanLocation(id self, SEL) { return st(self).location; }

void setScanLocation(id self, SEL, NSUInteger location) {
    if (location > textOf(self).size()) {
        objc::fatal("-[NSScanner setScanLocation:]: index %lu beyond bounds (length %zu)", location,
                    textOf(self).size());
    }
    st(self).location = location;
}

// At the end once only white space is left, as the default set of skipped
// characters makes it.
BOOL isAtEnd(id self, SEL) {
    std::u16string_view text = textOf(self);
    for (std::size_t i = st(self).location; i < text.size(); ++i) {
        if (!text::isWhitespace(text[i])) return NO;
    }
    return YES;
}

BOOL scanHexInt(id self, SEL, unsigned* value) {
    std::size_t position = st(self).location;
    std::uint32_t result = 0;
    if (!text::scanHex(textOf(self), position, result)) return NO;
    st(self).location = position;
    if (value != nullptr) *value = result;
    return YES;
}

}  // namespace

void registerScanner() {
    objc::ClassBuilder("NSScanner", "NSObject"_cls)
        .state<ScannerState>("_scan")
        .classMethod("scannerWithString:", &classScannerWithString)
        .method("initWithString:", &initWithString)
        .method("string", &string)
        .method("scanLocation", &scanLocation)
        .method("setScanLocation:", &setScanLocation)
        .method("isAtEnd", &isAtEnd)
        .method("scanHexInt:", &scanHexInt)
        .build();
}

}  // namespace NS::internal
