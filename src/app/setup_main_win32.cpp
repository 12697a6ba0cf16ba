// Setup.EXE's entry point: runs the progress dialog and leaves with the sequence's result code.
#include "app/progress_dialog.h"

#include <commctrl.h>

#include "app/reboot_control.h"

namespace {
// The application object: start-up and the way the result code leaves the process.
class SetupApp {
public:
    static int Run() {
        INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_PROGRESS_CLASS};
        ::InitCommonControlsEx(&controls);
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
}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return SetupApp::Run(); }
