// Single-instance guard: a named mutex per setup data file.
#pragma once
#include <string>

// "SETUP %s" or "Global\SETUP %s" with the name's backslashes replaced by underscores; the
// replacement steps over double-byte characters (`isLeadByte` tells them apart; null: none).
std::string InstanceMutexName(const char* setupFileName, bool globalNamespace,
                              bool (*isLeadByte)(unsigned char) = nullptr);

#ifdef _WIN32
#include "sys/unique_handle.h"
// The owned mutex, or none when the name is null, the version or mutex cannot be had, or the mutex
// already existed (another launcher for the same setup data file runs).
UniqueOwnedMutex CreateInstanceMutex(const char* setupFileName);
#endif
