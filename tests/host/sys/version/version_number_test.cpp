// Version numbers: parsing, comparison and the range test that upgrade conditions rely on.
#include <gtest/gtest.h>

#include <string>

#include "sys/version_number.h"

namespace {
VersionNumber V(uint16_t a, uint16_t b, uint16_t c, uint16_t d) {
    VersionNumber v;
    v.major = a;
    v.minor = b;
    v.third = c;
    v.fourth = d;
    return v;
}

std::string Text(const VersionNumber& v) {
    return std::to_string(v.major) + "." + std::to_string(v.minor) + "." + std::to_string(v.third) +
           "." + std::to_string(v.fourth);
}

VersionNumber Parsed(const char* text) {
    VersionNumber v;
    EXPECT_TRUE(ParseVersionNumber(text, &v)) << text;
    return v;
}

struct ParseCase {
    const char* text;
    const char* expected;
};

TEST(ParseVersionNumber, ReadsNumbersLettersAndStopsAtOtherCharacters) {
    const ParseCase cases[] = {
        {"2.0", "2.0.0.0"},        {"1.0b", "1.0.1.0"},
        {"4.0 Beta", "4.0.0.0"},   {"1.2.3.4", "1.2.3.4"},
        {"1.2.3.4.5", "1.2.3.4"},  {"7", "7.0.0.0"},
        {"3.A.z", "3.0.25.0"},     {"1..2", "1.0.2.0"},
        {"0010.0002", "10.2.0.0"}, {"65535.65535.65535.65535", "65535.65535.65535.65535"},
        {"5-6", "5.0.0.0"},        {"1.2abc", "1.2.0.1"},
    };
    for (const ParseCase& c : cases) {
        EXPECT_EQ(Text(Parsed(c.text)), c.expected) << c.text;
    }
}

TEST(ParseVersionNumber, RefusesMissingTextAndNonDigitStartLeavingOutputAlone) {
    VersionNumber v = V(9, 9, 9, 9);
    for (const char* text : {"", " 1.0", ".1", "v1.0", "-1"}) {
        EXPECT_FALSE(ParseVersionNumber(text, &v)) << text;
        EXPECT_EQ(Text(v), "9.9.9.9") << text;
    }
    EXPECT_FALSE(ParseVersionNumber(nullptr, &v));
    EXPECT_FALSE(ParseVersionNumber("1.0", nullptr));
}

TEST(ParseVersionNumber, RefusesEveryNumberAbove65535) {
    // 655359 and 100000 wrap a 16-bit accumulator to values that are not smaller than the step
    // before; they must still fail.
    for (const char* text : {"65536", "70000", "100000", "655359", "1.99999", "1.2.3.4294967296"}) {
        VersionNumber v = V(1, 1, 1, 1);
        EXPECT_FALSE(ParseVersionNumber(text, &v)) << text;
        EXPECT_EQ(Text(v), "0.0.0.0") << text;
    }
}

TEST(CompareVersionNumbers, FirstDifferingPartDecidesAsUnsigned) {
    EXPECT_EQ(CompareVersionNumbers(V(1, 2, 3, 4), V(1, 2, 3, 4)), 0);
    EXPECT_LT(CompareVersionNumbers(V(1, 9, 9, 9), V(2, 0, 0, 0)), 0);
    EXPECT_GT(CompareVersionNumbers(V(1, 2, 3, 5), V(1, 2, 3, 4)), 0);
    EXPECT_GT(CompareVersionNumbers(V(0, 0, 65535, 0), V(0, 0, 1, 65535)), 0);
    EXPECT_EQ(CompareVersionNumbers(V(3, 0, 0, 0), V(1, 0, 0, 0)), 2);
    EXPECT_LT(CompareVersionNumbers(V(0, 0, 0, 0), V(0, 0, 0, 65535)), 0);
}

struct RangeCase {
    const char* ranges;
    const char* version;
    bool inside;
};

TEST(VersionInRanges, AcceptsAndRejectsAsTheRangesSay) {
    const RangeCase cases[] = {
        {"1.0-1.5;2.0-", "1.2", true},
        {"1.0-1.5;2.0-", "3.1", true},
        {"1.0-1.5;2.0-", "1.7", false},
        {"1.0-1.5;2.0-", "0.9", false},
        {"1.0-1.5;2.0-", "1.5", true},
        {"1.0-1.5;2.0-", "1.5.0.1", false},
        {"1.0-1.5;2.0-", "2.0", true},
        {"-2.0", "0.0", true},
        {"-2.0", "2.0", true},
        {"-2.0", "2.0.0.1", false},
        {"1.0 - 2.0", "1.5", false}, // the high bound starts with a blank and fails to parse
        {"1.0 - 2.0", "0.5", false},
        {"1.2", "1.2", true}, // one version: both bounds
        {"1.2", "1.2.0.1", false},
        {"1.2", "1.1", false},
        {"-", "12.34", true},
        {"3.0-;x-y", "1.0", false}, // a bound that does not parse rejects
        {"x-;1.0-", "5.0", false},  // even before a range that would accept
        {"1.0-1.5;", "3.0", false}, // an empty trailing piece names nothing
        {"1.0-1.5;;2.0-", "1.7", false},
        {"1.0-1.5;;2.0-", "2.1", true},
        {"2.0-1.0", "1.5", false},
        {"1.0-2.0-3.0", "1.5", true}, // high bound "2.0-3.0" reads as 2.0
        {"1.0-2.0-3.0", "2.5", false},
    };
    for (const RangeCase& c : cases) {
        EXPECT_EQ(VersionInRanges(Parsed(c.version), c.ranges), c.inside)
            << c.ranges << " vs " << c.version;
    }
}

TEST(VersionInRanges, NoRangesAcceptEverything) {
    EXPECT_TRUE(VersionInRanges(V(0, 0, 0, 0), nullptr));
    EXPECT_TRUE(VersionInRanges(V(65535, 1, 2, 3), ""));
}
} // namespace
