// Replaces the product's RequestExitWindows and CreateRebootThread: the linker takes these
// definitions before the ones in setup_core.
#include "exit_windows_seam.h"

#include "app/exit_windows.h"
#include "app/reboot_thread_creation.h"

namespace {
ExitWindowsRecorder recorder = nullptr;
DWORD creationError = 0;
} // namespace

void SetExitWindowsRecorder(ExitWindowsRecorder record) {
    recorder = record;
}

BOOL RequestExitWindows(UINT flags, DWORD reserved) {
    return recorder ? recorder(flags, reserved) : ::ExitWindowsEx(flags, reserved);
}

void SetRebootThreadCreationError(DWORD error) {
    creationError = error;
}

HANDLE CreateRebootThread(LPTHREAD_START_ROUTINE routine) {
    if (creationError) {
        ::SetLastError(creationError);
        return nullptr;
    }
    DWORD id = 0;
    return ::CreateThread(nullptr, 0, routine, nullptr, 0, &id);
}
