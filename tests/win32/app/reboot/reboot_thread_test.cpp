// The reboot thread against a recording stand-in for ExitWindowsEx: the shutdown privilege on NT
// (not on 9x), the restart request and the log lines. The real call never runs here.
#include <gtest/gtest.h>

#include <string>

#include "app/reboot_control.h"
#include "exit_windows_seam.h"
#include "support/child_process.h"
#include "support/known_folders.h"
#include "support/registry_entries.h"
#include "support/setup_log_capture.h"
#include "sys/unique_handle.h"

namespace {
struct Recorded {
    int calls = 0;
    UINT flags = 0;
    DWORD reserved = 0xFFFFFFFF;
    DWORD error = 0; // what the stand-in reports as failure (0: success)
};
Recorded recorded;

BOOL WINAPI RecordExitWindows(UINT flags, DWORD reserved) {
    ++recorded.calls;
    recorded.flags = flags;
    recorded.reserved = reserved;
    if (recorded.error) {
        ::SetLastError(recorded.error);
        return FALSE;
    }
    return TRUE;
}

// Whether SeShutdownPrivilege is enabled in this process's token.
bool ShutdownPrivilegeEnabled() {
    UniqueKernelHandle token;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, token.put())) return false;
    LUID luid;
    if (!::LookupPrivilegeValueA(nullptr, "SeShutdownPrivilege", &luid)) return false;
    char buffer[4096];
    DWORD size = 0;
    if (!::GetTokenInformation(token.get(), TokenPrivileges, buffer, sizeof buffer, &size))
        return false;
    const auto* privileges = reinterpret_cast<const TOKEN_PRIVILEGES*>(buffer);
    for (DWORD i = 0; i < privileges->PrivilegeCount; ++i) {
        const LUID_AND_ATTRIBUTES& p = privileges->Privileges[i];
        if (p.Luid.LowPart == luid.LowPart && p.Luid.HighPart == luid.HighPart)
            return (p.Attributes & SE_PRIVILEGE_ENABLED) != 0;
    }
    return false;
}

void DisableShutdownPrivilege() {
    UniqueKernelHandle token;
    ASSERT_TRUE(::OpenProcessToken(::GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES, token.put()));
    TOKEN_PRIVILEGES privileges = {};
    privileges.PrivilegeCount = 1;
    ASSERT_TRUE(
        ::LookupPrivilegeValueA(nullptr, "SeShutdownPrivilege", &privileges.Privileges[0].Luid));
    privileges.Privileges[0].Attributes = 0;
    ASSERT_TRUE(::AdjustTokenPrivileges(token.get(), FALSE, &privileges, 0, nullptr, nullptr));
    ASSERT_FALSE(ShutdownPrivilegeEnabled());
}

// Runs the reboot thread to its end and answers its exit code.
DWORD RunRebootThread() {
    StartRebootThread();
    HANDLE thread = GetRebootThreadHandle();
    if (!thread) return 0xBAD;
    if (::WaitForSingleObject(thread, 10000) != WAIT_OBJECT_0) return 0xBAD1;
    DWORD code = 0xBAD2;
    ::GetExitCodeThread(thread, &code);
    return code;
}

class RebootThreadTest : public ::testing::Test {
  protected:
    void SetUp() override {
        recorded = Recorded();
        SetExitWindowsRecorder(RecordExitWindows);
    }
    void TearDown() override { SetExitWindowsRecorder(nullptr); }
};

TEST_F(RebootThreadTest, EnablesThePrivilegeAndAsksForAPlainRestart) {
    DisableShutdownPrivilege();
    SetupLogCapture log;
    EXPECT_EQ(RunRebootThread(), 0u);
    EXPECT_EQ(recorded.calls, 1);
    EXPECT_EQ(recorded.flags, static_cast<UINT>(EWX_REBOOT)); // no forcing flag
    EXPECT_EQ(recorded.reserved, 0u);
    EXPECT_TRUE(ShutdownPrivilegeEnabled());

    const std::string text = log.Text();
    const auto initiating = text.find(" - Initiating Reboot...\r\n");
    const auto initiated = text.find(" - Reboot initiated.\r\n");
    ASSERT_NE(initiating, std::string::npos) << text;
    ASSERT_NE(initiated, std::string::npos) << text;
    EXPECT_LT(initiating, initiated);
    EXPECT_EQ(text.find("failed"), std::string::npos) << text;
}

// A refused request is logged in decimal, and setup's own restart (1641) leaves as 3010, as it does
// when no reboot thread could be created: the restart is still required. A resumable restart keeps
// its code.
TEST_F(RebootThreadTest, FailedRequestIsLoggedAndLeavesAsRestartRequired) {
    recorded.error = ERROR_PRIVILEGE_NOT_HELD;
    SetupLogCapture log;
    EXPECT_EQ(RunRebootThread(), kRebootRequestRefused);
    EXPECT_EQ(recorded.calls, 1);
    EXPECT_EQ(log.CountLinesEndingWith("ExitWindowsEx() failed with error code: 1314"), 1)
        << log.Text();
    EXPECT_EQ(log.CountLinesEndingWith("Reboot initiated."), 1);
    EXPECT_EQ(WaitForRebootThread(1641), 3010u);
    EXPECT_EQ(WaitForRebootThread(0x00070669), 0x00070669u);

    recorded.error = 0;
    EXPECT_EQ(RunRebootThread(), 0u);
    EXPECT_EQ(WaitForRebootThread(1641), 1641u);

    // No thread: nothing restarts, so 1641 cannot stand.
    SetRebootThreadCreationError(ERROR_NOT_ENOUGH_MEMORY);
    StartRebootThread();
    SetRebootThreadCreationError(0);
    EXPECT_EQ(WaitForRebootThread(1641), 3010u);
    EXPECT_EQ(
        log.CountLinesEndingWith("Exit code 3010 instead of 1641: the reboot thread could not "
                                 "be created. Error Code = 00000008"),
        1)
        << log.Text();
    EXPECT_EQ(WaitForRebootThread(0x00070669), 0x00070669u);
}

TEST(ShutdownPrivilege, EnableReportsSuccess) {
    DisableShutdownPrivilege();
    EXPECT_TRUE(EnableShutdownPrivilege());
    EXPECT_TRUE(ShutdownPrivilegeEnabled());
}

// On the 9x family no privilege is touched. Wine emulates Windows 98 for a program by its file
// name, so this test program runs a copy of itself under another name with that setting.
TEST(RebootThreadOn9x, LeavesThePrivilegeAlone) {
    const std::string exeName = "reboot_9x_probe.exe";
    const std::string copy = UserTempFolder() + exeName;
    ASSERT_TRUE(::CopyFileA(TestProgramPath().c_str(), copy.c_str(), FALSE));
    DWORD code = 0xDEAD;
    {
        EmulatedWindowsVersion emulated(exeName, "win98");
        ASSERT_TRUE(emulated.Applied());
        ChildProcess child = StartTestChild("RebootThreadOn9x.DISABLED_Child", "", "", copy);
        code = WaitForExitCode(child.process.get(), 60000);
    }
    ::DeleteFileA(copy.c_str());
    EXPECT_EQ(code, 0u) << "the child's test failed";
    // A filter that matched nothing would also end with 0: the child leaves a mark when it ran.
    const std::string mark = copy + ".ran";
    EXPECT_NE(::GetFileAttributesA(mark.c_str()), INVALID_FILE_ATTRIBUTES);
    ::DeleteFileA(mark.c_str());
}

TEST(RebootThreadOn9x, DISABLED_Child) {
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof version;
    ASSERT_TRUE(::GetVersionExA(&version));
    ASSERT_EQ(version.dwPlatformId, static_cast<DWORD>(VER_PLATFORM_WIN32_WINDOWS));
    DisableShutdownPrivilege();
    recorded = Recorded();
    SetExitWindowsRecorder(RecordExitWindows);
    SetupLogCapture log;
    EXPECT_EQ(RunRebootThread(), 0u);
    EXPECT_EQ(recorded.calls, 1);
    EXPECT_FALSE(ShutdownPrivilegeEnabled());
    EXPECT_EQ(log.CountLinesEndingWith("Initiating Reboot..."), 1);
    EXPECT_EQ(log.CountLinesEndingWith("Reboot initiated."), 1);

    UniqueFile mark(::CreateFileA((TestProgramPath() + ".ran").c_str(), GENERIC_WRITE, 0, nullptr,
                                  CREATE_ALWAYS, 0, nullptr));
}
} // namespace
