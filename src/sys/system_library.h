// Libraries and programs of the system folder, named by full path so that nothing planted beside
// the launcher (a download folder, often elevated) is taken in their place.
#pragma once
#include "sys/win32.h"

#include <string>

// The system folder with a trailing backslash; empty when the system does not say or the path
// would not leave room for a file name within 260 bytes.
std::string SystemFolder();

// Loads `fileName` (for example "WSOCK32.DLL") from the system folder by its full path, with its
// own imports looked up beside it; null (last error set) when it cannot be loaded. The caller owns
// the module.
HMODULE LoadSystemLibrary(const char* fileName);
