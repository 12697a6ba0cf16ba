// Libraries and programs of the system folder, named by full path so that nothing planted beside
// the launcher (a download folder, often elevated) is taken in their place.
#pragma once
#include "sys/win32.h"

#include <string>

// The system folder with a trailing backslash; empty when the system does not say (its last error
// kept) or the path would not leave room for a file name within 260 bytes (last error
// ERROR_INSUFFICIENT_BUFFER).
std::string SystemFolder();

// Loads `fileName` (for example "WSOCK32.DLL") from the system folder by its full path, with its
// own imports looked up beside it; null (last error set) when it cannot be loaded. The caller owns
// the module.
HMODULE LoadSystemLibrary(const char* fileName);

// Narrows where the whole process looks for libraries loaded by name, before anything else runs:
// SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32) where the system has it, otherwise
// SetDllDirectoryW(L"") (the current folder leaves the search); nothing on 9x, which has neither.
void RestrictLibrarySearch();
// True once RestrictLibrarySearch has set the default directories: a library loaded by name then
// comes from a side-by-side assembly or the system folder only.
bool IsLibrarySearchRestricted();

// The common controls library, loaded once and kept until the process ends; null when it cannot be
// loaded. Where the search is restricted it is loaded by name, so that a side-by-side version the
// manifest asks for still applies; elsewhere by full path from the system folder.
HMODULE LoadCommonControlsLibrary();
