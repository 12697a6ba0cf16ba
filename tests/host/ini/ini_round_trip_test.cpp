// Load and Save: unedited files come back byte for byte, edits touch only their lines, and the
// documented rewrites (bare headers, CR LF line ends, text after a lone CR) are pinned.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "../temp_folder.h"
#include "model_dump.h"

namespace {

const std::string kGoldens = std::string(SETUP_TEST_DATA) + "/ini/round_trip/";

class RoundTripTest : public ::testing::Test {
  protected:
    // Loads `bytes` from a file, saves it again and returns what was written.
    std::string LoadAndSave(const std::string& bytes) {
        ReadyIniFile file;
        file.Open(temp.Write("rt.ini", bytes));
        file.Save();
        return ReadBytes(temp.File("rt.ini"));
    }
    TempFolder temp;
};

TEST_F(RoundTripTest, UneditedGoldenFilesComeBackByteForByte) {
    for (const char* name :
         {"setup_ansi.ini", "setup_utf16.ini", "long_lines_ansi.ini", "long_lines_utf16.ini"}) {
        SCOPED_TRACE(name);
        const std::string original = ReadBytes(kGoldens + name);
        ASSERT_FALSE(original.empty());
        EXPECT_EQ(LoadAndSave(original), original);
    }
}

TEST_F(RoundTripTest, Utf16FileLoadsToTheModelOfItsAnsiTwin) {
    for (const char* twin : {"setup", "long_lines"}) {
        SCOPED_TRACE(twin);
        ReadyIniFile ansi, utf16;
        ansi.Open(kGoldens + twin + "_ansi.ini");
        utf16.Open(kGoldens + twin + "_utf16.ini");
        EXPECT_FALSE(ansi.IsUnicode());
        EXPECT_TRUE(utf16.IsUnicode());
        EXPECT_EQ(DumpModel(utf16), DumpModel(ansi));
    }
}

TEST_F(RoundTripTest, GoldenModelHasTheExpectedLookups) {
    ReadyIniFile file;
    file.Open(kGoldens + "setup_ansi.ini");
    struct Case {
        const char* section;
        const char* key;
        const char* value;
    };
    for (const Case& c :
         {Case{"$$$unnamed$$$", "Loose", "before any header"},
          Case{"ProductInformation", "PackageName", " Product.msi   "},
          Case{"ProductInformation", "MsiVersion", "2.0"},
          Case{"ProductInformation", "AllowNTServer", ""},
          Case{"ProductInformation", "Caf\xE9",
               "cr\xE8me br\xFBl\xE9"
               "e \xA9 \xFF"},
          Case{"LaunchApplications", "{0E7D3D1C-1A2B-4C5D-8E9F-001122334455},/auto start", "yes"},
          Case{"Last", "key with spaces", "  value with spaces  "},
          Case{"Last", "Key", "Value=More"}}) {
        SCOPED_TRACE(c.key);
        IniSection* section = nullptr;
        ASSERT_TRUE(file.FindSection(c.section, &section));
        std::string value;
        ASSERT_TRUE(section->GetValue(c.key, value));
        EXPECT_EQ(value, c.value);
    }
    // Both headers of the repeated section give one list in file order.
    IniSection* shutdown = nullptr;
    ASSERT_TRUE(file.FindSection("ShutdownApplication", &shutdown));
    std::vector<std::string> lines;
    for (int i = 1; i <= shutdown->LineCount(); ++i) {
        std::string text;
        shutdown->GetLine(i, text);
        lines.push_back(text);
    }
    EXPECT_EQ(lines, (std::vector<std::string>{
                         "ViewerClass,10", "EditorClass,20",
                         "; the second header of a name keeps its own lines in place"}));
}

TEST_F(RoundTripTest, EditsChangeOnlyTheLinesTheyTouch) {
    for (bool utf16 : {false, true}) {
        SCOPED_TRACE(utf16 ? "utf16" : "ansi");
        const std::string original =
            ReadBytes(kGoldens + (utf16 ? "setup_utf16.ini" : "setup_ansi.ini"));
        const std::string path = temp.Write("edit.ini", original);
        {
            ReadyIniFile file;
            file.Open(path);
            IniSection* section = nullptr;
            ASSERT_TRUE(file.FindSection("ShutdownApplication", &section));
            section->AddKeyValue("Added", "1"); // goes under the section's last header
            ASSERT_TRUE(file.FindSection("ProductInformation", &section));
            ASSERT_TRUE(section->RemoveKey("PackageName"));
            std::string value;
            ASSERT_TRUE(section->GetValue("PackageName", value));
            EXPECT_EQ(value, "second value, found once the first is gone");
            file.AddSection("New");
            ASSERT_TRUE(file.FindSection("New", &section));
            section->AddKeyValue("K", "V");
            file.Save();
        }
        std::string expected = ReadBytes(kGoldens + "setup_ansi.ini");
        const std::string removed = "PackageName = Product.msi   \r\n";
        expected.erase(expected.find(removed), removed.size());
        const std::string anchor = "keeps its own lines in place\r\n";
        expected.insert(expected.find(anchor) + anchor.size(), "Added=1\r\n");
        expected += "[New]\r\nK=V\r\n";
        EXPECT_EQ(ReadBytes(path), utf16 ? Utf16File(expected) : expected);
    }
}

TEST_F(RoundTripTest, DocumentedRewritesOnSave) {
    struct Case {
        const char* name;
        std::string input;
        std::string saved;
    };
    const std::vector<Case> cases = {
        {"header blanks and trailing text", "  [ Name ]  ; note\r\nk=v\r\n", "[Name]\r\nk=v\r\n"},
        {"text after a lone CR", "A=1\rdropped\r\nB=2\r\n", "A=1\r\nB=2\r\n"},
        {"LF line ends", "A=1\nB=2\n", "A=1\r\nB=2\r\n"},
        {"no final line end", "A=1\r\n[S]", "A=1\r\n[S]\r\n"},
        {"empty file", "", ""},
        {"one empty line", "\r\n", "\r\n"},
        {"explicit unnamed header kept", "[$$$unnamed$$$]\r\nk=v\r\n",
         "[$$$unnamed$$$]\r\nk=v\r\n"},
        {"repeated headers keep their lines", "[A]\r\nx=1\r\n[B]\r\n[A]\r\ny=2\r\n[A]\r\n",
         "[A]\r\nx=1\r\n[B]\r\n[A]\r\ny=2\r\n[A]\r\n"},
        {"bom only", "\xFF\xFE", "\xFF\xFE"},
        {"empty section name stays loadable", "[   ]\r\nk=v\r\n", "[ ]\r\nk=v\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(LoadAndSave(c.input), c.saved);
    }
}

TEST_F(RoundTripTest, VeryLongLinesAreReadAndWrittenWhole) {
    for (size_t size : {1500, 100 * 1024, 1024 * 1024}) {
        SCOPED_TRACE(size);
        std::string value(size, 'v');
        for (size_t i = 0; i < size; i += 997)
            value[i] = static_cast<char>('a' + i % 26);
        for (bool utf16 : {false, true}) {
            const std::string text = "[S]\r\nLong=" + value + "\r\n;" + value + "\r\nAfter=1\r\n";
            const std::string bytes = utf16 ? Utf16File(text) : text;
            ReadyIniFile file;
            file.Open(temp.Write("long.ini", bytes));
            IniSection* section = nullptr;
            ASSERT_TRUE(file.FindSection("S", &section));
            std::string read;
            ASSERT_TRUE(section->GetValue("Long", read));
            EXPECT_TRUE(read == value);
            ASSERT_TRUE(section->GetValue("After", read));
            EXPECT_EQ(read, "1");
            file.Save();
            EXPECT_TRUE(ReadBytes(temp.File("long.ini")) == bytes);
        }
    }
}

TEST_F(RoundTripTest, SaveFailuresRaiseTheirErrors) {
    std::unique_ptr<CZbIniFileException> error;
    auto save = [&error](CIniFile& file) {
        error.reset();
        try {
            file.Save();
        } catch (CZbIniFileException* e) {
            error.reset(e);
        }
        return error != nullptr;
    };

    ReadyIniFile unnamed;
    ASSERT_TRUE(save(unnamed));
    EXPECT_EQ(error->Message, "The filename member of CIniFile has not been initialized.");
    EXPECT_EQ(error->Category, 4);
    EXPECT_EQ(error->Code, 123u);

    // The loaded file replaced by a folder of the same name.
    ReadyIniFile replaced;
    const std::string path = temp.Write("x.ini", "k=v\r\n");
    replaced.Open(path);
    std::filesystem::remove(path);
    std::filesystem::create_directory(path);
    ASSERT_TRUE(save(replaced));
    EXPECT_EQ(error->Message, "Failed to open the output stream");
    EXPECT_EQ(error->Category, 5);
    EXPECT_EQ(error->Code, 5u);
    EXPECT_EQ(error->FileName, "");

    // The loaded file's folder removed.
    std::filesystem::create_directory(temp.File("sub"));
    ReadyIniFile orphan;
    orphan.Open(temp.Write("sub/y.ini", "k=v\r\n"));
    std::filesystem::remove_all(temp.File("sub"));
    ASSERT_TRUE(save(orphan));
    EXPECT_EQ(error->Category, 5);
    EXPECT_EQ(error->Code, 2u);
}

} // namespace
