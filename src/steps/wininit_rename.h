// The restart deletion of the 9x family, where MoveFileEx cannot schedule one.
#pragma once
#include <string>

// Adds "NUL=<short path of `path`>" to the [Rename] section of WININIT.INI in `windowsFolder`
// (trailing backslash optional), making the file and the section when missing. Every failure is
// logged and swallowed; a path without a short form writes nothing.
void ScheduleInWininit(const char* path, const std::string& windowsFolder);
