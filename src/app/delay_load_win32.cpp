// The libraries Setup.EXE binds on first call (USER32, GDI32, SHELL32, OLE32) come from the system
// folder by full path. Static imports would be resolved before start-up could narrow the library
// search, and some of these libraries import others that are not KnownDLLs.
#include "sys/system_library.h"

#include <delayimp.h>

namespace {
FARPROC WINAPI LoadDelayedLibrary(unsigned notification, PDelayLoadInfo info) {
    if (notification != dliNotePreLoadLibrary || !info || !info->szDll) return nullptr;
    // Null lets the helper load the library by name: the narrowed search still applies.
    return reinterpret_cast<FARPROC>(reinterpret_cast<void*>(LoadSystemLibrary(info->szDll)));
}
} // namespace

extern "C" {
PfnDliHook __pfnDliNotifyHook2 = LoadDelayedLibrary;
}
