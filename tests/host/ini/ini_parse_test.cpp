// CIniFile::ParseLine: how each kind of line is classified and stored, and the lines it refuses.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "model_dump.h"

namespace {

class ParseLineTest : public ::testing::Test {
  protected:
    ParseLineTest() { file.AddSection(kUnnamedSectionName); }

    // Parses the lines in order and returns the current section name afterwards.
    std::string Parse(const std::vector<std::string>& lines) {
        for (const std::string& line : lines)
            file.ParseLine(line, current);
        return current;
    }

    IniSection* Section(const std::string& name) {
        IniSection* section = nullptr;
        return file.FindSection(name, &section) ? section : nullptr;
    }

    ReadyIniFile file;
    std::string current = kUnnamedSectionName;
};

TEST_F(ParseLineTest, EachKindOfLineIsStoredAsWritten) {
    struct Case {
        const char* line;
        const char* key;  // stored key ("" for a plain line)
        const char* text; // stored text
    };
    const Case cases[] = {
        {"Key=Value", "Key", "Value"},
        {"  Key  =  Value  ", "  Key  ", "  Value  "},
        {"Key=a=b", "Key", "a=b"},
        {"Key=", "Key", ""},
        {"=value", "", "=value"},
        {"no equals sign", "", "no equals sign"},
        {"", "", ""},
        {" \t ", "", " \t "},
        {"; comment = not a key", "", "; comment = not a key"},
        {"   ;indented [comment]", "", "   ;indented [comment]"},
        {" =x", " ", "x"},
        {"{GUID},/arg=1", "{GUID},/arg", "1"},
        {"K\xE9y=v\xFF", "K\xE9y", "v\xFF"},
        {"Path=C:\\[x];y", "Path", "C:\\[x];y"},
    };
    std::string expected;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        EXPECT_NO_THROW(file.ParseLine(c.line, current));
        expected += "  0 <" + std::string(c.key) + "> <" + c.text + ">\n";
    }
    EXPECT_EQ(current, kUnnamedSectionName);
    EXPECT_EQ(DumpSection(Section(kUnnamedSectionName)), expected);
}

TEST_F(ParseLineTest, HeadersStartSectionsNamedByTheirTrimmedText) {
    struct Case {
        const char* line;
        const char* name;
    };
    const Case cases[] = {
        {"[Plain]", "Plain"},
        {"  [ Spaced Name ]  ; comment after", "Spaced Name"},
        {"[a]b]", "a"},
        {"[ ]", ""},
        {"\t[Tabbed]\t", "Tabbed"},
        {"[Caf\xE9]", "Caf\xE9"},
        {"[$$$unnamed$$$]", "$$$unnamed$$$"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(Parse({c.line}), c.name);
        EXPECT_NE(Section(c.name), nullptr);
        EXPECT_EQ(Section(c.name)->LineCount(), 0);
    }
}

TEST_F(ParseLineTest, RefusedLinesRaiseTheirErrors) {
    struct Case {
        const char* line;
        const char* message;
    };
    const Case cases[] = {
        {"[]", "Improperly formed section name."},
        {"[", "Improperly formed section name."},
        {"  [Open", "Improperly formed section name."},
        {"[a;b]", "Illegal character(s) in section name."},
        {"[a=b]", "Illegal character(s) in section name."},
        {"[a[b]", "Illegal character(s) in section name."},
        {"[a\tb]", "Illegal character(s) in section name."},
        {"a;b=c", "Illegal character(s) in key name."},
        {"a[b=c", "Illegal character(s) in key name."},
        {"a]b=c", "Illegal character(s) in key name."},
        {"a\tb=c", "Illegal character(s) in key name."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        std::unique_ptr<CZbIniFileException> error;
        try {
            file.ParseLine(c.line, current);
        } catch (CZbIniFileException* e) {
            error.reset(e);
        }
        ASSERT_TRUE(error);
        EXPECT_EQ(error->Message, c.message);
        EXPECT_EQ(error->Category, 4);
        EXPECT_EQ(error->Code, 13u);
    }
    // Blanks around the key are trimmed before the check: a tab at its edges is allowed.
    EXPECT_NO_THROW(file.ParseLine("\tkey\t=v", current));
}

TEST_F(ParseLineTest, DoubleByteCharactersAreNotTakenForTheirSecondByte) {
    // "\x81\x5B" is the long-vowel mark of code page 932; "\x83\x5C" its katakana "so". In 1252
    // the same bytes hold a bracket and a backslash.
    const std::string key = "C:\\\x83\x63\x81\x5B\x83\x8B\\\x83\x5C\x83\x74\x83\x67.exe /x";
    const std::string header = "[\x83\x63\x81\x5B\x83\x8B]";
    for (unsigned codePage : {932u, 936u, 949u, 950u}) {
        SCOPED_TRACE(codePage);
        ReadyIniFile dbcs;
        dbcs.SetCodePage(codePage);
        std::string section = kUnnamedSectionName;
        dbcs.AddSection(section);
        EXPECT_NO_THROW(dbcs.ParseLine(key + "=1", section));
        EXPECT_NO_THROW(dbcs.ParseLine(header, section));
        EXPECT_EQ(section, header.substr(1, header.size() - 2));
    }
    file.SetCodePage(1252);
    try {
        file.ParseLine(key + "=1", current);
        ADD_FAILURE() << "a bracket in a 1252 key must be refused";
    } catch (CZbIniFileException* e) {
        EXPECT_EQ(e->Message, "Illegal character(s) in key name.");
        delete e;
    }
}

TEST_F(ParseLineTest, LineForAMissingSectionRaisesCouldNotFind) {
    std::string missing = "Nowhere";
    for (const char* line : {"k=v", "; comment", "plain"}) {
        SCOPED_TRACE(line);
        std::unique_ptr<CZbIniFileException> error;
        try {
            file.ParseLine(line, missing);
        } catch (CZbIniFileException* e) {
            error.reset(e);
        }
        ASSERT_TRUE(error);
        EXPECT_EQ(error->Message, "Could not find INI section.");
        EXPECT_EQ(error->Category, 4);
        EXPECT_EQ(error->Code, 123u);
    }
}

TEST_F(ParseLineTest, RepeatedHeaderGathersLinesInTheFirstSection) {
    Parse({"[A]", "x=1", "[B]", "y=2", "[A]", "x=3", "z=4"});
    ASSERT_EQ(file.SectionCount(), 4); // unnamed, A, B, A again
    IniSection* a = Section("A");
    EXPECT_EQ(a, file.SectionAt(1));
    EXPECT_EQ(file.SectionAt(3)->FirstOfName(), a);
    EXPECT_EQ(file.SectionAt(3)->LineCount(), 0);
    std::string value;
    ASSERT_TRUE(a->GetValue("x", value));
    EXPECT_EQ(value, "1");
    ASSERT_TRUE(a->GetValue("z", value));
    EXPECT_EQ(value, "4");
    EXPECT_EQ(DumpSection(a), "  0 <x> <1>\n  1 <x> <3>\n  1 <z> <4>\n");

    // A repeat kept across RemoveAllSections still reaches the lines of its first section.
    IniSection* repeat = file.SectionAt(3);
    repeat->AddRef();
    file.RemoveAllSections();
    EXPECT_EQ(DumpSection(repeat->FirstOfName()), "  0 <x> <1>\n  1 <x> <3>\n  1 <z> <4>\n");
    EXPECT_EQ(repeat->Release(), 0);
}

} // namespace
