// Installer invocation: the temporary copy of the launcher folder, the package's product state,
// and the command lines of the maintenance and main installers, the nested setup and the
// applications started afterwards.
#include <cctype>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "config/setup_command_line.h"
#include "steps/deferred_deletion.h"
#include "steps/folder_of_path.h"
#include "steps/installer_launch.h"
#include "steps/setup_steps.h"
#include "steps/temp_folders.h"
#include "sys/code_page.h"
#include "sys/file_exists.h"
#include "sys/fixed_buffer.h"
#include "sys/last_error.h"
#include "sys/module_file_name.h"
#include "sys/next_token.h"
#include "sys/setup_log.h"
#include "sys/system_library.h"
#include "text/internal_error.h"

namespace {

constexpr unsigned kFeaturesFromSourceLocation = 4;
constexpr unsigned kMaintenanceInstallerLocation = 5;
constexpr unsigned kMainInstallerLocation = 6;
constexpr unsigned kNestedSetupLocation = 12;
constexpr unsigned kTempCopyLocation = 18;
constexpr unsigned kNestedCheckLocation = 20;
constexpr unsigned kPostInstallLocation = 26;

// The system folder with a trailing backslash; a failure is the caller's internal error.
std::string RequireSystemFolder(unsigned location) {
    std::string folder = SystemFolder();
    if (folder.empty())
        ReportInternalError(location, InternalErrorCode::FromSystem(GetLastSystemError()));
    return folder;
}

// The settings every installer command line carries, in their fixed order.
void AppendCommandLinePieces(const SetupCommandLine& commandLine, std::string& out) {
    commandLine.AppendUILevelArg(out);
    commandLine.AppendLogArgs(out);
    commandLine.AppendMifArgs(out);
    commandLine.AppendPassThroughArgs(out);
    commandLine.AppendProperties(out);
}

struct NestedInstallEntry {
    std::string productCode;
    std::string arguments;
    std::string rebootOption;
};

// "product code,arguments,reboot option"; false when the text is empty or the first two fields
// cannot be split off. A missing field is empty.
bool SplitNestedInstall(const std::string& text, NestedInstallEntry& entry) {
    if (text.empty()) return false;
    std::string rest = text;
    if (!NextToken(rest, entry.productCode, ",", true) ||
        !NextToken(rest, entry.arguments, ",", true))
        return false;
    if (!NextToken(rest, entry.rebootOption, ",", true)) entry.rebootOption.clear();
    return true;
}

// True for a folder of the user's temporary folder whose name is "KOBR" and four hexadecimal
// digits, the only places the temporary copy is made in.
bool IsTempCopyFolder(const std::string& folder) {
    std::string path = folder;
    if (!path.empty() && path.back() == '\\') path.pop_back();
    const std::size_t slash = FindLastCharacter(path, "\\/:", kAnsiCodePage);
    if (slash == std::string::npos) return false;
    const std::string name = path.substr(slash + 1);
    if (name.size() != 8 || _strnicmp(name.c_str(), "KOBR", 4) != 0) return false;
    for (std::size_t i = 4; i < 8; ++i)
        if (!std::isxdigit(static_cast<unsigned char>(name[i]))) return false;
    char temp[kMaxPath];
    const DWORD length = ::GetTempPathA(sizeof temp, temp);
    if (length == 0 || length >= sizeof temp) return false;
    std::string parent(temp, length);
    if (parent.back() != '\\') parent += '\\';
    // The copy's path was formed from this very text: letter case aside, it starts with it.
    return path.size() == parent.size() + name.size() &&
           _strnicmp(path.c_str(), parent.c_str(), parent.size()) == 0;
}

} // namespace

void SetupSteps::CopySetupToTempFolder() {
    SetupCommandLine& commandLine = RequireCommandLine(kTempCopyLocation);
    // Already running from a copy, or told not to make one.
    if (commandLine.GetTempCopyMarker() != kTempCopyNone) return;
    std::string tempFolder;
    if (!CreateTempFolder(tempFolder)) return;

    const std::string originalFolder = GetLauncherFolder();
    SetLauncherFolder(tempFolder);
    commandLine.SetTempCopyMarker(kTempCopyRunning);
    if (CopyFolderFiles(originalFolder.c_str(), tempFolder.c_str())) {
        commandLine.SetLauncherFolder(tempFolder);
        return;
    }
    // A partial copy cannot be restarted from: run from the original folder instead.
    RemoveTempFolder();
    commandLine.SetTempCopyMarker(kTempCopyNotWanted);
    SetLauncherFolder(originalFolder);
}

void SetupSteps::RemoveTempFolder() {
    const SetupCommandLine* commandLine = GetCommandLine();
    if (!commandLine || commandLine->GetTempCopyMarker() != kTempCopyRunning ||
        GetLauncherFolder().empty())
        return;
    // "/~" on a typed command line must not cost the user the folder the launcher was started
    // from: only a folder named like the temporary copies is deleted.
    if (!IsTempCopyFolder(GetLauncherFolder())) {
        WriteLogF("Not removing \"%s\": it is not a temporary copy", GetLauncherFolder().c_str());
        return;
    }
    DeleteFolderTree(GetLauncherFolder().c_str());
    std::string folder = GetLauncherFolder();
    folder.pop_back(); // the trailing backslash
    if (!::RemoveDirectoryA(folder.c_str())) {
        WriteLogF("Failed to remove directory: \"%s\", Error code = 0x%08X", folder.c_str(),
                  GetLastSystemError());
        LogForDeletion(folder.c_str());
    }
}

bool SetupSteps::LoadPackageInfo(const std::string& packagePath) {
    return GetMsiLibrary().LoadProductInfo(packagePath.c_str());
}

bool SetupSteps::GetPackageProductName(std::string& name) {
    const std::string& productName = GetMsiLibrary().GetProductName();
    if (productName.empty()) return false;
    name = productName;
    return true;
}

bool SetupSteps::IsSamePackageInstalled() {
    MsiLibrary& msi = GetMsiLibrary();
    return msi.IsPackageProductInstalled() && !msi.IsDifferentPackageInstalled();
}

bool SetupSteps::IsAnyFeatureRunFromSource() {
    WriteLog("Checking if any features are set to run from source");
    SetupCommandLine& commandLine = RequireCommandLine(kFeaturesFromSourceLocation);
    for (const std::string& feature : commandLine.GetSetupData().GetProductFeatures())
        if (GetMsiLibrary().IsFeatureRunFromSource(feature.c_str())) return true;
    return false;
}

void SetupSteps::RunMaintenanceInstaller() {
    WriteLog("Running installer in maintenance mode");
    SetupCommandLine& commandLine = RequireCommandLine(kMaintenanceInstallerLocation);
    const std::string systemFolder = RequireSystemFolder(kMaintenanceInstallerLocation);
    const std::string package = GetPackageFolder() + commandLine.GetSetupData().GetPackageName();
    // With REINSTALLMODE given, the user's own reinstall letters arrive with the properties.
    std::string command =
        commandLine.GetReinstallMode().empty()
            ? FormatString("%sMSIEXEC /fvomus \"%s\"", systemFolder.c_str(), package.c_str())
            : FormatString("%sMSIEXEC /I \"%s\"", systemFolder.c_str(), package.c_str());
    AppendCommandLinePieces(commandLine, command);
    LaunchStepProgram(command, LaunchKind::MaintenanceInstaller, kMaintenanceInstallerLocation);
}

bool SetupSteps::CheckNestedInstall(bool* suppressReboot) {
    WriteLog("Checking if a nested install is included");
    SetupCommandLine& commandLine = RequireCommandLine(kNestedCheckLocation);
    if (suppressReboot) *suppressReboot = false;
    NestedInstallEntry nested;
    if (!SplitNestedInstall(commandLine.GetSetupData().GetNestedInstall(), nested)) return false;
    if (GetMsiLibrary().IsProductInstalled(nested.productCode.c_str())) return false;

    // The first word of the arguments names the nested setup data file beside the launcher.
    const std::string arguments = TrimBlanks(nested.arguments);
    const std::string firstWord = arguments.substr(0, arguments.find(' '));
    if (firstWord.empty() || !FileExists(GetLauncherFolder() + firstWord)) return false;

    if (suppressReboot) {
        *suppressReboot = commandLine.IsRebootSuppressed() ||
                          _stricmp(nested.rebootOption.c_str(), "ONEREBOOT") == 0;
    }
    return true;
}

void SetupSteps::RunMainInstaller(bool suppressReboot) {
    WriteLog("Running installer");
    SetupCommandLine& commandLine = RequireCommandLine(kMainInstallerLocation);
    std::string command = RequireSystemFolder(kMainInstallerLocation) + "MSIEXEC.EXE";
    if (commandLine.GetInstallMode() == kInstallModeNone) {
        command +=
            " /i \"" + GetPackageFolder() + commandLine.GetSetupData().GetPackageName() + "\"";
    } else {
        commandLine.AppendInstallModeArgs(command);
    }
    AppendCommandLinePieces(commandLine, command);
    // A REBOOT the user gave wins over the held-back restart (the parsed property: a name or value
    // that merely holds "REBOOT=" is not one).
    if (suppressReboot && !commandLine.IsRebootPropertySeen()) command += " REBOOT=S";
    LaunchStepProgram(command, LaunchKind::MainInstaller, kMainInstallerLocation);
}

bool SetupSteps::LaunchNestedInstaller() {
    WriteLog("Launching Nested installer");
    SetupCommandLine& commandLine = RequireCommandLine(kNestedSetupLocation);
    NestedInstallEntry nested;
    // Without arguments the nested launcher would run this product's own setup data again.
    if (!SplitNestedInstall(commandLine.GetSetupData().GetNestedInstall(), nested) ||
        nested.arguments.empty())
        return false;
    if (GetMsiLibrary().IsProductInstalled(nested.productCode.c_str())) return false;

    std::string self;
    unsigned codePage = 0;
    if (GetLauncherFileName(self, codePage) != ModuleFileNameResult::Found)
        ReportInternalError(kNestedSetupLocation, InternalErrorCode::CannotStart);
    // Quoted: the nested launcher splits its program name off at the first blank outside quotes,
    // and temporary folders often lie below "Documents and Settings".
    std::string command = "\"" + self + "\" " + nested.arguments;
    AppendCommandLinePieces(commandLine, command);
    command += " /~-";
    LaunchStepProgram(command, LaunchKind::NestedSetup, kNestedSetupLocation);
    return true;
}

void SetupSteps::LaunchPostInstallApplications() {
    WriteLog("Launching any post-install applications");
    SetupCommandLine& commandLine = RequireCommandLine(kPostInstallLocation);
    const std::vector<std::string> entries = commandLine.GetSetupData().GetLaunchApplications();
    for (const std::string& line : entries) {
        std::string rest = TrimBlanks(line);
        if (rest.empty()) continue;
        std::string componentId;
        std::string arguments;
        if (!NextToken(rest, componentId, ",", true) || !NextToken(rest, arguments, ",", true))
            ReportInternalError(kPostInstallLocation, InternalErrorCode::InvalidArgument);
        if (componentId.empty()) continue;
        // A component not installed here gives an empty program name; that start fails quietly.
        const std::string path =
            GetMsiLibrary().GetComponentPath(componentId.c_str()).value_or(std::string());
        LaunchStepProgram("\"" + path + "\" " + arguments, LaunchKind::PostInstallApplication,
                          kPostInstallLocation);
    }
}
