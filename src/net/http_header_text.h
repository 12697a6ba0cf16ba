// Pure readers of HTTP response header text and the small text builders of the client: no I/O,
// so the tests and the fuzzer drive them straight from memory.
#pragma once
#include <cstdint>
#include <string>

// Decimal value as the C library's atoi reads it (leading white space, a sign, digits up to the
// first non-digit, 0 without digits) over [begin, end). Values beyond the 32-bit range saturate
// at INT32_MIN / INT32_MAX instead of overflowing.
int32_t ParseDecimal(const char* begin, const char* end);
inline int32_t ParseDecimal(const std::string& text) {
    return ParseDecimal(text.data(), text.data() + text.size());
}

// Status code: the number between the first blank and the next one (or the end).
// False when the header has no blank at all.
bool FindStatusCode(const std::string& header, int32_t* code);

// The first header line whose name (the text before its colon) is `name`, compared whole and
// without regard to case: true with the offset of its value (after the colon and any blanks or
// tabs) and of the line feed that ends the line (the text's size when none does).
bool FindHeaderField(const std::string& header, const char* name, std::string::size_type* value,
                     std::string::size_type* lineEnd);

// Value of the Location line, with its case, up to the next line feed, carriage return or blank.
// Empty when there is none or nothing ends it.
std::string FindRedirectLocation(const std::string& header);

// The URL a redirect leads to: the value itself when it is absolute ("http://" or "https://",
// exact case), else on the same host with the current scheme.
std::string BuildRedirectUrl(const std::string& location, const std::string& host, bool secure);

enum class ContentLengthFound { Yes, NoLine, NoCarriageReturn };
// Size from the first Content-Length line, which must end with a carriage return; `size` is
// written only with Yes.
ContentLengthFound FindContentLength(const std::string& header, int32_t* size);

// Base64 with the standard alphabet, "=" padding and no line breaks.
std::string EncodeBase64(const std::string& bytes);
