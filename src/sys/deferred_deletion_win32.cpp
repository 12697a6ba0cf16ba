// Deletion at the next restart: MoveFileExA with MOVEFILE_DELAY_UNTIL_REBOOT, or WININIT.INI
// [Rename] in the Windows folder.
#include "sys/deferred_deletion.h"

#include "sys/fixed_buffer.h"
#include "sys/setup_log.h"
#include "sys/system_library.h"
#include "sys/win32.h"
#include "sys/wininit_rename.h"

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
    auto moveFileEx = module ? reinterpret_cast<MoveFileExAFn>(
                                   reinterpret_cast<void*>(::GetProcAddress(module, "MoveFileExA")))
                             : nullptr;
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

} // namespace

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
