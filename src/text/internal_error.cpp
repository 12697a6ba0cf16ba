// Internal errors: the quiet switches and the box text.
#include "text/internal_error.h"

#include <cstring>
#include <string>

#include "sys/fixed_buffer.h"
#include "text/messages.h"

bool IsQuietCommandLine(const char* commandLine) {
    if (!commandLine) return false;
    static const char* const quiet[] = {"/qn", "/Qn", "/QN", "/qN", "/qb-", "/Qb-", "/QB-", "/qB-"};
    for (const char* spelling : quiet) {
        if (std::strstr(commandLine, spelling)) return true;
    }
    return false;
}

bool FormatInternalErrorText(unsigned location, uint32_t code, char* out, unsigned capacity) {
    if (!out || capacity == 0) return false;
    out[0] = '\0';
    std::string format;
    if (!GetMessageText(kInternalErrorText, format)) return false;
    // The format comes from the built-in table; every language keeps exactly "%04X.%08X".
    const std::size_t at = format.find("%04X.%08X");
    if (at == std::string::npos) return false;
    char numbers[32];
    if (!FormatBounded(numbers, sizeof numbers, "%04X.%08X", location & 0xFFFFu,
                       static_cast<unsigned>(code)))
        return false;
    const std::string text = format.substr(0, at) + numbers + format.substr(at + 9);
    if (text.size() >= capacity) return false;
    std::memcpy(out, text.c_str(), text.size() + 1);
    return true;
}
