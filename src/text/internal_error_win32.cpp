// Internal-error report on Windows: log, box owned by the registered window, then raise the code.
#include "sys/prompt_owner.h"
#include "sys/setup_log.h"
#include "sys/setup_result.h"
#include "sys/win32.h"
#include "text/internal_error.h"
#include "text/messages.h"

void ReportInternalError(unsigned location, uint32_t code) {
    if (!IsQuietCommandLine(::GetCommandLineA())) {
        char text[512];
        std::string caption;
        GetMessageText(kInternalErrorCaption, caption);
        FormatInternalErrorText(location, code, text, sizeof text);
        WriteLog("Internal Error");
        WriteLog(text);
        ::MessageBoxA(static_cast<HWND>(PromptOwner()), text, caption.c_str(),
                      MB_OK | MB_ICONERROR);
    }
    RaiseSetupError(code);
}
