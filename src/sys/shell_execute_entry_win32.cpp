// ShellExecuteExW from the system folder's SHELL32, bound when a child first needs elevation.
#include "sys/child_start.h"
#include "sys/entry_point.h"
#include "sys/system_library.h"

ShellExecuteExWFunction ShellExecuteExWEntryPoint() {
    // By full path, like the launcher's other late libraries; never unloaded.
    static const HMODULE shell = LoadSystemLibrary("SHELL32.DLL");
    return GetEntryPointAs<ShellExecuteExWFunction>(shell, "ShellExecuteExW");
}
