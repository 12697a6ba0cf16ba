// Readers of response header text and builders of request texts, from memory.
#include "net/http_header_text.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

struct DecimalCase {
    const char* text;
    int32_t value;
};

TEST(HttpHeaderText, ParseDecimalReadsLikeAtoiAndSaturates) {
    const DecimalCase cases[] = {
        {"123", 123},
        {"  42x", 42},
        {"+7", 7},
        {"-5", -5},
        {"", 0},
        {"abc", 0},
        {"\t\r\n12", 12},
        {"1 2", 1},
        {"8080", 8080},
        {"2147483647", INT32_MAX},
        {"2147483648", INT32_MAX},
        {"99999999999999999999999999", INT32_MAX},
        {"-2147483648", INT32_MIN},
        {"-99999999999999999999", INT32_MIN},
        {"000000000000000000000000000000000017", 17},
        {"- 5", 0},
    };
    for (const DecimalCase& c : cases)
        EXPECT_EQ(c.value, ParseDecimal(std::string(c.text))) << c.text;
}

TEST(HttpHeaderText, ParseDecimalStopsAtTheEndOfItsRange) {
    const char text[] = "1234";
    EXPECT_EQ(12, ParseDecimal(text, text + 2));
}

struct StatusCase {
    const char* header;
    bool found;
    int32_t code;
};

TEST(HttpHeaderText, StatusCodeIsTheWordAfterTheFirstBlank) {
    const StatusCase cases[] = {
        {"HTTP/1.0 200 OK\r\n\r\n", true, 200},
        {"HTTP/1.1 404\r\n\r\n", true, 404},
        {"HTTP/1.0 302\r\nLocation: x\r\n", true, 302},
        {"HTTP/1.0  200 OK", true, 0}, // two blanks: an empty code
        {"HTTP/1.0 99999999999 OK", true, INT32_MAX},
        {"HTTP/1.0\r\n\r\n", false, 0},
        {"", false, 0},
    };
    for (const StatusCase& c : cases) {
        int32_t code = -7;
        EXPECT_EQ(c.found, FindStatusCode(c.header, &code)) << c.header;
        if (c.found) {
            EXPECT_EQ(c.code, code) << c.header;
        }
    }
}

struct LocationCase {
    const char* header;
    const char* location;
};

TEST(HttpHeaderText, RedirectLocation) {
    const LocationCase cases[] = {
        {"HTTP/1.0 302 F\r\nLocation: /new/x.exe\r\n\r\n", "/new/x.exe"},
        {"HTTP/1.0 302 F\r\nLOCATION: http://Other/B.exe\r\n\r\n", "http://Other/B.exe"},
        {"HTTP/1.0 301 M\r\nContent-Location: /c\r\nLocation: /real\r\n\r\n", "/real"},
        {"HTTP/1.0 301 M\r\nContent-Location: /only\r\n\r\n", ""},
        {"HTTP/1.0 302 F\r\nLocation: /a b\r\n", "/a"},
        {"HTTP/1.0 302 F\r\nLocation:/x.exe\r\n\r\n", "/x.exe"}, // white space is optional
        {"HTTP/1.0 302 F\r\nLocation: \r\n\r\n", ""},
        {"HTTP/1.0 302 F\r\nLocation: /unterminated", ""},
        {"HTTP/1.0 302 F\r\nLocation:", ""},
        {"HTTP/1.0 302 F\r\nContent-Location:", ""},
        {"location: /first\r\n", "/first"},
    };
    for (const LocationCase& c : cases)
        EXPECT_EQ(c.location, FindRedirectLocation(c.header)) << c.header;
}

TEST(HttpHeaderText, RedirectUrlStaysOnTheHostUnlessAbsolute) {
    EXPECT_EQ("http://h/new/x.exe", BuildRedirectUrl("/new/x.exe", "h", false));
    EXPECT_EQ("http://h/other.exe", BuildRedirectUrl("other.exe", "h", false));
    EXPECT_EQ("http://o/x", BuildRedirectUrl("http://o/x", "h", false));
    EXPECT_EQ("http://h/HTTP://o/x", BuildRedirectUrl("HTTP://o/x", "h", false)); // exact scheme
    EXPECT_EQ("https://o/x", BuildRedirectUrl("https://o/x", "h", false));
    EXPECT_EQ("https://h/new/x.exe", BuildRedirectUrl("/new/x.exe", "h", true));
    EXPECT_EQ("http://o/x", BuildRedirectUrl("http://o/x", "h", true));
}

struct LengthCase {
    const char* header;
    ContentLengthFound found;
    int32_t size;
};

TEST(HttpHeaderText, ContentLength) {
    const LengthCase cases[] = {
        {"HTTP/1.0 200 OK\r\nContent-Length: 10000\r\n\r\n", ContentLengthFound::Yes, 10000},
        {"HTTP/1.0 200 OK\r\ncontent-length: 0\r\n\r\n", ContentLengthFound::Yes, 0},
        {"HTTP/1.0 200 OK\r\nCONTENT-LENGTH: -3\r\n\r\n", ContentLengthFound::Yes, -3},
        {"HTTP/1.0 200 OK\r\nContent-Length: 99999999999999\r\n\r\n", ContentLengthFound::Yes,
         INT32_MAX},
        {"HTTP/1.0 200 OK\r\nContent-Length: \r\n 55\r\n", ContentLengthFound::Yes, 0},
        {"HTTP/1.0 200 OK\r\n\r\n", ContentLengthFound::NoLine, -1},
        {"HTTP/1.0 200 OK\r\nContent-Length:5\r\n\r\n", ContentLengthFound::Yes, 5},
        {"HTTP/1.0 200 OK\r\nX-Original-Content-Length: 3\r\nContent-Length: 10\r\n\r\n",
         ContentLengthFound::Yes, 10}, // a name is compared whole
        {"HTTP/1.0 200 OK\nContent-Length: 5\n\n", ContentLengthFound::NoCarriageReturn, -1},
    };
    for (const LengthCase& c : cases) {
        int32_t size = -1;
        EXPECT_EQ(c.found, FindContentLength(c.header, &size)) << c.header;
        EXPECT_EQ(c.size, size) << c.header;
    }
}

TEST(HttpHeaderText, Base64MatchesTheStandardVectors) {
    const char* cases[][2] = {{"", ""},
                              {"f", "Zg=="},
                              {"fo", "Zm8="},
                              {"foo", "Zm9v"},
                              {"foob", "Zm9vYg=="},
                              {"fooba", "Zm9vYmE="},
                              {"foobar", "Zm9vYmFy"},
                              {"user:", "dXNlcjo="},
                              {"\xff\xfe\xfd", "//79"}};
    for (const auto& c : cases)
        EXPECT_EQ(c[1], EncodeBase64(c[0])) << c[0];
}

} // namespace
