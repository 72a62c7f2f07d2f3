#include "FoundationTestSupport.h"

#include <climits>
#include <cmath>
#include <cstring>
#include <vector>

using hbtest::str;
using hbtest::utf8;

namespace {

class StringTest : public hbtest::FoundationTest {};

TEST_F(StringTest, LengthCountsUtf16UnitsAndIndexesThem) {
    struct Case {
        const char* text;
        NSUInteger length;
        std::vector<unichar> units;
    };
    const Case cases[] = {
        {"", 0, {}},
        {"#5FC6F4", 7, {'#', '5', 'F', 'C', '6', 'F', '4'}},
        {"h\xC3\xA9", 2, {'h', 0xE9}},                    // é: two bytes, one unit
        {"\xE2\x82\xAC", 1, {0x20AC}},                    // €: three bytes, one unit
        {"a\xF0\x9F\x98\x80", 3, {'a', 0xD83D, 0xDE00}},  // emoji: a surrogate pair
    };
    for (const Case& c : cases) {
        NS::String* s = str(c.text);
        ASSERT_NE(s, nullptr) << c.text;
        EXPECT_EQ(s->length(), c.length) << c.text;
        for (NSUInteger i = 0; i < c.units.size(); ++i) EXPECT_EQ(s->characterAtIndex(i), c.units[i]) << c.text;
        EXPECT_EQ(utf8(s), c.text) << "UTF-8 round trip";
    }
}

TEST_F(StringTest, MalformedUtf8IsRefusedNotCrashed) {
    const char* const bad[] = {
        "\xC3",              // truncated
        "a\x80z",            // stray continuation byte
        "\xC0\xAF",          // overlong "/"
        "\xE0\x80\xAF",      // overlong, three bytes
        "\xED\xA0\x80",      // an encoded surrogate
        "\xF4\x90\x80\x80",  // past U+10FFFF
        "\xFF",
    };
    for (const char* b : bad) {
        EXPECT_EQ(NS::String::stringWithUTF8String(b), nullptr) << "bytes " << b;
        EXPECT_EQ(NS::String::alloc()->initWithBytes(b, std::strlen(b), NSUTF8StringEncoding), nullptr);
    }
    EXPECT_EQ(NS::String::stringWithUTF8String(nullptr), nullptr);
}

TEST_F(StringTest, UnpairedSurrogateWritesAsReplacementCharacter) {
    const unichar units[] = {'a', 0xD800, 'b'};
    NS::String* s = NS::String::stringWithCharacters(units, 3);
    EXPECT_EQ(s->length(), 3u);
    EXPECT_EQ(utf8(s),
              "a\xEF\xBF\xBD"
              "b");
}

TEST_F(StringTest, BoolValue) {
    struct Case {
        const char* text;
        BOOL expected;
    };
    const Case cases[] = {
        {"true", YES}, {"YES", YES},    {"yes", YES}, {"T", YES},       {" +0012", YES},  {"1", YES},  {"9", YES},
        {"-5", YES},   {"\t\n y", YES}, {"000t", NO}, {"0", NO},        {"no", NO},       {"", NO},    {"false", NO},
        {"  ", NO},    {"+", NO},       {"00", NO},   {"x1", NO},       {"+-1", NO},      {"0.5", NO}, {"NO", NO},
        {"+t", NO},    {"0t", NO},      {"-y", NO},   {"+000009", YES}, {" \tTrue", YES},
    };
    for (const Case& c : cases) EXPECT_EQ(str(c.text)->boolValue(), c.expected) << '"' << c.text << '"';
}

TEST_F(StringTest, IntegerValuesReadLeadingIntegerAndClamp) {
    struct Case {
        const char* text;
        long long integer;
        int integer32;
    };
    const Case cases[] = {
        {"42", 42, 42},
        {"  -17abc", -17, -17},
        {"+8", 8, 8},
        {"2.7", 2, 2},
        {"abc", 0, 0},
        {"", 0, 0},
        {"- 5", 0, 0},
        {"9223372036854775807", LLONG_MAX, INT_MAX},
        {"9223372036854775808", LLONG_MAX, INT_MAX},
        {"-9223372036854775808", LLONG_MIN, INT_MIN},
        {"-99999999999999999999999", LLONG_MIN, INT_MIN},
        {"3000000000", 3000000000LL, INT_MAX},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(str(c.text)->integerValue(), c.integer) << c.text;
        EXPECT_EQ(str(c.text)->longLongValue(), c.integer) << c.text;
        EXPECT_EQ(str(c.text)->intValue(), c.integer32) << c.text;
    }
}

TEST_F(StringTest, DoubleAndFloatValuesReadLeadingNumber) {
    struct Case {
        const char* text;
        double value;
    };
    const Case cases[] = {
        {"0.500000", 0.5}, {"1.000000", 1.0}, {" -2.25xyz", -2.25}, {".5", 0.5},     {"5.", 5.0},  {"1e3", 1000.0},
        {"1e", 1.0},       {"1e+", 1.0},      {"2E-2", 0.02},       {"", 0.0},       {"abc", 0.0}, {".", 0.0},
        {"-", 0.0},        {"+.e1", 0.0},     {"0x10", 0.0},        {"1e-400", 0.0}, {"  7", 7.0},
    };
    for (const Case& c : cases) {
        EXPECT_DOUBLE_EQ(str(c.text)->doubleValue(), c.value) << c.text;
        EXPECT_FLOAT_EQ(str(c.text)->floatValue(), static_cast<float>(c.value)) << c.text;
    }
    EXPECT_EQ(str("1e400")->doubleValue(), HUGE_VAL);
    EXPECT_EQ(str("-1e400")->doubleValue(), -HUGE_VAL);
    EXPECT_EQ(str("inf")->doubleValue(), 0.0) << "only decimal numbers are read";
}

TEST_F(StringTest, ComponentsSeparatedByStringKeepsEmptyPieces) {
    struct Case {
        const char* text;
        const char* separator;
        std::vector<std::string> pieces;
    };
    const Case cases[] = {
        {"#5FC6F4:0.500000", ":", {"#5FC6F4", "0.500000"}},
        {"#5FC6F4", ":", {"#5FC6F4"}},
        {"#FF0000:", ":", {"#FF0000", ""}},
        {":", ":", {"", ""}},
        {"", ":", {""}},
        {"a::b", ":", {"a", "", "b"}},
        {"a--b--", "--", {"a", "b", ""}},
        {"abc", "", {"abc"}},
    };
    for (const Case& c : cases) {
        NS::Array* parts = str(c.text)->componentsSeparatedByString(str(c.separator));
        ASSERT_EQ(parts->count(), c.pieces.size()) << c.text;
        for (NSUInteger i = 0; i < parts->count(); ++i) {
            EXPECT_EQ(utf8(objc::cast<NS::String>(parts->objectAtIndex(i))), c.pieces[i]) << c.text;
        }
    }
}

TEST_F(StringTest, SearchAndPrefixes) {
    NS::String* s = str("#FF8000:0.5");
    EXPECT_TRUE(s->hasPrefix("#"_ns));
    EXPECT_TRUE(s->hasPrefix(s));
    EXPECT_FALSE(s->hasPrefix("FF"_ns));
    EXPECT_FALSE(s->hasPrefix(""_ns)) << "an empty prefix is never found";
    EXPECT_FALSE(s->hasPrefix(nullptr));
    EXPECT_FALSE(str("")->hasPrefix("#"_ns));
    EXPECT_TRUE(s->hasSuffix("0.5"_ns));

    NSRange r = s->rangeOfString(":"_ns);
    EXPECT_EQ(r.location, 7u);
    EXPECT_EQ(r.length, 1u);
    r = s->rangeOfString("00"_ns);
    EXPECT_EQ(r.location, 4u);
    EXPECT_EQ(r.length, 2u);
    EXPECT_EQ(s->rangeOfString(";"_ns).location, static_cast<NSUInteger>(NSNotFound));
    EXPECT_EQ(s->rangeOfString(""_ns).location, static_cast<NSUInteger>(NSNotFound));
    // Locations count UTF-16 units, past a surrogate pair.
    EXPECT_EQ(str("\xF0\x9F\x98\x80:")->rangeOfString(":"_ns).location, 2u);
}

TEST_F(StringTest, SubstringsAndEdits) {
    NS::String* s = str("#5FC6F4");
    EXPECT_EQ(utf8(s->substringFromIndex(1)), "5FC6F4");
    EXPECT_EQ(utf8(s->substringFromIndex(7)), "");
    EXPECT_EQ(utf8(s->substringToIndex(3)), "#5F");
    EXPECT_EQ(utf8(s->substringWithRange(NSMakeRange(1, 2))), "5F");
    EXPECT_EQ(utf8(s->stringByAppendingString(":1"_ns)), "#5FC6F4:1");
    EXPECT_EQ(utf8(str("a.b.c")->stringByReplacingOccurrencesOfString("."_ns, "--"_ns)), "a--b--c");

    NS::MutableString* m = s->mutableCopy();
    objc::autorelease(m);
    m->appendString(":"_ns);
    m->appendFormat("%f"_ns, 0.5);
    m->insertString("X"_ns, 0);
    m->deleteCharactersInRange(NSMakeRange(1, 1));
    m->replaceCharactersInRange(NSMakeRange(0, 1), "#"_ns);
    EXPECT_EQ(utf8(m), "#5FC6F4:0.500000");
    EXPECT_EQ(m->length(), 16u);
    EXPECT_EQ(utf8(s), "#5FC6F4") << "the original is untouched";
}

TEST_F(StringTest, OutOfRangeIndexesAbort) {
    NS::String* s = str("ab");
    EXPECT_DEATH(s->characterAtIndex(2), "beyond bounds");
    EXPECT_DEATH(s->substringFromIndex(3), "beyond bounds");
    EXPECT_DEATH(s->substringWithRange(NSMakeRange(1, 2)), "beyond bounds");
}

TEST_F(StringTest, EqualityHashAndCopies) {
    NS::String* a = str("blueText");
    NS::MutableString* m = NS::MutableString::stringWithString(a);
    EXPECT_TRUE(a->isEqual(m));
    EXPECT_TRUE(m->isEqual(a));
    EXPECT_TRUE(a->isEqualToString("blueText"_ns));
    EXPECT_EQ(a->hash(), m->hash());
    EXPECT_FALSE(a->isEqual(NS::Number::numberWithInt(1)));
    EXPECT_FALSE(a->isEqualToString(nullptr));

    // An immutable string is its own copy; a mutable one copies to a new,
    // immutable string that does not follow later changes.
    NS::String* copyA = a->copy();
    EXPECT_EQ(copyA, a);
    copyA->release();
    NS::String* copyM = m->copy();
    EXPECT_NE(copyM, static_cast<NS::String*>(m));
    EXPECT_FALSE(copyM->isKindOfClass("NSMutableString"_cls));
    NSUInteger hashBefore = m->hash();
    m->appendString("!"_ns);
    EXPECT_NE(m->hash(), hashBefore) << "the cached hash follows a change";
    EXPECT_EQ(utf8(copyM), "blueText");
    copyM->release();

    EXPECT_EQ(a->compare("blueTexu"_ns), NSOrderedAscending);
    EXPECT_EQ(a->compare("blue"_ns), NSOrderedDescending);
    EXPECT_EQ(a->compare(m->substringToIndex(8)), NSOrderedSame);
}

TEST_F(StringTest, LiteralIsCachedAndImmortal) {
    NS::String* first = nullptr;
    for (int i = 0; i < 2; ++i) {
        objc::AutoreleasePool inner;
        NS::String* s = "enabled"_ns;
        if (first == nullptr) first = s;
        EXPECT_EQ(s, first);
        objc::autorelease(s->retain());
    }
    EXPECT_EQ(utf8(first), "enabled");
    EXPECT_EQ(utf8("h\xC3\xA9llo"_ns), "h\xC3\xA9llo");
    EXPECT_EQ("h\xC3\xA9llo"_ns->length(), 5u);
}

TEST_F(StringTest, ClassFromString) {
    EXPECT_EQ(NSClassFromString("NSDictionary"_ns), "NSDictionary"_cls);
    EXPECT_EQ(NSClassFromString("NoSuchClassHere"_ns), Nil);
    EXPECT_EQ(NSClassFromString(static_cast<NS::String*>(nullptr)), Nil);
}

}  // namespace
