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

// A program named without a folder ("RunDll32 advpack.dll,...", "MsiExec.exe /X{...}") would be
// looked for beside the launcher and in the current folder before the system folder, where anyone
// may have put a program of that name. Such a name (quoted or not; ".exe" added when it has no
// extension) is looked up in `systemFolder`, then in `windowsFolder` (both ending with a
// backslash), and the command comes back with the full path, quoted, in its place. A command whose
// program names a folder, or that names no program, comes back as it is. Empty when the name is in
// neither folder.
std::string ResolveBareProgram(const std::string& command, unsigned codePage,
                               const std::string& systemFolder, const std::string& windowsFolder,
                               bool (*isFile)(const std::string& path));
