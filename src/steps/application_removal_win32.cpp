// Incompatible applications and previous versions: refusing, removing and re-checking uninstall
// registry entries before the package is installed.
#include <cstdint>
#include <string>
#include <vector>

#include "config/setup_command_line.h"
#include "steps/folder_of_path.h"
#include "steps/launch_kind.h"
#include "steps/removal_command.h"
#include "steps/setup_steps.h"
#include "steps/step_messages.h"
#include "sys/code_page.h"
#include "sys/file_exists.h"
#include "sys/fixed_buffer.h"
#include "sys/process.h"
#include "sys/setup_log.h"
#include "sys/setup_result.h"
#include "sys/system_library.h"
#include "sys/uninstall_registry.h"
#include "sys/wide_entry_points.h"
#include "text/message_suppression.h"

namespace {

constexpr unsigned kPreviousVersionsLocation = 10;
constexpr unsigned kIncompatibleCheckLocation = 17;
constexpr unsigned kIncompatibleRemovalLocation = 21;

// An upper-case copy in the ANSI code page (CharUpperBuff leaves double-byte characters whole).
std::string UpperCase(const std::string& text) {
    std::string upper = text;
    if (!upper.empty()) ::CharUpperBuffA(&upper[0], static_cast<DWORD>(upper.size()));
    return upper;
}

bool Contains(const std::string& text, const char* part) {
    return text.find(part) != std::string::npos;
}

// The entry looked up afresh; display name and remove command are replaced by what is found now.
struct FoundEntry {
    std::string keyName;
    std::string displayName;
    std::string removeCommand;
    RegistryView view = RegistryView::Own;

    bool LookUp() { return FindUninstallEntry(keyName.c_str(), displayName, removeCommand, &view); }
};

// The Windows folder with a trailing backslash, empty when the system does not say. The shared one
// under Terminal Services: GetWindowsDirectory may give a per-user folder there.
std::string WindowsFolder() {
    using GetFolderFn = UINT(WINAPI*)(LPSTR, UINT);
    auto shared = GetEntryPointAs<GetFolderFn>("KERNEL32.DLL", "GetSystemWindowsDirectoryA");
    char folder[kMaxPath];
    const UINT length =
        shared ? shared(folder, sizeof folder) : ::GetWindowsDirectoryA(folder, sizeof folder);
    if (length == 0 || length >= sizeof folder - 1) return std::string();
    std::string result(folder, length);
    if (result.back() != '\\') result += '\\';
    return result;
}

std::vector<std::string> ProductNamePlaceholder(const std::string& name) {
    return {"_PRODUCT_NAME_," + name};
}

} // namespace

void SetupSteps::CheckIncompatibleApplications() {
    WriteLog("Verifying that no incompatible applications are installed");
    SetupCommandLine& commandLine = RequireCommandLine(kIncompatibleCheckLocation);
    // A copy: a message box pumps messages, and nothing here should see the list change under it.
    const std::vector<std::string> entries = commandLine.GetSetupData().GetIncompatibleAppExit();
    for (const std::string& keyName : entries) {
        FoundEntry entry{keyName, {}, {}};
        if (!entry.LookUp()) continue;
        WriteLogF("Found incompatible application: %s", entry.displayName.c_str());
        if (!IsSilentUILevel(commandLine.GetUILevel()))
            ShowStepError(GetOwnerWindow(), kCannotContinue, kErrorCaption,
                          ProductNamePlaceholder(entry.displayName));
        RaiseSetupError(SetupResult::InstallFailure);
    }
}

void SetupSteps::UninstallIncompatibleApplications() {
    WriteLog("Uninstalling incompatible applications");
    SetupCommandLine& commandLine = RequireCommandLine(kIncompatibleRemovalLocation);
    const std::vector<std::string> entries =
        commandLine.GetSetupData().GetIncompatibleAppUninstall();
    for (const std::string& keyName : entries) {
        FoundEntry entry{keyName, {}, {}};
        if (!entry.LookUp()) continue;
        WriteLogF("Found incompatible application: %s", entry.displayName.c_str());
        // Nothing is removed without the user's consent.
        if (IsSilentUILevel(commandLine.GetUILevel())) RaiseSetupError(SetupResult::InstallFailure);
        if (entry.removeCommand.empty()) {
            ShowStepError(GetOwnerWindow(), kCannotContinue, kErrorCaption,
                          ProductNamePlaceholder(entry.displayName));
            RaiseSetupError(SetupResult::InstallFailure);
        }
        do {
            if (!AskStepQuestion(GetOwnerWindow(), kAskRemoveIncompatible, kWarningCaption,
                                 ProductNamePlaceholder(entry.displayName)))
                RaiseSetupError(SetupResult::UserExit);
            if (!RemoveApplication(entry.removeCommand, entry.view))
                RaiseSetupError(SetupResult::UserExit);
        } while (entry.LookUp());
    }
}

bool SetupSteps::UninstallPreviousVersions() {
    WriteLog("Uninstalling previous versions");
    SetupCommandLine& commandLine = RequireCommandLine(kPreviousVersionsLocation);
    const std::string packagePath =
        GetPackageFolder() + commandLine.GetSetupData().GetPackageName();
    const bool silent = IsSilentUILevel(commandLine.GetUILevel());
    MsiLibrary& msi = GetMsiLibrary();

    auto handleFoundEntry = [&](FoundEntry& entry) {
        WriteLogF("Found previous version: %s", entry.displayName.c_str());
        if (entry.removeCommand.empty()) {
            if (!silent)
                ShowStepError(GetOwnerWindow(), kCannotContinue, kErrorCaption,
                              ProductNamePlaceholder(entry.displayName));
            RaiseSetupError(SetupResult::InstallFailure);
        }
        if (silent) {
            if (!RemoveApplication(entry.removeCommand, entry.view) || entry.LookUp())
                RaiseSetupError(SetupResult::InstallFailure);
            return;
        }
        do {
            // The old name goes first: "_PRODUCT_NAME_" is part of "_OLD_PRODUCT_NAME_".
            const std::vector<std::string> placeholders = {
                "_OLD_PRODUCT_NAME_," + entry.displayName, "_PRODUCT_NAME_," + msi.GetProductName(),
                "_PRODUCT_VERSION_," + msi.GetProductVersion()};
            if (!AskStepQuestion(GetOwnerWindow(), kAskRemovePrevious, kWarningCaption,
                                 placeholders))
                RaiseSetupError(SetupResult::UserExit);
            if (!RemoveApplication(entry.removeCommand, entry.view))
                RaiseSetupError(SetupResult::UserExit);
        } while (entry.LookUp());
    };

    const std::vector<std::string> entries =
        commandLine.GetSetupData().GetPreviousVersionUninstall();
    for (const std::string& keyName : entries) {
        FoundEntry entry{keyName, {}, {}};
        if (!entry.LookUp()) continue;
        // The question names the product about to be installed; without the engine that is unknown,
        // and the sequence tries again once the engine is in place.
        if (!msi.LoadProductInfo(packagePath.c_str())) return false;
        handleFoundEntry(entry);
    }

    // The product itself, installed from another package (same product code, other package code).
    if (!msi.LoadProductInfo(packagePath.c_str())) return true;
    if (!msi.IsPackageProductInstalled() || !msi.IsDifferentPackageInstalled()) return true;
    FoundEntry product{msi.GetProductCode(), {}, {}};
    if (!product.LookUp()) return true;
    handleFoundEntry(product);
    return true;
}

bool SetupSteps::RemoveApplication(const std::string& removeCommand, RegistryView view) {
    WriteLog("Removing application");
    if (removeCommand.empty()) return false;
    // Only the three removal steps call this, after binding; unbound, no switch is added.
    const SetupCommandLine* commandLine = GetCommandLine();
    const UILevel uiLevel = commandLine ? commandLine->GetUILevel() : kUILevelNone;

    // Registry text is in the ANSI code page.
    std::string command = QuoteUnquotedProgram(removeCommand, kAnsiCodePage, FileExists);
    command =
        ResolveBareProgram(command, kAnsiCodePage, SystemFolder(), WindowsFolder(), FileExists);
    if (command.empty()) {
        // Not found where the system keeps its programs: a missing program, as when the start
        // fails.
        WriteLogF("Command Line = %s", removeCommand.c_str());
        WriteLog("The program is in neither the system folder nor the Windows folder");
        return false;
    }
    const std::string upper = UpperCase(command);
    const bool isInstallerRemoval = Contains(upper, "MSIEXEC");
    if (isInstallerRemoval) {
        if (!Contains(upper, "/Q") && uiLevel != kUILevelNone && commandLine)
            commandLine->AppendUILevelArg(command);
    } else if (Contains(upper, "UNINST") && Contains(upper, ".ISU")) {
        // Removal logs often sit in a quoted path whose closing quote was lost in the registry.
        std::size_t quotes = 0;
        for (char c : command)
            quotes += c == '"';
        if (quotes % 2 != 0) command += "\"";
        // -a runs the uninstaller without questions; only full UI (or none chosen) keeps them.
        if (uiLevel != kUILevelNone && uiLevel != kUILevelFull) command += " -a";
    }

    // A 32-bit process asking for System32 gets SysWOW64: an entry of the 64-bit view means the
    // 64-bit folder, where its remover may be the only copy.
    LaunchRule rule = LaunchRuleFor(LaunchKind::UninstallCommand);
    rule.inNativeSystemFolder = IsRedirectedAwayFrom(view);
    UniqueKernelHandle child;
    if (!LaunchCommandLine(command, rule, &child)) return false;
    uint32_t exitCode = 0;
    // Other uninstallers may restart Windows a moment after they end: give the session end time
    // to arrive.
    const bool rebootDetected = WaitForProcess(
        child.get(), GetEndSessionEvent(), !isInstallerRemoval, &exitCode, GetSessionEndsEvent());
    child.reset();
    if (rebootDetected) RaiseSetupError(SetupResult::RebootThenResume);
    if (exitCode == 0) return true;
    if (exitCode == SetupResult::UserExit) return false;
    RaiseSetupError(exitCode);
}
