// Stand-in for the engine redistributable: writes the command line it was started with to
// %TEMP%\bootstrap_redistributable.txt and exits with 0.
#include <cstring>

#include "sys/unique_handle.h"
#include "sys/win32.h"

int main() {
    char path[MAX_PATH] = "";
    const DWORD length = ::GetTempPathA(MAX_PATH - 40, path);
    if (length == 0 || length >= MAX_PATH - 40) return 2;
    std::strcat(path, "bootstrap_redistributable.txt");
    UniqueFile file(::CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return 3;
    const char* commandLine = ::GetCommandLineA();
    DWORD written = 0;
    ::WriteFile(file.get(), commandLine, static_cast<DWORD>(std::strlen(commandLine)), &written,
                nullptr);
    return 0;
}
