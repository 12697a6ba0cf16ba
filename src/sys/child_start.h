// The two system calls that start children, looked up at run time. Each lookup is alone in its
// source file, so that a test build can link one that answers as Windows would for an elevated
// child (process tests).
#pragma once
#include "sys/win32.h"

// After the Windows header it builds on.
#include <shellapi.h>

using CreateProcessWFunction = BOOL(WINAPI*)(LPCWSTR, LPWSTR, LPSECURITY_ATTRIBUTES,
                                             LPSECURITY_ATTRIBUTES, BOOL, DWORD, LPVOID, LPCWSTR,
                                             LPSTARTUPINFOW, LPPROCESS_INFORMATION);
using ShellExecuteExWFunction = BOOL(WINAPI*)(SHELLEXECUTEINFOW*);

// CreateProcessW of KERNEL32; null (last error set) on the 9x family.
CreateProcessWFunction CreateProcessWEntryPoint();
// ShellExecuteExW of SHELL32, loaded from the system folder and kept for the rest of the process;
// null when it cannot be had.
ShellExecuteExWFunction ShellExecuteExWEntryPoint();
