// Bounded copies and formats for fixed text buffers.
#include "sys/fixed_buffer.h"

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
    int written = FormatTextV(buffer, capacity, format, args);
    va_end(args);
    if (written < 0 || static_cast<std::size_t>(written) >= capacity) {
        buffer[0] = '\0';
        return false;
    }
    return true;
}

std::string FormatStringV(const char* format, va_list args) {
    // Doubling from 512 bytes: the longest texts formatted are command lines of 32767 characters.
    constexpr std::size_t kLargest = std::size_t(1) << 24;
    for (std::size_t size = 512; size <= kLargest; size *= 2) {
        std::string result(size, '\0');
        va_list copy;
        va_copy(copy, args);
        const int written = FormatTextV(&result[0], size, format, copy);
        va_end(copy);
        if (written < 0) return std::string();
        if (static_cast<std::size_t>(written) < size) {
            result.resize(static_cast<std::size_t>(written));
            return result;
        }
    }
    return std::string();
}

std::string FormatString(const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::string result = FormatStringV(format, args);
    va_end(args);
    return result;
}
