#include "FoundationTestSupport.h"

#include <climits>
#include <cmath>
#include <cstring>
#include <limits>

using hbtest::utf8;

namespace {

class NumberTest : public hbtest::FoundationTest {};

TEST_F(NumberTest, KindIsKept) {
    EXPECT_STREQ(NS::Number::numberWithBool(YES)->objCType(), "c");
    EXPECT_STREQ(NS::Number::numberWithInteger(3)->objCType(), "q");
    EXPECT_STREQ(NS::Number::numberWithInt(3)->objCType(), "i");
    EXPECT_STREQ(NS::Number::numberWithLongLong(3)->objCType(), "q");
    EXPECT_STREQ(NS::Number::numberWithUnsignedInteger(3)->objCType(), "q");
    EXPECT_STREQ(NS::Number::numberWithUnsignedInteger(ULONG_MAX)->objCType(), "Q");
    EXPECT_STREQ(NS::Number::numberWithDouble(3)->objCType(), "d");
    EXPECT_STREQ(NS::Number::numberWithFloat(3)->objCType(), "f");
}

TEST_F(NumberTest, ConversionsFromEachKind) {
    struct Case {
        NS::Number* number;
        BOOL boolean;
        NSInteger integer;
        int integer32;
        double real;
        const char* text;
    };
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const Case cases[] = {
        {NS::Number::numberWithBool(YES), YES, 1, 1, 1.0, "1"},
        {NS::Number::numberWithBool(NO), NO, 0, 0, 0.0, "0"},
        {NS::Number::numberWithInteger(-42), YES, -42, -42, -42.0, "-42"},
        {NS::Number::numberWithInteger(0), NO, 0, 0, 0.0, "0"},
        {NS::Number::numberWithDouble(2.7), YES, 2, 2, 2.7, "2.7"},
        {NS::Number::numberWithDouble(-2.7), YES, -2, -2, -2.7, "-2.7"},
        {NS::Number::numberWithDouble(0.5), YES, 0, 0, 0.5, "0.5"},
        {NS::Number::numberWithDouble(0.0), NO, 0, 0, 0.0, "0"},
        {NS::Number::numberWithDouble(1e30), YES, LONG_MAX, -1, 1e30, "1e+30"},
        {NS::Number::numberWithDouble(-1e30), YES, LONG_MIN, 0, -1e30, "-1e+30"},
        {NS::Number::numberWithInteger(5000000000), YES, 5000000000, 705032704, 5e9, "5000000000"},
        {NS::Number::numberWithInteger(LONG_MAX), YES, LONG_MAX, -1, 9223372036854775807.0, "9223372036854775807"},
        {NS::Number::numberWithInteger(UINT_MAX), YES, UINT_MAX, -1, 4294967295.0, "4294967295"},
        {NS::Number::numberWithUnsignedInteger(ULONG_MAX), YES, -1, -1, 18446744073709551615.0, "18446744073709551615"},
        {NS::Number::numberWithUnsignedInteger((1UL << 63) + 5), YES, LONG_MIN + 5, 5, 9223372036854775808.0,
         "9223372036854775813"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.number->boolValue(), c.boolean) << c.text;
        EXPECT_EQ(c.number->integerValue(), c.integer) << c.text;
        EXPECT_EQ(c.number->intValue(), c.integer32) << c.text;
        EXPECT_DOUBLE_EQ(c.number->doubleValue(), c.real) << c.text;
        EXPECT_EQ(utf8(c.number->stringValue()), c.text);
    }
    EXPECT_EQ(NS::Number::numberWithUnsignedInteger(ULONG_MAX)->unsignedIntegerValue(), ULONG_MAX);
    EXPECT_EQ(NS::Number::numberWithUnsignedInteger(ULONG_MAX)->longLongValue(), -1);
    NS::Number* notANumber = NS::Number::numberWithDouble(nan);
    EXPECT_EQ(notANumber->integerValue(), 0);
    EXPECT_TRUE(notANumber->boolValue());
}

TEST_F(NumberTest, EqualityAcrossKindsWithMatchingHashes) {
    struct Case {
        NS::Number* a;
        NS::Number* b;
        bool equal;
    };
    const Case cases[] = {
        {NS::Number::numberWithBool(YES), NS::Number::numberWithInt(1), true},
        {NS::Number::numberWithInt(1), NS::Number::numberWithDouble(1.0), true},
        {NS::Number::numberWithInt(2), NS::Number::numberWithDouble(2.5), false},
        {NS::Number::numberWithInteger(LLONG_MAX), NS::Number::numberWithDouble(9223372036854775807.0), false},
        {NS::Number::numberWithInteger((1LL << 53) + 1), NS::Number::numberWithDouble(9007199254740992.0), false},
        {NS::Number::numberWithDouble(-0.0), NS::Number::numberWithInt(0), true},
        {NS::Number::numberWithBool(NO), NS::Number::numberWithBool(NO), true},
        {NS::Number::numberWithUnsignedInteger(ULONG_MAX), NS::Number::numberWithInteger(-1), false},
        {NS::Number::numberWithUnsignedInteger(1UL << 63), NS::Number::numberWithDouble(9223372036854775808.0), true},
        {NS::Number::numberWithUnsignedInteger(1UL << 63), NS::Number::numberWithInteger(LONG_MIN), false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(static_cast<bool>(c.a->isEqual(c.b)), c.equal)
            << utf8(c.a->stringValue()) << " vs " << utf8(c.b->stringValue());
        EXPECT_EQ(static_cast<bool>(c.b->isEqual(c.a)), c.equal);
        if (c.equal) {
            EXPECT_EQ(c.a->hash(), c.b->hash());
        }
    }
    EXPECT_EQ(NS::Number::numberWithInt(2)->compare(NS::Number::numberWithDouble(2.5)), NSOrderedAscending);
    EXPECT_EQ(NS::Number::numberWithDouble(2.5)->compare(NS::Number::numberWithInt(2)), NSOrderedDescending);
    EXPECT_EQ(NS::Number::numberWithDouble(-2.5)->compare(NS::Number::numberWithInt(-2)), NSOrderedAscending);
    EXPECT_FALSE(NS::Number::numberWithInt(1)->isEqual("1"_ns));
}

TEST_F(NumberTest, OrderAcrossKindsNaNAndTheUnsignedRange) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    auto n = [](double v) { return NS::Number::numberWithDouble(v); };
    auto i = [](long v) { return NS::Number::numberWithInteger(v); };
    struct Case {
        NS::Number* a;
        NS::Number* b;
        NSComparisonResult order;
    };
    const Case cases[] = {
        {n(nan), i(0), NSOrderedAscending},
        {n(nan), n(0.0), NSOrderedAscending},
        {n(nan), n(3.5), NSOrderedAscending},
        {n(nan), i(7), NSOrderedAscending},
        {i(0), n(nan), NSOrderedDescending},
        {n(2), n(nan), NSOrderedDescending},
        {n(nan), n(-3.5), NSOrderedDescending},
        {n(nan), i(-7), NSOrderedDescending},
        {i(-7), n(nan), NSOrderedAscending},
        {n(nan), n(nan), NSOrderedSame},
        {NS::Number::numberWithUnsignedInteger(ULONG_MAX), i(LONG_MAX), NSOrderedDescending},
        {i(-1), NS::Number::numberWithUnsignedInteger(ULONG_MAX), NSOrderedAscending},
        {NS::Number::numberWithUnsignedInteger(ULONG_MAX), n(1e19), NSOrderedDescending},
        {NS::Number::numberWithUnsignedInteger(ULONG_MAX), n(1e20), NSOrderedAscending},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.a->compare(c.b), c.order) << utf8(c.a->stringValue()) << " vs " << utf8(c.b->stringValue());
    }
}

}  // namespace
