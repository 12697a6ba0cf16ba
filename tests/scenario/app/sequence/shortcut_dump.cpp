// Prints a shell link's target, arguments and description ("target=...", one per line), read
// through the system's shell link object: how the scenarios see the restart shortcut.
#include "sys/win32.h"

#include <objbase.h>
#include <shlobj.h>

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: shortcut_dump LINK-PATH\n", stderr);
        return 2;
    }
    if (FAILED(::CoInitialize(nullptr))) return 3;
    int result = 1;
    IShellLinkA* link = nullptr;
    IPersistFile* file = nullptr;
    wchar_t widePath[MAX_PATH] = {};
    if (SUCCEEDED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                     IID_IShellLinkA, reinterpret_cast<void**>(&link))) &&
        SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))) &&
        ::MultiByteToWideChar(CP_ACP, 0, argv[1], -1, widePath, MAX_PATH) &&
        SUCCEEDED(file->Load(widePath, STGM_READ))) {
        char target[MAX_PATH] = "", arguments[1024] = "", description[1024] = "";
        link->GetPath(target, sizeof target, nullptr, SLGP_RAWPATH);
        link->GetArguments(arguments, sizeof arguments);
        link->GetDescription(description, sizeof description);
        std::printf("target=%s\narguments=%s\ndescription=%s\n", target, arguments, description);
        result = 0;
    }
    if (file) file->Release();
    if (link) link->Release();
    ::CoUninitialize();
    return result;
}
