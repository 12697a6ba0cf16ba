// Message boxes, or their log lines in an unattended run.
#include "text/message_box.h"

#include "sys/setup_log.h"
#include "text/message_suppression.h"

int ShowMessageBox(HWND owner, const std::string& text, const std::string& caption, UINT flags,
                   QuietRule rule) {
    if (IsMessageBoxShown(rule == QuietRule::ShownAtQnPlus))
        return ::MessageBoxA(owner, text.c_str(), caption.c_str(), flags);
    WriteLog(SuppressedMessageLine(caption, text).c_str());
    return (flags & MB_TYPEMASK) == MB_YESNO ? IDNO : IDOK;
}
