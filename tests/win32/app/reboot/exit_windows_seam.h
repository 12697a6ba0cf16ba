// The test build's session-end request (exit_windows_seam.cpp, linked before setup_core): a
// recorder sees the reboot thread's request instead of Windows.
#pragma once
#include "sys/win32.h"

using ExitWindowsRecorder = BOOL(WINAPI*)(UINT flags, DWORD reserved);

// Puts `record` in place of ExitWindowsEx; null asks Windows again.
void SetExitWindowsRecorder(ExitWindowsRecorder record);
