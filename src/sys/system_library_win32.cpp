// Libraries and programs of the system folder by full path.
#include "sys/system_library.h"

#include "sys/entry_point.h"
#include "sys/fixed_buffer.h"

namespace {
bool searchRestricted = false;
} // namespace

std::string SystemFolder() {
    char folder[kMaxPath];
    const UINT length = ::GetSystemDirectoryA(folder, sizeof folder);
    if (length == 0) return std::string();
    if (length >= sizeof folder - 1) {
        ::SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return std::string();
    }
    std::string result(folder, length);
    if (result.back() != '\\') result += '\\';
    return result;
}

HMODULE LoadSystemLibrary(const char* fileName) {
    char path[kMaxPath];
    const std::string folder = SystemFolder();
    if (folder.empty() || !fileName ||
        !FormatBounded(path, sizeof path, "%s%s", folder.c_str(), fileName)) {
        ::SetLastError(ERROR_FILENAME_EXCED_RANGE);
        return nullptr;
    }
    // A full path with the altered search order: the library's own imports come from its folder.
    return ::LoadLibraryExA(path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

void RestrictLibrarySearch() {
    // KERNEL32 is loaded in every process; its entry points need no library search.
    HMODULE kernel = ::GetModuleHandleA("KERNEL32.DLL");
    if (!kernel) return;
    using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);
    auto setDefault =
        GetEntryPointAs<SetDefaultDllDirectoriesFunction>(kernel, "SetDefaultDllDirectories");
    if (setDefault && setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32)) {
        searchRestricted = true;
        return;
    }
    using SetDllDirectoryWFunction = BOOL(WINAPI*)(LPCWSTR);
    auto setDllDirectory = GetEntryPointAs<SetDllDirectoryWFunction>(kernel, "SetDllDirectoryW");
    if (setDllDirectory) setDllDirectory(L"");
}

bool IsLibrarySearchRestricted() {
    return searchRestricted;
}

HMODULE LoadCommonControlsLibrary() {
    static const HMODULE library = IsLibrarySearchRestricted() ? ::LoadLibraryA("comctl32.dll")
                                                               : LoadSystemLibrary("COMCTL32.DLL");
    return library;
}
