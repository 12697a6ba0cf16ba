// Which boxes an unattended run suppresses, and the log line that replaces one.
#include "text/message_suppression.h"

#include <atomic>

namespace {
// Written by the worker thread once the command line is parsed; read by whichever thread shows a
// box.
std::atomic<int> messageBoxUILevel{0};
} // namespace

bool IsSilentUILevel(int uiLevel) {
    return uiLevel >= 5 && uiLevel <= 7;
}

void SetMessageBoxUILevel(int uiLevel) {
    messageBoxUILevel = uiLevel;
}

bool IsMessageBoxShown(bool shownAtQnPlus) {
    const int level = messageBoxUILevel;
    return !IsSilentUILevel(level) || (shownAtQnPlus && level == 6);
}

std::string SuppressedMessageLine(const std::string& caption, const std::string& text) {
    std::string line = "Message suppressed: " + caption + " - ";
    for (char c : text)
        line += c == '\n' ? ' ' : c;
    return line;
}
