// Replaces the product's start-call lookups (the linker takes these before setup_core's): Windows'
// answers for a child whose manifest requires elevation, which Wine never gives. A command line
// holding "needs-elevation" gets 740 from CreateProcessW; the shell then starts it only through
// "runas" with the handle kept, the call waited for and the launcher's current folder, and answers
// ERROR_CANCELLED (a declined prompt) when the arguments hold "declines-prompt".
#include <cwchar>

#include "sys/child_start.h"

namespace {
BOOL WINAPI CreateProcessAskingForElevation(LPCWSTR application, LPWSTR commandLine,
                                            LPSECURITY_ATTRIBUTES process,
                                            LPSECURITY_ATTRIBUTES thread, BOOL inherit, DWORD flags,
                                            LPVOID environment, LPCWSTR folder,
                                            LPSTARTUPINFOW startup, LPPROCESS_INFORMATION info) {
    if (std::wcsstr(commandLine, L"needs-elevation")) {
        ::SetLastError(740);
        return FALSE;
    }
    return ::CreateProcessW(application, commandLine, process, thread, inherit, flags, environment,
                            folder, startup, info);
}

BOOL WINAPI ShellExecuteAsTheConsentPrompt(SHELLEXECUTEINFOW* execute) {
    wchar_t folder[MAX_PATH] = L"";
    ::GetCurrentDirectoryW(MAX_PATH, folder);
    if (std::wcscmp(execute->lpVerb, L"runas") != 0 ||
        execute->fMask != (SEE_MASK_NOCLOSEPROCESS | SEE_MASK_NOASYNC) || !execute->lpDirectory ||
        std::wcscmp(execute->lpDirectory, folder) != 0) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (execute->lpParameters && std::wcsstr(execute->lpParameters, L"declines-prompt")) {
        ::SetLastError(ERROR_CANCELLED);
        return FALSE;
    }
    return ::ShellExecuteExW(execute);
}
} // namespace

CreateProcessWFunction CreateProcessWEntryPoint() {
    return CreateProcessAskingForElevation;
}

ShellExecuteExWFunction ShellExecuteExWEntryPoint() {
    return ShellExecuteAsTheConsentPrompt;
}
