// Deletion at the next restart: MoveFileExA with MOVEFILE_DELAY_UNTIL_REBOOT, or WININIT.INI
// [Rename] in the Windows folder.
#include "steps/deferred_deletion.h"

#include "steps/wininit_rename.h"
#include "sys/code_page.h"
#include "sys/entry_point.h"
#include "sys/fixed_buffer.h"
#include "sys/setup_log.h"
#include "sys/system_library.h"
#include "sys/win32.h"

namespace {
enum class MoveFileExOutcome { Scheduled, Unavailable, GiveUp };

MoveFileExOutcome ScheduleWithMoveFileEx(const char* path) {
    const std::string systemFolder = SystemFolder();
    if (systemFolder.empty()) {
        WriteLog("GetSystemDirectory() failed in LogForDeletion()");
        return MoveFileExOutcome::GiveUp;
    }
    const std::string kernel = systemFolder + "KERNEL32.DLL";
    // The 9x KERNEL32 has no working MoveFileExA, so it is looked up rather than linked.
    using MoveFileExAFn = BOOL(WINAPI*)(LPCSTR, LPCSTR, DWORD);
    HMODULE module = FitsMaxPath(kernel) ? ::GetModuleHandleA(kernel.c_str()) : nullptr;
    auto moveFileEx = GetEntryPointAs<MoveFileExAFn>(module, "MoveFileExA");
    if (!moveFileEx) return MoveFileExOutcome::Unavailable;
    if (moveFileEx(path, nullptr, MOVEFILE_DELAY_UNTIL_REBOOT)) {
        WriteLogF("Scheduled \"%s\" for deletion using MoveFileEx()", path);
        return MoveFileExOutcome::Scheduled;
    }
    const DWORD error = ::GetLastError();
    WriteLogF("MoveFileEx() failed with return code: 0x%08X in LogForDeletion()",
              static_cast<unsigned>(error));
    // The restart-time list belongs to administrators: running as the user, the file stays where
    // it is (inside the user's own temporary folder); WININIT.INI would not help on NT.
    if (error == ERROR_ACCESS_DENIED || error == ERROR_PRIVILEGE_NOT_HELD) {
        WriteLogF("No rights to delete \"%s\" at restart: it is left in place", path);
        return MoveFileExOutcome::GiveUp;
    }
    return MoveFileExOutcome::Unavailable;
}

// True when `path` lies below `folder` through plain folders only: no ".", "..", link or junction
// on the way.
bool IsPlainlyInside(const std::string& path, const std::string& folder) {
    if (folder.empty() || folder.back() != '\\' || path.size() <= folder.size() ||
        _strnicmp(path.c_str(), folder.c_str(), folder.size()) != 0)
        return false;
    if (path.find('/', folder.size()) != std::string::npos) return false;
    std::string part = path;
    for (;;) {
        const std::size_t slash = FindLastCharacter(part, "\\", kAnsiCodePage);
        if (slash == std::string::npos || slash + 1 < folder.size()) return false;
        const std::string name = part.substr(slash + 1);
        if (name.empty() || name == "." || name == "..") return false;
        const DWORD attributes = ::GetFileAttributesA(part.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT))
            return false;
        if (slash + 1 == folder.size()) return true;
        part.resize(slash);
    }
}

} // namespace

void LogForDeletionInside(const char* path, const std::string& folder) {
    if (!path || !*path) return;
    if (!IsPlainlyInside(path, folder)) {
        WriteLogF("Not scheduling \"%s\" for deletion: it is not plainly inside \"%s\"", path,
                  folder.c_str());
        return;
    }
    LogForDeletion(path);
}

void LogForDeletion(const char* path) {
    if (!path || !*path) return;
    if (ScheduleWithMoveFileEx(path) != MoveFileExOutcome::Unavailable) return;
    char windowsFolder[kMaxPath];
    const UINT length = ::GetWindowsDirectoryA(windowsFolder, sizeof windowsFolder);
    if (length == 0 || length >= sizeof windowsFolder) {
        WriteLog("GetWindowsDirectory() failed in LogForDeletion()");
        return;
    }
    ScheduleInWininit(path, windowsFolder);
}
