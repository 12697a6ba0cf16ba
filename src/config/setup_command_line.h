// The launcher's command line: installer-style switches and properties, the setup data file it
// names, and the renderers that put these settings on the installer command lines.
#pragma once
#include <cstddef>
#include <string>
#include <vector>

#include "config/setup_data.h"
#include "text/ui_level.h"

// What the command line asks the installer to do (the switch that set it).
enum InstallMode : int32_t {
    kInstallModeNone = 0,                // no install-mode switch
    kInstallModeInstall = 1,             // /i package
    kInstallModeRepair = 2,              // /f letters package
    kInstallModeUninstall = 3,           // /x package
    kInstallModeAdvertise = 4,           // /j letters package
    kInstallModeAdministrative = 5,      // /a package
    kInstallModePatch = 6,               // /p patch
    kInstallModePatchAdministrative = 7, // /p patch with /a package
};

// Whether setup runs from a temporary copy of its folder, as the restart command line says.
enum TempCopyMarker : int32_t {
    kTempCopyNone = 0,      // no switch: a copy may be made
    kTempCopyRunning = 1,   // "/~": running from the copy, which is removed at the end
    kTempCopyNotWanted = 2, // "/~-": no copy is to be made
};

class SetupCommandLine {
  public:
    SetupCommandLine();
    virtual ~SetupCommandLine() = default;

    // Empties every text (the setup data file name too), zeroes every number and flag, empties
    // both lists and unloads the setup data.
    void Reset();

    // Parses the arguments (the command line without the program name) and loads the setup data
    // file from the launcher folder, which ends with a path separator. True when every argument
    // was accepted and the file was loaded; a refused argument leaves the object reset and
    // returns false. Reported as internal error 23 (and so raised): a null or empty folder, null
    // arguments (0x80004003), a double quote that does not close or a NUL byte in the text
    // (0x80040007). A file that cannot be loaded is reported by SetupData::Load.
    // A first argument that is not a switch names the setup data file (its double quotes
    // removed), and a file that cannot be loaded ends setup; only a property assignment (NAME=value
    // in any spacing) that names no existing file is taken as a property, with SETUP.INI loaded.
    bool Parse(const std::string& launcherFolder, const std::string& arguments);
    bool Parse(const char* launcherFolder, const char* arguments);

    // Loads launcher folder + fileName. An empty folder or name is internal error 23 (0x80004003).
    bool LoadSetupData(const std::string& fileName);

    SetupData& GetSetupData() { return setupData_; }
    const SetupData& GetSetupData() const { return setupData_; }

    const std::string& GetLauncherFolder() const { return launcherFolder_; }
    void SetLauncherFolder(const char* path) { launcherFolder_ = path ? path : ""; }
    void SetLauncherFolder(const std::string& path) { launcherFolder_ = path; }
    const std::string& GetSetupFileName() const { return setupFileName_; }

    InstallMode GetInstallMode() const { return installMode_; }
    UILevel GetUILevel() const { return uiLevel_; }
    const std::string& GetReinstallMode() const { return reinstallMode_; }
    TempCopyMarker GetTempCopyMarker() const { return tempCopyMarker_; }
    void SetTempCopyMarker(TempCopyMarker marker) { tempCopyMarker_ = marker; }

    // A stretch of the parsed argument text, [begin, end); empty when begin == end.
    struct TextSpan {
        std::size_t begin = 0;
        std::size_t end = 0;
    };
    // Where the argument text held the "/~" or "/~-" switch: the switch with the blanks before it
    // (from the text's start for a first argument), up to the space after it. Empty when the
    // text held none.
    TextSpan GetTempCopySwitch() const { return tempCopySwitch_; }
    // Where the last argument starts when it is a property whose value ran into the end of the
    // text ("NAME=" last): anything added after it would become its value. npos when none.
    std::size_t GetOpenValueArgument() const { return openValueArgument_; }

    // The rest of the parsed settings, as given (double quotes kept).
    const std::string& GetPackage() const { return package_; }
    const std::string& GetModeArgument() const {
        return modeArgument_;
    }                                                           // /f or /j letters, /p patch
    int GetAdvertiseOption() const { return advertiseOption_; } // 0 none, 1 /g, 2 /t
    const std::string& GetAdvertiseValue() const { return advertiseValue_; }
    bool IsLoggingRequested() const { return loggingRequested_; }
    const std::string& GetLogOptions() const { return logOptions_; }
    const std::string& GetLogFile() const { return logFile_; }
    bool IsStatusFileRequested() const { return statusFileRequested_; }
    const std::string& GetStatusFile() const { return statusFile_; }
    const std::vector<std::string>& GetPassThrough() const { return passThrough_; }
    const std::vector<std::string>& GetProperties() const { return properties_; } // "NAME=value"
    bool IsRebootPropertySeen() const { return rebootPropertySeen_; }
    // The REBOOT property's value as given (empty when none was accepted).
    const std::string& GetRebootValue() const { return rebootValue_; }
    // /promptrestart given (a whole word, any letter case; it also stays in the pass-through list
    // for the installer, as /norestart does).
    bool HasPromptRestartSwitch() const { return promptRestartSwitch_; }
    // True where the restart question can be shown: every level but /qb- and /qn (/qn+ still shows
    // its one box at the end).
    bool CanAskBeforeRestart() const {
        return uiLevel_ != kUILevelBasicNoModal && uiLevel_ != kUILevelSilent;
    }
    // True when setup's own restart is held back: a REBOOT property whose value begins with R or S
    // (either case: ReallySuppress, Suppress), /norestart, or /promptrestart where no question can
    // be asked.
    bool IsRebootSuppressed() const;

    // Renderers: each appends its piece, with its leading space, to `out`.
    void AppendInstallModeArgs(std::string& out) const;
    void AppendUILevelArg(std::string& out) const;
    void AppendLogArgs(std::string& out) const;
    void AppendMifArgs(std::string& out) const;
    void AppendPassThroughArgs(std::string& out) const;
    void AppendProperties(std::string& out) const;
    void AppendTempCopyMarker(std::string& out) const;

  private:
    class Parser;
    friend class Parser;

    SetupData setupData_;
    std::string setupFileName_;
    std::string launcherFolder_;
    InstallMode installMode_ = kInstallModeNone;
    std::string modeArgument_;
    std::string reinstallMode_;
    std::string package_;
    int advertiseOption_ = 0;
    std::string advertiseValue_;
    UILevel uiLevel_ = kUILevelNone;
    bool loggingRequested_ = false;
    std::string logOptions_;
    std::string logFile_;
    bool statusFileRequested_ = false;
    std::string statusFile_;
    std::vector<std::string> passThrough_;
    std::vector<std::string> properties_;
    TempCopyMarker tempCopyMarker_ = kTempCopyNone;
    bool rebootPropertySeen_ = false;
    std::string rebootValue_;
    bool noRestartSwitch_ = false;
    bool promptRestartSwitch_ = false;
    TextSpan tempCopySwitch_;
    std::size_t openValueArgument_ = std::string::npos;
};
