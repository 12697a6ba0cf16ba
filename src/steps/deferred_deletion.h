// Deletion at the next restart: MoveFileExA with MOVEFILE_DELAY_UNTIL_REBOOT, or on the 9x family
// (and wherever that fails) a "NUL=<short path>" line in the [Rename] section of WININIT.INI.
#pragma once
#include <string>

// Schedules one file or empty folder for deletion at restart. Every failure is logged and
// swallowed; nothing is raised. Refused for lack of rights (a process running as a standard user),
// the path is left where it is.
void LogForDeletion(const char* path);

// The same for a path inside `folder` (a folder the launcher made private, ending with a
// backslash), refused with a log line when the path is not below that folder or any part of it
// below the folder is a link or junction: the restart-time deletion goes by name, and a link
// would take it elsewhere.
void LogForDeletionInside(const char* path, const std::string& folder);
