// Single-instance guard: a named mutex per setup data file.
#pragma once
#include <string>

// "SETUP %s" or "Global\SETUP %s" with backslashes of the name replaced by underscores
// (global name space on NT 5 and later).
std::string InstanceMutexName(const char* setupFileName, bool globalNamespace);

#ifdef _WIN32
#include "sys/win32.h"
// The owned mutex, or null when the name is null, the version or mutex cannot be had, or the mutex
// already existed.
HANDLE CreateInstanceMutex(const char* setupFileName);
#endif
