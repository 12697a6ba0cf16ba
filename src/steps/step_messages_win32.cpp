// The boxes that steps show.
#include "steps/step_messages.h"

#include "text/messages.h"

int ShowStepBox(HWND owner, const std::string& text, unsigned captionNumber, UINT iconAndButtons,
                QuietRule rule) {
    std::string caption;
    GetMessageText(captionNumber, caption);
    return ShowMessageBox(owner, text, caption, iconAndButtons | MB_SETFOREGROUND, rule);
}

void ShowStepError(HWND owner, unsigned textNumber, unsigned captionNumber,
                   const std::vector<std::string>& placeholders) {
    std::string text;
    GetMessageText(textNumber, text);
    SubstitutePlaceholders(placeholders, text);
    ShowStepBox(owner, text, captionNumber, MB_OK | MB_ICONERROR);
}

bool AskStepQuestion(HWND owner, unsigned textNumber, unsigned captionNumber,
                     const std::vector<std::string>& placeholders) {
    std::string text;
    GetMessageText(textNumber, text);
    SubstitutePlaceholders(placeholders, text);
    return ShowStepBox(owner, text, captionNumber, MB_YESNO | MB_ICONWARNING) == IDYES;
}
