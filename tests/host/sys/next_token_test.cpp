// The tokenizer and integer reader that the command line, SETUP.INI lists and ZBSETUP share.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sys/next_token.h"

namespace {

struct TokenCase {
    const char* source;
    const char* separators;
    bool strict;
    bool ok;
    const char* token;
    const char* rest; // what remains of the source (only checked when ok)
};

TEST(NextToken, Table) {
    const TokenCase cases[] = {
        {"a,b\"c", nullptr, true, true, "a", "b\"c"},
        {"  one , two ", nullptr, true, true, "one", " two"},
        {"\"C:\\Program Files\\x\\Setup.exe\"  /qb", " ", true, true,
         "C:\\Program Files\\x\\Setup.exe", " /qb"},
        {"Setup.exe /qb /L*v log.txt", " ", true, true, "Setup.exe", "/qb /L*v log.txt"},
        {"Setup.exe", " ", true, true, "Setup.exe", ""},
        {"\"Setup.exe /qb", " ", true, false, "", ""},
        {"\"a\"\"b\"", nullptr, true, true, "a\"b", ""}, // doubled quote stands for one
        {"\"abc\"def", nullptr, true, false, "", ""},    // text glued to a quoted string
        {"ab\"c\"", nullptr, true, false, "", ""},       // quote not at the start
        {"\"a,b\",c", nullptr, true, true, "a,b", "c"},  // quoted separator does not split
        {"\"C:\\a b\\x.msi\" /qb", " ", false, true, "\"C:\\a b\\x.msi\"", "/qb"},
        {"FOO=\"a b\" BAR=1", " ", false, true, "FOO=\"a b\"", "BAR=1"},
        {"/qb \"unclosed", " ", false, true, "/qb", "\"unclosed"},
        {"\"unclosed", " ", false, false, "", ""},
        {"\"", " ", false, false, "", ""}, // a lone quote never balances
        {"", nullptr, true, true, "", ""},
        {"   ", nullptr, true, true, "", ""},
        {"a\tb c", " ", false, true, "a\tb", "c"}, // tabs do not separate
        {"x::y", "::", true, true, "x", ":y"},     // one character of the separator skipped
    };
    for (const TokenCase& c : cases) {
        SCOPED_TRACE(c.source);
        std::string source = c.source, token;
        const bool ok = NextToken(source, token, c.separators, c.strict);
        ASSERT_EQ(c.ok, ok);
        if (ok) {
            EXPECT_EQ(c.token, token);
            EXPECT_EQ(c.rest, source);
        }
    }
}

TEST(NextToken, FailureLeavesRestUnconsumedForStrictGarbage) {
    std::string source = "a,b\"c", token;
    ASSERT_TRUE(NextToken(source, token, nullptr, true));
    EXPECT_FALSE(NextToken(source, token, nullptr, true));
    EXPECT_EQ("b\"c", source);
}

TEST(NextToken, WalksAListToTheEnd) {
    std::string source = "NT:5.1, 9X:4.10 ,\"W2K:5.0\"", token;
    std::vector<std::string> tokens;
    while (!source.empty()) {
        ASSERT_TRUE(NextToken(source, token, nullptr, true));
        tokens.push_back(token);
    }
    EXPECT_EQ((std::vector<std::string>{"NT:5.1", "9X:4.10", "W2K:5.0"}), tokens);
}

TEST(NextToken, LongInputTerminates) {
    std::string source(200000, 'x'), token;
    source += ",y";
    ASSERT_TRUE(NextToken(source, token, nullptr, true));
    EXPECT_EQ(200000u, token.size());
    EXPECT_EQ("y", source);
}

// The command line's split: separator " ", quotes kept, a whole text token by token.
std::vector<std::string> ArgumentTokens(const std::string& text) {
    TokenReader reader(text);
    std::vector<std::string> tokens;
    std::string token;
    while (!reader.AtEnd()) {
        if (!reader.Next(token, " ", false)) {
            tokens.push_back("<fail>");
            break;
        }
        tokens.push_back(token);
    }
    return tokens;
}

TEST(TokenReader, ArgumentTable) {
    const struct {
        const char* text;
        std::vector<std::string> tokens;
    } cases[] = {
        {"", {}},
        {" \t\r\n ", {}},
        {"  /qb   /L*v  log.txt  ", {"/qb", "/L*v", "log.txt"}},
        {"a\tb c", {"a\tb", "c"}},
        {"a \tb", {"a", "b"}},
        {"\"C:\\Program Files\\x.msi\" /qn", {"\"C:\\Program Files\\x.msi\"", "/qn"}},
        {"a\"b c\"d e", {"a\"b c\"d", "e"}},
        {"\"\"", {"\"\""}},
        {"\"a\"\"b c\"", {"\"a\"\"b c\""}},
        {"x \"a", {"x", "<fail>"}},
        {"x a\"", {"x", "<fail>"}},
        {"a b\" c", {"a", "<fail>"}},
        {"\" a \"\t", {"\" a \""}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.tokens, ArgumentTokens(c.text)) << "[" << c.text << "]";
    }
}

TEST(ParseInteger, Table) {
    struct Case {
        const char* text;
        bool ok;
        int32_t value;
    } cases[] = {
        {"-12", true, -12}, {"1-2", false, 1},  {"", true, 0},           {"0", true, 0},
        {"123", true, 123}, {"12a", false, 12}, {"-", true, 0},          {" 1", false, 0},
        {"+1", false, 0},   {"--1", false, 0},  {"4294967297", true, 1}, // wraps, no overflow check
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        int32_t value = 99;
        EXPECT_EQ(c.ok, ParseInteger(c.text, &value));
        EXPECT_EQ(c.value, value);
    }
    EXPECT_FALSE(ParseInteger("1", nullptr));
}

TEST(Trim, LauncherWhiteSpace) {
    EXPECT_EQ("a b", TrimBlanks(" \t\r\n\v\fa b\f\v\n\r\t "));
    EXPECT_EQ("a ", TrimLeft("  a "));
    EXPECT_EQ("  a", TrimRight("  a \t"));
    EXPECT_EQ("", TrimBlanks("   "));
}

} // namespace
