// Starting children from one command line and waiting for them while the session may end.
#include "sys/process.h"

#include <vector>

#include "sys/last_error.h"
#include "sys/setup_log.h"
#include "sys/setup_result.h"
#include "sys/system_library.h"
#include "sys/wide_entry_points.h"
#include "text/internal_error.h"

namespace {

// CreateProcessW takes at most 32767 characters, the terminating zero included.
constexpr int kMaxCommandLineChars = 32767;
constexpr DWORD kRebootGraceMilliseconds = 5000;
// After Windows asked whether the session may end: how long to wait for its verdict, and how often
// to look whether the end was cancelled.
constexpr DWORD kSessionVerdictMilliseconds = 60000;
constexpr DWORD kSessionVerdictPollMilliseconds = 100;
constexpr DWORD kRebootInitiated = 1641;
constexpr DWORD kRebootRequired = 3010;

UniqueKernelHandle lastLaunchedProcess;

enum class StartResult { Started, NoEntryPoint, Failed };

using CreateProcessWFunction = BOOL(WINAPI*)(LPCWSTR, LPWSTR, LPSECURITY_ATTRIBUTES,
                                             LPSECURITY_ATTRIBUTES, BOOL, DWORD, LPVOID, LPCWSTR,
                                             LPSTARTUPINFOW, LPPROCESS_INFORMATION);

// The shared conversions stop at 260 characters; a command line (package path plus properties)
// gets a buffer of its own length instead.
bool Widen(uint32_t codePage, const std::string& text, std::vector<wchar_t>& wide) {
    wide.clear();
    const int needed = ::MultiByteToWideChar(codePage, 0, text.c_str(), -1, nullptr, 0);
    if (needed <= 1) return false;
    if (needed > kMaxCommandLineChars) {
        WriteLogF("The command line is too long to start (%d characters)", needed - 1);
        return false;
    }
    wide.resize(static_cast<std::size_t>(needed));
    return ::MultiByteToWideChar(codePage, 0, text.c_str(), -1, wide.data(), needed) == needed;
}

StartResult StartChild(const std::string& commandLine, PROCESS_INFORMATION& info) {
    // Children start in the system folder, not wherever Setup.EXE was started (often a download
    // folder): a program looks for its DLLs in its current folder as well.
    const std::string folder = SystemFolder();
    if (!IsWindowsNT()) {
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        std::vector<char> narrow(commandLine.begin(), commandLine.end());
        narrow.push_back('\0');
        return ::CreateProcessA(nullptr, narrow.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                folder.empty() ? nullptr : folder.c_str(), &startup, &info)
                   ? StartResult::Started
                   : StartResult::Failed;
    }
    auto createProcessW = GetEntryPointAs<CreateProcessWFunction>("KERNEL32.DLL", "CreateProcessW");
    if (!createProcessW) {
        WriteLogF("Failed to load CreateProcess entry point. Error Code = %08X",
                  GetLastSystemError());
        return StartResult::NoEntryPoint;
    }
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    std::vector<wchar_t> wideFolder;
    const wchar_t* currentFolder = Widen(CP_ACP, folder, wideFolder) ? wideFolder.data() : nullptr;
    std::vector<wchar_t> wide;
    // OEM first: names typed in a console arrive in the OEM code page; ANSI is the second chance.
    for (const uint32_t codePage : {GetUserOemCodePage(), GetUserAnsiCodePage()}) {
        if (Widen(codePage, commandLine, wide) &&
            createProcessW(nullptr, wide.data(), nullptr, nullptr, FALSE, 0, nullptr, currentFolder,
                           &startup, &info)) {
            return StartResult::Started;
        }
    }
    return StartResult::Failed;
}

} // namespace

bool LaunchCommandLine(const std::string& commandLine, const LaunchRule& rule,
                       UniqueKernelHandle* child) {
    if (rule.logsCommandLine) WriteLogF("Command Line = %s", commandLine.c_str());
    PROCESS_INFORMATION info = {};
    const StartResult result = StartChild(commandLine, info);
    if (result != StartResult::Started) {
        if (rule.failureLocation &&
            (result == StartResult::NoEntryPoint || rule.startFailureRaises))
            ReportInternalError(rule.failureLocation, InternalErrorCode::CannotStart);
        return false;
    }
    UniqueKernelHandle process(info.hProcess);
    UniqueKernelHandle thread(info.hThread);
    if (rule.recordsChild) {
        lastLaunchedProcess = std::move(process);
    } else if (child) {
        *child = std::move(process);
    }
    return true;
}

HANDLE LastLaunchedProcess() {
    return lastLaunchedProcess.get();
}

void ResetLastLaunchedProcess() {
    lastLaunchedProcess.reset();
}

namespace {
// Called once the end-session event was seen: true when the session really ends (its end was
// confirmed, or no verdict came in time), false when another program cancelled it (the dialog
// reset the event).
bool SessionReallyEnds(HANDLE endSessionEvent, HANDLE sessionEndsEvent) {
    if (!sessionEndsEvent) return true;
    for (DWORD waited = 0; waited < kSessionVerdictMilliseconds;
         waited += kSessionVerdictPollMilliseconds) {
        if (::WaitForSingleObject(sessionEndsEvent, kSessionVerdictPollMilliseconds) !=
            WAIT_TIMEOUT)
            return true;
        if (::WaitForSingleObject(endSessionEvent, 0) == WAIT_TIMEOUT) {
            WriteLog("The end of the session was cancelled, continuing...");
            return false;
        }
    }
    return true;
}
} // namespace

bool WaitForProcess(HANDLE process, HANDLE endSessionEvent, bool waitForReboot, uint32_t* exitCode,
                    HANDLE sessionEndsEvent) {
    if (process) {
        const HANDLE handles[2] = {process, endSessionEvent};
        DWORD waitResult;
        // A null event would fail the whole wait: without one, only the child is waited for. A
        // session end that is cancelled goes back to waiting for the child.
        while ((waitResult = ::WaitForMultipleObjects(endSessionEvent ? 2 : 1, handles, FALSE,
                                                      INFINITE)) == WAIT_OBJECT_0 + 1) {
            if (SessionReallyEnds(endSessionEvent, sessionEndsEvent)) {
                WriteLogF("Reboot detected immediatedly. WaitResult = %08X",
                          static_cast<unsigned>(waitResult));
                return true;
            }
        }
        DWORD code = 0;
        if (waitResult != WAIT_OBJECT_0) {
            WriteLogF("Failed to wait for the process. Error Code = %08X", GetLastSystemError());
        } else if (!::GetExitCodeProcess(process, &code)) {
            WriteLogF("Failed to get the exit code of the process. Error Code = %08X",
                      GetLastSystemError());
        } else {
            WriteLogF("Process completed with exit code: %08X", static_cast<unsigned>(code));
            if (code == kRebootInitiated || code == kRebootRequired) {
                if (exitCode) *exitCode = code;
                WriteLogF("Reboot detected immediatedly. WaitResult = %08X",
                          static_cast<unsigned>(waitResult));
                return true;
            }
            if (code != 0 && !exitCode) RaiseSetupError(code);
            if (exitCode) *exitCode = code;
        }
    }
    if (waitForReboot) {
        WriteLog("Waiting five seconds for reboot!");
        const DWORD waitResult =
            endSessionEvent ? ::WaitForSingleObject(endSessionEvent, kRebootGraceMilliseconds)
                            : WAIT_FAILED;
        if ((waitResult == WAIT_OBJECT_0 || waitResult == WAIT_ABANDONED) &&
            SessionReallyEnds(endSessionEvent, sessionEndsEvent)) {
            WriteLogF("Reboot detected! WaitResult = %08X", static_cast<unsigned>(waitResult));
            return true;
        }
    }
    WriteLog("No reboot detected, continuing...");
    return false;
}
