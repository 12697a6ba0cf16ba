// The system's last error on Windows.
#include "sys/last_error.h"
#include "sys/win32.h"

uint32_t GetLastSystemError() {
    return ::GetLastError();
}
void SetLastSystemError(uint32_t code) {
    ::SetLastError(code);
}
