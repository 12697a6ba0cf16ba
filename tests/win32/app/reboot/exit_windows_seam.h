// The test build's session-end request and reboot thread creation (exit_windows_seam.cpp, linked
// before setup_core): a recorder sees the reboot thread's request instead of Windows, and the
// thread's creation can be made to fail.
#pragma once
#include "sys/win32.h"

using ExitWindowsRecorder = BOOL(WINAPI*)(UINT flags, DWORD reserved);

// Puts `record` in place of ExitWindowsEx; null asks Windows again.
void SetExitWindowsRecorder(ExitWindowsRecorder record);

// Makes the next reboot thread creations fail with `error` (0: create threads again).
void SetRebootThreadCreationError(DWORD error);
