// The launcher's own file name, as the worker thread and the step object both need it.
#pragma once
#include <string>

enum class ModuleFileNameResult {
    Found,
    NoEntryPoint, // GetModuleFileNameW is missing (NT); the caller logs it, the last error kept
    TooLong,      // the name does not fit in 260 characters: a cut name would be another path
    Unreadable,   // the system gives no name, or it has no form in the OEM code page
};

// Fills `name` (empty unless Found) and `codePage`, the code page its bytes are in: on NT the wide
// name converted with the OEM code page, on 9x the narrow name in the ANSI code page. TooLong and
// Unreadable are logged here.
ModuleFileNameResult GetLauncherFileName(std::string& name, unsigned& codePage);
