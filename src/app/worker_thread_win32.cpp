// The worker thread: runs the setup sequence and turns every ending into the exit code.
#include "app/worker_thread.h"

#include <string>

#include "app/progress_dialog.h"
#include "app/reboot_control.h"
#include "app/restart_arguments.h"
#include "config/setup_command_line.h"
#include "steps/folder_of_path.h"
#include "steps/setup_steps.h"
#include "steps/step_messages.h"
#include "sys/com_apartment.h"
#include "sys/instance_mutex.h"
#include "sys/module_file_name.h"
#include "sys/next_token.h"
#include "sys/process.h"
#include "sys/setup_log.h"
#include "sys/setup_result.h"
#include "sys/wide_entry_points.h"
#include "text/message_suppression.h"
#include "text/messages.h"

namespace {

// A restart that a child asked for ends setup with 1641 only when the child started it itself (its
// own 1641); a restart that is due and was not started is 3010, which deployment tools schedule.
[[noreturn]] void EndWithChildRestart(uint32_t childCode) {
    if (childCode == SetupResult::RebootInitiated) RaiseSetupError(SetupResult::RebootInitiated);
    WriteLog(childCode == SetupResult::RebootRequired
                 ? "Exit code 3010 instead of 1641: the installer requires a restart and none was "
                   "started"
                 : "Exit code 3010 instead of 1641: the session ends, but no restart was started");
    RaiseSetupError(SetupResult::RebootRequired);
}

// What the exit routine needs to know about a run. The command line lives here, not in the
// sequence, because the steps object still reads it when the exit routine removes the copy.
struct RunState {
    ComApartment com; // first member: left after everything else is released
    SetupCommandLine settings;
    std::string baseName;
    bool hooked = false;
    UniqueOwnedMutex instanceMutex;
};

// The launcher's file name and the code page of its bytes; setup ends with 1639 when it cannot be
// had whole.
std::string LauncherModuleFileName(unsigned& codePage) {
    std::string name;
    const ModuleFileNameResult result = GetLauncherFileName(name, codePage);
    if (result == ModuleFileNameResult::NoEntryPoint)
        WriteLogF("Failed to load GetModuleFileName entry point. Error Code = %08X",
                  static_cast<unsigned>(::GetLastError()));
    // Without its own folder (or with a cut one) setup would look for SETUP.INI elsewhere.
    if (result != ModuleFileNameResult::Found) RaiseSetupError(SetupResult::InvalidCommandLine);
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

// Steps 1 to 3: COM for the thread, the dialog and its steps object checked, the code pages logged.
SetupSteps& StartWorker(ProgressDialog* dialog, RunState& run) {
    WriteLog("Worker thread starting...");
    run.com.Enter();
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
    return *steps;
}

// One run of the sequence after start-up. The stages are declared in the order they run; each
// says which of the sequence's numbered steps it runs.
class SetupSequence {
  public:
    SetupSequence(ProgressDialog& dialog, SetupSteps& steps, RunState& run)
        : dialog_(dialog), steps_(steps), run_(run), settings_(run.settings) {}

    // Every way out is a raised result code.
    [[noreturn]] void Run();

  private:
    // Start-up and command line, after StartWorker.
    void ReadCommandLine();
    void ApplyCommandLine();
    void TakeInstanceMutex();
    bool IsResumedRun();
    // Fresh-run checks.
    void CheckFreshRun();
    void PrepareRestartCopy();
    // Removals.
    void RunRemovals();
    // Engine bootstrap, and the removal that waited for it.
    void BootstrapEngine();
    void OnEngineRestart();
    void RetryPreviousVersions();
    // Maintenance or main installation.
    void RunMaintenanceIfInstalled();
    void CheckNestedInstallation();
    void RunMainInstallation();
    void OnMainInstallationRestart(uint32_t& mainExitCode);
    // Resume after a restart between the main and the nested installation.
    void ResumeAtNestedInstallation();
    // Both runs end with the nested installation and the restart decision.
    void RunNestedInstallation();
    void DecideRestart();
    [[noreturn]] void FinishNormally();
    // A success ends with 3010 while a restart that the engine or the main installation asked for
    // was held back.
    [[noreturn]] void EndWithoutRestart();

    // To hook a marker keeps the answer in the hooked flag; the unhook after the step that may
    // restart Windows is logged and clears it.
    void Hook(const std::string& marker);
    void UnhookIfHooked(const char* logLine, const std::string& marker);
    // Waits for the last child, watching the end of the session; true when a restart is due.
    bool WaitForLastChild(uint32_t* exitCode);

    ProgressDialog& dialog_;
    SetupSteps& steps_;
    RunState& run_;
    SetupCommandLine& settings_;
    HWND window_ = nullptr;
    std::string launcherFolder_;
    std::string arguments_;
    InstallMode installMode_ = kInstallModeNone;
    std::string intermediateMarker_;
    std::string finalMarker_;
    std::string restartTarget_;
    std::string restartArguments_;
    bool previousVersionsDone_ = false;
    bool nested_ = false;
    bool oneReboot_ = false;
    bool rebootLater_ = false;
    bool restartHeldBack_ = false; // a required restart was not made and is still due
};

void SetupSequence::Run() {
    ReadCommandLine();
    ApplyCommandLine();
    TakeInstanceMutex();
    if (IsResumedRun()) {
        ResumeAtNestedInstallation();
    } else {
        CheckFreshRun();
        PrepareRestartCopy();
        RunRemovals();
        BootstrapEngine();
        RetryPreviousVersions();
        RunMaintenanceIfInstalled();
        CheckNestedInstallation();
        RunMainInstallation();
    }
    RunNestedInstallation();
    DecideRestart();
    FinishNormally();
}

// The launcher folder from the module name, the argument string from the process command line.
void SetupSequence::ReadCommandLine() {
    unsigned moduleCodePage = CP_ACP;
    const std::string moduleName = LauncherModuleFileName(moduleCodePage);
    WriteLogF("Module filename = %s", moduleName.c_str());
    // Split by the characters of the code page the name came through.
    launcherFolder_ = FolderOfPath(moduleName, moduleCodePage);

    const std::string commandLine = ProcessCommandLine();
    WriteLogF("Setup command line = %s", commandLine.c_str());

    std::string programName;
    if (!SplitProgramName(commandLine, programName, arguments_)) {
        WriteLog("Failed extracting the program name from the command line");
        RaiseSetupError(SetupResult::InvalidCommandLine);
    }
}

// Parses the arguments (which loads SETUP.INI), titles and shows the dialog for the user-interface
// level, and hands the settings to the steps.
void SetupSequence::ApplyCommandLine() {
    settings_.Parse(launcherFolder_.c_str(), arguments_.c_str());
    // From here on, a silent run logs its boxes instead of waiting for an answer nobody gives.
    SetMessageBoxUILevel(settings_.GetUILevel());
    window_ = dialog_.Window();
    std::string caption;
    GetMessageText(kSetupCaption, caption);
    caption += " - ";
    caption += settings_.GetSetupFileName();
    ::SetWindowTextA(window_, caption.c_str());
    ::ShowWindow(window_, settings_.GetUILevel() == kUILevelSilent ? SW_HIDE : SW_SHOWNORMAL);

    steps_.AttachCommandLine(settings_);
    installMode_ = settings_.GetInstallMode();
}

// The restart markers and the instance mutex are named after the setup data file.
void SetupSequence::TakeInstanceMutex() {
    run_.baseName = settings_.GetSetupFileName();
    intermediateMarker_ = run_.baseName + ".Intermediate";
    finalMarker_ = run_.baseName + ".Final";

    run_.instanceMutex = CreateInstanceMutex(run_.baseName.c_str());
    if (!run_.instanceMutex) {
        WriteLog("Another instance of the same install is currently running");
        RaiseSetupError(0);
    }
}

// A final-marker shortcut left behind means a restart in the middle of a two-stage installation.
bool SetupSequence::IsResumedRun() {
    return UnhookReboot(window_, finalMarker_.c_str());
}

// Only the nested setup is left.
void SetupSequence::ResumeAtNestedInstallation() {
    WriteLog("Starting the SETUP process at launching the nested installation");
    ::ShowWindow(window_, SW_HIDE);
    nested_ = true;
}

void SetupSequence::CheckFreshRun() {
    WriteLog("Starting the SETUP process from the beginning");
    UnhookReboot(window_, intermediateMarker_.c_str());
    if (steps_.IsCdPromptMutexSet()) {
        WriteLog("Found __MsiPromptForCD mutex");
        RaiseSetupError(0);
    }
    if (!steps_.CheckPlatform()) {
        WriteLog("");
        RaiseSetupError(SetupResult::PlatformNotSupported);
    }
}

// The restart shortcut starts the temporary copy (when one was made) with the same arguments.
void SetupSequence::PrepareRestartCopy() {
    steps_.CheckIncompatibleApplications();
    steps_.CopySetupToTempFolder();
    restartTarget_ = settings_.GetLauncherFolder() + "SETUP.EXE";
    restartArguments_ = BuildRestartArguments(arguments_, settings_);
}

// A repair or reinstall keeps the previous versions: it only reads the package.
void SetupSequence::RunRemovals() {
    Hook(intermediateMarker_);
    steps_.UninstallIncompatibleApplications();
    UnhookIfHooked("Unhooking reboot after uninstalling incompatible applications",
                   intermediateMarker_);
    steps_.CheckUpgradeConditions();
    steps_.ShutdownApplications();

    if (!settings_.GetReinstallMode().empty() || installMode_ == kInstallModeRepair) {
        steps_.LoadPackageInfo(settings_.GetLauncherFolder() +
                               settings_.GetSetupData().GetPackageName());
        previousVersionsDone_ = true;
        return;
    }
    Hook(intermediateMarker_);
    previousVersionsDone_ = steps_.UninstallPreviousVersions();
    UnhookIfHooked("Unhooking reboot after uninstalling previous versions", intermediateMarker_);
}

// Installs the installer engine when the one present is too old.
void SetupSequence::BootstrapEngine() {
    if (steps_.IsInstallerVersionSufficient()) return;
    steps_.HasInstallPrivileges();
    Hook(intermediateMarker_);
    steps_.InstallWindowsInstaller();
    if (WaitForLastChild(nullptr)) OnEngineRestart();
    UnhookIfHooked("Unhooking reboot after running the Windows installer", intermediateMarker_);
    if (!steps_.IsInstallerVersionSufficient()) {
        WriteLog("The Windows Installer installation did not complete successfully");
        RaiseSetupError(SetupResult::UserExit);
    }
}

// The engine asked for a restart: setup resumes after it. A silent install told how to restart (a
// REBOOT property, /norestart) goes on, and the restart stays due; one told to ask before
// restarting (/promptrestart at /qb) restarts nothing and leaves the restart to the user.
void SetupSequence::OnEngineRestart() {
    WriteLog("Reboot signalled after installing the Windows Installer");
    const UILevel level = settings_.GetUILevel();
    if (level != kUILevelBasic && level != kUILevelBasicNoModal && level != kUILevelSilent) {
        WriteLog("Exiting due to reboot after installing the Windows Installer");
        RaiseSetupError(SetupResult::RebootThenResume);
    }
    WriteLog("The Windows Installer was installed silently, so reboots were suppressed");
    if (settings_.IsRebootPropertySeen() || settings_.IsRebootSuppressed()) {
        restartHeldBack_ = true;
        return;
    }
    if (settings_.HasPromptRestartSwitch()) {
        WriteLog("Exiting due to reboot after installing the Windows Installer");
        RaiseSetupError(SetupResult::RebootThenResume);
    }
    WriteLog("Initiating a reboot, so the Windows Installer will be functional");
    StartRebootThread();
    RaiseSetupError(SetupResult::RebootThenResume);
}

// A removal that needed the new engine is tried once more.
void SetupSequence::RetryPreviousVersions() {
    if (previousVersionsDone_) return;
    WriteLog("Attempting to uninstall previous versions again");
    Hook(intermediateMarker_);
    steps_.UninstallPreviousVersions();
    UnhookIfHooked("Unhooking reboot after uninstalling previous versions", intermediateMarker_);
}

// In the default mode, a product already installed from this package gets the maintenance
// installer instead of an installation, and setup ends after it.
void SetupSequence::RunMaintenanceIfInstalled() {
    if (installMode_ != kInstallModeNone) return;
    WriteLog("Install mode is the default");
    if (!steps_.IsProductRegistryKeyPresent()) return;
    WriteLog("Found the product registry key");
    if (!steps_.IsSamePackageInstalled()) return;
    WriteLog("The current version of the product is already installed");
    if (steps_.IsAnyFeatureRunFromSource()) {
        WriteLog("Exiting due to some features being run from source");
        RaiseSetupError(0);
    }
    WriteLog("Launching the maintenance installer");
    steps_.RunMaintenanceInstaller();
    ::ShowWindow(window_, SW_HIDE);
    uint32_t childCode = 0;
    if (WaitForLastChild(&childCode)) {
        WriteLog("Exiting due to reboot after running the maintenance installer");
        EndWithChildRestart(childCode);
    }
    if (childCode != 0) RaiseSetupError(childCode);
    WriteLog("Exiting after running the maintenance installer");
    EndWithoutRestart();
}

// Installs and configurations may have a nested setup after them: unless the main installation
// holds its restart back, a restart in between resumes at the nested setup.
void SetupSequence::CheckNestedInstallation() {
    if (installMode_ != kInstallModeNone && installMode_ != kInstallModeInstall) return;
    WriteLog("Install mode is default or configure");
    nested_ = steps_.CheckNestedInstall(&oneReboot_);
    if (nested_ && !oneReboot_) {
        WriteLog("Hooking reboot before running the main installation");
        Hook(finalMarker_);
    }
}

// The main installation, then its result: a failure code ends setup, and so does a package that
// is not installed afterwards.
void SetupSequence::RunMainInstallation() {
    steps_.RunMainInstaller(oneReboot_);
    ::ShowWindow(window_, SW_HIDE);
    uint32_t mainExitCode = 0;
    if (WaitForLastChild(&mainExitCode)) OnMainInstallationRestart(mainExitCode);
    if (nested_ && !oneReboot_)
        UnhookIfHooked("Unhooking reboot after installing product", finalMarker_);
    if (mainExitCode != 0) {
        WriteLog("Exiting due to failure after running the main installation");
        RaiseSetupError(mainExitCode);
    }
    // Removal (/x), administrative images (/a) and advertising (/j) leave no product installed
    // from this package: only installs and repairs are checked, or a success would read as 1602.
    if (installMode_ <= kInstallModeRepair && !steps_.IsSamePackageInstalled())
        RaiseSetupError(SetupResult::UserExit);
}

// The main installation asked for a restart: it happens now, unless it was held back for the end.
void SetupSequence::OnMainInstallationRestart(uint32_t& mainExitCode) {
    WriteLog("Reboot signaled after running the main installation");
    if (!oneReboot_) {
        if (nested_) {
            WriteLog("Exiting due to intermediate reboot after running the main installation");
            RaiseSetupError(SetupResult::RebootThenResume);
        }
        WriteLog("Exiting due to final reboot after running the main installation");
        EndWithChildRestart(mainExitCode);
    }
    WriteLog("Reboots were suppressed, so a reboot will be required later");
    rebootLater_ = true;
    mainExitCode = 0;
}

void SetupSequence::RunNestedInstallation() {
    if (!nested_) return;
    WriteLog("Launching the nested installer");
    if (!steps_.LaunchNestedInstaller()) return;
    WriteLog("Nested installer was launched");
    uint32_t childCode = 0;
    if (WaitForLastChild(&childCode)) {
        WriteLog("Exiting due to reboot after launching the nested installer");
        EndWithChildRestart(childCode);
    }
    if (childCode != 0) RaiseSetupError(childCode);
}

// A restart held back during the main installation is made now, after asking where a box may be
// shown; REBOOT=ReallySuppress or Suppress, /norestart, or /promptrestart without a box leave it
// due, and setup ends with 3010 after the post-install applications.
void SetupSequence::DecideRestart() {
    if (!rebootLater_) return;
    if (settings_.IsRebootSuppressed()) {
        restartHeldBack_ = true;
        return;
    }
    WriteLog("Initiating reboot so the product will be functional");
    if (settings_.CanAskBeforeRestart()) {
        std::string productName;
        steps_.GetPackageProductName(productName);
        std::string text;
        GetMessageText(kRestartQuestion, text);
        SubstitutePlaceholders({"_PRODUCT_NAME_," + productName}, text);
        if (ShowStepBox(window_, text, kWarningCaption, MB_YESNO | MB_ICONWARNING,
                        QuietRule::ShownAtQnPlus) != IDYES) {
            // The product is installed; only the restart was declined, and it is still due.
            WriteLog("Exit code 3010 instead of 1602: the restart was declined");
            RaiseSetupError(SetupResult::RebootRequired);
        }
    }
    StartRebootThread();
    RaiseSetupError(SetupResult::RebootInitiated);
}

void SetupSequence::FinishNormally() {
    steps_.LaunchPostInstallApplications();
    WriteLog("Exiting normally");
    EndWithoutRestart();
}

void SetupSequence::EndWithoutRestart() {
    if (restartHeldBack_) {
        WriteLog("Exit code 3010 instead of 0: a restart that setup requires was held back");
        RaiseSetupError(SetupResult::RebootRequired);
    }
    RaiseSetupError(0);
}

void SetupSequence::Hook(const std::string& marker) {
    run_.hooked =
        HookReboot(window_, marker.c_str(), restartTarget_.c_str(), restartArguments_.c_str());
}

void SetupSequence::UnhookIfHooked(const char* logLine, const std::string& marker) {
    if (!run_.hooked) return;
    WriteLog(logLine);
    UnhookReboot(window_, marker.c_str());
    run_.hooked = false;
}

bool SetupSequence::WaitForLastChild(uint32_t* exitCode) {
    return WaitForProcess(LastLaunchedProcess(), dialog_.EndSessionEvent(), false, exitCode,
                          dialog_.SessionEndsEvent());
}

void RunSetupSequence(ProgressDialog* dialog, RunState& run) {
    SetupSteps& steps = StartWorker(dialog, run);
    SetupSequence(*dialog, steps, run).Run();
}

} // namespace

bool SplitProgramName(const std::string& commandLine, std::string& programName,
                      std::string& arguments) {
    arguments = commandLine;
    return NextToken(arguments, programName, " ", true);
}

void ExitWorkerThread(uint32_t code, ProgressDialog* dialog, const std::string& baseName,
                      bool& hooked, UniqueOwnedMutex& instanceMutex) {
    HWND owner = dialog ? dialog->Window() : nullptr;
    if (hooked && code != SetupResult::RebootInitiated && code != SetupResult::RebootThenResume) {
        WriteLog("Unhooking reboot due to error or normal exit");
        UnhookReboot(owner, (baseName + ".Intermediate").c_str());
        UnhookReboot(owner, (baseName + ".Final").c_str());
        hooked = false;
    }
    instanceMutex.reset();
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
    return code;
}
