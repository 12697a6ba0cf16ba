// The boxes that steps show: owned by the progress dialog, brought to the foreground, texts from
// the message table in the user's language. At the silent user-interface levels they are not
// shown but logged (text/message_box.h).
#pragma once
#include <string>
#include <vector>

#include "sys/win32.h"
#include "text/message_box.h"
#include "text/messages.h"

// Message `textNumber` with its placeholders filled ("NAME,VALUE" entries), captioned by message
// `captionNumber`, with the error icon and an OK button.
void ShowStepError(HWND owner, unsigned textNumber, unsigned captionNumber,
                   const std::vector<std::string>& placeholders = {});

// The same as a Yes/No question with the warning icon; true for Yes.
bool AskStepQuestion(HWND owner, unsigned textNumber, unsigned captionNumber,
                     const std::vector<std::string>& placeholders = {});

// A box with a ready text (already formatted), caption message `captionNumber`, icon flags. A
// suppressed box answers IDOK, or IDNO for a Yes/No question.
int ShowStepBox(HWND owner, const std::string& text, unsigned captionNumber, UINT iconAndButtons,
                QuietRule rule = QuietRule::Suppressed);
