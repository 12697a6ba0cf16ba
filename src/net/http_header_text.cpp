// Readers of HTTP response header text and builders of request texts.
#include "net/http_header_text.h"

#include <climits>

#include "text/ascii_case.h"

namespace {

bool IsCSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

} // namespace

int32_t ParseDecimal(const char* begin, const char* end) {
    const char* p = begin;
    while (p < end && IsCSpace(*p))
        ++p;
    bool negative = false;
    if (p < end && (*p == '+' || *p == '-')) {
        negative = *p == '-';
        ++p;
    }
    // Accumulates the magnitude in 64 bits and stops growing past the 32-bit range.
    const int64_t limit = negative ? -static_cast<int64_t>(INT32_MIN) : INT32_MAX;
    int64_t value = 0;
    for (; p < end && *p >= '0' && *p <= '9'; ++p) {
        if (value < limit) value = value * 10 + (*p - '0');
        if (value > limit) value = limit;
    }
    return static_cast<int32_t>(negative ? -value : value);
}

bool FindStatusCode(const std::string& header, int32_t* code) {
    std::string::size_type blank = header.find(' ');
    if (blank == std::string::npos) return false;
    std::string::size_type next = header.find(' ', blank + 1);
    if (next == std::string::npos) next = header.size();
    *code = ParseDecimal(header.data() + blank + 1, header.data() + next);
    return true;
}

bool FindHeaderField(const std::string& header, const char* name, std::string::size_type* value,
                     std::string::size_type* lineEnd) {
    const std::string wanted = LowerAscii(name);
    std::string::size_type line = 0;
    while (line < header.size()) {
        std::string::size_type end = header.find('\n', line);
        if (end == std::string::npos) end = header.size();
        const std::string::size_type colon = header.find(':', line);
        if (colon < end && colon - line == wanted.size() &&
            LowerAscii(header.substr(line, colon - line)) == wanted) {
            std::string::size_type at = colon + 1;
            while (at < end && (header[at] == ' ' || header[at] == '\t'))
                ++at;
            *value = at;
            *lineEnd = end;
            return true;
        }
        line = end + 1;
    }
    return false;
}

std::string FindRedirectLocation(const std::string& header) {
    std::string::size_type start = 0;
    std::string::size_type lineEnd = 0;
    if (!FindHeaderField(header, "location", &start, &lineEnd)) return std::string();
    const std::string::size_type stop = header.find_first_of("\n\r ", start);
    if (stop == std::string::npos) return std::string();
    return header.substr(start, stop - start);
}

std::string BuildRedirectUrl(const std::string& location, const std::string& host, bool secure) {
    if (location.compare(0, 7, "http://") == 0 || location.compare(0, 8, "https://") == 0)
        return location;
    std::string url = (secure ? "https://" : "http://") + host;
    if (location[0] != '/') url += '/';
    return url + location;
}

ContentLengthFound FindContentLength(const std::string& header, int32_t* size) {
    std::string::size_type value = 0;
    std::string::size_type lineEnd = 0;
    if (!FindHeaderField(header, "content-length", &value, &lineEnd))
        return ContentLengthFound::NoLine;
    const std::string::size_type cr = header.find('\r', value);
    if (cr == std::string::npos || cr > lineEnd) return ContentLengthFound::NoCarriageReturn;
    *size = ParseDecimal(header.data() + value, header.data() + cr);
    return ContentLengthFound::Yes;
}

namespace {
// A byte of text as the unsigned value that base64 takes apart.
uint32_t Octet(char byte) {
    return static_cast<uint8_t>(byte);
}
} // namespace

std::string EncodeBase64(const std::string& bytes) {
    static const char kAlphabet[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    std::string::size_type i = 0;
    for (; i + 3 <= bytes.size(); i += 3) {
        const uint32_t group =
            Octet(bytes[i]) << 16 | Octet(bytes[i + 1]) << 8 | Octet(bytes[i + 2]);
        out += kAlphabet[group >> 18 & 63];
        out += kAlphabet[group >> 12 & 63];
        out += kAlphabet[group >> 6 & 63];
        out += kAlphabet[group & 63];
    }
    const std::string::size_type rest = bytes.size() - i;
    if (rest) {
        uint32_t group = Octet(bytes[i]) << 16;
        if (rest == 2) group |= Octet(bytes[i + 1]) << 8;
        out += kAlphabet[group >> 18 & 63];
        out += kAlphabet[group >> 12 & 63];
        out += rest == 2 ? kAlphabet[group >> 6 & 63] : '=';
        out += '=';
    }
    return out;
}
