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
    EXPECT_STREQ(NS::Number::numberWithInt(3)->objCType(), "q");
    EXPECT_STREQ(NS::Number::numberWithDouble(3)->objCType(), "d");
    EXPECT_STREQ(NS::Number::numberWithFloat(3)->objCType(), "d");
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
        {NS::Number::numberWithDouble(1e30), YES, LONG_MAX, INT_MAX, 1e30, "1e+30"},
        {NS::Number::numberWithDouble(-1e30), YES, LONG_MIN, INT_MIN, -1e30, "-1e+30"},
        {NS::Number::numberWithInteger(5000000000), YES, 5000000000, INT_MAX, 5e9, "5000000000"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.number->boolValue(), c.boolean) << c.text;
        EXPECT_EQ(c.number->integerValue(), c.integer) << c.text;
        EXPECT_EQ(c.number->intValue(), c.integer32) << c.text;
        EXPECT_DOUBLE_EQ(c.number->doubleValue(), c.real) << c.text;
        EXPECT_EQ(utf8(c.number->stringValue()), c.text);
    }
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

}  // namespace
