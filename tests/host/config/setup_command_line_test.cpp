// SetupCommandLine: the parse table, the renderers, the first-argument rule and internal errors.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "../temp_folder.h"
#include "config/setup_command_line.h"
#include "log_capture.h"
#include "sys/setup_result.h"

namespace {

using Strings = std::vector<std::string>;

const std::string kLauncher = SETUP_TEST_DATA "/config/launcher/";

struct ParseCase {
    const char* arguments;
    bool accepted;
    int mode;
    int uiLevel;
    int marker;
    const char* setupFile;
    Strings properties;
    Strings passThrough;
    const char* reinstallMode;
};

void ExpectReset(const SetupCommandLine& line, const char* arguments) {
    EXPECT_FALSE(line.GetSetupData().IsLoaded()) << arguments;
    EXPECT_EQ("", line.GetSetupFileName()) << arguments;
    EXPECT_EQ("", line.GetLauncherFolder()) << arguments;
    EXPECT_EQ(0, line.GetInstallMode()) << arguments;
    EXPECT_EQ(0, line.GetUILevel()) << arguments;
    EXPECT_EQ(0, line.GetTempCopyMarker()) << arguments;
    EXPECT_EQ(0, line.GetAdvertiseOption()) << arguments;
    EXPECT_FALSE(line.IsLoggingRequested() || line.IsStatusFileRequested() ||
                 line.IsRebootPropertySeen())
        << arguments;
    EXPECT_TRUE(line.GetProperties().empty() && line.GetPassThrough().empty()) << arguments;
    EXPECT_EQ("", line.GetPackage() + line.GetModeArgument() + line.GetReinstallMode() +
                      line.GetLogFile() + line.GetStatusFile() + line.GetAdvertiseValue())
        << arguments;
}

ParseCase Refused(const char* arguments) {
    return {arguments, false, 0, 0, 0, "", {}, {}, ""};
}

const ParseCase kParseCases[] = {
    // arguments, accepted, mode, UI level, marker, setup file, properties, pass-through,
    // REINSTALLMODE
    {"", true, 0, 0, 0, "SETUP.INI", {}, {}, ""},
    {"   \t ", true, 0, 0, 0, "SETUP.INI", {}, {}, ""},
    {"/qb", true, 0, 4, 0, "SETUP.INI", {}, {}, ""},
    {"mysetup.ini /qb", true, 0, 4, 0, "mysetup.ini", {}, {}, ""},
    {"/qb mysetup.ini", true, 0, 4, 0, "SETUP.INI", {}, {"mysetup.ini"}, ""},
    {"sub/other.ini", true, 0, 0, 0, "sub/other.ini", {}, {}, ""},
    {"\"my setup.ini\" /qn", true, 0, 7, 0, "my setup.ini", {}, {}, ""},
    {"/qb- /L*v \"C:\\log dir\\setup.log\"", true, 0, 5, 0, "SETUP.INI", {}, {}, ""},
    {"/qb TARGETDIR=\"C:\\Program Files\\Maker\"",
     true,
     0,
     4,
     0,
     "SETUP.INI",
     {"TARGETDIR=\"C:\\Program Files\\Maker\""},
     {},
     ""},
    // install modes and their conflicts
    Refused("/i a.msi /x b.msi"),
    {"/i a.msi", true, 1, 0, 0, "SETUP.INI", {}, {}, ""},
    {"/FVOMUS pkg.msi", true, 2, 0, 0, "SETUP.INI", {}, {}, ""},
    {"/x {CODE}", true, 3, 0, 0, "SETUP.INI", {}, {}, ""},
    {"/p patch.msp /a pkg.msi", true, 7, 0, 0, "SETUP.INI", {}, {}, ""},
    {"/a pkg.msi /p patch.msp", true, 7, 0, 0, "SETUP.INI", {}, {}, ""},
    Refused("/a pkg.msi /a other.msi"),
    Refused("/p a.msp /p b.msp"),
    {"/ju pkg.msi /t t.mst", true, 4, 0, 0, "SETUP.INI", {}, {}, ""},
    {"/g 1033 /ju pkg.msi", true, 4, 0, 0, "SETUP.INI", {}, {}, ""},
    Refused("/t t.mst /i pkg.msi"),
    Refused("/g 1033 /x pkg.msi"),
    Refused("/g 1033 /t t.mst"),
    Refused("/ju pkg.msi /ju pkg.msi"),
    {"/m status.mif /i pkg.msi", true, 1, 0, 0, "SETUP.INI", {}, {}, ""},
    Refused("/m status.mif /ju pkg.msi"),
    Refused("/ju pkg.msi /m status.mif"),
    Refused("/p patch.msp /m status.mif"),
    Refused("/m status.mif /p patch.msp"),
    Refused("/m a.mif /m b.mif"),
    Refused("/L*v a.log /l b.log"),
    // user-interface levels
    Refused("/qb+x"),
    Refused("/qz"),
    {"/qB+", true, 0, 3, 0, "SETUP.INI", {}, {}, ""},
    {"/QN+", true, 0, 6, 0, "SETUP.INI", {}, {}, ""},
    {"/Q", true, 0, 7, 0, "SETUP.INI", {}, {}, ""},
    {"/qN", true, 0, 7, 0, "SETUP.INI", {}, {}, ""},
    {"/qb /qn", true, 0, 7, 0, "SETUP.INI", {}, {}, ""},
    // properties in the four spellings, bare words
    {"/qb reboot=f", true, 0, 4, 0, "SETUP.INI", {"REBOOT=f"}, {}, ""},
    Refused("/qb REBOOT=F REBOOT=S"),
    Refused("/qb REBOOT=Yes"),
    Refused("/qb REBOOT="),
    {"/qb REBOOT=\"\"", true, 0, 4, 0, "SETUP.INI", {"REBOOT=\"\""}, {}, ""},
    {"/qb Reboot = ReallySuppress", true, 0, 4, 0, "SETUP.INI", {"REBOOT=ReallySuppress"}, {}, ""},
    Refused("/qb /fvomus pkg.msi REINSTALLMODE=a"),
    {"/qb REINSTALLMODE=a /fvomus pkg.msi",
     true,
     2,
     4,
     0,
     "SETUP.INI",
     {"REINSTALLMODE=a"},
     {},
     "a"},
    {"/i pkg.msi reinstallmode=vomus",
     true,
     1,
     0,
     0,
     "SETUP.INI",
     {"REINSTALLMODE=vomus"},
     {},
     "vomus"},
    {"/qb FOO= /qn", true, 0, 4, 0, "SETUP.INI", {"FOO=/qn"}, {}, ""},
    {"/qb FOO=", true, 0, 4, 0, "SETUP.INI", {"FOO="}, {}, ""},
    {"/qb FOO = bar", true, 0, 4, 0, "SETUP.INI", {"FOO=bar"}, {}, ""},
    {"/qb FOO =bar", true, 0, 4, 0, "SETUP.INI", {"FOO=bar"}, {}, ""},
    {"/qb foo=bar=baz", true, 0, 4, 0, "SETUP.INI", {"FOO=bar=baz"}, {}, ""},
    {"/qb FOO =", true, 0, 4, 0, "SETUP.INI", {"FOO="}, {}, ""},
    {"/qb foo bar", true, 0, 4, 0, "SETUP.INI", {}, {"foo", "bar"}, ""},
    {"/qb foo /w", true, 0, 4, 0, "SETUP.INI", {}, {"foo", "/w"}, ""},
    {"/qb foo\tBAR=1", true, 0, 4, 0, "SETUP.INI", {"FOO\tBAR=1"}, {}, ""},
    // pass-through, markers, refusals and no-ops
    {"/w /W123", true, 0, 0, 0, "SETUP.INI", {}, {"/w", "/W123"}, ""},
    {"/w /w", true, 0, 0, 0, "SETUP.INI", {}, {"/w", "/w"}, ""},
    {"/~", true, 0, 0, 1, "SETUP.INI", {}, {}, ""},
    {"/qb /~-", true, 0, 4, 2, "SETUP.INI", {}, {}, ""},
    Refused("/i"),
    Refused("/qb /L*v"),
    Refused("/~x"),
    Refused("/~ /~-"),
    Refused("/~ /~"),
    Refused("/y"),
    Refused("/"),
    Refused("/qb /"),
    {"/?", true, 0, 0, 0, "SETUP.INI", {}, {}, ""},
    {"/h /help", true, 0, 0, 0, "SETUP.INI", {}, {}, ""},
    // a first argument that is a property assignment and names no file
    {"FOO=bar /qb", true, 0, 4, 0, "SETUP.INI", {"FOO=bar"}, {}, ""},
    {"FOO =bar", true, 0, 0, 0, "SETUP.INI", {"FOO=bar"}, {}, ""},
    {"FOO = bar /qn", true, 0, 7, 0, "SETUP.INI", {"FOO=bar"}, {}, ""},
    {"FOO= /qn", true, 0, 0, 0, "SETUP.INI", {"FOO=/qn"}, {}, ""},
    {"ODD=NAME.ini /qb", true, 0, 4, 0, "ODD=NAME.ini", {}, {}, ""},
};

TEST(CommandLineParse, Table) {
    for (const ParseCase& c : kParseCases) {
        SetupCommandLine line;
        const bool accepted = line.Parse(kLauncher, c.arguments);
        ASSERT_EQ(c.accepted, accepted) << c.arguments;
        if (!accepted) {
            ExpectReset(line, c.arguments);
            continue;
        }
        EXPECT_TRUE(line.GetSetupData().IsLoaded()) << c.arguments;
        EXPECT_EQ(kLauncher, line.GetLauncherFolder()) << c.arguments;
        EXPECT_EQ(c.mode, line.GetInstallMode()) << c.arguments;
        EXPECT_EQ(c.uiLevel, line.GetUILevel()) << c.arguments;
        EXPECT_EQ(c.marker, line.GetTempCopyMarker()) << c.arguments;
        EXPECT_EQ(c.setupFile, line.GetSetupFileName()) << c.arguments;
        EXPECT_EQ(c.properties, line.GetProperties()) << c.arguments;
        EXPECT_EQ(c.passThrough, line.GetPassThrough()) << c.arguments;
        EXPECT_EQ(c.reinstallMode, line.GetReinstallMode()) << c.arguments;
    }
}

// Whether setup's own restart is held back: the REBOOT property, and the installer's restart
// switches as the installer reads them (whole words: /promptrestart is no patch switch; it restarts
// nothing where it cannot ask).
TEST(CommandLineParse, RestartHeldBack) {
    const std::pair<const char*, bool> cases[] = {
        {"/qb REBOOT=ReallySuppress", true}, {"/qb reboot=s", true},
        {"/qb REBOOT=Force", false},         {"/qb /NoRestart", true},
        {"/qn+ /PROMPTRESTART", false},      {"/qb- /promptrestart", true},
        {"/promptrestart /qn", true},
    };
    for (const auto& [arguments, heldBack] : cases) {
        SetupCommandLine line;
        ASSERT_TRUE(line.Parse(kLauncher, arguments)) << arguments;
        EXPECT_EQ(heldBack, line.IsRebootSuppressed()) << arguments;
    }
}

// All renderers in the order of an installer command line, then the marker, separated by "|".
std::string RenderAll(const SetupCommandLine& line) {
    std::string text;
    line.AppendInstallModeArgs(text);
    text += "|";
    line.AppendUILevelArg(text);
    text += "|";
    line.AppendLogArgs(text);
    text += "|";
    line.AppendMifArgs(text);
    text += "|";
    line.AppendPassThroughArgs(text);
    text += "|";
    line.AppendProperties(text);
    text += "|";
    line.AppendTempCopyMarker(text);
    return text;
}

struct RenderCase {
    const char* arguments;
    const char* rendered; // RenderAll()
};

const RenderCase kRenderCases[] = {
    {"", "||||||"},
    {"/i \"C:\\My Packages\\a.msi\"", " /I \"C:\\My Packages\\a.msi\"||||||"},
    {"/fvomus pkg.msi", " /fvomus pkg.msi||||||"},
    {"/X {CODE}", " /x {CODE}||||||"},
    {"/ju pkg.msi /t t.mst", " /ju pkg.msi /t t.mst||||||"},
    {"/g 1033 /jm pkg.msi", " /jm pkg.msi /g 1033||||||"},
    {"/g 1033", "||||||"},
    {"/a pkg.msi", " /a pkg.msi||||||"},
    {"/p patch.msp", " /p patch.msp||||||"},
    {"/p patch.msp /a pkg.msi", " /p patch.msp /a pkg.msi||||||"},
    {"/a pkg.msi /p patch.msp", " /p patch.msp /a pkg.msi||||||"},
    {"/qf", "| /qf|||||"},
    {"/qr", "| /qr|||||"},
    {"/qb+", "| /qb+|||||"},
    {"/QB", "| /qb|||||"},
    {"/qb-", "| /qb-|||||"},
    {"/qn+", "| /qn+|||||"},
    {"/q", "| /qn|||||"},
    {"/qb- /L*v \"C:\\log dir\\setup.log\"", "| /qb-| /L*v \"C:\\log dir\\setup.log\"||||"},
    {"/l log.txt", "|| /L log.txt||||"},
    {"/m \"C:\\status file.mif\" /x pkg.msi", " /x pkg.msi||| /m \"C:\\status file.mif\"|||"},
    {"/w /qb foo BAR = \"a b\" /c9 baz=1", "| /qb||| /w foo /c9| BAR=\"a b\" BAZ=1|"},
    {"/~", "|||||| /~"},
    {"/~-", "|||||| /~-"},
};

TEST(CommandLineRender, Table) {
    for (const RenderCase& c : kRenderCases) {
        SetupCommandLine line;
        ASSERT_TRUE(line.Parse(kLauncher, c.arguments)) << c.arguments;
        EXPECT_EQ(c.rendered, RenderAll(line)) << c.arguments;
    }
}

// Arguments that end setup with an internal error: the raised code.
struct ErrorCase {
    const char* name;
    std::string arguments;
    uint32_t code;
};

const ErrorCase kErrorCases[] = {
    {"unbalanced quote in a token", "/qb \"C:\\x", 0x80040007},
    {"unbalanced quote inside a word", "/qb a\"b c", 0x80040007},
    {"trailing lone quote", "/qb abc\"", 0x80040007},
    {"unbalanced quote as a switch argument", "/i \"pkg.msi", 0x80040007},
    {"unbalanced quote after a bare word", "/qb foo \"bar", 0x80040007},
    {"unbalanced quote as a property value", "/qb FOO= \"bar", 0x80040007},
    {"NUL byte", std::string("/qb\0/i x.msi", 12), 0x80040007},
    {"first argument names a missing file", "mysetp.ini /qb", 2},
    {"first bare word meant as a property", "INSTALLDIR /qb", 2},
    {"first argument names a malformed file", "broken.ini", 13},
    {"first argument is an empty quoted name", "\"\" /qb", 0x80004003},
    {"first argument names a path over 260 bytes", std::string(300, 'n') + " /qb", 206},
};

TEST(CommandLineErrors, Table) {
    for (const ErrorCase& c : kErrorCases) {
        SetupCommandLine line;
        try {
            line.Parse(kLauncher, c.arguments);
            ADD_FAILURE() << c.name << ": accepted";
        } catch (const SetupError& error) {
            EXPECT_EQ(c.code, error.code) << c.name;
        }
    }
}

uint32_t RaisedCode(const std::function<void()>& action) {
    try {
        action();
    } catch (const SetupError& error) {
        return error.code;
    }
    return 0;
}

TEST(CommandLineErrors, MissingFolderArgumentsOrName) {
    LogCapture log;
    SetupCommandLine line;
    EXPECT_EQ(0x80004003u, RaisedCode([&] { line.Parse(nullptr, "/qb"); }));
    EXPECT_EQ(0x80004003u, RaisedCode([&] { line.Parse(kLauncher.c_str(), nullptr); }));
    EXPECT_EQ(0x80004003u, RaisedCode([&] { line.Parse("", "/qb"); }));
    EXPECT_EQ(0x80004003u, RaisedCode([&] { line.LoadSetupData("SETUP.INI"); })); // no folder yet
    line.SetLauncherFolder(kLauncher);
    EXPECT_EQ(0x80004003u, RaisedCode([&] { line.LoadSetupData(""); }));
    EXPECT_TRUE(line.LoadSetupData("SETUP.INI"));
    EXPECT_EQ("product.msi", line.GetSetupData().GetPackageName());
    EXPECT_NE(std::string::npos, log.Text().find("Error Code: 0017.80004003"));
}

TEST(CommandLineErrors, RefusedLineLeavesSetupDataUnreadable) {
    SetupCommandLine line;
    ASSERT_FALSE(line.Parse(kLauncher, "/qb /y"));
    EXPECT_EQ(0x80070005u, RaisedCode([&] { line.GetSetupData().GetPackageName(); }));
}

TEST(CommandLineParse, SecondParseStartsAfresh) {
    SetupCommandLine line;
    ASSERT_TRUE(line.Parse(kLauncher, "/qb /w FOO=1 /i a.msi /~"));
    ASSERT_TRUE(line.Parse(kLauncher, "/qn /w"));
    EXPECT_EQ(0, line.GetInstallMode());
    EXPECT_EQ(7, line.GetUILevel());
    EXPECT_EQ(0, line.GetTempCopyMarker());
    EXPECT_EQ(Strings{"/w"}, line.GetPassThrough());
    EXPECT_TRUE(line.GetProperties().empty());
}

TEST(CommandLineParse, LoadsTheNamedFile) {
    SetupCommandLine line;
    ASSERT_TRUE(line.Parse(kLauncher, "mysetup.ini"));
    EXPECT_EQ("other.msi", line.GetSetupData().GetPackageName());
    ASSERT_TRUE(line.Parse(kLauncher, "\"my setup.ini\""));
    EXPECT_EQ("spaced.msi", line.GetSetupData().GetPackageName());
    ASSERT_TRUE(line.Parse(kLauncher, "/qb mysetup.ini"));
    EXPECT_EQ("product.msi", line.GetSetupData().GetPackageName());
}

TEST(CommandLineHostile, LongValuesStayWhole) {
    const std::string value(5000, 'v');
    const std::string quoted = "\"" + std::string(400, 'q') + " " + std::string(400, 'r') + "\"";
    SetupCommandLine line;
    ASSERT_TRUE(
        line.Parse(kLauncher, "/qb LONG=" + value + " PATH= " + quoted + " /L*v " + quoted));
    EXPECT_EQ((Strings{"LONG=" + value, "PATH=" + quoted}), line.GetProperties());
    std::string rendered;
    line.AppendProperties(rendered);
    line.AppendLogArgs(rendered);
    EXPECT_EQ(" LONG=" + value + " PATH=" + quoted + " /L*v " + quoted, rendered);
}

// A parse that re-copied the remaining 1.2 MB per token would run into the test's time-out.
TEST(CommandLineHostile, ManyArgumentsParseWhole) {
    std::string arguments = "/qb";
    const int count = 60000;
    for (int i = 0; i < count; ++i) {
        arguments += (i % 3 == 0)   ? " /w"
                     : (i % 3 == 1) ? " P" + std::to_string(i) + "=\"a b\""
                                    : " word";
    }
    SetupCommandLine line;
    ASSERT_TRUE(line.Parse(kLauncher, arguments));
    EXPECT_EQ(static_cast<std::size_t>(count / 3), line.GetProperties().size());
    EXPECT_EQ(static_cast<std::size_t>(2 * count / 3), line.GetPassThrough().size());
}

TEST(CommandLineHostile, RefusedAfterManyAcceptedArguments) {
    std::string arguments = "/qb";
    for (int i = 0; i < 5000; ++i)
        arguments += " P" + std::to_string(i) + "=1 /w";
    SetupCommandLine line;
    EXPECT_FALSE(line.Parse(kLauncher, arguments + " /y"));
    ExpectReset(line, "many arguments then /y");
}

} // namespace
