// Wide entry points found at run time, the user's code pages and the OEM-then-ANSI conversions.
#include "sys/wide_entry_points.h"

#include <cstring>

#include "sys/file_exists.h"

namespace {
bool platformKnown = false;
DWORD platformId = 0;

uint32_t CodePageOf(LCTYPE which) {
    char buffer[260];
    if (!::GetLocaleInfoA(LOCALE_USER_DEFAULT, which, buffer, sizeof buffer)) return 0;
    uint32_t value = 0;
    for (const char* p = buffer; *p >= '0' && *p <= '9'; ++p)
        value = value * 10 + static_cast<uint32_t>(*p - '0');
    return value;
}

wchar_t* ToWide(uint32_t codePage, const char* text, wchar_t* buffer) {
    if (!buffer) return nullptr;
    buffer[0] = L'\0';
    // A text that does not fit fails the conversion whole: a cut path would name another file.
    if (text && !::MultiByteToWideChar(codePage, 0, text, -1, buffer, kWideBufferChars))
        buffer[0] = L'\0';
    return buffer;
}
} // namespace

FARPROC GetEntryPoint(const char* library, const char* name) {
    if (!library || !*library || !name || !*name) return nullptr;
    HMODULE module = ::LoadLibraryA(library);
    return module ? ::GetProcAddress(module, name) : nullptr;
}

bool GetPlatformVersion(OSVERSIONINFOA& info) {
    std::memset(&info, 0, sizeof info);
    info.dwOSVersionInfoSize = sizeof info;
    return ::GetVersionExA(&info) != FALSE;
}

bool IsWindowsNT() {
    if (!platformKnown) {
        OSVERSIONINFOA info;
        if (GetPlatformVersion(info)) {
            platformId = info.dwPlatformId;
            platformKnown = true;
        }
    }
    return platformId == VER_PLATFORM_WIN32_NT;
}

uint32_t GetUserAnsiCodePage() {
    return CodePageOf(LOCALE_IDEFAULTANSICODEPAGE);
}
uint32_t GetUserOemCodePage() {
    return CodePageOf(LOCALE_IDEFAULTCODEPAGE);
}

wchar_t* AnsiToWide(const char* text, wchar_t* buffer) {
    return ToWide(GetUserAnsiCodePage(), text, buffer);
}
wchar_t* OemToWide(const char* text, wchar_t* buffer) {
    return ToWide(GetUserOemCodePage(), text, buffer);
}

char* WideToNarrow(const wchar_t* text, char* buffer) {
    if (!buffer) return nullptr;
    buffer[0] = '\0';
    if (text && !::WideCharToMultiByte(GetUserOemCodePage(), 0, text, -1, buffer, kWideBufferChars,
                                       nullptr, nullptr))
        buffer[0] = '\0';
    return buffer;
}

std::string WideToNarrowString(const wchar_t* text) {
    if (!text) return std::string();
    const UINT codePage = GetUserOemCodePage();
    const int size = ::WideCharToMultiByte(codePage, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 0) return std::string();
    std::string narrow(static_cast<std::size_t>(size), '\0');
    if (!::WideCharToMultiByte(codePage, 0, text, -1, &narrow[0], size, nullptr, nullptr))
        return std::string();
    narrow.resize(static_cast<std::size_t>(size) - 1);
    return narrow;
}

bool FileExists(const std::string& path) {
    if (!IsWindowsNT()) {
        const DWORD attributes = ::GetFileAttributesA(path.c_str());
        return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
    }
    using GetFileAttributesWFn = DWORD(WINAPI*)(LPCWSTR);
    auto getAttributes =
        GetEntryPointAs<GetFileAttributesWFn>("KERNEL32.DLL", "GetFileAttributesW");
    if (!getAttributes) return false;
    wchar_t wide[kWideBufferChars];
    for (wchar_t* (*convert)(const char*, wchar_t*) : {OemToWide, AnsiToWide}) {
        if (!*convert(path.c_str(), wide)) continue;
        const DWORD attributes = getAttributes(wide);
        if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY))
            return true;
    }
    return false;
}

BOOL DeleteFileAny(const char* path) {
    if (!IsWindowsNT()) return ::DeleteFileA(path);
    using DeleteFileWFn = BOOL(WINAPI*)(LPCWSTR);
    auto deleteFileW = GetEntryPointAs<DeleteFileWFn>("KERNEL32.DLL", "DeleteFileW");
    if (!deleteFileW) return FALSE;
    wchar_t wide[kWideBufferChars];
    if (deleteFileW(OemToWide(path, wide))) return TRUE;
    return deleteFileW(AnsiToWide(path, wide));
}
