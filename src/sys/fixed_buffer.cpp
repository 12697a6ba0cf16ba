// Bounded copies and formats for fixed text buffers.
#include "sys/fixed_buffer.h"

#include <cstdio>
#include <cstring>

bool CopyBounded(char* buffer, std::size_t capacity, const char* text) {
    if (!buffer || capacity == 0) return false;
    std::size_t length = text ? std::strlen(text) : 0;
    if (length >= capacity) {
        buffer[0] = '\0';
        return false;
    }
    if (length) std::memcpy(buffer, text, length);
    buffer[length] = '\0';
    return true;
}

bool FormatBounded(char* buffer, std::size_t capacity, const char* format, ...) {
    if (!buffer || capacity == 0) return false;
    va_list args;
    va_start(args, format);
    int written = std::vsnprintf(buffer, capacity, format, args);
    va_end(args);
    if (written < 0 || static_cast<std::size_t>(written) >= capacity) {
        buffer[0] = '\0';
        return false;
    }
    return true;
}

std::string FormatStringV(const char* format, va_list args) {
    va_list copy;
    va_copy(copy, args);
    char small[512];
    int needed = std::vsnprintf(small, sizeof small, format, copy);
    va_end(copy);
    if (needed < 0) return std::string();
    if (static_cast<std::size_t>(needed) < sizeof small) return std::string(small, needed);
    std::string result(static_cast<std::size_t>(needed) + 1, '\0');
    std::vsnprintf(&result[0], result.size(), format, args);
    result.resize(static_cast<std::size_t>(needed));
    return result;
}

std::string FormatString(const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::string result = FormatStringV(format, args);
    va_end(args);
    return result;
}
