// Quoting the program part of an uninstall command.
#include "steps/removal_command.h"

#include "text/code_page.h"
#include "text/next_token.h"

namespace {
bool EndsProgramAt(const std::string& command, std::size_t position) {
    static const char kExe[] = ".exe";
    if (command.size() - position < 4) return false;
    for (std::size_t i = 0; i < 4; ++i) {
        char c = command[position + i];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (c != kExe[i]) return false;
    }
    return position + 4 == command.size() || IsBlank(command[position + 4]);
}
} // namespace

std::string QuoteUnquotedProgram(const std::string& command, unsigned codePage,
                                 bool (*isFile)(const std::string& path)) {
    const std::size_t start = command.find_first_not_of(" \t");
    if (start == std::string::npos || command[start] == '"' || !isFile) return command;
    bool blank = false;
    for (std::size_t i = start; i < command.size(); ++i) {
        const unsigned char byte = static_cast<unsigned char>(command[i]);
        if (byte == '.' && EndsProgramAt(command, i)) {
            const std::string program = command.substr(start, i + 4 - start);
            if (!blank || !isFile(program)) return command;
            return command.substr(0, start) + '"' + program + '"' + command.substr(i + 4);
        }
        blank = blank || IsBlank(command[i]);
        if (IsLeadByteIn(codePage, byte)) ++i;
    }
    return command;
}
