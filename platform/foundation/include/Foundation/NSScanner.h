// NSScanner: reads values from a string, moving a scan location (in UTF-16
// units) past what it has read.
#pragma once

#include <Foundation/NSObject.h>

namespace NS {

class String;

class Scanner : public Object {
public:
    static Scanner* scannerWithString(const String* string) {
        return objc::send<Scanner*>("NSScanner"_cls, "scannerWithString:"_sel, string);
    }
    Scanner* initWithString(const String* string) { return objc::send<Scanner*>(this, "initWithString:"_sel, string); }

    String* string() const { return objc::send<String*>(this, "string"_sel); }
    NSUInteger scanLocation() const { return objc::send<NSUInteger>(this, "scanLocation"_sel); }
    // A location past the end of the string is a programmer mistake and aborts.
    void setScanLocation(NSUInteger location) { objc::send<void>(this, "setScanLocation:"_sel, location); }
    BOOL isAtEnd() const { return objc::send<BOOL>(this, "isAtEnd"_sel); }

    // Skips white space and line breaks, an optional "0x" or "0X" when a hex
    // digit follows it, then reads hex digits of either case. A value past
    // 32 bits gives 0xFFFFFFFF (all its digits are still consumed). NO, with
    // `value` untouched and the location unchanged, when no digit is there.
    // `value` may be null to skip a number.
    BOOL scanHexInt(unsigned* value) { return objc::send<BOOL>(this, "scanHexInt:"_sel, value); }
};

}  // namespace NS
