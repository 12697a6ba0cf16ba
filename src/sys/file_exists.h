// Whether a file is there: the one existence check of the launcher.
#pragma once
#include <string>

// True when `path` names an existing file, not a folder. On the NT family the path is tried as OEM
// text, then as ANSI text (a path may come through either code page); narrowly on 9x.
bool FileExists(const std::string& path);
