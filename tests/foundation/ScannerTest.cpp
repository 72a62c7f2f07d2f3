#include "FoundationTestSupport.h"

#include <Device/DevicePath.h>

#include <fstream>

using hbtest::str;
using hbtest::utf8;

namespace {

class ScannerTest : public hbtest::FoundationTest {};

TEST_F(ScannerTest, ScanHexInt) {
    struct Case {
        const char* text;
        NSUInteger start;
        BOOL found;
        unsigned value;     // when found; otherwise the sentinel stays
        NSUInteger endsAt;  // the scan location afterwards
    };
    const unsigned sentinel = 0xDEADBEEF;
    const Case cases[] = {
        {"#5FC6F4", 1, YES, 0x5FC6F4, 7},
        {"5FC6F4", 1, YES, 0xFC6F4, 6},  // the first digit is skipped
        {"#ABC", 1, YES, 0xABC, 4},
        {"#ff8000", 1, YES, 0xFF8000, 7},
        {"#FF8000:0.5", 1, YES, 0xFF8000, 7},  // stops at the first non-digit
        {"#11223344", 1, YES, 0x11223344, 9},
        {"#123456789", 1, YES, 0xFFFFFFFF, 10},  // saturates, still consumes every digit
        {"#FFFFFFFF", 1, YES, 0xFFFFFFFF, 9},
        {"#100000000", 1, YES, 0xFFFFFFFF, 10},
        {"#GGGGGG", 1, NO, 0, 1},
        {"#", 1, NO, 0, 1},
        {"#zz", 1, NO, 0, 1},
        {"", 0, NO, 0, 0},
        {"# \t\n 1F", 1, YES, 0x1F, 7},  // white space and line breaks skipped
        {"#0x1F", 1, YES, 0x1F, 5},
        {"#0X1f", 1, YES, 0x1F, 5},
        {"#0x", 1, YES, 0, 2},  // "0x" without a digit after it: the 0 is the number
        {"#0xG", 1, YES, 0, 2},
        {"#00000000000000000001", 1, YES, 1, 21},  // leading zeros do not overflow
        {"   ", 0, NO, 0, 0},
    };
    for (const Case& c : cases) {
        NS::Scanner* scanner = NS::Scanner::scannerWithString(str(c.text));
        scanner->setScanLocation(c.start);
        unsigned value = sentinel;
        EXPECT_EQ(scanner->scanHexInt(&value), c.found) << '"' << c.text << '"';
        EXPECT_EQ(value, c.found ? c.value : sentinel) << '"' << c.text << '"';
        EXPECT_EQ(scanner->scanLocation(), c.endsAt) << '"' << c.text << '"';
    }
}

TEST_F(ScannerTest, LocationsAreUtf16AndAtEndSkipsWhiteSpace) {
    // An emoji takes two UTF-16 units, so the digits start at 2.
    NS::Scanner* scanner =
        NS::Scanner::scannerWithString(str("\xF0\x9F\x98\x80"
                                           "AB  "));
    scanner->setScanLocation(2);
    unsigned value = 0;
    EXPECT_TRUE(scanner->scanHexInt(&value));
    EXPECT_EQ(value, 0xABu);
    EXPECT_EQ(scanner->scanLocation(), 4u);
    EXPECT_TRUE(scanner->isAtEnd()) << "only white space is left";
    EXPECT_FALSE(scanner->scanHexInt(nullptr));
    EXPECT_DEATH(scanner->setScanLocation(7), "beyond bounds");

    NS::MutableString* m = NS::MutableString::stringWithUTF8String("#12");
    NS::Scanner* copy = NS::Scanner::scannerWithString(m);
    m->setString("#FF"_ns);
    copy->setScanLocation(1);
    EXPECT_TRUE(copy->scanHexInt(&value));
    EXPECT_EQ(value, 0x12u) << "the scanner keeps the text it was given";
}

TEST_F(ScannerTest, DatesUrlsAndFiles) {
    NS::Date* now = NS::Date::date();
    NS::Date* later = NS::Date::dateWithTimeIntervalSinceNow(0.5);
    EXPECT_NEAR(later->timeIntervalSinceDate(now), 0.5, 0.05);
    EXPECT_NEAR(now->timeIntervalSince1970(), static_cast<double>(::time(nullptr)), 2.0);
    EXPECT_EQ(hbtest::describe(NS::Date::dateWithTimeIntervalSince1970(0)), "1970-01-01 00:00:00 +0000");
    EXPECT_DOUBLE_EQ(NS::Date::dateWithTimeIntervalSince1970(NSTimeIntervalSince1970)->timeIntervalSinceReferenceDate(),
                     0);

    struct UrlCase {
        const char* text;
        bool valid;
        const char* scheme;
    };
    const UrlCase urls[] = {
        {"https://example.org/cgi-bin/webscr?cmd=_donations&lc=US&bn=PP%2dDonationsBF%3abtn", true, "https"},
        {"mailto:someone@example.org?subject=HuebloomSupport", true, "mailto"},
        {"relative/path", true, nullptr},
        {"has space", false, nullptr},
        {"bad%zzescape", false, nullptr},
        {"", false, nullptr},
        {"1http://x", false, nullptr},
    };
    for (const UrlCase& u : urls) {
        NS::URL* url = NS::URL::URLWithString(str(u.text));
        EXPECT_EQ(url != nullptr, u.valid) << u.text;
        if (!url) continue;
        EXPECT_EQ(utf8(url->absoluteString()), u.text);
        EXPECT_EQ(utf8(url->scheme()), u.scheme ? u.scheme : "(nil)") << u.text;
    }
    EXPECT_EQ(NS::URL::URLWithString(nullptr), nullptr);

    device::TemporaryDevice device;
    NS::FileManager* files = NS::FileManager::defaultManager();
    EXPECT_EQ(files, NS::FileManager::defaultManager());
    EXPECT_FALSE(files->fileExistsAtPath(str("/tmp/x.png")));
    std::ofstream(device / "/tmp/x.png") << "png";
    EXPECT_TRUE(files->fileExistsAtPath(str("/tmp/x.png")));
    EXPECT_TRUE(files->fileExistsAtPath(str("/var/mobile/Library/Preferences")));
    EXPECT_FALSE(files->fileExistsAtPath(str("/../../../../etc/passwd")));
    EXPECT_FALSE(files->fileExistsAtPath(nullptr));
    EXPECT_TRUE(files->removeItemAtPath(str("/tmp/x.png")));
    EXPECT_FALSE(files->fileExistsAtPath(str("/tmp/x.png")));
}

}  // namespace
