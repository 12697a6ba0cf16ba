// Child processes of Wine tests: this test program re-launched to run one of its DISABLED_ cases,
// told what to do through the environment variable SETUP_TEST_CHILD, and other programs run to
// their end.
#pragma once
#include <optional>
#include <string>
#include <vector>

#include "known_folders.h"
#include "sys/unique_handle.h"

struct ChildProcess {
    UniqueKernelHandle process;
    DWORD id = 0;
};

// Children started while this lives (by the test or by the code under test) see `role` in
// SETUP_TEST_CHILD.
class ChildRoleScope {
  public:
    explicit ChildRoleScope(const std::string& role) {
        ::SetEnvironmentVariableA("SETUP_TEST_CHILD", role.c_str());
    }
    ~ChildRoleScope() { ::SetEnvironmentVariableA("SETUP_TEST_CHILD", nullptr); }
    ChildRoleScope(const ChildRoleScope&) = delete;
    ChildRoleScope& operator=(const ChildRoleScope&) = delete;
};

// What the parent asked this program to do; empty in a program the parent did not start.
inline std::string ChildRole() {
    const DWORD size = ::GetEnvironmentVariableA("SETUP_TEST_CHILD", nullptr, 0);
    if (size == 0) return std::string();
    std::vector<char> role(size);
    const DWORD length = ::GetEnvironmentVariableA("SETUP_TEST_CHILD", role.data(), size);
    return length < size ? std::string(role.data(), length) : std::string();
}

// Starts `program` (by default this test program, or a copy of it) running only `testName`, a
// DISABLED_ case, with `extraArguments` after the test options and `role` in SETUP_TEST_CHILD
// unless empty. The process is empty when it could not start.
inline ChildProcess StartTestChild(const std::string& testName, const std::string& extraArguments,
                                   const std::string& role,
                                   const std::string& program = TestProgramPath()) {
    std::string commandLine = "\"" + program +
                              "\" --gtest_also_run_disabled_tests --gtest_filter=" + testName +
                              " " + extraArguments;
    ChildProcess child;
    std::optional<ChildRoleScope> scope;
    if (!role.empty()) scope.emplace(role);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    if (::CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                         &startup, &info)) {
        ::CloseHandle(info.hThread);
        child.process.reset(info.hProcess);
        child.id = info.dwProcessId;
    }
    return child;
}

// The exit code of `process`, or 0xDEAD when there is none or it did not end in time (it is then
// terminated).
inline DWORD WaitForExitCode(HANDLE process, DWORD timeoutMs = 30000) {
    if (!process) return 0xDEAD;
    if (::WaitForSingleObject(process, timeoutMs) != WAIT_OBJECT_0) {
        ::TerminateProcess(process, 0xDEAD);
        return 0xDEAD;
    }
    DWORD code = 0;
    ::GetExitCodeProcess(process, &code);
    return code;
}

// Runs a command line to its end; its exit code, 0xFFFFFFFF when it could not start, 0xFFFFFFFE
// when it ran longer than `timeoutMs`.
inline DWORD RunToEnd(const std::string& commandLine, DWORD timeoutMs = 60000) {
    std::string writable = commandLine;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    if (!::CreateProcessA(nullptr, &writable[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &info))
        return 0xFFFFFFFF;
    UniqueKernelHandle process(info.hProcess), thread(info.hThread);
    if (::WaitForSingleObject(process.get(), timeoutMs) != WAIT_OBJECT_0) return 0xFFFFFFFE;
    DWORD code = 0;
    ::GetExitCodeProcess(process.get(), &code);
    return code;
}

// The system's msiexec run with `arguments` ("/i \"C:\\x.msi\" /qn", "/x {code} /qn").
inline DWORD RunSystemMsiexec(const std::string& arguments) {
    return RunToEnd("\"" + SystemFolder() + "msiexec.exe\" " + arguments);
}
