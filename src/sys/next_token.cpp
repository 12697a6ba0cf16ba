// The one quote-aware tokenizer, the integer reader and the launcher's white-space trimming.
#include "sys/next_token.h"

#include <cstring>

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

std::string TrimLeft(const std::string& text) {
    std::size_t start = 0;
    while (start < text.size() && IsBlank(text[start]))
        ++start;
    return text.substr(start);
}

std::string TrimRight(const std::string& text) {
    std::size_t end = text.size();
    while (end > 0 && IsBlank(text[end - 1]))
        --end;
    return text.substr(0, end);
}

std::string TrimBlanks(const std::string& text) {
    return TrimRight(TrimLeft(text));
}

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

TokenReader::TokenReader(const std::string& text) : text_(text), end_(text.size()) {
    while (end_ > 0 && IsBlank(text_[end_ - 1]))
        --end_;
}

bool TokenReader::SeparatorAt(std::size_t at, const char* separator, std::size_t length) const {
    return at + length <= end_ && text_.compare(at, length, separator) == 0;
}

std::string TokenReader::Rest() const {
    return position_ < end_ ? text_.substr(position_, end_ - position_) : std::string();
}

bool TokenReader::Next(std::string& token, const char* separators, bool strict) {
    const char* separator = (separators && *separators) ? separators : ",";
    const std::size_t separatorLength = std::strlen(separator);
    token.clear();
    while (position_ < end_ && IsBlank(text_[position_]))
        ++position_;
    tokenEnd_ = end_;
    bool quoteOpen = false;
    bool closedBefore = false; // the previous round closed a quote: touching quotes escape one
    for (;;) {
        bool closedNow = false;
        if (quoteOpen) {
            const std::size_t quote = text_.find('"', position_);
            if (quote == std::string::npos || quote >= end_) return false;
            token.append(text_, position_, quote - position_);
            if (!strict) token += '"';
            position_ = quote + 1;
            quoteOpen = false;
            closedNow = true;
        } else {
            // One scan to whichever comes first, so each character is looked at once.
            std::size_t at = position_;
            while (at < end_ && text_[at] != '"' && !SeparatorAt(at, separator, separatorLength)) {
                ++at;
            }
            if (at == end_) {
                if (strict && !token.empty()) return false;
                token.append(text_, position_, end_ - position_);
                position_ = end_;
            } else if (text_[at] != '"') {
                if (strict && !token.empty() && at > position_) return false;
                token.append(text_, position_, at - position_);
                tokenEnd_ = at;
                position_ = at + 1;
                break;
            } else if (strict) {
                if (at != position_) return false;
                if (closedBefore) {
                    token += '"';
                } else if (!token.empty()) {
                    return false;
                }
                position_ = at + 1;
                quoteOpen = true;
            } else {
                token.append(text_, position_, at + 1 - position_);
                position_ = at + 1;
                quoteOpen = true;
            }
        }
        closedBefore = closedNow;
        if (position_ >= end_) {
            if (quoteOpen) return false;
            break;
        }
    }
    token = TrimBlanks(token);
    return true;
}

bool NextToken(std::string& source, std::string& token, const char* separators, bool strict) {
    TokenReader reader(source);
    const bool taken = reader.Next(token, separators, strict);
    source = reader.Rest();
    return taken;
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
