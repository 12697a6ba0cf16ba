// The one way the launcher shows a message box (internal-error boxes keep their own quiet rule).
#pragma once
#include <string>

#include "sys/win32.h"

// Whether /qn+ still shows a box; every other silent level (/qb-, /qn) suppresses all of them.
enum class QuietRule {
    Suppressed,    // the default: no box at /qb-, /qn+ or /qn
    ShownAtQnPlus, // the restart question: /qn+ asks for one modal box at the end
};

// Shows the box (MessageBoxA with these flags) unless the recorded user-interface level is silent.
// A suppressed box is logged as "Message suppressed: caption - text" and answered as if it was
// dismissed: IDOK, or IDNO for a question with Yes and No, so that nothing is done that a user
// did not agree to.
int ShowMessageBox(HWND owner, const std::string& text, const std::string& caption, UINT flags,
                   QuietRule rule = QuietRule::Suppressed);
