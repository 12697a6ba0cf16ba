// Wide-character entry points found at run time, the user's code pages and the three conversions.
// Rule for call sites: on 9x call the narrow function; on NT look the wide one up with
// GetEntryPoint, call it with OemToWide text and, if that fails, once more with AnsiToWide text;
// convert wide results with WideToNarrow (an empty result is a failure).
#pragma once
#include "sys/entry_point.h"
#include "sys/win32.h"

#include <cstdint>
#include <string>

constexpr unsigned kWideBufferChars = 260; // every conversion buffer, terminator included

// True on the NT family; the first successful version query is cached.
bool IsWindowsNT();
// The version record (148-byte basic form); false when the system does not answer.
bool GetPlatformVersion(OSVERSIONINFOA& info);

uint32_t GetUserAnsiCodePage(); // 0 on failure
uint32_t GetUserOemCodePage();  // 0 on failure

// Each converts into a caller's buffer of kWideBufferChars elements and returns it; a null buffer
// returns null; a null text, a failed conversion or text that does not fit gives an empty string.
wchar_t* AnsiToWide(const char* text, wchar_t* buffer);
wchar_t* OemToWide(const char* text, wchar_t* buffer);
char* WideToNarrow(const wchar_t* text, char* buffer); // OEM code page, no default character
// The same conversion without the 260-byte limit (command lines run to 32767 characters); empty on
// failure.
std::string WideToNarrowString(const wchar_t* text);

// Deletes a file by the OEM-then-ANSI rule on NT, narrowly on 9x; nonzero when deleted.
BOOL DeleteFileAny(const char* path);
