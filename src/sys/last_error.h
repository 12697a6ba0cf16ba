// The system's last error code, portable: GetLastError/SetLastError on Windows, a per-thread value
// on the host build (set from errno by the host file code).
#pragma once
#include <cstdint>

uint32_t GetLastSystemError();
void SetLastSystemError(uint32_t code);
