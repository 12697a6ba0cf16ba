// Replaces the product's RequestExitWindows: the linker takes this definition before the one in
// setup_core.
#include "exit_windows_seam.h"

#include "app/exit_windows.h"

namespace {
ExitWindowsRecorder recorder = nullptr;
} // namespace

void SetExitWindowsRecorder(ExitWindowsRecorder record) {
    recorder = record;
}

BOOL RequestExitWindows(UINT flags, DWORD reserved) {
    return recorder ? recorder(flags, reserved) : ::ExitWindowsEx(flags, reserved);
}
