// The reboot thread's request to end the session, in a source of its own (exit_windows_win32.cpp)
// so that a test build can link a stand-in that only records the request.
#pragma once
#include "sys/win32.h"

// ExitWindowsEx with these arguments.
BOOL RequestExitWindows(UINT flags, DWORD reserved);
