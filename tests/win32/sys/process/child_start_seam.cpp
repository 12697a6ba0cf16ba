// Replaces the product's start-call lookups with Windows' answers for a child that requires
// elevation, which Wine never gives: 740 from CreateProcessW for "needs-elevation"; the shell
// starts it only as launched through "runas", and "declines-prompt" is a declined prompt.
#include <cwchar>

#include "sys/child_start.h"

template <typename... Rest>
static BOOL WINAPI AnswerElevationRequired(LPCWSTR application, LPWSTR commandLine, Rest... rest) {
    if (!std::wcsstr(commandLine, L"needs-elevation"))
        return ::CreateProcessW(application, commandLine, rest...);
    ::SetLastError(740);
    return FALSE;
}

static BOOL WINAPI AnswerAsTheConsentPrompt(SHELLEXECUTEINFOW* execute) {
    // Children run in the system folder, elevated ones too.
    wchar_t folder[MAX_PATH] = L"";
    const std::size_t length = ::GetSystemDirectoryW(folder, MAX_PATH);
    const wchar_t* directory = execute->lpDirectory;
    const bool inSystemFolder = directory && !_wcsnicmp(directory, folder, length) &&
                                (!directory[length] || !std::wcscmp(directory + length, L"\\"));
    const bool runas = !std::wcscmp(execute->lpVerb, L"runas") && inSystemFolder &&
                       execute->fMask == (SEE_MASK_NOCLOSEPROCESS | SEE_MASK_NOASYNC);
    if (runas && !std::wcsstr(execute->lpParameters, L"declines-prompt"))
        return ::ShellExecuteExW(execute);
    ::SetLastError(runas ? ERROR_CANCELLED : ERROR_INVALID_PARAMETER);
    return FALSE;
}

CreateProcessWFunction CreateProcessWEntryPoint() {
    return AnswerElevationRequired<LPSECURITY_ATTRIBUTES, LPSECURITY_ATTRIBUTES, BOOL, DWORD,
                                   LPVOID, LPCWSTR, LPSTARTUPINFOW, LPPROCESS_INFORMATION>;
}

ShellExecuteExWFunction ShellExecuteExWEntryPoint() {
    return AnswerAsTheConsentPrompt;
}
