// Installing the Windows Installer engine: the redistributable beside the launcher, else a copy of
// it downloaded over HTTP while the progress dialog's bar shows the transfer.
#include "steps/engine_bootstrap.h"

#include <algorithm>
#include <cstdint>
#include <string>

#include "config/setup_command_line.h"
#include "debug/debug_mgr.h"
#include "net/zbhttp.h"
#include "steps/deferred_deletion.h"
#include "steps/launch_kind.h"
#include "steps/setup_steps.h"
#include "steps/step_messages.h"
#include "steps/temp_folders.h"
#include "sys/fixed_buffer.h"
#include "sys/setup_log.h"
#include "sys/setup_result.h"
#include "sys/sha256.h"
#include "sys/wide_entry_points.h"
#include "text/internal_error.h"
#include "text/messages.h"

namespace {

constexpr unsigned kErrorLocation = 7;
constexpr int32_t kProgressIntervalMs = 200;
constexpr const char* kDefaultRequiredVersion = "1.10";

// The redistributable runs quietly at /qb, /qb- and /qn; at /qn+ it keeps its own final box.
bool RunsRedistributableQuietly(UILevel uiLevel) {
    return uiLevel == kUILevelBasic || uiLevel == kUILevelBasicNoModal || uiLevel == kUILevelSilent;
}

bool LaunchRedistributable(const SetupSteps& steps, std::string command) {
    const SetupCommandLine& commandLine = steps.RequireCommandLine(kErrorLocation);
    if (RunsRedistributableQuietly(commandLine.GetUILevel())) command += " /Q";
    return static_cast<bool>(
        LaunchCommandLine(command, LaunchRuleFor(LaunchKind::EngineRedistributable)));
}

// Message 13 names the required version through "%s". It is filled by hand rather than by printf:
// the text comes from the translated table and may hold other percent signs.
std::string EngineRequiredText(const std::string& requiredVersion) {
    std::string text;
    GetMessageText(kEngineRequiredText, text);
    const std::size_t at = text.find("%s");
    if (at != std::string::npos) text.replace(at, 2, requiredVersion);
    return text;
}

// The download layers say why a transfer failed only to their debug output, which the launcher
// never switches on; with the setup log on, those lines go there too, one line each.
void LogDownloadFailure(const char* line) {
    // The socket layer reads the thread's last error after logging (the socket error is that
    // same value on Windows): writing the log must not change it.
    const DWORD error = ::GetLastError();
    WriteLog(line);
    ::SetLastError(error);
}

class DownloadFailuresToSetupLog {
  public:
    DownloadFailuresToSetupLog() {
        if (IsLoggingEnabled()) DebugMgr::SetFailureSink(&LogDownloadFailure);
    }
    ~DownloadFailuresToSetupLog() { DebugMgr::SetFailureSink(nullptr); }
    DownloadFailuresToSetupLog(const DownloadFailuresToSetupLog&) = delete;
    DownloadFailuresToSetupLog& operator=(const DownloadFailuresToSetupLog&) = delete;
};

// Where a download's progress goes: the report the launcher's window handed the steps.
struct ProgressTarget {
    ProgressReport report;
    HWND owner;
};

// Turns the transfer's counts into a percentage for the report. The download cannot be cancelled
// from here.
int32_t DownloadProgressCallback(const char* /*localFile*/, int32_t totalSize,
                                 int32_t bytesReceived, DownloadState state,
                                 int32_t /*bytesPerSecond*/, uintptr_t callbackData) {
    const ProgressTarget* target = reinterpret_cast<const ProgressTarget*>(callbackData);
    if (!target->report) return CallbackContinue;
    // An unknown size arrives as -1 (no Content-Length) or 0: no percentage can be shown then.
    if ((state == DownloadReading || state == DownloadDone) && totalSize > 0) {
        // 64 bits: bytes x 100 passes 32 bits beyond 21 MB; a server may send more than it
        // announced.
        const int64_t percent =
            static_cast<int64_t>(std::max<int32_t>(bytesReceived, 0)) * 100 / totalSize;
        target->report(target->owner, static_cast<int>(std::min<int64_t>(percent, 100)));
    } else {
        target->report(target->owner, kProgressUnknown);
    }
    return CallbackContinue;
}

// The digest of what `file` holds, read from its start through the handle.
bool Sha256OfHeldFile(HANDLE file, Sha256::Digest* digest) {
    if (::SetFilePointer(file, 0, nullptr, FILE_BEGIN) == INVALID_SET_FILE_POINTER) return false;
    Sha256 hash;
    char piece[4096];
    DWORD count = 0;
    do {
        if (!::ReadFile(file, piece, sizeof piece, &count, nullptr)) return false;
        hash.Update(piece, count);
    } while (count > 0);
    *digest = hash.Finish();
    return true;
}

// True when the held file's SHA-256 is the pinned one (64 hexadecimal digits, checked by the load).
// Read through the handle that stays open until the start: the bytes checked are the bytes run.
bool MatchesPinnedDigest(HANDLE held, const char* file, const std::string& pinned) {
    Sha256::Digest expected{};
    Sha256::Digest actual{};
    if (!ParseDigestHex(pinned, &expected)) return false;
    if (!Sha256OfHeldFile(held, &actual)) {
        WriteLogF("Cannot read the downloaded file %s to check its hash", file);
        return false;
    }
    if (actual == expected) return true;
    WriteLogF("Downloaded file hash mismatch: expected %s, got %s", DigestToHex(expected).c_str(),
              DigestToHex(actual).c_str());
    return false;
}

} // namespace

std::string LocalRedistributableCommand(PlatformId platformId, const std::string& launcherFolder) {
    if (platformId == kPlatform9x)
        return FormatString("\"%sINS9XMSI.EXE\"", launcherFolder.c_str());
    if (platformId == kPlatformNT)
        return FormatString("\"%sINSNTMSI.EXE\"", launcherFolder.c_str());
    return std::string();
}

std::string EngineDownloadUrl(PlatformId platformId, const std::string& configured) {
    const char* defaultPath = platformId == kPlatform9x   ? "/msdn-files/027/001/455/instmsia.exe"
                              : platformId == kPlatformNT ? "/msdn-files/027/001/456/instmsiw.exe"
                                                          : nullptr;
    if (!defaultPath) return std::string();
    if (!configured.empty()) return configured;
    return std::string("https://") + kEngineDownloadHost + defaultPath;
}

void SetupSteps::InstallWindowsInstaller() {
    WriteLog("Installing Windows installer");
    // The redistributable replaces the library's files; the next query loads it afresh.
    msiLibrary_.Unload();

    const std::string localCommand = LocalRedistributableCommand(platformId_, launcherFolder_);
    if (localCommand.empty()) ReportInternalError(kErrorLocation, InternalErrorCode::InvalidState);
    if (LaunchRedistributable(*this, localCommand)) return;

    std::string downloaded;
    if (!DownloadWindowsInstaller(downloaded)) {
        const std::string& required =
            RequireCommandLine(kErrorLocation).GetSetupData().GetMsiVersion();
        ShowStepBox(ownerWindow_,
                    EngineRequiredText(required.empty() ? kDefaultRequiredVersion : required),
                    kWarningCaption, MB_OK | MB_ICONERROR);
        RaiseSetupError(SetupResult::InstallFailure);
    }
    // Quoted: the temporary folder may hold spaces, and an unquoted path would let a program named
    // after its first word run instead.
    const bool started = LaunchRedistributable(*this, "\"" + downloaded + "\"");
    heldDownload_.reset();
    if (downloadFolder_.empty()) {
        LogForDeletion(downloaded.c_str());
    } else {
        LogForDeletionInside(downloaded.c_str(), downloadFolder_);
        LogForDeletion(downloadFolder_.substr(0, downloadFolder_.size() - 1).c_str());
    }
    if (!started) ReportInternalError(kErrorLocation, InternalErrorCode::CannotStart);
}

void SetupSteps::RemoveDownloadFolder() {
    if (downloadFolder_.empty()) return;
    ::RemoveDirectoryA(downloadFolder_.substr(0, downloadFolder_.size() - 1).c_str());
    downloadFolder_.clear();
}

bool SetupSteps::DownloadWindowsInstaller(std::string& localPath) {
    const SetupData& data = RequireCommandLine(kErrorLocation).GetSetupData();
    const bool family9x = platformId_ == kPlatform9x;
    const std::string url = EngineDownloadUrl(platformId_, family9x ? data.Get9xMsiInstaller()
                                                                    : data.GetNTMsiInstaller());
    const std::string& pinned =
        family9x ? data.Get9xMsiInstallerSHA256() : data.GetNTMsiInstallerSHA256();
    if (url.empty()) return false;

    // The download is started elevated or as SYSTEM: it is written to, checked in and run from a
    // private folder of its own, where nobody else can replace it or put DLLs beside it. The 9x
    // family has no ACLs: there it goes to the temporary folder as ever.
    char tempFolder[kMaxPath] = "";
    downloadFolder_.clear();
    if (IsWindowsNT()) {
        if (!CreateTempFolder(downloadFolder_) ||
            !CopyBounded(tempFolder, sizeof tempFolder, downloadFolder_.c_str()))
            return false;
    } else {
        const DWORD folderLength = ::GetTempPathA(sizeof tempFolder, tempFolder);
        if (folderLength == 0 || folderLength >= sizeof tempFolder) return false;
    }
    char localFile[kMaxPath] = "";
    if (!::GetTempFileNameA(tempFolder, "MSI", 0, localFile)) {
        RemoveDownloadFolder();
        return false;
    }

    ZBHTTPResult result = ZBHTTP_Error;
    {
        const DownloadFailuresToSetupLog failuresLogged;
        ZBHTTP client;
        const ProgressTarget progress = {progressReport_, ownerWindow_};
        if (client.SetURL(url) == ZBHTTP_SUCCESS) {
            result = client.DoGetIntoFile(localFile, DownloadProgressCallback,
                                          reinterpret_cast<uintptr_t>(&progress),
                                          kProgressIntervalMs, false, nullptr);
        }
        client.Close();
    }
    // Held before the check: another program of the user's could otherwise replace the file
    // between the check and the start. Starting it only reads it.
    heldDownload_.reset();
    if (result == ZBHTTP_SUCCESS) {
        heldDownload_.reset(::CreateFileA(localFile, GENERIC_READ, FILE_SHARE_READ, nullptr,
                                          OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    }
    // A partial, empty or foreign file is of no use to anyone; do not leave it in the user's
    // folder, and never start it.
    if (result != ZBHTTP_SUCCESS || !heldDownload_ ||
        (!pinned.empty() && !MatchesPinnedDigest(heldDownload_.get(), localFile, pinned))) {
        heldDownload_.reset();
        ::DeleteFileA(localFile);
        RemoveDownloadFolder();
        return false;
    }
    localPath = localFile;
    return true;
}
