// How the installer steps start their programs: through LaunchCommandLine, or through a recorder
// that tests put in its place to see the exact command lines without running them.
#pragma once
#include <string>

#include "steps/launch_kind.h"

using InstallerLaunchFunction = bool (*)(const std::string& commandLine, LaunchKind kind);

// Replaces the launch of the maintenance and main installers, the nested setup and the
// post-install applications; null restores LaunchCommandLine. For tests.
void SetInstallerLaunchForTesting(InstallerLaunchFunction launch);
