// CIniFile over real Windows files: golden round trips and an appended [Rename] entry.
#include <gtest/gtest.h>

#include <string>

#include "ini/ini_file.h"
#include "support/temp_folder.h"
#include "support/test_files.h"

namespace {

// The Windows name of a test data file (the host's root is drive Z: under Wine).
std::string DataFile(const std::string& relative) {
    std::string path = std::string("Z:") + SETUP_TEST_DATA + "/ini/" + relative;
    for (char& c : path)
        if (c == '/') c = '\\';
    return path;
}

class ReadyIniFile : public CIniFile {
  public:
    ReadyIniFile() {
        IniSectionCollection* sections = nullptr;
        CreateSectionCollection(&sections);
    }
};

class IniFileWin32Test : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_FALSE(temp.Path().empty()); }
    TempFolder temp{"ini-test"};
};

TEST_F(IniFileWin32Test, GoldenFilesComeBackByteForByte) {
    for (const char* name :
         {"setup_ansi.ini", "setup_utf16.ini", "long_lines_ansi.ini", "long_lines_utf16.ini"}) {
        SCOPED_TRACE(name);
        const std::string original = ReadFileBytes(DataFile(std::string("round_trip/") + name));
        ASSERT_GT(original.size(), 100u);
        const std::string path = temp.Write(name, original);
        ReadyIniFile file;
        file.Open(path);
        file.Save();
        EXPECT_TRUE(ReadFileBytes(path) == original);
    }
}

TEST_F(IniFileWin32Test, AppendedRenameEntryKeepsTheEncoding) {
    for (bool utf16 : {false, true}) {
        SCOPED_TRACE(utf16 ? "utf16" : "ansi");
        const std::string before =
            "[boot]\r\nshell=Explorer.exe\r\n[Rename]\r\nNUL=C:\\OLD.DLL\r\n[Other]\r\n";
        const std::string path = temp.Write("wininit.ini", utf16 ? Utf16File(before) : before);
        ReadyIniFile file;
        file.Open(path);
        IniSection* rename = nullptr;
        ASSERT_TRUE(file.FindSection("Rename", &rename));
        rename->AddKeyValue("NUL", "C:\\PROGRA~1\\NEW.DLL");
        file.Save();
        const std::string after = "[boot]\r\nshell=Explorer.exe\r\n[Rename]\r\nNUL=C:\\OLD."
                                  "DLL\r\nNUL=C:\\PROGRA~1\\NEW.DLL\r\n[Other]\r\n";
        EXPECT_EQ(ReadFileBytes(path), utf16 ? Utf16File(after) : after);
    }
}

} // namespace
