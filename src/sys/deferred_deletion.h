// Deletion at the next restart: MoveFileExA with MOVEFILE_DELAY_UNTIL_REBOOT, or on the 9x family
// (and wherever that fails) a "NUL=<short path>" line in the [Rename] section of WININIT.INI.
#pragma once
#include <string>

// How LogForDeletion reaches the system. The defaults are the real ones; tests take the WININIT.INI
// route against a folder of their own.
struct DeletionRoute {
    bool tryMoveFileEx = true;
    std::string windowsFolder; // empty: the system's Windows folder
};

// Schedules one file or empty folder for deletion at restart. Every failure is logged and
// swallowed; nothing is raised.
void LogForDeletion(const char* path);
void LogForDeletion(const char* path, const DeletionRoute& route);
