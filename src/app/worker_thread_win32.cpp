// The worker thread: runs the setup sequence and turns every ending into the exit code.
#include "app/worker_thread.h"

#include <objbase.h>

#include <string>

#include "app/progress_dialog.h"
#include "app/reboot_control.h"
#include "app/restart_arguments.h"
#include "app/setup_error.h"
#include "config/setup_command_line.h"
#include "steps/folder_of_path.h"
#include "steps/setup_steps.h"
#include "steps/step_messages.h"
#include "sys/instance_mutex.h"
#include "sys/module_file_name.h"
#include "sys/process.h"
#include "sys/setup_log.h"
#include "sys/wide_entry_points.h"
#include "text/message_suppression.h"
#include "text/messages.h"
#include "text/next_token.h"

namespace {

// The restart question is asked wherever a box may be shown: at every level but /qb- and /qn
// (/qn+ asks for its one box at the end, as the installer does at basic UI).
bool AsksBeforeRestart(int uiLevel) {
    return uiLevel != 5 && uiLevel != 7;
}

// What the exit routine needs to know about a run. The command line lives here, not in the
// sequence, because the steps object still reads it when the exit routine removes the copy.
struct RunState {
    SetupCommandLine settings;
    std::string baseName;
    bool hooked = false;
    HANDLE instanceMutex = nullptr;
    bool comInitialized = false;
};

// The launcher's file name and the code page of its bytes; empty (after a log line) when it cannot
// be had whole.
std::string LauncherModuleFileName(unsigned& codePage) {
    std::string name;
    if (GetLauncherFileName(name, codePage) == ModuleFileNameResult::NoEntryPoint) {
        WriteLogF("Failed to load GetModuleFileName entry point. Error Code = %08X",
                  static_cast<unsigned>(::GetLastError()));
        // Without its own folder setup would look for SETUP.INI wherever it was started.
        RaiseSetupError(SetupResult::InvalidCommandLine);
    }
    return name;
}

std::string ProcessCommandLine() {
    if (IsWindowsNT()) {
        using GetCommandLineWFn = LPWSTR(WINAPI*)();
        auto getCommandLineW =
            GetEntryPointAs<GetCommandLineWFn>("KERNEL32.DLL", "GetCommandLineW");
        if (!getCommandLineW) {
            WriteLogF("Failed to load GetCommandLineW entry point. Error Code = %08X",
                      static_cast<unsigned>(::GetLastError()));
            // An empty command line would be a default install nobody asked for.
            RaiseSetupError(SetupResult::InvalidCommandLine);
        }
        // Converted whole: a command line cut (or emptied) at 260 bytes would install with other
        // settings.
        std::string narrow = WideToNarrowString(getCommandLineW());
        if (narrow.empty()) {
            WriteLog("Failed to convert Unicode command line to MBCS");
            RaiseSetupError(SetupResult::InvalidCommandLine);
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
        RaiseSetupError(SetupResult::InvalidParameter);
    }
    SetupSteps* steps = dialog->Steps();
    if (!steps) {
        WriteLog("Invalid pointer in parameter to WorkerThread()");
        RaiseSetupError(SetupResult::InvalidParameter);
    }
    WriteLogF("User default ANSI code page: %ld", static_cast<long>(GetUserAnsiCodePage()));
    WriteLogF("User default OEM code page: %ld", static_cast<long>(GetUserOemCodePage()));

    unsigned moduleCodePage = CP_ACP;
    const std::string moduleName = LauncherModuleFileName(moduleCodePage);
    WriteLogF("Module filename = %s", moduleName.c_str());
    // Split by the characters of the code page the name came through.
    const std::string launcherFolder = FolderOfPath(moduleName, moduleCodePage);

    const std::string commandLine = ProcessCommandLine();
    WriteLogF("Setup command line = %s", commandLine.c_str());

    std::string programName, arguments;
    if (!SplitProgramName(commandLine, programName, arguments)) {
        WriteLog("Failed extracting the program name from the command line");
        RaiseSetupError(SetupResult::InvalidCommandLine);
    }

    SetupCommandLine& settings = run.settings;
    settings.Parse(launcherFolder.c_str(), arguments.c_str());
    // From here on, a silent run logs its boxes instead of waiting for an answer nobody gives.
    SetMessageBoxUILevel(settings.GetUILevel());
    HWND window = dialog->Window();
    std::string caption;
    GetMessageText(0, caption);
    caption += " - ";
    caption += settings.GetSetupFileName();
    ::SetWindowTextA(window, caption.c_str());
    ::ShowWindow(window, settings.GetUILevel() == 7 ? SW_HIDE : SW_SHOWNORMAL);

    steps->AttachCommandLine(settings);
    const int installMode = settings.GetInstallMode();

    run.baseName = settings.GetSetupFileName();
    const std::string intermediateMarker = run.baseName + ".Intermediate";
    const std::string finalMarker = run.baseName + ".Final";

    run.instanceMutex = CreateInstanceMutex(run.baseName.c_str());
    if (!run.instanceMutex) {
        WriteLog("Another instance of the same install is currently running");
        RaiseSetupError(0);
    }

    std::string restartTarget, restartArguments;
    auto hook = [&](const std::string& marker) {
        run.hooked =
            HookReboot(window, marker.c_str(), restartTarget.c_str(), restartArguments.c_str());
    };
    auto unhook = [&](const std::string& marker) {
        UnhookReboot(window, marker.c_str());
        run.hooked = false;
    };
    auto waitForLastChild = [&](uint32_t* exitCode) {
        return WaitForProcess(LastLaunchedProcess(), dialog->EndSessionEvent(), false, exitCode,
                              dialog->SessionEndsEvent());
    };

    bool nested = false;
    bool rebootLater = false;
    if (UnhookReboot(window, finalMarker.c_str())) {
        // A restart in the middle of a two-stage installation: only the nested setup is left.
        WriteLog("Starting the SETUP process at launching the nested installation");
        ::ShowWindow(window, SW_HIDE);
        nested = true;
    } else {
        WriteLog("Starting the SETUP process from the beginning");
        UnhookReboot(window, intermediateMarker.c_str());
        if (steps->IsCdPromptMutexSet()) {
            WriteLog("Found __MsiPromptForCD mutex");
            RaiseSetupError(0);
        }
        if (!steps->CheckPlatform()) {
            WriteLog("");
            RaiseSetupError(SetupResult::PlatformNotSupported);
        }
        steps->CheckIncompatibleApplications();
        steps->CopySetupToTempFolder();
        restartTarget = settings.GetLauncherFolder() + "SETUP.EXE";
        restartArguments = BuildRestartArguments(arguments, settings);

        hook(intermediateMarker);
        steps->UninstallIncompatibleApplications();
        if (run.hooked) {
            WriteLog("Unhooking reboot after uninstalling incompatible applications");
            unhook(intermediateMarker);
        }
        steps->CheckUpgradeConditions();
        steps->ShutdownApplications();

        bool previousVersionsDone;
        if (!settings.GetReinstallMode().empty() || installMode == 2) {
            steps->LoadPackageInfo(settings.GetLauncherFolder() +
                                   settings.GetSetupData().GetPackageName());
            previousVersionsDone = true;
        } else {
            hook(intermediateMarker);
            previousVersionsDone = steps->UninstallPreviousVersions();
            if (run.hooked) {
                WriteLog("Unhooking reboot after uninstalling previous versions");
                unhook(intermediateMarker);
            }
        }

        if (!steps->IsInstallerVersionSufficient()) {
            steps->HasInstallPrivileges();
            hook(intermediateMarker);
            steps->InstallWindowsInstaller();
            if (waitForLastChild(nullptr)) {
                WriteLog("Reboot signalled after installing the Windows Installer");
                const int level = settings.GetUILevel();
                if (level == 4 || level == 5 || level == 7) {
                    WriteLog("The Windows Installer was installed silently, so reboots were suppressed");
                    if (!settings.IsRebootPropertySeen()) {
                        WriteLog("Initiating a reboot, so the Windows Installer will be functional");
                        StartRebootThread();
                        RaiseSetupError(SetupResult::RebootThenResume);
                    }
                } else {
                    WriteLog("Exiting due to reboot after installing the Windows Installer");
                    RaiseSetupError(SetupResult::RebootThenResume);
                }
            }
            if (run.hooked) {
                WriteLog("Unhooking reboot after running the Windows installer");
                unhook(intermediateMarker);
            }
            if (!steps->IsInstallerVersionSufficient()) {
                WriteLog("The Windows Installer installation did not complete successfully");
                RaiseSetupError(SetupResult::UserExit);
            }
        }

        if (!previousVersionsDone) {
            WriteLog("Attempting to uninstall previous versions again");
            hook(intermediateMarker);
            steps->UninstallPreviousVersions();
            if (run.hooked) {
                WriteLog("Unhooking reboot after uninstalling previous versions");
                unhook(intermediateMarker);
            }
        }

        if (installMode == 0) {
            WriteLog("Install mode is the default");
            if (steps->IsProductRegistryKeyPresent()) {
                WriteLog("Found the product registry key");
                if (steps->IsSamePackageInstalled()) {
                    WriteLog("The current version of the product is already installed");
                    if (steps->IsAnyFeatureRunFromSource()) {
                        WriteLog("Exiting due to some features being run from source");
                        RaiseSetupError(0);
                    }
                    WriteLog("Launching the maintenance installer");
                    steps->RunMaintenanceInstaller();
                    ::ShowWindow(window, SW_HIDE);
                    if (waitForLastChild(nullptr)) {
                        WriteLog("Exiting due to reboot after running the maintenance installer");
                        RaiseSetupError(SetupResult::RebootInitiated);
                    }
                    WriteLog("Exiting after running the maintenance installer");
                    RaiseSetupError(0);
                }
            }
        }

        bool oneReboot = false;
        if (installMode == 0 || installMode == 1) {
            WriteLog("Install mode is default or configure");
            nested = steps->CheckNestedInstall(&oneReboot);
            if (nested && !oneReboot) {
                WriteLog("Hooking reboot before running the main installation");
                hook(finalMarker);
            }
        }

        steps->RunMainInstaller(oneReboot);
        ::ShowWindow(window, SW_HIDE);
        uint32_t mainExitCode = 0;
        if (waitForLastChild(&mainExitCode)) {
            WriteLog("Reboot signaled after running the main installation");
            if (!oneReboot) {
                if (nested) {
                    WriteLog(
                        "Exiting due to intermediate reboot after running the main installation");
                    RaiseSetupError(SetupResult::RebootThenResume);
                }
                WriteLog("Exiting due to final reboot after running the main installation");
                RaiseSetupError(SetupResult::RebootInitiated);
            }
            WriteLog("Reboots were suppressed, so a reboot will be required later");
            rebootLater = true;
            mainExitCode = 0;
        }
        if (nested && !oneReboot && run.hooked) {
            WriteLog("Unhooking reboot after installing product");
            unhook(finalMarker);
        }
        if (mainExitCode != 0) {
            WriteLog("Exiting due to failure after running the main installation");
            RaiseSetupError(mainExitCode);
        }
        // Removal (/x), administrative images (/a) and advertising (/j) leave no product installed
        // from this package: only installs and repairs are checked, or a success would read as
        // 1602.
        if (installMode <= 2 && !steps->IsSamePackageInstalled())
            RaiseSetupError(SetupResult::UserExit);
    }

    if (nested) {
        WriteLog("Launching the nested installer");
        if (steps->LaunchNestedInstaller()) {
            WriteLog("Nested installer was launched");
            if (waitForLastChild(nullptr)) {
                WriteLog("Exiting due to reboot after launching the nested installer");
                RaiseSetupError(SetupResult::RebootInitiated);
            }
        }
    }

    if (rebootLater && !settings.IsRebootSuppressed()) {
        WriteLog("Initiating reboot so the product will be functional");
        if (AsksBeforeRestart(settings.GetUILevel())) {
            std::string productName;
            steps->GetPackageProductName(productName);
            std::string text;
            GetMessageText(14, text);
            SubstitutePlaceholders({"_PRODUCT_NAME_," + productName}, text);
            if (ShowStepBox(window, text, 6, MB_YESNO | MB_ICONWARNING, QuietRule::ShownAtQnPlus) !=
                IDYES)
                RaiseSetupError(SetupResult::UserExit);
        }
        StartRebootThread();
        RaiseSetupError(SetupResult::RebootInitiated);
    }

    steps->LaunchPostInstallApplications();
    WriteLog("Exiting normally");
    RaiseSetupError(0);
}

} // namespace

bool SplitProgramName(const std::string& commandLine, std::string& programName,
                      std::string& arguments) {
    arguments = commandLine;
    return NextToken(arguments, programName, " ", true);
}

void ExitWorkerThread(uint32_t code, ProgressDialog* dialog, const std::string& baseName,
                      bool& hooked, HANDLE instanceMutex) {
    HWND owner = dialog ? dialog->Window() : nullptr;
    if (hooked && code != SetupResult::RebootInitiated && code != SetupResult::RebootThenResume) {
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
        if (!hooked && dialog->Steps()) dialog->Steps()->RemoveTempFolder();
        // Posted first: a WM_ENDSESSION handler woken by the event must find the message queued.
        // The dialog may be gone once the message is out; the event lives until the process ends.
        HANDLE finishEvent = dialog->FinishEvent();
        WriteLog("Sending WM_ENDSETUPDIALOG message...");
        ::PostMessageA(dialog->Window(), WM_ENDSETUPDIALOG, 0, static_cast<LPARAM>(code));
        WriteLog("Setting Finish Event...");
        ::SetEvent(finishEvent);
    }
}

DWORD WINAPI WorkerThread(LPVOID parameter) {
    ProgressDialog* dialog = static_cast<ProgressDialog*>(parameter);
    RunState run;
    uint32_t code = SetupResult::UnexpectedFailure;
    try {
        RunSetupSequence(dialog, run);
    } catch (const SetupError& error) {
        code = error.code;
    } catch (...) {
        code = SetupResult::UnexpectedFailure;
    }
    try {
        ExitWorkerThread(code, dialog, run.baseName, run.hooked, run.instanceMutex);
    } catch (...) {
        // The dialog must still end: a WM_ENDSESSION would otherwise wait for ever.
        if (dialog) {
            HANDLE finishEvent = dialog->FinishEvent();
            ::PostMessageA(dialog->Window(), WM_ENDSETUPDIALOG, 0, static_cast<LPARAM>(code));
            ::SetEvent(finishEvent);
        }
    }
    if (run.comInitialized) ::CoUninitialize();
    return code;
}
