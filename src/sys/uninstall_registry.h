// Installed products in the uninstall registry: display name, remove command and installed version.
#pragma once
#include <string>

#include "sys/version_number.h"
#include "sys/wow64.h"

// The entry "SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\<keyName>" is opened under
// HKEY_LOCAL_MACHINE in the program's own registry view, else (on 64-bit Windows) in the other
// view, else under HKEY_CURRENT_USER; the key that opens is the only one read. Text values are
// limited to 259 bytes: a longer value counts as missing.

// True when the entry exists with a display name and either a Windows Installer flag (remove
// command "<system folder>\MSIEXEC /x <keyName>", or empty when NoRemove is set) or an
// UninstallString. Both outputs are emptied first. `view` (optional) receives the registry view the
// entry was read from: its remove command may name the other view's system folder.
bool FindUninstallEntry(const char* keyName, std::string& displayName, std::string& removeCommand,
                        RegistryView* view = nullptr);

// The installed version from Version, VersionMajor/VersionMinor, DisplayVersion or, last, a number
// inside DisplayName. The output (optional) is cleared first; false when none of them gives one.
bool ReadInstalledVersion(const char* keyName, VersionNumber* version);
