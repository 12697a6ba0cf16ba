// Four-part product version numbers: parsing, comparison and version-range tests.
#pragma once
#include <cstdint>
#include <string>

struct VersionNumber {
    uint16_t major = 0;
    uint16_t minor = 0;
    uint16_t third = 0;
    uint16_t fourth = 0;

    void Clear() { major = minor = third = fourth = 0; }
};

// Reads up to four dot-separated parts; a part is a decimal number (16 bits), a single letter
// ("a" or "A" is 0, "b" 1, ...) or, at anything else, 0 without consuming. False when the text or
// output is missing, the first character is not a digit (output untouched) or a number exceeds
// 65535 (output cleared).
bool ParseVersionNumber(const char* text, VersionNumber* version);

// A version inside a display name: the first run of digits that parses ("Product 2000 release 3"
// gives 2000.0.0.0). False when none parses; with a null output, true when the name holds a digit.
bool FindVersionInName(const std::string& name, VersionNumber* version);

// Negative, zero or positive: the difference of the first part that differs.
int CompareVersionNumbers(const VersionNumber& a, const VersionNumber& b);

// Ranges "LOW-HIGH;LOW-HIGH;..." where either bound may be empty (open) and a range without "-"
// is a single version. No or empty ranges accept every version; an empty range between two
// semicolons is ignored; a bound that does not parse rejects the version.
bool VersionInRanges(const VersionNumber& version, const char* ranges);
