// Which boxes an unattended run suppresses, and the log line that replaces one.
#include "text/message_suppression.h"

#include <atomic>

namespace {
// Written by the worker thread once the command line is parsed; read by whichever thread shows a
// box.
std::atomic<UILevel> messageBoxUILevel{kUILevelNone};
} // namespace

bool IsSilentUILevel(UILevel uiLevel) {
    return uiLevel >= kUILevelBasicNoModal && uiLevel <= kUILevelSilent;
}

void SetMessageBoxUILevel(UILevel uiLevel) {
    messageBoxUILevel = uiLevel;
}

bool IsMessageBoxShown(bool shownAtQnPlus) {
    const UILevel level = messageBoxUILevel;
    return !IsSilentUILevel(level) || (shownAtQnPlus && level == kUILevelSilentWithEndBox);
}

std::string SuppressedMessageLine(const std::string& caption, const std::string& text) {
    std::string line = "Message suppressed: " + caption + " - ";
    for (char c : text)
        line += c == '\n' ? ' ' : c;
    return line;
}
