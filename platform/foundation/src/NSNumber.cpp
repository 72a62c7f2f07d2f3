// NSNumber: one value of one of three kinds (Boolean, integer, real).
// Numbers compare and hash by value across the kinds, so @YES, @1 and @1.0
// are equal and hash alike; the kind only decides how the number is written
// (property lists, descriptions) and what `objCType` reports.
#include <Foundation/NSNumber.h>
#include <Foundation/NSString.h>

#include "FoundationInternal.h"

#include <charconv>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>

namespace NS::internal {

Class numberClass = Nil;

namespace {

// An integer past the signed range (made from an unsigned value) keeps its
// bits in `integer` and says so with the type "Q".
struct NumberState {
    NumberKind kind = NumberKind::Integer;
    long long integer = 0;
    double real = 0.0;
    char type = 'q';  // what objCType reports
};

NumberState& st(id self) { return objc::state<NumberState>(self); }

id make(Class cls, NumberKind kind, long long integer, double real, char type) {
    id object = objc::send<id>(cls, "alloc"_sel);
    st(object) = NumberState{kind, integer, real, type};
    return objc::autorelease(object);
}

id numberWithBool(Class self, SEL, BOOL v) { return make(self, NumberKind::Boolean, v ? 1 : 0, 0, 'c'); }
id numberWithInt(Class self, SEL, int v) { return make(self, NumberKind::Integer, v, 0, 'i'); }
id numberWithInteger(Class self, SEL, NSInteger v) { return make(self, NumberKind::Integer, v, 0, 'q'); }
id numberWithLongLong(Class self, SEL, long long v) { return make(self, NumberKind::Integer, v, 0, 'q'); }
id numberWithUnsignedInteger(Class self, SEL, NSUInteger v) {
    return make(self, NumberKind::Integer, static_cast<long long>(v), 0,
                v > static_cast<NSUInteger>(LLONG_MAX) ? 'Q' : 'q');
}
id numberWithFloat(Class self, SEL, float v) { return make(self, NumberKind::Real, 0, v, 'f'); }
id numberWithDouble(Class self, SEL, double v) { return make(self, NumberKind::Real, 0, v, 'd'); }

bool isReal(id self) { return st(self).kind == NumberKind::Real; }
bool isBigUnsigned(const NumberState& n) { return n.type == 'Q'; }

// The integer value exactly, in a type wide enough for both signed and
// unsigned 64-bit values.
__int128 wideInteger(const NumberState& n) {
    return isBigUnsigned(n) ? static_cast<__int128>(static_cast<unsigned long long>(n.integer))
                            : static_cast<__int128>(n.integer);
}

// A real cut toward zero and clamped; NaN gives 0.
long long clampToLongLong(double v) {
    if (std::isnan(v)) return 0;
    if (v >= 9223372036854775807.0) return LLONG_MAX;
    if (v <= -9223372036854775808.0) return LLONG_MIN;
    return static_cast<long long>(v);
}

BOOL boolValue(id self, SEL) { return (isReal(self) ? st(self).real != 0.0 : st(self).integer != 0) ? YES : NO; }

long long longLongValue(id self, SEL) { return isReal(self) ? clampToLongLong(st(self).real) : st(self).integer; }

NSInteger integerValue(id self, SEL s) { return static_cast<NSInteger>(longLongValue(self, s)); }

// The low 32 bits of the 64-bit value, as a C conversion keeps them.
int intValue(id self, SEL s) {
    return static_cast<int>(static_cast<std::uint32_t>(static_cast<unsigned long long>(longLongValue(self, s))));
}

NSUInteger unsignedIntegerValue(id self, SEL s) {
    if (isReal(self)) {
        double v = st(self).real;
        if (std::isnan(v) || v <= 0) return 0;
        if (v >= 18446744073709551615.0) return ULONG_MAX;
        return static_cast<NSUInteger>(v);
    }
    return static_cast<NSUInteger>(longLongValue(self, s));
}

double doubleValue(id self, SEL) {
    const NumberState& n = st(self);
    return n.kind == NumberKind::Real ? n.real : static_cast<double>(wideInteger(n));
}
float floatValue(id self, SEL s) { return static_cast<float>(doubleValue(self, s)); }

const char* objCType(id self, SEL) {
    switch (st(self).type) {
    case 'c': return "c";
    case 'i': return "i";
    case 'Q': return "Q";
    case 'f': return "f";
    case 'd': return "d";
    default: return "q";
    }
}

std::string text(id self) {
    const NumberState& n = st(self);
    if (isBigUnsigned(n)) return std::to_string(static_cast<unsigned long long>(n.integer));
    if (!isReal(self)) return std::to_string(n.integer);
    double v = st(self).real;
    if (std::isnan(v)) return "nan";
    if (std::isinf(v)) return v > 0 ? "inf" : "-inf";
    // The shortest text that reads back as the same double.
    char buffer[64];
    auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, v);
    if (error != std::errc()) return std::to_string(v);
    return std::string(buffer, end);
}

id stringValue(id self, SEL) { return objc::autorelease(newStringFromUTF8Lossy(text(self))); }

// NaN is ordered by the sign of the other number: below zero and every
// positive number, above every negative one; two NaNs are the same.
NSComparisonResult compareWithNaN(bool otherIsNaN, bool otherIsNegative) {
    if (otherIsNaN) return NSOrderedSame;
    return otherIsNegative ? NSOrderedDescending : NSOrderedAscending;
}

// Orders an integer against a real exactly, even where the double cannot
// hold the integer.
NSComparisonResult compareIntegerWithReal(__int128 i, double r) {
    if (std::isnan(r)) return -compareWithNaN(false, i < 0);
    if (r >= 18446744073709551616.0) return NSOrderedAscending;
    if (r < -9223372036854775808.0) return NSOrderedDescending;
    __int128 t = static_cast<__int128>(r);  // cut toward zero
    if (i < t) return NSOrderedAscending;
    if (i > t) return NSOrderedDescending;
    double fraction = r - std::trunc(r);
    return fraction > 0 ? NSOrderedAscending : fraction < 0 ? NSOrderedDescending : NSOrderedSame;
}

NSComparisonResult compareNumbers(id self, id other) {
    const NumberState& a = st(self);
    const NumberState& b = st(other);
    if (a.kind != NumberKind::Real && b.kind != NumberKind::Real) {
        __int128 x = wideInteger(a), y = wideInteger(b);
        return x < y ? NSOrderedAscending : x > y ? NSOrderedDescending : NSOrderedSame;
    }
    if (a.kind != NumberKind::Real) return compareIntegerWithReal(wideInteger(a), b.real);
    if (b.kind != NumberKind::Real) return -compareIntegerWithReal(wideInteger(b), a.real);
    if (std::isnan(a.real)) return compareWithNaN(std::isnan(b.real), std::signbit(b.real));
    if (std::isnan(b.real)) return -compareWithNaN(false, std::signbit(a.real));
    if (a.real < b.real) return NSOrderedAscending;
    if (a.real > b.real) return NSOrderedDescending;
    return NSOrderedSame;
}

BOOL isEqual(id self, SEL, id other) {
    if (self == other) return YES;
    if (!isNumber(other)) return NO;
    return compareNumbers(self, other) == NSOrderedSame ? YES : NO;
}

BOOL isEqualToNumber(id self, SEL s, id other) { return other != nil && isEqual(self, s, other); }

NSComparisonResult compare(id self, SEL, id other) {
    if (!isNumber(other)) objc::fatal("-[NSNumber compare:] with a %s", other ? object_getClassName(other) : "nil");
    return compareNumbers(self, other);
}

NSUInteger hash(id self, SEL) {
    // Integral values hash as their integer so that equal numbers of
    // different kinds hash alike.
    if (isReal(self)) {
        double v = st(self).real;
        if (v == std::trunc(v) && v >= -9223372036854775808.0 && v < 18446744073709551616.0) {
            return static_cast<NSUInteger>(static_cast<__int128>(v)) * 0x9E3779B97F4A7C15ull;
        }
        std::uint64_t bits;
        std::memcpy(&bits, &v, sizeof bits);
        return (bits ^ (bits >> 29)) * 0xBF58476D1CE4E5B9ull;
    }
    return static_cast<NSUInteger>(st(self).integer) * 0x9E3779B97F4A7C15ull;
}

id description(id self, SEL s) { return stringValue(self, s); }

// Numbers are immutable: a copy is the same object.
id copyWithZone(id self, SEL, void*) { return objc::retain(self); }

}  // namespace

bool isNumber(id object) {
    if (object == nil) return false;
    for (Class c = object_getClass(object); c != Nil; c = class_getSuperclass(c)) {
        if (c == numberClass) return true;
    }
    return false;
}

NumberKind numberKind(id number) { return st(number).kind; }
long long numberInteger(id number) { return st(number).integer; }
double numberReal(id number) { return st(number).real; }

id newNumber(NumberKind kind, long long integer, double real) {
    id object = objc::send<id>(numberClass, "alloc"_sel);
    st(object) = NumberState{kind, kind == NumberKind::Boolean ? (integer != 0) : integer, real,
                             kind == NumberKind::Boolean ? 'c'
                             : kind == NumberKind::Real  ? 'd'
                                                         : 'q'};
    return object;
}

void registerNumber() {
    numberClass = objc::ClassBuilder("NSNumber", "NSObject"_cls)
                      .state<NumberState>("_value")
                      .classMethod("numberWithBool:", &numberWithBool)
                      .classMethod("numberWithInt:", &numberWithInt)
                      .classMethod("numberWithInteger:", &numberWithInteger)
                      .classMethod("numberWithLongLong:", &numberWithLongLong)
                      .classMethod("numberWithUnsignedInteger:", &numberWithUnsignedInteger)
                      .classMethod("numberWithFloat:", &numberWithFloat)
                      .classMethod("numberWithDouble:", &numberWithDouble)
                      .method("boolValue", &boolValue)
                      .method("intValue", &intValue)
                      .method("integerValue", &integerValue)
                      .method("longLongValue", &longLongValue)
                      .method("unsignedIntegerValue", &unsignedIntegerValue)
                      .method("floatValue", &floatValue)
                      .method("doubleValue", &doubleValue)
                      .method("stringValue", &stringValue)
                      .method("objCType", &objCType)
                      .method("isEqual:", &isEqual)
                      .method("isEqualToNumber:", &isEqualToNumber)
                      .method("compare:", &compare)
                      .method("hash", &hash)
                      .method("description", &description)
                      .method("copyWithZone:", &copyWithZone)
                      .build();
}

}  // namespace NS::internal
