// The step object's construction and command-line attachment.
#include "steps/setup_steps.h"

#include "config/setup_command_line.h"
#include "steps/folder_of_path.h"
#include "sys/last_error.h"
#include "sys/module_file_name.h"
#include "sys/prompt_owner.h"
#include "sys/setup_log.h"
#include "sys/wide_entry_points.h"
#include "text/internal_error.h"

SetupSteps::SetupSteps(HWND ownerWindow, HANDLE endSessionEvent, HANDLE sessionEndsEvent)
    : ownerWindow_(ownerWindow), endSessionEvent_(endSessionEvent),
      sessionEndsEvent_(sessionEndsEvent) {
    unsigned codePage = CP_ACP;
    std::string fileName;
    if (GetLauncherFileName(fileName, codePage) == ModuleFileNameResult::NoEntryPoint)
        WriteLogF("Failed to load entry point of GetModuleFileNameW. Error Code = %08X",
                  GetLastSystemError());
    launcherFolder_ = FolderOfPath(fileName, codePage);
    startFolder_ = launcherFolder_;
    packageFolder_ = launcherFolder_;
    RegisterPromptOwner(ownerWindow_);
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
