// Language choice, message lookup, placeholders and the internal-error text.
#include <gtest/gtest.h>

#include "sys/setup_result.h"
#include "text/internal_error.h"
#include "text/message_suppression.h"
#include "text/messages.h"

namespace {

TEST(Language, ChoiceByExactThenPrimaryThenEnglish) {
    struct Case {
        uint16_t asked;
        uint32_t chosen;
    } cases[] = {
        {0x0407, 0x0407}, // German
        {0x0807, 0x0407}, // Swiss German: primary language
        {0x0C04, 0x0804}, // Chinese (Hong Kong): the PRC row comes first
        {0x1004, 0x0804}, // Chinese (Singapore)
        {0x0404, 0x0404}, // Chinese (Taiwan): exact
        {0x0C0A, 0x080A}, // Spanish (Spain): the Mexican row
        {0x0816, 0x0416}, // Portuguese (Portugal)
        {0x0814, 0x0414}, // Norwegian (Nynorsk)
        {0x0419, 0x0409}, // Russian: English
        {0x0000, 0x0409},
    };
    for (const Case& c : cases) {
        const LanguageRow* row = ChooseLanguage(c.asked);
        ASSERT_NE(nullptr, row) << std::hex << c.asked;
        EXPECT_EQ(c.chosen, row->languageId) << std::hex << c.asked;
    }
}

TEST(Language, MessagesOfTheChosenRow) {
    std::string text = "untouched";
    ASSERT_TRUE(GetMessageTextFor(0x0409, 1, text));
    EXPECT_EQ("Please wait while setup loads....", text);
    ASSERT_TRUE(GetMessageTextFor(0x0807, 1, text));
    EXPECT_EQ("Setup wird geladen. Bitte warten....", text);
    ASSERT_TRUE(GetMessageTextFor(0x0419, 0, text));
    EXPECT_EQ("Setup", text);
    text = "untouched";
    EXPECT_FALSE(GetMessageTextFor(0x0409, 15, text));
    EXPECT_EQ("untouched", text);
}

TEST(Placeholders, ReplacesEveryOccurrenceInListOrder) {
    std::string text;
    ASSERT_TRUE(GetMessageTextFor(0x0409, 10, text));
    SubstitutePlaceholders(
        {"_OLD_PRODUCT_NAME_,Old 1.0", "_PRODUCT_NAME_,New", "_PRODUCT_VERSION_,2.0"}, text);
    EXPECT_EQ(std::string::npos, text.find('_'));
    EXPECT_NE(
        std::string::npos,
        text.find(
            "To install New 2.0, you must first uninstall\nthe existing version of Old 1.0."));
}

TEST(Placeholders, ValueKeepsEverythingAfterTheFirstComma) {
    std::string text = "Setup has detected _PRODUCT_NAME_.";
    SubstitutePlaceholders({"_PRODUCT_NAME_,Tools, Inc.  "}, text);
    EXPECT_EQ("Setup has detected Tools, Inc.  .", text);
}

TEST(Placeholders, TerminatesOnSelfReferenceAndEmptyName) {
    std::string text = "a _X_ b _X_";
    SubstitutePlaceholders({"_X_,[_X_]", ",boom", "", "_Y_"}, text);
    EXPECT_EQ("a [_X_] b [_X_]", text);
    std::string untouched = "same";
    SubstitutePlaceholders({}, untouched);
    EXPECT_EQ("same", untouched);
}

TEST(InternalError, QuietSpellings) {
    const char* quiet[] = {"x /qn",  "x /Qn",  "x /QN",  "x /qN",  "x /qb-",
                           "x /Qb-", "x /QB-", "x /qB-", "x /qn+", "x /QN+"};
    for (const char* line : quiet)
        EXPECT_TRUE(IsQuietCommandLine(line)) << line;
    const char* loud[] = {"x /qb", "x /Qb", "x /q", "x /QB+", "x", "", "x /q n"};
    for (const char* line : loud)
        EXPECT_FALSE(IsQuietCommandLine(line)) << line;
    EXPECT_FALSE(IsQuietCommandLine(nullptr));
}

TEST(InternalError, TextAndRaisedCode) {
    char text[64];
    ASSERT_TRUE(FormatInternalErrorText(0x10F, 0x80040002, text, sizeof text));
    EXPECT_STREQ("Error Code: 010F.80040002", text);
    ASSERT_TRUE(FormatInternalErrorText(0x12345, 7, text, sizeof text));
    EXPECT_STREQ("Error Code: 2345.00000007", text); // the location's low 16 bits
    EXPECT_FALSE(FormatInternalErrorText(1, 2, text, 10));
    try {
        ReportInternalError(23, 0x80040007);
        FAIL() << "must raise";
    } catch (const SetupError& e) {
        EXPECT_EQ(0x80040007u, e.code);
    }
}

// No box at /qb-, /qn+ and /qn, except the restart question at /qn+; one log line instead.
TEST(MessageSuppression, LevelsAndLogLine) {
    for (int level = 0; level <= 7; ++level) {
        SetMessageBoxUILevel(static_cast<UILevel>(level));
        EXPECT_EQ(level < 5, IsMessageBoxShown(false)) << level;
        EXPECT_EQ(level < 5 || level == 6, IsMessageBoxShown(true)) << level;
    }
    SetMessageBoxUILevel(kUILevelNone);
    EXPECT_EQ("Message suppressed: Warning - a b  c",
              SuppressedMessageLine("Warning", "a\nb\n\nc"));
}

} // namespace
