// Deletion at the next restart: MoveFileExA with MOVEFILE_DELAY_UNTIL_REBOOT, or on the 9x family
// (and wherever that fails) a "NUL=<short path>" line in the [Rename] section of WININIT.INI.
#pragma once

// Schedules one file or empty folder for deletion at restart. Every failure is logged and
// swallowed; nothing is raised. Refused for lack of rights (a process running as a standard user),
// the path is left where it is.
void LogForDeletion(const char* path);
