// Entry points found at run time: functions that old Windows lacks, and libraries that are loaded
// from the system folder rather than imported (sys/system_library.h). The one way to look one up.
#pragma once
#include "sys/win32.h"

// The entry point's address, or null when a name is missing or empty, the library cannot be loaded
// or the name is not exported. The library is loaded by name and stays loaded: only for libraries
// the system itself maps (KERNEL32, USER32, ADVAPI32, SHELL32, NTDLL).
FARPROC GetEntryPoint(const char* library, const char* name);

template <typename Function> Function GetEntryPointAs(const char* library, const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetEntryPoint(library, name)));
}

// The same in a module already loaded (null gives null).
template <typename Function> Function GetEntryPointAs(HMODULE module, const char* name) {
    if (!module) return nullptr;
    return reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(module, name)));
}

// Fills one entry of a table of entry points; false when the module does not export it.
template <typename Function>
bool BindEntryPoint(HMODULE module, const char* name, Function& function) {
    function = GetEntryPointAs<Function>(module, name);
    return function != nullptr;
}
