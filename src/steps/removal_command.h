// Uninstall commands read from the registry, made safe to start.
#pragma once
#include <string>

// A command whose program part is unquoted and holds blanks ("C:\Program Files\Old\un.exe /x")
// would let the system try "C:\Program.exe" first. When the shortest prefix ending in ".exe" (any
// case, followed by a blank or the end) holds a blank and `isFile` says it names an existing file,
// that prefix comes back quoted; every other command comes back as it is. `codePage` is the one
// the command's bytes are in.
std::string QuoteUnquotedProgram(const std::string& command, unsigned codePage,
                                 bool (*isFile)(const std::string& path));
