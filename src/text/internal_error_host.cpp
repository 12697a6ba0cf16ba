// Internal-error report on the host build: no box, the log lines and the raised code.
#include "sys/setup_log.h"
#include "sys/setup_result.h"
#include "text/internal_error.h"

void ReportInternalError(unsigned location, uint32_t code) {
    char text[512];
    FormatInternalErrorText(location, code, text, sizeof text);
    WriteLog("Internal Error");
    WriteLog(text);
    RaiseSetupError(code);
}
