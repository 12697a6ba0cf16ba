// Where Wine tests find things: this test program and its build folder, the system folder and
// the user's temporary folder. Folders end with a backslash.
#pragma once
#include <string>

#include "sys/system_library.h" // SystemFolder()
#include "sys/win32.h"

inline std::string TestProgramPath() {
    char path[MAX_PATH] = "";
    ::GetModuleFileNameA(nullptr, path, sizeof path);
    return path;
}

// Where the test program was built, beside the packages and programs its folder's build made.
inline std::string TestProgramFolder() {
    const std::string path = TestProgramPath();
    return path.substr(0, path.find_last_of('\\') + 1);
}

inline std::string UserTempFolder() {
    char path[MAX_PATH] = "";
    ::GetTempPathA(sizeof path, path);
    return path;
}
