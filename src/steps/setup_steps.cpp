// The step object's construction and command-line attachment.
#include "steps/setup_steps.h"

#include "config/setup_command_line.h"
#include "steps/folder_of_path.h"
#include "sys/last_error.h"
#include "sys/setup_log.h"
#include "sys/wide_entry_points.h"
#include "text/internal_error.h"

namespace {

// The launcher's own file name, empty (after a log line) when it cannot be had, and the code page
// its bytes are in.
std::string LauncherFileName(unsigned& codePage) {
    if (!IsWindowsNT()) {
        codePage = CP_ACP;
        char name[kWideBufferChars] = "";
        const DWORD length = ::GetModuleFileNameA(nullptr, name, sizeof name);
        // A full buffer means the name was cut: a cut name would give a wrong folder.
        return length > 0 && length < sizeof name ? std::string(name, length) : std::string();
    }
    codePage = GetUserOemCodePage();
    using GetModuleFileNameWFunction = DWORD(WINAPI*)(HMODULE, LPWSTR, DWORD);
    auto getModuleFileNameW =
        GetEntryPointAs<GetModuleFileNameWFunction>("KERNEL32.DLL", "GetModuleFileNameW");
    if (!getModuleFileNameW) {
        WriteLogF("Failed to load entry point of GetModuleFileNameW. Error Code = %08X",
                  GetLastSystemError());
        return std::string();
    }
    wchar_t wide[kWideBufferChars] = L"";
    const DWORD length = getModuleFileNameW(nullptr, wide, kWideBufferChars);
    if (length == 0 || length >= kWideBufferChars) wide[0] = L'\0';
    char name[kWideBufferChars];
    if (!*WideToNarrow(wide, name)) {
        WriteLog("Failed to convert Unicode module filename to MBCS");
        return std::string();
    }
    return name;
}

} // namespace

SetupSteps::SetupSteps(HWND ownerWindow, HANDLE endSessionEvent, HANDLE sessionEndsEvent)
    : ownerWindow_(ownerWindow), endSessionEvent_(endSessionEvent),
      sessionEndsEvent_(sessionEndsEvent) {
    unsigned codePage = CP_ACP;
    const std::string fileName = LauncherFileName(codePage);
    launcherFolder_ = FolderOfPath(fileName, codePage);
    startFolder_ = launcherFolder_;
    packageFolder_ = launcherFolder_;
    RegisterInternalErrorOwner(ownerWindow_);
}

SetupSteps::~SetupSteps() {
    msiLibrary_.Unload();
}

void SetupSteps::AttachCommandLine(SetupCommandLine& commandLine) {
    commandLine_ = &commandLine;
    // From the starting folder each time, so that a second attach does not append twice. On NT the
    // command line reached the launcher through the OEM conversion.
    const unsigned codePage = IsWindowsNT() ? GetUserOemCodePage() : CP_ACP;
    packageFolder_ = startFolder_ + FolderOfPath(commandLine.GetSetupFileName(), codePage);
}

SetupCommandLine& SetupSteps::RequireCommandLine(unsigned location) const {
    if (!commandLine_) ReportInternalError(location, InternalErrorCode::MissingObject);
    return *commandLine_;
}
