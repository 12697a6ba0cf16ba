// Message boxes in an unattended run: at the silent user-interface levels nobody is there to answer
// a box, so its caption and text go to the setup log instead.
#pragma once
#include <string>

#include "text/ui_level.h"

// /qb-, /qn+ and /qn.
bool IsSilentUILevel(UILevel uiLevel);

// Records the parsed user-interface level for every later box; before it is recorded (no level)
// boxes are shown.
void SetMessageBoxUILevel(UILevel uiLevel);

// Whether a box may be shown now. `shownAtQnPlus`: the one box that /qn+ still shows (the restart
// question at the end of setup).
bool IsMessageBoxShown(bool shownAtQnPlus);

// The log line that replaces a box: "Message suppressed: " + caption + " - " + text, with each
// line feed of the text as a space.
std::string SuppressedMessageLine(const std::string& caption, const std::string& text);
