// Formatting on the host: the C library's vsnprintf has the contract as it is.
#include <cstdio>

#include "sys/fixed_buffer.h"

int FormatTextV(char* buffer, std::size_t capacity, const char* format, va_list args) {
    return std::vsnprintf(buffer, capacity, format, args);
}
