// The step object: what every setup step shares (owner window, end-session event, folders,
// platform, installer library, the parsed command line). The steps are its operations.
#pragma once
#include <string>

#include "msi/msi_library.h"
#include "steps/platform_id.h"
#include "sys/unique_handle.h"
#include "sys/win32.h"
#include "sys/wow64.h"

class SetupCommandLine;

// Shows a download's progress in `owner`: a percentage 0-100, or kProgressUnknown when the size is
// not known. The launcher's window supplies it; the steps know no dialog.
constexpr int kProgressUnknown = -1;
using ProgressReport = void (*)(HWND owner, int percent);

class SetupSteps {
  public:
    // Records the owner of message boxes and of internal-error boxes, and the launcher's folder.
    // No handle is owned. A launcher file name that cannot be had is logged and leaves both
    // folders empty. `sessionEndsEvent` (when given) confirms an end of session that
    // `endSessionEvent` announced (WaitForProcess).
    SetupSteps(HWND ownerWindow, HANDLE endSessionEvent, HANDLE sessionEndsEvent = nullptr);
    // Unloads the installer library.
    ~SetupSteps();
    SetupSteps(const SetupSteps&) = delete;
    SetupSteps& operator=(const SetupSteps&) = delete;

    // Binds the parsed command line (it must outlive this object's use) and takes the folder part
    // of its setup data file name into the package folder. Attaching again rebinds.
    void AttachCommandLine(SetupCommandLine& commandLine);

    HWND GetOwnerWindow() const { return ownerWindow_; }
    // Where the engine download reports its progress; none until set.
    void SetProgressReport(ProgressReport report) { progressReport_ = report; }
    HANDLE GetEndSessionEvent() const { return endSessionEvent_; }
    HANDLE GetSessionEndsEvent() const { return sessionEndsEvent_; }

    // Ends with a backslash; the temporary copy's folder once setup runs from one.
    const std::string& GetLauncherFolder() const { return launcherFolder_; }
    void SetLauncherFolder(const std::string& folder) { launcherFolder_ = folder; }
    // The folder the launcher was started from, followed by the setup data file's folder part.
    const std::string& GetPackageFolder() const { return packageFolder_; }

    // Unknown until the platform check stores the system's.
    PlatformId GetPlatformId() const { return platformId_; }
    void SetPlatformId(PlatformId platformId) { platformId_ = platformId; }

    MsiLibrary& GetMsiLibrary() { return msiLibrary_; }

    // Null until attached.
    SetupCommandLine* GetCommandLine() const { return commandLine_; }
    // The attached command line; internal error (location, 0x80004003) when none is attached.
    SetupCommandLine& RequireCommandLine(unsigned location) const;

    // The step operations, in the order the setup sequence calls them. Operations without a result
    // raise a SetupError (or an internal error) to end setup; see each group's source file.

    // Prerequisite checks (prerequisite_checks_win32.cpp).
    bool IsCdPromptMutexSet();
    bool CheckPlatform();
    bool IsInstallerVersionSufficient();
    bool HasInstallPrivileges();

    // Installer engine bootstrap (engine_bootstrap_win32.cpp).
    void InstallWindowsInstaller();
    // Downloads the redistributable into a private folder of its own (made with CreateTempFolder;
    // the temporary folder itself on the 9x family); true with its path when the file is whole (and
    // matches the pinned SHA-256 where one is set). The file stays open without write or delete
    // sharing until the next download or the step object's end, so the program that was checked is
    // the one that is started.
    bool DownloadWindowsInstaller(std::string& localPath);

    // Incompatible applications and previous versions (application_removal_win32.cpp).
    void CheckIncompatibleApplications();
    void UninstallIncompatibleApplications();
    bool UninstallPreviousVersions();
    // `view` is the registry view the command was read from.
    bool RemoveApplication(const std::string& removeCommand, RegistryView view = RegistryView::Own);

    // Upgrade conditions, the product's registry key and shutdown (upgrade_conditions_win32.cpp).
    void CheckUpgradeConditions();
    void ShutdownApplications();
    bool IsProductRegistryKeyPresent();
    bool ShutdownApplicationEntry(const std::string& entry);

    // Installer invocation and the temporary copy (installer_invocation_win32.cpp).
    void CopySetupToTempFolder();
    void RemoveTempFolder();
    bool LoadPackageInfo(const std::string& packagePath);
    bool GetPackageProductName(std::string& name);
    bool IsSamePackageInstalled();
    bool IsAnyFeatureRunFromSource();
    void RunMaintenanceInstaller();
    bool CheckNestedInstall(bool* suppressReboot);
    void RunMainInstaller(bool suppressReboot);
    bool LaunchNestedInstaller();
    void LaunchPostInstallApplications();

  private:
    // Removes the (empty) private folder of a failed download.
    void RemoveDownloadFolder();

    HWND ownerWindow_;
    ProgressReport progressReport_ = nullptr;
    HANDLE endSessionEvent_;
    HANDLE sessionEndsEvent_;
    UniqueFile heldDownload_;
    std::string downloadFolder_; // with a trailing backslash; empty on the 9x family
    std::string launcherFolder_;
    std::string startFolder_; // the launcher folder at construction
    std::string packageFolder_;
    PlatformId platformId_ = kPlatformUnknown;
    MsiLibrary msiLibrary_;
    SetupCommandLine* commandLine_ = nullptr;
};
