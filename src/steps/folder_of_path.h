// Path helpers of the steps: the folder part of a path, read character by character so that a
// double-byte character whose second byte is a backslash does not split the path.
#pragma once
#include <string>

// Everything up to and including the last '\\', '/' or ':' (drive) of `path`, read in `codePage`
// (0: the system's ANSI code page); empty when there is none.
std::string FolderOfPath(const std::string& path, unsigned codePage);
