// The quote-aware tokenizer, the integer reader and the launcher's white-space trimming.
#include "text/next_token.h"

#include <cstring>

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

std::string TrimLeft(const std::string& text) {
    std::size_t start = 0;
    while (start < text.size() && IsBlank(text[start])) ++start;
    return text.substr(start);
}

std::string TrimRight(const std::string& text) {
    std::size_t end = text.size();
    while (end > 0 && IsBlank(text[end - 1])) --end;
    return text.substr(0, end);
}

std::string TrimBlanks(const std::string& text) { return TrimRight(TrimLeft(text)); }

bool EqualsIgnoringCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 'a' + 'A');
        if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 'a' + 'A');
        if (x != y) return false;
    }
    return true;
}

bool NextToken(std::string& source, std::string& token, const char* separators, bool strict) {
    const char* separator = (separators && *separators) ? separators : ",";
    token.clear();
    source = TrimBlanks(source);
    bool quoteOpen = false;
    bool closedBefore = false;  // the previous round closed a quote: touching quotes escape one
    for (;;) {
        const std::size_t quote = source.find('"');
        const std::size_t split = source.find(separator);
        bool closedNow = false;
        if (quoteOpen) {
            if (quote == std::string::npos) return false;
            token.append(source, 0, quote);
            if (!strict) token += '"';
            source.erase(0, quote + 1);
            quoteOpen = false;
            closedNow = true;
        } else if (quote == std::string::npos) {
            if (split != std::string::npos) {
                if (strict && !token.empty() && split > 0) return false;
                token.append(source, 0, split);
                source.erase(0, split + 1);
                break;
            }
            if (strict && !token.empty()) return false;
            token += source;
            source.clear();
        } else {
            if (split != std::string::npos && split < quote) {
                if (strict && !token.empty() && split > 0) return false;
                token.append(source, 0, split);
                source.erase(0, split + 1);
                break;
            }
            if (strict) {
                if (quote != 0) return false;
                if (closedBefore) {
                    token += '"';
                } else if (!token.empty()) {
                    return false;
                }
                source.erase(0, 1);
            } else {
                token.append(source, 0, quote + 1);
                source.erase(0, quote + 1);
            }
            quoteOpen = true;
        }
        closedBefore = closedNow;
        if (source.empty()) {
            if (quoteOpen) return false;
            break;
        }
    }
    token = TrimBlanks(token);
    return true;
}

bool ParseInteger(const char* text, int32_t* out) {
    if (!out) return false;
    *out = 0;
    if (!text) return false;
    uint32_t value = 0;
    bool negative = false;
    for (std::size_t i = 0; text[i]; ++i) {
        const char c = text[i];
        if (i == 0 && c == '-') {
            negative = true;
        } else if (c < '0' || c > '9') {
            *out = static_cast<int32_t>(value);
            return false;
        } else {
            value = value * 10u + static_cast<uint32_t>(c - '0');
        }
    }
    *out = static_cast<int32_t>(negative ? 0u - value : value);
    return true;
}
