// Child processes under Wine: launching by rule, exit-code judging, the end-session event and the
// five-second wait (asked for, not waited: timed_wait_seam.cpp). The children are this test program
// itself, told what to do through SETUP_TEST_CHILD.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "steps/launch_kind.h"
#include "support/child_process.h"
#include "support/known_folders.h"
#include "support/message_box_answerer.h"
#include "support/setup_log_capture.h"
#include "support/test_files.h"
#include "support/timed_wait_seam.h"
#include "sys/process.h"
#include "sys/setup_result.h"
#include "sys/unique_handle.h"

namespace {

// Child side, decided before main: "exit N" ends with N, "sleep MS" sleeps and ends with 0,
// "echo PATH" writes the command line it was given to PATH and ends with 0.
int ActAsChildWhenAsked() {
    const std::string role = ChildRole();
    if (role.empty()) return 0;
    const char* request = role.c_str();
    if (std::strncmp(request, "exit ", 5) == 0)
        ::ExitProcess(std::strtoul(request + 5, nullptr, 10));
    if (std::strncmp(request, "sleep ", 6) == 0) {
        ::Sleep(std::strtoul(request + 6, nullptr, 10));
        ::ExitProcess(0);
    }
    if (std::strncmp(request, "echo ", 5) == 0) {
        if (FILE* out = std::fopen(request + 5, "wb")) {
            std::fputs(::GetCommandLineA(), out);
            std::fclose(out);
            ::ExitProcess(0);
        }
        ::ExitProcess(2);
    }
    ::ExitProcess(99);
}
const int childMode = ActAsChildWhenAsked();

// A child recorded as the last one, and one handed back; failures answered false.
constexpr LaunchRule kRecorded = {true, true, true};
constexpr LaunchRule kHandedBack = {true, false};

std::string Quoted(const std::string& path) {
    return "\"" + path + "\"";
}

class ProcessTest : public ::testing::Test {
  protected:
    void SetUp() override {
        endSession_.reset(::CreateEventA(nullptr, TRUE, FALSE, nullptr));
        ASSERT_TRUE(endSession_);
        ResetLastLaunchedProcess();
        wait_seam::TakeRequests();
    }
    void TearDown() override { ResetLastLaunchedProcess(); }

    // Starts this program as a recorded child that ends with `code`.
    void LaunchExiting(uint32_t code) {
        ChildRoleScope request("exit " + std::to_string(code));
        ASSERT_TRUE(LaunchCommandLine(Quoted(TestProgramPath()), kRecorded));
        ASSERT_NE(LastLaunchedProcess(), nullptr);
    }

    UniqueKernelHandle endSession_;
};

struct ExitCase {
    uint32_t code;
    bool withOutput;
    bool reboot;
    const char* codeLine;
};

TEST_F(ProcessTest, ExitCodesAreJudged) {
    const ExitCase cases[] = {
        {0, true, false, "Process completed with exit code: 00000000"},
        {0, false, false, "Process completed with exit code: 00000000"},
        {1641, true, true, "Process completed with exit code: 00000669"},
        {1641, false, true, "Process completed with exit code: 00000669"},
        {3010, true, true, "Process completed with exit code: 00000BC2"},
        {3010, false, true, "Process completed with exit code: 00000BC2"},
        {1603, true, false, "Process completed with exit code: 00000643"},
    };
    for (const ExitCase& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << "exit code " << c.code << (c.withOutput ? " with output" : ""));
        SetupLogCapture log;
        LaunchExiting(c.code);
        uint32_t output = 0xDEADBEEF;
        const bool reboot = WaitForProcess(LastLaunchedProcess(), endSession_.get(), false,
                                           c.withOutput ? &output : nullptr);
        EXPECT_EQ(reboot, c.reboot);
        if (c.withOutput) {
            EXPECT_EQ(output, c.code);
        }
        EXPECT_TRUE(log.Contains(c.codeLine)) << log.Dump();
        // A detected restart returns at once, without the grace wait's closing line.
        EXPECT_EQ(log.Contains("Reboot detected immediatedly. WaitResult = 00000000"), c.reboot)
            << log.Dump();
        EXPECT_EQ(log.Contains("No reboot detected, continuing..."), !c.reboot) << log.Dump();
    }
}

TEST_F(ProcessTest, FailingChildWithoutOutputEndsSetupWithItsCode) {
    SetupLogCapture log;
    LaunchExiting(1603);
    try {
        WaitForProcess(LastLaunchedProcess(), endSession_.get(), false, nullptr);
        FAIL() << "the child's exit code was not raised";
    } catch (const SetupError& error) {
        EXPECT_EQ(error.code, 1603u);
    }
    EXPECT_TRUE(log.Contains("Process completed with exit code: 00000643")) << log.Dump();
    EXPECT_FALSE(log.Contains("No reboot detected, continuing...")) << log.Dump();
}

TEST_F(ProcessTest, EndSessionDuringTheWaitWins) {
    {
        ChildRoleScope request("sleep 30000");
        ASSERT_TRUE(LaunchCommandLine(Quoted(TestProgramPath()), kRecorded));
    }
    SetupLogCapture log;
    // The session ends while the child still has half a minute to run.
    ::SetEvent(endSession_.get());
    uint32_t output = 0xDEADBEEF;
    EXPECT_TRUE(WaitForProcess(LastLaunchedProcess(), endSession_.get(), false, &output));
    EXPECT_EQ(output, 0xDEADBEEFu);
    EXPECT_TRUE(log.Contains("Reboot detected immediatedly. WaitResult = 00000001")) << log.Dump();
    ::TerminateProcess(LastLaunchedProcess(), 0);

    // The event is never reset: a later wait sees it at once.
    LaunchExiting(0);
    EXPECT_TRUE(WaitForProcess(LastLaunchedProcess(), endSession_.get(), false, nullptr));
}

TEST_F(ProcessTest, GraceWaitOfFiveSecondsSeesASessionEnd) {
    // A remover that ended with 0, and a session end already signalled: the wait for the child
    // answers the lower index (the child) first, so the end falls into the grace wait.
    LaunchExiting(0);
    ASSERT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(LastLaunchedProcess(), 30000));
    for (const bool sessionEnds : {true, false}) {
        SCOPED_TRACE(sessionEnds ? "session ends" : "no session end");
        if (sessionEnds)
            ::SetEvent(endSession_.get());
        else
            ::ResetEvent(endSession_.get());
        SetupLogCapture log;
        uint32_t output = 0xDEADBEEF;
        EXPECT_EQ(sessionEnds,
                  WaitForProcess(LastLaunchedProcess(), endSession_.get(), true, &output));
        EXPECT_EQ(output, 0u);
        EXPECT_EQ(wait_seam::TakeRequests(), std::vector<DWORD>{5000});
        const std::vector<std::string> expected = {
            "Process completed with exit code: 00000000", "Waiting five seconds for reboot!",
            sessionEnds ? "Reboot detected! WaitResult = 00000000"
                        : "No reboot detected, continuing..."};
        EXPECT_EQ(log.Lines(), expected);
    }
}

TEST_F(ProcessTest, NullHandleWithoutGraceWaitReturnsAtOnce) {
    SetupLogCapture log;
    uint32_t output = 0xDEADBEEF;
    EXPECT_FALSE(WaitForProcess(nullptr, endSession_.get(), false, &output));
    EXPECT_TRUE(wait_seam::TakeRequests().empty());
    EXPECT_EQ(output, 0xDEADBEEFu);
    const std::vector<std::string> expected = {"No reboot detected, continuing..."};
    EXPECT_EQ(log.Lines(), expected);
}

TEST_F(ProcessTest, FailedWaitIsLoggedAndFallsThrough) {
    SetupLogCapture log;
    uint32_t output = 0xDEADBEEF;
    EXPECT_FALSE(
        WaitForProcess(reinterpret_cast<HANDLE>(0x7FFC), endSession_.get(), false, &output));
    EXPECT_EQ(output, 0xDEADBEEFu);
    const std::vector<std::string> expected = {
        "Failed to wait for the process. Error Code = 00000006",
        "No reboot detected, continuing..."};
    EXPECT_EQ(log.Lines(), expected);
}

TEST_F(ProcessTest, WaitWithoutEventStillWaitsForTheChild) {
    LaunchExiting(3010);
    uint32_t output = 0;
    EXPECT_TRUE(WaitForProcess(LastLaunchedProcess(), nullptr, false, &output));
    EXPECT_EQ(output, 3010u);
}

TEST_F(ProcessTest, LongCommandLineReachesTheChildWhole) {
    const std::string echoFile = UserTempFolder() + "setup_process_echo.txt";
    ::DeleteFileA(echoFile.c_str());
    std::string commandLine = Quoted(TestProgramPath()) + " ";
    for (int i = 0; commandLine.size() < 1000; ++i)
        commandLine += "PROPERTY" + std::to_string(i) + "=value ";
    commandLine += "END=1";
    {
        ChildRoleScope request("echo " + echoFile);
        ASSERT_TRUE(LaunchCommandLine(commandLine, kRecorded));
    }
    uint32_t output = 0xDEADBEEF;
    WaitForProcess(LastLaunchedProcess(), endSession_.get(), false, &output);
    EXPECT_EQ(output, 0u);
    const std::string echoed = ReadFileBytes(echoFile);
    ::DeleteFileA(echoFile.c_str());
    EXPECT_GT(commandLine.size(), 1000u);
    EXPECT_EQ(echoed, commandLine);
}

TEST_F(ProcessTest, CommandLineBeyondTheSystemLimitIsRefused) {
    SetupLogCapture log;
    const std::string commandLine = Quoted(TestProgramPath()) + " " + std::string(40000, 'x');
    EXPECT_FALSE(LaunchCommandLine(commandLine, kRecorded));
    EXPECT_NE(log.Dump().find("The command line is too long to start ("), std::string::npos);
}

struct FailureCase {
    LaunchKind kind;
    unsigned location;
    const char* boxText; // null: answered false, no box
};

TEST_F(ProcessTest, StartFailuresFollowTheRule) {
    const std::string missing = "\"" + UserTempFolder() + "no such program.exe\" /x";
    const FailureCase cases[] = {
        {LaunchKind::EngineRedistributable, 0, nullptr},
        {LaunchKind::MainInstaller, 12, "Error Code: 000C.80040006"},
        // Only a missing CreateProcessW would raise.
        {LaunchKind::PostInstallApplication, 26, nullptr},
    };
    for (const FailureCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "location " << c.location);
        const LaunchRule rule = LaunchRuleFor(c.kind);
        SetupLogCapture log;
        MessageBoxAnswerer answerer;
        if (c.boxText) {
            try {
                StartedOrReported(LaunchCommandLine(missing, rule), c.kind, c.location);
                ADD_FAILURE() << "no internal error";
            } catch (const SetupError& error) {
                EXPECT_EQ(error.code, 0x80040006u);
            }
            const std::vector<std::string> texts = answerer.Texts();
            ASSERT_EQ(texts.size(), 1u);
            EXPECT_NE(texts[0].find(c.boxText), std::string::npos) << texts[0];
        } else {
            EXPECT_FALSE(StartedOrReported(LaunchCommandLine(missing, rule), c.kind, c.location));
            EXPECT_TRUE(answerer.Texts().empty());
        }
        EXPECT_EQ(log.Contains("Command Line = " + missing), rule.logsCommandLine) << log.Dump();
        EXPECT_EQ(LastLaunchedProcess(), nullptr);
    }
}

TEST_F(ProcessTest, UnrecordedStartsLeaveTheRecordedChildAlone) {
    LaunchExiting(0);
    const HANDLE recorded = LastLaunchedProcess();
    UniqueKernelHandle remover;
    {
        ChildRoleScope request("exit 7");
        ASSERT_TRUE(LaunchCommandLine(Quoted(TestProgramPath()), kHandedBack, &remover));
        ASSERT_TRUE(remover);
    }
    uint32_t output = 0;
    EXPECT_FALSE(WaitForProcess(remover.get(), endSession_.get(), false, &output));
    EXPECT_EQ(output, 7u);
    {
        SetupLogCapture log;
        ChildRoleScope request("exit 0");
        EXPECT_TRUE(LaunchCommandLine(Quoted(TestProgramPath()), {false, false}));
        EXPECT_TRUE(log.Lines().empty()) << log.Dump();
    }
    EXPECT_EQ(LastLaunchedProcess(), recorded);
}

// Where Windows answers 740 (the seam), the child starts through "runas" and is waited for as
// usual, a declined prompt ends the step with 1602, and a rule without elevation only fails.
TEST_F(ProcessTest, ChildRequiringElevationStartsThroughRunas) {
    const std::string program = Quoted(TestProgramPath()) + " needs-elevation";
    ChildRoleScope request("exit 7");
    ASSERT_TRUE(LaunchCommandLine(program + " PROP=1", kRecorded));
    uint32_t output = 0;
    WaitForProcess(LastLaunchedProcess(), endSession_.get(), false, &output);
    EXPECT_EQ(output, 7u);
    EXPECT_FALSE(LaunchCommandLine(program, {false, false}));
    try {
        LaunchCommandLine(program + " declines-prompt", kRecorded);
        ADD_FAILURE() << "a declined prompt did not end the step";
    } catch (const SetupError& error) {
        EXPECT_EQ(error.code, 1602u);
    }
}

// On NT the command line is first converted with the OEM code page, then with the ANSI one: a
// program in a folder whose name differs between the two still starts.
TEST_F(ProcessTest, AnsiConversionIsTheSecondChance) {
    const std::string folder = UserTempFolder() + "caf\xE9 process";
    ::CreateDirectoryA(folder.c_str(), nullptr);
    const std::string copy = folder + "\\child.exe";
    ASSERT_TRUE(::CopyFileA(TestProgramPath().c_str(), copy.c_str(), FALSE));
    {
        ChildRoleScope request("exit 5");
        ASSERT_TRUE(LaunchCommandLine(Quoted(copy), kRecorded));
    }
    uint32_t output = 0;
    WaitForProcess(LastLaunchedProcess(), endSession_.get(), false, &output);
    EXPECT_EQ(output, 5u);
    ResetLastLaunchedProcess();
    ::DeleteFileA(copy.c_str());
    ::RemoveDirectoryA(folder.c_str());
}

} // namespace
