// Libraries and programs of the system folder by full path.
#include "sys/system_library.h"

#include "sys/fixed_buffer.h"

std::string SystemFolder() {
    char folder[kMaxPath];
    const UINT length = ::GetSystemDirectoryA(folder, sizeof folder);
    if (length == 0 || length >= sizeof folder - 1) return std::string();
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
