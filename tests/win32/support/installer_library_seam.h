// The test build's loader of the installer library (installer_library_seam.cpp, linked before
// setup_core): a stand-in DLL instead of the system's MSI.DLL.
#pragma once

// Binds another DLL (a full path) instead of the system's MSI.DLL; null restores the system
// library. Affects libraries loaded afterwards.
void SetInstallerLibraryPath(const char* path);
