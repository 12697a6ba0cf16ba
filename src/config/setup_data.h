// The in-memory record of the setup data file (SETUP.INI): ten values and seven lists.
#pragma once
#include <string>
#include <vector>

class CIniFile;

// Filled once by Load; the steps read it through the accessors below. Every accessor of an
// unloaded record reports internal error 24 (0x80070005) and so ends setup.
class SetupData {
  public:
    SetupData() = default;
    virtual ~SetupData() = default;

    // Loads folder + fileName (the folder ends with a path separator). Returns true; every failure
    // (file missing or unreadable, malformed line, missing required section or key, a path that
    // does not fit 260 bytes) is reported as internal error 1 and raised, never returned.
    bool Load(const std::string& folder, const std::string& fileName);
    void Reset();
    bool IsLoaded() const { return loaded_; }

    // Keys of [ProductInformation], trimmed; an absent optional key reads as an empty text.
    const std::string& GetCheckRegKey() const;
    const std::string& GetMsiVersion() const;
    const std::string& GetNestedInstall() const;
    const std::string& GetPackageName() const;
    const std::string& GetPlatforms() const;
    const std::string& GetAllowNTServer() const;
    const std::string& Get9xMsiInstaller() const;
    const std::string& GetNTMsiInstaller() const;
    // Pinned SHA-256 of the downloaded redistributable: empty, or 64 hexadecimal digits in any case
    // (anything else fails the load with internal error 1, 0x80040007).
    const std::string& Get9xMsiInstallerSHA256() const;
    const std::string& GetNTMsiInstallerSHA256() const;

    // List sections, one entry per non-blank line. Mutable: the upgrade check adds previous
    // versions to remove.
    std::vector<std::string>& GetProductFeatures();
    std::vector<std::string>& GetPreviousVersionUninstall();
    std::vector<std::string>& GetShutdownApplication();
    std::vector<std::string>& GetIncompatibleAppExit();
    std::vector<std::string>& GetIncompatibleAppUninstall();
    std::vector<std::string>& GetUpgradeConditions();
    std::vector<std::string>& GetLaunchApplications();
    const std::vector<std::string>& GetProductFeatures() const;
    const std::vector<std::string>& GetPreviousVersionUninstall() const;
    const std::vector<std::string>& GetShutdownApplication() const;
    const std::vector<std::string>& GetIncompatibleAppExit() const;
    const std::vector<std::string>& GetIncompatibleAppUninstall() const;
    const std::vector<std::string>& GetUpgradeConditions() const;
    const std::vector<std::string>& GetLaunchApplications() const;

  private:
    void RequireLoaded() const;
    // The values of [ProductInformation] and the list sections; failures raised as in Load.
    void ReadProductSection(CIniFile& file);
    void ReadListSections(CIniFile& file);

    bool loaded_ = false;
    std::string checkRegKey_;
    std::string msiVersion_;
    std::string nestedInstall_;
    std::string packageName_;
    std::string platforms_;
    std::string allowNTServer_;
    std::string msiInstaller9x_;
    std::string msiInstallerNT_;
    std::string msiInstaller9xSha256_;
    std::string msiInstallerNTSha256_;
    std::vector<std::string> productFeatures_;
    std::vector<std::string> previousVersionUninstall_;
    std::vector<std::string> shutdownApplication_;
    std::vector<std::string> incompatibleAppExit_;
    std::vector<std::string> incompatibleAppUninstall_;
    std::vector<std::string> upgradeConditions_;
    std::vector<std::string> launchApplications_;
};
