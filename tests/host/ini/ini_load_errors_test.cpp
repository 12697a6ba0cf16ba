// Open and Load failures: each raises its exception with category, code, message and position, and
// leaves nothing loaded.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "../temp_folder.h"
#include "model_dump.h"

namespace {

class LoadErrorTest : public ::testing::Test {
  protected:
    // Opens the path and returns the exception raised (null when none was).
    std::unique_ptr<CZbIniFileException> OpenFails(const std::string& path) {
        try {
            file.Open(path);
        } catch (CZbIniFileException* e) {
            return std::unique_ptr<CZbIniFileException>(e);
        }
        return nullptr;
    }
    TempFolder temp;
    ReadyIniFile file;
};

TEST_F(LoadErrorTest, BadContentRaisesWithItsPosition) {
    struct Case {
        const char* name;
        std::string bytes;
        uint32_t code;
        const char* message;
        const char* section; // current section at the failure
        std::string line;    // text of the line being read
        int32_t lineNumber;  // lines processed before it
    };
    std::string wide = Utf16File("[S]\r\nk=");
    wide += "\xAC\x20"; // U+20AC
    const std::string readFailure = "Failed to read line from file:";
    const std::vector<Case> cases = {
        {"empty brackets", "k=v\r\n[]\r\n", 13, "Improperly formed section name.", "$$$unnamed$$$",
         "[]", 1},
        {"no closing bracket", "[A]\r\nx=1\r\n [B\r\n", 13, "Improperly formed section name.", "A",
         " [B", 2},
        {"semicolon in name", "[A;B]\r\n", 13, "Illegal character(s) in section name.",
         "$$$unnamed$$$", "[A;B]", 0},
        {"equals in name", "[A]\r\n[B=C]\r\n", 13, "Illegal character(s) in section name.", "A",
         "[B=C]", 1},
        {"bracket in key", "[A]\r\n; ok\r\nx]=1\r\n", 13, "Illegal character(s) in key name.", "A",
         "x]=1", 2},
        {"tab in key", "[A]\r\na\tb=1\r\n", 13, "Illegal character(s) in key name.", "A", "a\tb=1",
         1},
        {"character above U+00FF", wide, 13, "", "S", "", 1},
        {"NUL byte", Bytes("[S]\r\nk=\0v\r\n"), 13, "", "S", "", 1},
        {"odd byte count", Utf16File("[S]\r\nk=v\r\n") + "x", 13, "", "S", "", 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = temp.Write("bad.ini", c.bytes);
        auto error = OpenFails(path);
        ASSERT_TRUE(error);
        EXPECT_EQ(error->Message, *c.message ? std::string(c.message) : readFailure + path);
        EXPECT_EQ(error->Category, 4);
        EXPECT_EQ(error->Code, c.code);
        EXPECT_EQ(error->FileName, path);
        EXPECT_EQ(error->SectionName, c.section);
        EXPECT_EQ(error->LineText, c.line);
        EXPECT_EQ(error->LineNumber, c.lineNumber);
        EXPECT_EQ(error->Reserved, 0);
        // Nothing of the file stays loaded, and the object forgets the name.
        EXPECT_EQ(file.SectionCount(), 0);
        EXPECT_EQ(file.FileName(), "");
    }
}

TEST_F(LoadErrorTest, OpeningFailuresCarryTheSystemCode) {
    struct Case {
        const char* name;
        std::string path;
        uint32_t code;
    };
    const std::vector<Case> cases = {
        {"missing file", temp.File("missing.ini"), 2},
        {"missing folder", temp.File("none/setup.ini"), 2},
        {"a folder", temp.Path(), 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto error = OpenFails(c.path);
        ASSERT_TRUE(error);
        EXPECT_EQ(error->Message, "Call to CTCharStream::OpenStream( " + c.path + " ) failed.");
        EXPECT_EQ(error->Category, 4);
        EXPECT_EQ(error->Code, c.code);
        EXPECT_EQ(file.FileName(), "");
    }
}

TEST_F(LoadErrorTest, LoadWithoutAFileNameIsAnInternalError) {
    std::unique_ptr<CZbIniFileException> error;
    try {
        file.Load();
    } catch (CZbIniFileException* e) {
        error.reset(e);
    }
    ASSERT_TRUE(error);
    EXPECT_EQ(error->Message, "The filename member of CIniFile has not been initialized.");
    EXPECT_EQ(error->Category, 5);
    EXPECT_EQ(error->Code, 123u);
}

TEST_F(LoadErrorTest, FailedOpenDropsAnEarlierLoad) {
    file.Open(temp.Write("good.ini", "[A]\r\nk=v\r\n"));
    ASSERT_EQ(file.SectionCount(), 2);
    EXPECT_TRUE(OpenFails(temp.Write("bad.ini", "[A]\r\n[\r\n")));
    EXPECT_EQ(file.SectionCount(), 0);
    // A later good file loads from scratch.
    file.Open(temp.File("good.ini"));
    EXPECT_EQ(DumpModel(file), "[$$$unnamed$$$]\n[A]\n  0 <k> <v>\n");
}

TEST_F(LoadErrorTest, OddButValidFilesLoad) {
    struct Case {
        const char* name;
        std::string bytes;
        const char* model;
    };
    const std::vector<Case> cases = {
        {"one empty line", "\r\n", "[$$$unnamed$$$]\n  0 <> <>\n"},
        {"bom only", "\xFF\xFE", "[$$$unnamed$$$]\n"},
        {"keys before any header", "a=1\r\n[S]\r\n", "[$$$unnamed$$$]\n  0 <a> <1>\n[S]\n"},
        {"brackets around blanks", "[  ]\r\nk=v\r\n", "[$$$unnamed$$$]\n[]\n  0 <k> <v>\n"},
        {"line with only a CR", "\r\r\nk=v\r\n", "[$$$unnamed$$$]\n  0 <> <>\n  0 <k> <v>\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        file.Open(temp.Write("odd.ini", c.bytes));
        EXPECT_EQ(DumpModel(file), c.model);
    }
}

} // namespace
