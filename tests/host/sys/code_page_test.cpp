// Lead-byte ranges of the double-byte code pages and the searches that step over their characters.
#include <gtest/gtest.h>

#include "sys/code_page.h"

namespace {

TEST(CodePageTest, LeadBytesFollowEachCodePage) {
    struct Case {
        unsigned codePage;
        unsigned char byte;
        bool lead;
    };
    const Case cases[] = {
        {932, 0x80, false}, {932, 0x81, true},    {932, 0x9F, true},  {932, 0xA0, false},
        {932, 0xDF, false}, {932, 0xE0, true},    {932, 0xFC, true},  {932, 0xFD, false},
        {936, 0x80, false}, {936, 0x81, true},    {936, 0xFE, true},  {936, 0xFF, false},
        {949, 0x81, true},  {950, 0xA4, true},    {950, 0x5C, false}, {1252, 0x81, false},
        {0, 0x81, false},   {65001, 0xE3, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.codePage << " " << static_cast<int>(c.byte));
        EXPECT_EQ(IsLeadByteIn(c.codePage, c.byte), c.lead);
    }
}

TEST(CodePageTest, SearchesSkipTheSecondByteOfACharacter) {
    // "C:\" + katakana "so" (0x83 0x5C) + "\a": the second byte of "so" is not a backslash.
    const std::string path = "C:\\\x83\x5C\\a";
    EXPECT_EQ(FindLastCharacter(path, "\\", 932), 5u);
    EXPECT_EQ(FindLastCharacter(path, "\\", 1252), 5u);
    EXPECT_EQ(FindCharacter(path, "\\", 932, 3), 5u);
    EXPECT_EQ(FindCharacter(path, "\\", 1252, 3), 4u);
    EXPECT_EQ(FindCharacter("\x81[", "[", 932), std::string::npos);
    EXPECT_EQ(FindCharacter("\x81[", "[", 1252), 1u);
    // A lead byte at the very end stands alone.
    EXPECT_EQ(FindLastCharacter("a\\\x81", "\\", 932), 1u);
    EXPECT_EQ(FindCharacter("abc", nullptr, 932), std::string::npos);
}

} // namespace
