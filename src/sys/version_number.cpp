// Four-part product version numbers: parsing, comparison and version-range tests.
#include "sys/version_number.h"

#include <string>

namespace {
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// One range against the version: 1 inside, 0 outside, -1 a bound that does not parse.
int TestRange(const VersionNumber& version, const std::string& range) {
    const std::string::size_type dash = range.find('-');
    const std::string low = dash == std::string::npos ? range : range.substr(0, dash);
    const std::string high = dash == std::string::npos ? range : range.substr(dash + 1);
    if (!low.empty()) {
        VersionNumber bound;
        if (!ParseVersionNumber(low.c_str(), &bound)) return -1;
        if (CompareVersionNumbers(version, bound) < 0) return 0;
    }
    if (high.empty()) return 1;
    VersionNumber bound;
    if (!ParseVersionNumber(high.c_str(), &bound)) return -1;
    return CompareVersionNumbers(version, bound) <= 0 ? 1 : 0;
}
} // namespace

bool ParseVersionNumber(const char* text, VersionNumber* version) {
    if (!text || !version || !IsDigit(*text)) return false;
    uint16_t parts[4] = {0, 0, 0, 0};
    const char* p = text;
    for (uint16_t& part : parts) {
        if (*p == '.') ++p;
        if (IsDigit(*p)) {
            uint32_t value = 0;
            for (; IsDigit(*p); ++p) {
                value = value * 10 + static_cast<uint32_t>(*p - '0');
                // Checked exactly: a 16-bit accumulator can wrap to a larger value (100000 reads
                // as 34464), which a "became smaller" test would let through.
                if (value > 0xFFFF) {
                    version->Clear();
                    return false;
                }
            }
            part = static_cast<uint16_t>(value);
        } else if (*p >= 'a' && *p <= 'z') {
            part = static_cast<uint16_t>(*p++ - 'a');
        } else if (*p >= 'A' && *p <= 'Z') {
            part = static_cast<uint16_t>(*p++ - 'A');
        }
    }
    version->major = parts[0];
    version->minor = parts[1];
    version->third = parts[2];
    version->fourth = parts[3];
    return true;
}

bool FindVersionInName(const std::string& name, VersionNumber* version) {
    std::string::size_type pos = 0;
    while (true) {
        while (pos < name.size() && !IsDigit(name[pos]))
            ++pos;
        if (pos >= name.size()) return false;
        if (!version) return true;
        if (ParseVersionNumber(name.c_str() + pos, version)) return true;
        while (pos < name.size() && IsDigit(name[pos]))
            ++pos;
    }
}

int CompareVersionNumbers(const VersionNumber& a, const VersionNumber& b) {
    if (a.major != b.major) return static_cast<int>(a.major) - static_cast<int>(b.major);
    if (a.minor != b.minor) return static_cast<int>(a.minor) - static_cast<int>(b.minor);
    if (a.third != b.third) return static_cast<int>(a.third) - static_cast<int>(b.third);
    return static_cast<int>(a.fourth) - static_cast<int>(b.fourth);
}

bool VersionInRanges(const VersionNumber& version, const char* ranges) {
    if (!ranges || !*ranges) return true;
    const std::string text = ranges;
    std::string::size_type start = 0;
    while (start <= text.size()) {
        std::string::size_type end = text.find(';', start);
        if (end == std::string::npos) end = text.size();
        const std::string range = text.substr(start, end - start);
        // An empty piece ("1.0-1.5;" or ";;") names no versions; read literally it would be an
        // open range and accept them all.
        if (!range.empty()) {
            const int answer = TestRange(version, range);
            if (answer != 0) return answer > 0;
        }
        start = end + 1;
    }
    return false;
}
