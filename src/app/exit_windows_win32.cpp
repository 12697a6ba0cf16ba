// The real session-end request.
#include "app/exit_windows.h"

BOOL RequestExitWindows(UINT flags, DWORD reserved) {
    return ::ExitWindowsEx(flags, reserved);
}
