// Replaces the product's LoadInstallerLibrary: the linker takes this definition before the one in
// setup_core, so a test can bind a stand-in DLL.
#include "support/installer_library_seam.h"

#include <string>

#include "msi/installer_library_load.h"
#include "sys/system_library.h"

namespace {
std::string& LibraryPath() {
    static std::string path;
    return path;
}
} // namespace

void SetInstallerLibraryPath(const char* path) {
    LibraryPath() = path ? path : "";
}

HMODULE LoadInstallerLibrary() {
    if (LibraryPath().empty()) return LoadSystemLibrary("MSI.DLL");
    // The stand-in's own imports are looked for beside it, not beside the test program.
    return ::LoadLibraryExA(LibraryPath().c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}
