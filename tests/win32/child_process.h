// Re-launching the running test program as a child: a test runs one of its own DISABLED_ cases in
// a new process, with an environment variable saying what the child should do.
#pragma once
#include <string>

#include "sys/unique_handle.h"

struct ChildProcess {
    UniqueKernelHandle process;
    DWORD id = 0;
};

// Starts this test program running only `testName` (a DISABLED_ case), with `extraArguments`
// appended to its command line and `role` in the environment variable SETUP_TEST_CHILD.
inline ChildProcess StartTestChild(const std::string& testName, const std::string& extraArguments,
                                   const std::string& role) {
    char self[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string commandLine = "\"" + std::string(self) + "\" --gtest_also_run_disabled_tests --gtest_filter=" +
                              testName + " " + extraArguments;
    ::SetEnvironmentVariableA("SETUP_TEST_CHILD", role.c_str());
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    ChildProcess child;
    if (::CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
        ::CloseHandle(info.hThread);
        child.process.reset(info.hProcess);
        child.id = info.dwProcessId;
    }
    ::SetEnvironmentVariableA("SETUP_TEST_CHILD", nullptr);
    return child;
}

inline std::string ChildRole() {
    char role[64] = {};
    ::GetEnvironmentVariableA("SETUP_TEST_CHILD", role, sizeof role);
    return role;
}

inline DWORD WaitForExitCode(HANDLE process, DWORD timeoutMs = 30000) {
    if (::WaitForSingleObject(process, timeoutMs) != WAIT_OBJECT_0) {
        ::TerminateProcess(process, 0xDEAD);
        return 0xDEAD;
    }
    DWORD code = 0;
    ::GetExitCodeProcess(process, &code);
    return code;
}
