// The last error of the host build: a per-thread value set by the host file code.
#include "sys/last_error.h"

namespace {
thread_local uint32_t lastError = 0;
}

uint32_t GetLastSystemError() {
    return lastError;
}
void SetLastSystemError(uint32_t code) {
    lastError = code;
}
