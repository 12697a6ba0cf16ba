// Starting children from one command line and waiting for them while the session may end.
#include "sys/process.h"

#include <vector>

#include "sys/child_start.h"
#include "sys/last_error.h"
#include "sys/prompt_owner.h"
#include "sys/setup_log.h"
#include "sys/setup_result.h"
#include "sys/system_library.h"
#include "sys/timed_wait.h"
#include "sys/wide_entry_points.h"
#include "sys/wow64.h"

namespace {

// CreateProcessW takes at most 32767 characters, the terminating zero included.
constexpr int kMaxCommandLineChars = 32767;
constexpr DWORD kRebootGraceMilliseconds = 5000;
// After Windows asked whether the session may end: how long to wait for its verdict, and how often
// to look whether the end was cancelled.
constexpr DWORD kSessionVerdictMilliseconds = 60000;
constexpr DWORD kSessionVerdictPollMilliseconds = 100;
// ERROR_ELEVATION_REQUIRED (Vista and later): the program's manifest asks for administrator rights
// that this process, running as the user, does not have.
constexpr DWORD kElevationRequired = 740;

UniqueKernelHandle lastLaunchedProcess;

enum class StartResult { Started, NoEntryPoint, Failed, ElevationRequired, Declined };

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

// Children start in the system folder, not wherever Setup.EXE was started (often a download
// folder): a program looks for its DLLs in its current folder as well. Empty when unknown.
std::string ChildFolder() {
    return SystemFolder();
}

// `folder` as the wide current folder of a child; null when it is unknown or cannot be converted.
const wchar_t* WideChildFolder(const std::string& folder, std::vector<wchar_t>& wide) {
    return !folder.empty() && Widen(CP_ACP, folder, wide) ? wide.data() : nullptr;
}

// `wide` is left holding the command line as the system last saw it.
StartResult StartChild(const std::string& commandLine, bool inNativeSystemFolder,
                       PROCESS_INFORMATION& info, std::vector<wchar_t>& wide) {
    const std::string folder = ChildFolder();
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
    auto createProcessW = CreateProcessWEntryPoint();
    if (!createProcessW) {
        WriteLogF("Failed to load CreateProcess entry point. Error Code = %08X",
                  GetLastSystemError());
        return StartResult::NoEntryPoint;
    }
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    std::vector<wchar_t> wideFolder;
    const wchar_t* currentFolder = WideChildFolder(folder, wideFolder);
    // OEM first: names typed in a console arrive in the OEM code page; ANSI is the second chance.
    for (const uint32_t codePage : {GetUserOemCodePage(), GetUserAnsiCodePage()}) {
        if (!Widen(codePage, commandLine, wide)) continue;
        DWORD error = 0;
        {
            // Off for this one call only: everything else the thread does, library loads
            // included, needs the redirection.
            NativeSystemFolderScope native(inNativeSystemFolder);
            if (!createProcessW(nullptr, wide.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                currentFolder, &startup, &info))
                error = ::GetLastError();
        }
        if (!error) return StartResult::Started;
        // The program was found: this conversion named it.
        if (error == kElevationRequired) return StartResult::ElevationRequired;
    }
    return StartResult::Failed;
}

// The program of a command line as CreateProcess reads it: the first item, quoted or up to the
// first blank, with ".exe" added when it has no extension. Answers where its arguments start.
const wchar_t* SplitOffProgram(const wchar_t* commandLine, std::wstring& program) {
    const auto skipBlanks = [](const wchar_t* text) {
        while (*text == L' ' || *text == L'\t')
            ++text;
        return text;
    };
    const wchar_t* rest = skipBlanks(commandLine);
    program.clear();
    if (*rest == L'"') {
        for (++rest; *rest && *rest != L'"'; ++rest)
            program += *rest;
        if (*rest) ++rest;
    } else {
        for (; *rest && *rest != L' ' && *rest != L'\t'; ++rest)
            program += *rest;
    }
    const std::size_t name = program.find_last_of(L"\\/");
    if (program.find(L'.', name == std::wstring::npos ? 0 : name + 1) == std::wstring::npos)
        program += L".exe";
    return skipBlanks(rest);
}

// The shell's "runas" verb starts a program whose manifest requires elevation, after the consent
// prompt, with the arguments and current folder CreateProcess would have given it.
StartResult StartWithRunas(const wchar_t* commandLine, PROCESS_INFORMATION& info) {
    WriteLog("The program requires administrator rights: starting it with the \"runas\" verb");
    const ShellExecuteExWFunction shellExecuteExW = ShellExecuteExWEntryPoint();
    if (!shellExecuteExW) {
        WriteLogF("Failed to load ShellExecuteEx entry point. Error Code = %08X",
                  GetLastSystemError());
        return StartResult::Failed;
    }
    std::wstring program;
    const wchar_t* arguments = SplitOffProgram(commandLine, program);
    // Named explicitly: the elevated child is created by the system's elevation service, not by
    // this process, so it inherits no current folder from here.
    std::vector<wchar_t> wideFolder;
    const wchar_t* folder = WideChildFolder(ChildFolder(), wideFolder);

    SHELLEXECUTEINFOW execute = {};
    execute.cbSize = sizeof execute;
    // The process handle for the wait and the exit code; the call returns once the child runs.
    execute.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_NOASYNC;
    // The consent prompt and any shell message belong to the progress dialog.
    execute.hwnd = static_cast<HWND>(PromptOwner());
    execute.lpVerb = L"runas";
    execute.lpFile = program.c_str();
    execute.lpParameters = *arguments ? arguments : nullptr;
    execute.lpDirectory = folder;
    execute.nShow = SW_SHOWNORMAL;
    if (!shellExecuteExW(&execute)) {
        const DWORD error = ::GetLastError();
        if (error == ERROR_CANCELLED) {
            WriteLog("The user declined the administrator prompt");
            return StartResult::Declined;
        }
        WriteLogF("ShellExecuteEx() failed with error code: %08X", static_cast<unsigned>(error));
        return StartResult::Failed;
    }
    info.hProcess = execute.hProcess;
    info.hThread = nullptr;
    return StartResult::Started;
}

} // namespace

LaunchResult LaunchCommandLine(const std::string& commandLine, const LaunchRule& rule,
                               UniqueKernelHandle* child) {
    if (rule.logsCommandLine) WriteLogF("Command Line = %s", commandLine.c_str());
    PROCESS_INFORMATION info = {};
    std::vector<wchar_t> wide;
    StartResult result = StartChild(commandLine, rule.inNativeSystemFolder, info, wide);
    // The shell runs with the redirection on: it loads libraries of its own width.
    if (result == StartResult::ElevationRequired)
        result = rule.mayElevate ? StartWithRunas(wide.data(), info) : StartResult::Failed;
    // A declined prompt is the user's answer, not a failure to start.
    if (result == StartResult::Declined) RaiseSetupError(SetupResult::UserExit);
    if (result == StartResult::NoEntryPoint) return {LaunchStatus::NoStartCall};
    if (result != StartResult::Started) return {LaunchStatus::Failed};
    UniqueKernelHandle process(info.hProcess);
    UniqueKernelHandle thread(info.hThread);
    if (rule.recordsChild) {
        lastLaunchedProcess = std::move(process);
    } else if (child) {
        *child = std::move(process);
    }
    return {LaunchStatus::Started};
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
            if (code == SetupResult::RebootInitiated || code == SetupResult::RebootRequired) {
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
            endSessionEvent ? WaitUpTo(endSessionEvent, kRebootGraceMilliseconds) : WAIT_FAILED;
        if ((waitResult == WAIT_OBJECT_0 || waitResult == WAIT_ABANDONED) &&
            SessionReallyEnds(endSessionEvent, sessionEndsEvent)) {
            WriteLogF("Reboot detected! WaitResult = %08X", static_cast<unsigned>(waitResult));
            return true;
        }
    }
    WriteLog("No reboot detected, continuing...");
    return false;
}
