// Where the installer library binding loads MSI.DLL from, in a source of its own so that another
// build can link a different loader.
#pragma once
#include "sys/win32.h"

// The installer library, loaded by full path from the system folder; null (last error set) when
// it cannot be loaded. The caller owns the module.
HMODULE LoadInstallerLibrary();
