// Lookups and edits of sections and lines: trimming, letter case, duplicates, removal and
// references.
#include <gtest/gtest.h>

#include <string>

#include "model_dump.h"

namespace {

class SectionEditTest : public ::testing::Test {
  protected:
    SectionEditTest() {
        file.AddSection("S");
        file.FindSection("S", &section);
        section->AddKeyValue(" Key ", " first ");
        section->AddLine("; comment");
        section->AddKeyValue("Key", "second");
        section->AddKeyValue("Other", "o");
    }
    std::string Value(const std::string& key) {
        std::string value = "<absent>";
        section->GetValue(key, value);
        return value;
    }
    ReadyIniFile file;
    IniSection* section = nullptr;
};

TEST_F(SectionEditTest, LookupsTrimTheKeyAndKeepLetterCase) {
    EXPECT_EQ(Value("Key"), " first ");
    EXPECT_EQ(Value("  Key\t"), " first ");
    EXPECT_EQ(Value("key"), "<absent>");
    EXPECT_EQ(Value("Other"), "o");
    EXPECT_EQ(Value("; comment"), "<absent>"); // plain lines are never indexed

    IniSection* found = nullptr;
    EXPECT_FALSE(file.FindSection("s", &found));
    EXPECT_FALSE(file.FindSection(" S", &found));
    EXPECT_FALSE(file.FindSection("S", nullptr));
}

TEST_F(SectionEditTest, GetLineCountsFromOneAndZeroGivesTheFirst) {
    struct Case {
        int index;
        const char* text; // null: false
    };
    for (const Case& c : {Case{0, " first "}, Case{1, " first "}, Case{2, "; comment"},
                          Case{4, "o"}, Case{5, nullptr}, Case{-1, nullptr}}) {
        SCOPED_TRACE(c.index);
        std::string text;
        EXPECT_EQ(section->GetLine(c.index, text), c.text != nullptr);
        if (c.text) {
            EXPECT_EQ(text, c.text);
        }
    }
    section->RemoveAll();
    std::string text;
    EXPECT_FALSE(section->GetLine(0, text));
    EXPECT_EQ(section->LineCount(), 0);
    EXPECT_EQ(Value("Key"), "<absent>");
}

TEST_F(SectionEditTest, RemovingTheFirstOfADuplicateKeyFindsTheNext) {
    EXPECT_FALSE(section->RemoveKey(" Key ")); // the exact key is looked up, untrimmed
    EXPECT_TRUE(section->RemoveKey("Key"));
    EXPECT_EQ(Value("Key"), "second");
    EXPECT_EQ(section->LineCount(), 3);
    EXPECT_TRUE(section->RemoveKey("Key"));
    EXPECT_EQ(Value("Key"), "<absent>");
    EXPECT_FALSE(section->RemoveKey("Key"));
    EXPECT_EQ(DumpSection(section), "  0 <> <; comment>\n  0 <Other> <o>\n");
}

TEST_F(SectionEditTest, RemoveLineCountsFromZeroAndUpdatesLookups) {
    EXPECT_FALSE(section->RemoveLine(4));
    EXPECT_FALSE(section->RemoveLine(-1));
    EXPECT_TRUE(section->RemoveLine(1)); // the comment
    EXPECT_EQ(Value("Key"), " first ");
    EXPECT_TRUE(section->RemoveLine(0)); // the indexed " Key "
    EXPECT_EQ(Value("Key"), "second");
    EXPECT_TRUE(section->RemoveLine(1));
    EXPECT_EQ(Value("Other"), "<absent>");
    EXPECT_EQ(section->LineCount(), 1);
}

TEST_F(SectionEditTest, AddedKeyDoesNotReplaceAnEarlierOne) {
    section->AddKeyValue("Other", "later");
    EXPECT_EQ(Value("Other"), "o");
    std::string text;
    ASSERT_TRUE(section->GetLine(section->LineCount(), text));
    EXPECT_EQ(text, "later");
}

TEST(IniFileEditTest, SectionsOutliveRemovalWhileReferenced) {
    ReadyIniFile file;
    file.AddSection("Kept");
    IniSection* kept = nullptr;
    ASSERT_TRUE(file.FindSection("Kept", &kept));
    EXPECT_EQ(kept->AddRef(), 3); // the list, the index and ours
    kept->AddKeyValue("k", "v");
    file.RemoveAllSections();
    EXPECT_EQ(file.SectionCount(), 0);
    IniSection* gone = nullptr;
    EXPECT_FALSE(file.FindSection("Kept", &gone));
    std::string value;
    EXPECT_TRUE(kept->GetValue("k", value));
    EXPECT_EQ(kept->Release(), 0);
}

TEST(IniFileEditTest, WithoutACollectionNothingIsStored) {
    CIniFile file; // CreateSectionCollection never called
    file.AddSection("S");
    EXPECT_EQ(file.SectionCount(), 0);
    IniSection* section = nullptr;
    EXPECT_FALSE(file.FindSection("S", &section));
    EXPECT_FALSE(file.CreateSectionCollection(nullptr));
}

} // namespace
