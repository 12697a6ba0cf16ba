// ArgumentCursor: the command line's tokens, and agreement with NextToken on the same text.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "config/argument_cursor.h"
#include "text/next_token.h"

namespace {

using Strings = std::vector<std::string>;

// The tokens of a text, with "<fail>" appended when a split fails.
Strings CursorTokens(const std::string& text) {
    ArgumentCursor cursor(text);
    Strings tokens;
    std::string token;
    while (!cursor.AtEnd()) {
        if (!cursor.Next(token)) {
            tokens.push_back("<fail>");
            break;
        }
        tokens.push_back(token);
    }
    return tokens;
}

Strings NextTokenTokens(const std::string& text) {
    std::string source = TrimBlanks(text);
    Strings tokens;
    std::string token;
    while (!source.empty()) {
        if (!NextToken(source, token, " ", false)) {
            tokens.push_back("<fail>");
            break;
        }
        tokens.push_back(token);
    }
    return tokens;
}

struct TokenCase {
    const char* text;
    Strings tokens;
};

const TokenCase kTokenCases[] = {
    {"", {}},
    {" \t\r\n ", {}},
    {"/qb", {"/qb"}},
    {"  /qb   /L*v  log.txt  ", {"/qb", "/L*v", "log.txt"}},
    {"a\tb c", {"a\tb", "c"}},
    {"a \tb", {"a", "b"}},
    {"\"C:\\Program Files\\x.msi\" /qn", {"\"C:\\Program Files\\x.msi\"", "/qn"}},
    {"P=\"a b\" Q=1", {"P=\"a b\"", "Q=1"}},
    {"a\"b c\"d e", {"a\"b c\"d", "e"}},
    {"\"\"", {"\"\""}},
    {"\"\"\"\"", {"\"\"\"\""}},
    {"\"a\"\"b c\"", {"\"a\"\"b c\""}},
    {"x \"a", {"x", "<fail>"}},
    {"x a\"", {"x", "<fail>"}},
    {"\"a b", {"<fail>"}},
    {"a b\" c", {"a", "<fail>"}},
    {"\" a \"\t", {"\" a \""}},
};

TEST(ArgumentCursor, Table) {
    for (const TokenCase& c : kTokenCases) {
        EXPECT_EQ(c.tokens, CursorTokens(c.text)) << "[" << c.text << "]";
    }
}

// The cursor must split exactly as the shared tokenizer does; random texts over the characters
// that matter (space, tab, quote, equals, slash, letters) cover the corners.
TEST(ArgumentCursor, AgreesWithNextToken) {
    const char alphabet[] = {' ', ' ', ' ', '\t', '"', '"', '=', '/', 'a', 'b', '\r', '\0'};
    std::mt19937 random(12345);
    std::uniform_int_distribution<int> length(0, 24);
    std::uniform_int_distribution<int> pick(0, sizeof alphabet - 2);  // NUL is not in texts
    for (int round = 0; round < 30000; ++round) {
        std::string text;
        for (int n = length(random); n > 0; --n) text += alphabet[pick(random)];
        ASSERT_EQ(NextTokenTokens(text), CursorTokens(text)) << "[" << text << "]";
    }
}

}  // namespace
