// The boxes that steps show: owned by the progress dialog, brought to the foreground, texts from
// the message table in the user's language.
#pragma once
#include <string>
#include <vector>

#include "sys/win32.h"

// Message `textNumber` with its placeholders filled ("NAME,VALUE" entries), captioned by message
// `captionNumber`, with the error icon and an OK button.
void ShowStepError(HWND owner, unsigned textNumber, unsigned captionNumber,
                   const std::vector<std::string>& placeholders = {});

// The same as a Yes/No question with the warning icon; true for Yes.
bool AskStepQuestion(HWND owner, unsigned textNumber, unsigned captionNumber,
                     const std::vector<std::string>& placeholders = {});

// A box with a ready text (already formatted), caption message `captionNumber`, icon flags.
int ShowStepBox(HWND owner, const std::string& text, unsigned captionNumber, UINT iconAndButtons);
