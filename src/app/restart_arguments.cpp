// Arguments of the restart shortcut: the run's own arguments carrying the temporary-copy switch
// exactly once.
#include "app/restart_arguments.h"

#include <cctype>
#include <vector>

#include "text/next_token.h"

namespace {
struct Token {
    std::string::size_type begin; // first character in the argument string
    std::string::size_type end;   // one past the last character
    std::string text;             // trimmed, as the parser sees it
};

// Splits like the command-line parser: blanks skipped before a token, a token ends at the first
// space outside double quotes. An unbalanced quote makes the rest one token (such a line never
// parsed, so nothing in it is a switch we put there).
std::vector<Token> SplitArguments(const std::string& text) {
    std::vector<Token> tokens;
    std::string::size_type pos = 0;
    while (true) {
        while (pos < text.size() && IsBlank(text[pos]))
            ++pos;
        if (pos >= text.size()) break;
        const std::string::size_type begin = pos;
        bool quoted = false;
        for (; pos < text.size(); ++pos) {
            if (text[pos] == '"')
                quoted = !quoted;
            else if (text[pos] == ' ' && !quoted)
                break;
        }
        tokens.push_back({begin, pos, TrimBlanks(text.substr(begin, pos - begin))});
    }
    return tokens;
}

// Switches whose next token is their argument (package, patch, log file, ...).
bool SwitchTakesNextToken(const std::string& token) {
    if (token.size() < 2) return false;
    switch (std::tolower(static_cast<unsigned char>(token[1]))) {
    case 'a':
    case 'f':
    case 'g':
    case 'i':
    case 'j':
    case 'l':
    case 'm':
    case 'p':
    case 't':
    case 'x':
        return true;
    default:
        return false;
    }
}

bool IsMarkerSwitch(const std::string& token) {
    return token == "/~" || token == "/~-";
}

// Indexes of the tokens that the parser takes as temporary-copy switches.
std::vector<std::size_t> FindMarkerSwitches(const std::vector<Token>& tokens) {
    std::vector<std::size_t> found;
    for (std::size_t i = 0; i < tokens.size(); ++i) {
        const std::string& token = tokens[i].text;
        if (token.empty()) continue;
        if (token[0] == '/') {
            if (IsMarkerSwitch(token))
                found.push_back(i);
            else if (SwitchTakesNextToken(token))
                ++i;
            continue;
        }
        const std::string::size_type equals = token.find('=');
        if (equals != std::string::npos) {
            // NAME= with nothing after it takes the next token as its value, whatever it is.
            if (TrimLeft(token.substr(equals + 1)).empty()) ++i;
            continue;
        }
        // NAME =value or NAME = value.
        if (i + 1 < tokens.size() && !tokens[i + 1].text.empty() && tokens[i + 1].text[0] == '=') {
            ++i;
            if (TrimLeft(tokens[i].text.substr(1)).empty()) ++i;
        }
    }
    return found;
}
} // namespace

std::string BuildRestartArguments(const std::string& argumentString, int tempCopyMarker) {
    const std::vector<Token> tokens = SplitArguments(argumentString);
    const std::vector<std::size_t> markers = FindMarkerSwitches(tokens);

    std::string result;
    std::string::size_type copied = 0;
    for (std::size_t index : markers) {
        // Cut the switch with the blanks before it.
        std::string::size_type cutBegin = index > 0 ? tokens[index - 1].end : 0;
        const std::string::size_type cutEnd = tokens[index].end;
        if (cutBegin < copied) cutBegin = copied;
        result.append(argumentString, copied, cutBegin - copied);
        copied = cutEnd;
    }
    result.append(argumentString, copied, std::string::npos);

    if (tempCopyMarker == 1)
        result += " /~";
    else if (tempCopyMarker == 2)
        result += " /~-";
    return result;
}
