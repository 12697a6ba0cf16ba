// Bounded copies and formats for the launcher's fixed text buffers (paths are at most 260 bytes).
#pragma once
#include <cstdarg>
#include <cstddef>
#include <string>

constexpr std::size_t kMaxPath = 260;

// Copies text into a buffer of `capacity` bytes; false (buffer emptied) when it does not fit.
bool CopyBounded(char* buffer, std::size_t capacity, const char* text);

// printf into a buffer of `capacity` bytes; false (buffer emptied) when the result does not fit.
bool FormatBounded(char* buffer, std::size_t capacity, const char* format, ...)
    __attribute__((format(printf, 3, 4)));

// vsnprintf's contract with a looser answer for cut text: the length written (terminator not
// counted), a value of at least `capacity` when the text was cut (the buffer then holds the cut
// text, terminated), negative on a format error. Windows builds format through the system's C
// library, whose formatter is a fraction of the static runtime's.
int FormatTextV(char* buffer, std::size_t capacity, const char* format, va_list args);

// printf into a string of any length.
std::string FormatString(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string FormatStringV(const char* format, va_list args);

// True when a text fits a 260-byte buffer with its terminating zero.
inline bool FitsMaxPath(const std::string& text) {
    return text.size() < kMaxPath;
}
