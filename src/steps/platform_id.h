// The platform family that the platform check records, numbered as the system's version record
// numbers it (dwPlatformId).
#pragma once
#include <cstdint>

enum PlatformId : int32_t {
    kPlatformUnknown = -1, // not checked yet
    kPlatformWin32s = 0,
    kPlatform9x = 1,
    kPlatformNT = 2,
};
