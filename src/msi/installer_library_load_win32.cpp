// The installer library from the system folder.
#include "msi/installer_library_load.h"

#include "sys/system_library.h"

HMODULE LoadInstallerLibrary() {
    // By full path: loading "MSI.DLL" by name would look beside the launcher first.
    return LoadSystemLibrary("MSI.DLL");
}
