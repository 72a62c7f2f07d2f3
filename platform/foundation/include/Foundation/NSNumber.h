// NSNumber: a Boolean, an integer or a real number. A number remembers which
// of the three it was made from, so that a property list written back keeps
// <true/>, <integer> and <real> apart; `objCType` tells them apart ("c" for a
// Boolean, "q" for an integer, "d" for a real). Numbers of different kinds
// compare by value: @YES equals @1.
#pragma once

#include <Foundation/NSObject.h>
#include <Foundation/NSRange.h>

namespace NS {

class Number : public Object {
public:
    static Number* numberWithBool(BOOL value) {
        return objc::send<Number*>("NSNumber"_cls, "numberWithBool:"_sel, value);
    }
    static Number* numberWithInt(int value) { return objc::send<Number*>("NSNumber"_cls, "numberWithInt:"_sel, value); }
    static Number* numberWithInteger(NSInteger value) {
        return objc::send<Number*>("NSNumber"_cls, "numberWithInteger:"_sel, value);
    }
    static Number* numberWithLongLong(long long value) {
        return objc::send<Number*>("NSNumber"_cls, "numberWithLongLong:"_sel, value);
    }
    static Number* numberWithUnsignedInteger(NSUInteger value) {
        return objc::send<Number*>("NSNumber"_cls, "numberWithUnsignedInteger:"_sel, value);
    }
    static Number* numberWithFloat(float value) {
        return objc::send<Number*>("NSNumber"_cls, "numberWithFloat:"_sel, value);
    }
    static Number* numberWithDouble(double value) {
        return objc::send<Number*>("NSNumber"_cls, "numberWithDouble:"_sel, value);
    }

    // YES when the value is not zero.
    BOOL boolValue() const { return objc::send<BOOL>(this, "boolValue"_sel); }
    // Reals are cut toward zero and clamped to the type's range (NaN gives 0).
    int intValue() const { return objc::send<int>(this, "intValue"_sel); }
    NSInteger integerValue() const { return objc::send<NSInteger>(this, "integerValue"_sel); }
    long long longLongValue() const { return objc::send<long long>(this, "longLongValue"_sel); }
    NSUInteger unsignedIntegerValue() const { return objc::send<NSUInteger>(this, "unsignedIntegerValue"_sel); }
    float floatValue() const { return objc::send<float>(this, "floatValue"_sel); }
    double doubleValue() const { return objc::send<double>(this, "doubleValue"_sel); }
    String* stringValue() const { return objc::send<String*>(this, "stringValue"_sel); }
    const char* objCType() const { return objc::send<const char*>(this, "objCType"_sel); }

    BOOL isEqualToNumber(const Number* other) const { return objc::send<BOOL>(this, "isEqualToNumber:"_sel, other); }
    NSComparisonResult compare(const Number* other) const {
        return objc::send<NSComparisonResult>(this, "compare:"_sel, other);
    }
};

}  // namespace NS
