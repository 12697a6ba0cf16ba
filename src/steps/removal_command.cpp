// Quoting the program part of an uninstall command.
#include "steps/removal_command.h"

#include "sys/code_page.h"
#include "sys/next_token.h"

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

std::string ResolveBareProgram(const std::string& command, unsigned codePage,
                               const std::string& systemFolder, const std::string& windowsFolder,
                               bool (*isFile)(const std::string& path)) {
    const std::size_t start = command.find_first_not_of(" \t");
    if (start == std::string::npos || !isFile) return command;
    std::string program;
    std::size_t rest;
    if (command[start] == '"') {
        const std::size_t close = command.find('"', start + 1);
        if (close == std::string::npos) return command;
        program = command.substr(start + 1, close - start - 1);
        rest = close + 1;
    } else {
        rest = command.find_first_of(" \t", start);
        if (rest == std::string::npos) rest = command.size();
        program = command.substr(start, rest - start);
    }
    if (program.empty() || FindLastCharacter(program, "\\/:", codePage) != std::string::npos)
        return command;
    // The system's own rule: a name without an extension means a program ending in ".exe".
    if (program.find('.') == std::string::npos) program += ".exe";
    for (const std::string* folder : {&systemFolder, &windowsFolder}) {
        if (!folder->empty() && isFile(*folder + program))
            return command.substr(0, start) + '"' + *folder + program + '"' + command.substr(rest);
    }
    return std::string();
}
