// A DLL that, once loaded into any process, appends its own full path to C:\PLANTED.LOG: copies
// of it under the names of system DLLs show whether a process took them from a download folder.
#include "sys/win32.h"

BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID) {
    if (reason != DLL_PROCESS_ATTACH) return TRUE;
    char line[MAX_PATH + 2];
    DWORD length = ::GetModuleFileNameA(self, line, MAX_PATH);
    if (length >= MAX_PATH) length = MAX_PATH - 1;
    line[length++] = '\r';
    line[length++] = '\n';
    HANDLE log =
        ::CreateFileA("C:\\PLANTED.LOG", FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                      nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (log != INVALID_HANDLE_VALUE) {
        DWORD written = 0;
        ::WriteFile(log, line, length, &written, nullptr);
        ::CloseHandle(log);
    }
    return TRUE;
}
