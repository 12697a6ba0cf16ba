// The argument tokenizer of the command line parser (NextToken's rules over a moving position).
#include "config/argument_cursor.h"

#include "text/next_token.h"

ArgumentCursor::ArgumentCursor(const std::string& text) : text_(text), end_(text.size()) {
    while (end_ > 0 && IsBlank(text_[end_ - 1])) --end_;
}

bool ArgumentCursor::Next(std::string& token) {
    token.clear();
    while (position_ < end_ && IsBlank(text_[position_])) ++position_;
    const std::size_t start = position_;
    std::size_t at = position_;
    std::size_t tokenEnd = end_;
    std::size_t resume = end_;
    bool quoteOpen = false;
    while (at < end_) {
        if (quoteOpen) {
            const std::size_t quote = text_.find('"', at);
            if (quote == std::string::npos || quote >= end_) return false;
            at = quote + 1;
            quoteOpen = false;
            continue;
        }
        while (at < end_ && text_[at] != '"' && text_[at] != ' ') ++at;
        if (at == end_) break;
        if (text_[at] == ' ') {
            tokenEnd = at;
            resume = at + 1;  // one separator character is consumed; further blanks are skipped later
            break;
        }
        ++at;
        quoteOpen = true;
    }
    // A quote opened by the last character of the text never closes either.
    if (quoteOpen) return false;

    std::size_t first = start;
    std::size_t last = tokenEnd;
    while (first < last && IsBlank(text_[first])) ++first;
    while (last > first && IsBlank(text_[last - 1])) --last;
    token.assign(text_, first, last - first);
    position_ = resume;
    return true;
}
