// Formatting on Windows through the system's C library (msvcrt's _vsnprintf): the static
// runtime's C99 formatter brings floating-point and wide conversions the launcher never uses.
#include <cstdio>

#include "sys/fixed_buffer.h"

int FormatTextV(char* buffer, std::size_t capacity, const char* format, va_list args) {
    if (!buffer || capacity == 0) return -1;
    // _vsnprintf answers -1 for a cut text and leaves a full buffer unterminated.
    const int written = ::_vsnprintf(buffer, capacity, format, args);
    if (written >= 0 && static_cast<std::size_t>(written) < capacity) return written;
    buffer[capacity - 1] = '\0';
    return static_cast<int>(capacity);
}
