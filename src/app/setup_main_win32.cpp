// Setup.EXE's entry point: runs the progress dialog and leaves with the sequence's result code.
#include "app/progress_dialog.h"

#include <commctrl.h>

#include "app/reboot_control.h"
#include "sys/entry_point.h"
#include "sys/system_library.h"

namespace {
// Registers the progress bar class of the dialog template.
void InitProgressBarClass() {
    HMODULE controls = LoadCommonControlsLibrary();
    if (!controls) return; // the dialog then fails to be created and setup ends with its error
    using InitExFunction = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
    if (auto initEx = GetEntryPointAs<InitExFunction>(controls, "InitCommonControlsEx")) {
        const INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_PROGRESS_CLASS};
        initEx(&classes);
        return;
    }
    // Libraries before version 4.70 have only the older call.
    using InitFunction = void(WINAPI*)();
    if (auto init = GetEntryPointAs<InitFunction>(controls, "InitCommonControls")) init();
}

// The application object: start-up and the way the result code leaves the process.
class SetupApp {
  public:
    static int Run() {
        // Before anything loads a library by name: a download folder may hold planted copies.
        RestrictLibrarySearch();
        InitProgressBarClass();
        uint32_t code;
        {
            ProgressDialog dialog;
            code = dialog.DoModal();
        }
        code = WaitForRebootThread(code);
        // The full 32 bits become the exit code (HRESULT-style codes included).
        if (code != 0) ::ExitProcess(code);
        return 0;
    }
};
} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    return SetupApp::Run();
}
