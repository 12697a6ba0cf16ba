// Quoting the program part of an unquoted uninstall command.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "steps/removal_command.h"

namespace {

const std::set<std::string> existing = {"C:\\Program Files\\Old App\\uninst.exe",
                                        "C:\\Program.exe",
                                        "C:\\Tools\\un.EXE",
                                        "C:\\\x83\x5C\x83\x74\x83\x67 X\\un.exe",
                                        "C:\\W\\system32\\RunDll32.exe",
                                        "C:\\W\\system32\\MsiExec.exe",
                                        "C:\\W\\regedit.exe"};

bool IsFile(const std::string& path) {
    return existing.count(path) != 0;
}

TEST(RemovalCommandTest, OnlyAnExistingUnquotedProgramWithBlanksIsQuoted) {
    struct Case {
        const char* command;
        const char* started;
    };
    const Case cases[] = {
        {"C:\\Program Files\\Old App\\uninst.exe /x",
         "\"C:\\Program Files\\Old App\\uninst.exe\" /x"},
        {"C:\\Program Files\\Old App\\uninst.exe", "\"C:\\Program Files\\Old App\\uninst.exe\""},
        {"  C:\\Program Files\\Old App\\uninst.exe",
         "  \"C:\\Program Files\\Old App\\uninst.exe\""},
        // Already quoted, no blank in the program, no such file, no ".exe" ending a word.
        {"\"C:\\Program Files\\Old App\\uninst.exe\" /x",
         "\"C:\\Program Files\\Old App\\uninst.exe\" /x"},
        {"C:\\Tools\\un.EXE /x a b", "C:\\Tools\\un.EXE /x a b"},
        {"C:\\Program Files\\Gone\\uninst.exe /x", "C:\\Program Files\\Gone\\uninst.exe /x"},
        {"C:\\Program Files\\Old App\\uninst.exe.bak /x",
         "C:\\Program Files\\Old App\\uninst.exe.bak /x"},
        {"C:\\Old\\remove.bat C:\\x.exe", "C:\\Old\\remove.bat C:\\x.exe"},
        {"", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command);
        EXPECT_EQ(QuoteUnquotedProgram(c.command, 1252, IsFile), c.started);
    }
    // A double-byte folder name: the scan keeps to whole characters.
    EXPECT_EQ(QuoteUnquotedProgram("C:\\\x83\x5C\x83\x74\x83\x67 X\\un.exe /x", 932, IsFile),
              "\"C:\\\x83\x5C\x83\x74\x83\x67 X\\un.exe\" /x");
}

TEST(RemovalCommandTest, BareProgramNamesComeFromTheSystemThenTheWindowsFolder) {
    struct Case {
        const char* command;
        const char* started; // empty: found in neither folder
    };
    const Case cases[] = {
        {"RunDll32 advpack.dll,LaunchINFSection x.inf",
         "\"C:\\W\\system32\\RunDll32.exe\" advpack.dll,LaunchINFSection x.inf"},
        {"MsiExec.exe /X{1}", "\"C:\\W\\system32\\MsiExec.exe\" /X{1}"},
        {" \"regedit\" /s x.reg", " \"C:\\W\\regedit.exe\" /s x.reg"},
        {"planted /x", ""},
        {"C:\\Tools\\un.EXE /x", "C:\\Tools\\un.EXE /x"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command);
        EXPECT_EQ(ResolveBareProgram(c.command, 1252, "C:\\W\\system32\\", "C:\\W\\", IsFile),
                  c.started);
    }
}

} // namespace
