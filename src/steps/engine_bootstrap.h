// Where the Windows Installer engine redistributable comes from: the file beside the launcher, or
// its download location.
#pragma once
#include <string>

#include "steps/platform_id.h"

// The vendor's download server, used when the setup data file names no download location. It
// serves HTTPS, so the default is fetched over it.
constexpr const char* kEngineDownloadHost = "download.microsoft.com";

// The quoted command of the redistributable in `launcherFolder` for the 9x or the NT family; empty
// for any other platform id.
std::string LocalRedistributableCommand(PlatformId platformId, const std::string& launcherFolder);

// The download location for the platform: `configured` when it is not empty, else the built-in
// default; empty for any other platform id.
std::string EngineDownloadUrl(PlatformId platformId, const std::string& configured);
