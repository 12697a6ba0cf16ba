// Reboot control: the restart shortcut in the user's Startup folder that starts setup again after a
// restart, and the reboot thread that asks Windows to restart.
#pragma once
#include <cstdint>

#include "sys/win32.h"

// File name of the restart shortcut, directly in the Startup folder.
extern const char kRestartShortcutName[]; // "Quorvel Setup.lnk"

// Writes the restart shortcut with `marker` as its description. A shortcut with another marker is
// left alone (false); one with the same marker is replaced. The calling thread has COM initialised.
bool HookReboot(HWND owner, const char* marker, const char* target, const char* arguments);
// Deletes the restart shortcut when its description is exactly `marker`; false otherwise.
bool UnhookReboot(HWND owner, const char* marker);

// The current user's Startup folder (no trailing backslash) into 260 bytes; false after an error
// box (1001, 1002).
bool GetStartupFolder(HWND owner, char* path);
// Writes a shell link; false after an error box (1005 to 1010).
bool CreateStartupShortcut(HWND owner, const char* target, const char* linkPath,
                           const char* arguments, const char* description);
// Reads the fields asked for (each output 260 bytes, or null when not wanted); false without a box
// when no link file exists or it cannot be loaded, false after an error box (1011 to 1016)
// otherwise.
bool ReadShortcut(HWND owner, const char* linkPath, char* target, char* arguments,
                  char* description);

// The English box of this part: string 3 "Error Code: %04X.%08X" with the error number and the
// failing code, caption string 2 "Internal Error", owned by `owner`. Shown even under quiet
// command lines.
void ReportShortcutError(HWND owner, unsigned errorNumber, uint32_t code);

// Starts RebootThread and keeps its handle (a later start replaces and closes the earlier one); a
// thread that cannot be created is remembered for WaitForRebootThread.
void StartRebootThread();
// Null until StartRebootThread runs, and after a start that made no thread; owned by this module,
// valid until the next start.
HANDLE GetRebootThreadHandle();
// What RebootThread answers when Windows refused the restart request.
constexpr DWORD kRebootRequestRefused = 1;
// Enables the shutdown privilege on NT, logs and asks Windows to restart; returns 0 when the
// request was accepted, kRebootRequestRefused when ExitWindowsEx failed.
DWORD WINAPI RebootThread(LPVOID parameter);
// Start-up's end: waits up to 10 seconds for the reboot thread, if one was started, and answers
// the exit code for `code`. 1641 (setup restarts Windows) stays only when no reboot thread was
// asked for (a child's own 1641) or the thread ended with its request accepted; a thread that could
// not be created, did not end in time or was refused makes it 3010 (a restart is required), with
// a log line saying why. Anything else stays.
uint32_t WaitForRebootThread(uint32_t code);
// True when SeShutdownPrivilege was enabled in the process token without error.
bool EnableShutdownPrivilege();
