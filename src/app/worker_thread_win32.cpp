// The worker thread: runs the setup sequence and turns every ending into the exit code.
#include "app/worker_thread.h"

#include <objbase.h>

#include <string>

#include "app/progress_dialog.h"
#include "app/reboot_control.h"
#include "app/setup_error.h"
#include "config/setup_command_line.h"
#include "steps/folder_of_path.h"
#include "steps/setup_steps.h"
#include "sys/instance_mutex.h"
#include "sys/setup_log.h"
#include "sys/wide_entry_points.h"
#include "text/messages.h"
#include "text/next_token.h"

namespace {

constexpr uint32_t kInvalidParameter = 6;
constexpr uint32_t kInvalidCommandLine = 1639;
constexpr uint32_t kUnexpectedFailure = 0x8004FFFF;
constexpr uint32_t kRebootInitiated = 1641;
constexpr uint32_t kRebootThenResume = 0x00070669;

// What the exit routine needs to know about a run.
struct RunState {
    std::string baseName;
    bool hooked = false;
    HANDLE instanceMutex = nullptr;
    bool comInitialized = false;
};

std::string LauncherModuleFileName() {
    if (IsWindowsNT()) {
        using GetModuleFileNameWFn = DWORD(WINAPI*)(HMODULE, LPWSTR, DWORD);
        auto getModuleFileNameW = GetEntryPointAs<GetModuleFileNameWFn>("KERNEL32.DLL", "GetModuleFileNameW");
        if (!getModuleFileNameW) {
            WriteLogF("Failed to load GetModuleFileName entry point. Error Code = %08X",
                      static_cast<unsigned>(::GetLastError()));
            return std::string();
        }
        wchar_t wide[kWideBufferChars] = {};
        getModuleFileNameW(nullptr, wide, kWideBufferChars);
        char narrow[kWideBufferChars];
        WideToNarrow(wide, narrow);
        if (!narrow[0]) WriteLog("Failed to convert Unicode module filename to MBCS");
        return narrow;
    }
    char narrow[kWideBufferChars] = {};
    ::GetModuleFileNameA(nullptr, narrow, sizeof narrow);
    return narrow;
}

std::string ProcessCommandLine() {
    if (IsWindowsNT()) {
        using GetCommandLineWFn = LPWSTR(WINAPI*)();
        auto getCommandLineW = GetEntryPointAs<GetCommandLineWFn>("KERNEL32.DLL", "GetCommandLineW");
        if (!getCommandLineW) {
            WriteLogF("Failed to load GetCommandLineW entry point. Error Code = %08X",
                      static_cast<unsigned>(::GetLastError()));
            return std::string();
        }
        // Converted whole: a command line cut (or emptied) at 260 bytes would install with other settings.
        std::string narrow = WideToNarrowString(getCommandLineW());
        if (narrow.empty()) {
            WriteLog("Failed to convert Unicode command line to MBCS");
            RaiseSetupError(kInvalidCommandLine);
        }
        return narrow;
    }
    return ::GetCommandLineA();
}

void RunSetupSequence(ProgressDialog* dialog, RunState& run) {
    WriteLog("Worker thread starting...");
    run.comInitialized = SUCCEEDED(::CoInitialize(nullptr));
    if (!dialog) {
        WriteLog("Invalid parameter to WorkerThread()");
        RaiseSetupError(kInvalidParameter);
    }
    SetupSteps* steps = dialog->Steps();
    if (!steps) {
        WriteLog("Invalid pointer in parameter to WorkerThread()");
        RaiseSetupError(kInvalidParameter);
    }
    WriteLogF("User default ANSI code page: %ld", static_cast<long>(GetUserAnsiCodePage()));
    WriteLogF("User default OEM code page: %ld", static_cast<long>(GetUserOemCodePage()));

    const std::string moduleName = LauncherModuleFileName();
    WriteLogF("Module filename = %s", moduleName.c_str());
    // The name came through the OEM code page: split it by that code page's characters.
    const std::string launcherFolder = FolderOfPath(moduleName, GetUserOemCodePage());

    const std::string commandLine = ProcessCommandLine();
    WriteLogF("Setup command line = %s", commandLine.c_str());

    std::string programName, arguments;
    if (!SplitProgramName(commandLine, programName, arguments)) {
        WriteLog("Failed extracting the program name from the command line");
        RaiseSetupError(kInvalidCommandLine);
    }

    SetupCommandLine settings;
    settings.Parse(launcherFolder.c_str(), arguments.c_str());
    std::string caption;
    GetMessageText(0, caption);
    caption += " - ";
    caption += settings.GetSetupFileName();
    ::SetWindowTextA(dialog->Window(), caption.c_str());
    ::ShowWindow(dialog->Window(), settings.GetUILevel() == 7 ? SW_HIDE : SW_SHOWNORMAL);

    steps->AttachCommandLine(settings);

    run.baseName = settings.GetSetupFileName();
    const std::string intermediateMarker = run.baseName + ".Intermediate";
    const std::string finalMarker = run.baseName + ".Final";

    run.instanceMutex = CreateInstanceMutex(run.baseName.c_str());
    if (!run.instanceMutex) {
        WriteLog("Another instance of the same install is currently running");
        RaiseSetupError(0);
    }

    if (UnhookReboot(dialog->Window(), finalMarker.c_str())) {
        WriteLog("Starting the SETUP process at launching the nested installation");
        ::ShowWindow(dialog->Window(), SW_HIDE);
        RaiseSetupError(0);
    }
    WriteLog("Starting the SETUP process from the beginning");
    UnhookReboot(dialog->Window(), intermediateMarker.c_str());
    RaiseSetupError(0);
}

}  // namespace

bool SplitProgramName(const std::string& commandLine, std::string& programName, std::string& arguments) {
    arguments = commandLine;
    return NextToken(arguments, programName, " ", true);
}

void ExitWorkerThread(uint32_t code, ProgressDialog* dialog, const std::string& baseName, bool& hooked,
                      HANDLE instanceMutex) {
    HWND owner = dialog ? dialog->Window() : nullptr;
    if (hooked && code != kRebootInitiated && code != kRebootThenResume) {
        WriteLog("Unhooking reboot due to error or normal exit");
        UnhookReboot(owner, (baseName + ".Intermediate").c_str());
        UnhookReboot(owner, (baseName + ".Final").c_str());
        hooked = false;
    }
    if (instanceMutex) {
        ::ReleaseMutex(instanceMutex);
        ::CloseHandle(instanceMutex);
    }
    WriteLogF("Worker thread exiting with status code: %08X", static_cast<unsigned>(code));
    if (dialog) {
        WriteLog("Setting Finish Event...");
        ::SetEvent(dialog->FinishEvent());
        WriteLog("Sending WM_ENDSETUPDIALOG message...");
        ::PostMessageA(dialog->Window(), WM_ENDSETUPDIALOG, 0, static_cast<LPARAM>(code));
    }
}

DWORD WINAPI WorkerThread(LPVOID parameter) {
    ProgressDialog* dialog = static_cast<ProgressDialog*>(parameter);
    RunState run;
    uint32_t code = kUnexpectedFailure;
    try {
        RunSetupSequence(dialog, run);
    } catch (const SetupError& error) {
        code = error.code;
    } catch (...) {
        code = kUnexpectedFailure;
    }
    try {
        ExitWorkerThread(code, dialog, run.baseName, run.hooked, run.instanceMutex);
    } catch (...) {
        // The dialog must still end: a WM_ENDSESSION would otherwise wait for ever.
        if (dialog) {
            ::SetEvent(dialog->FinishEvent());
            ::PostMessageA(dialog->Window(), WM_ENDSETUPDIALOG, 0, static_cast<LPARAM>(code));
        }
    }
    if (run.comInitialized) ::CoUninitialize();
    return code;
}
