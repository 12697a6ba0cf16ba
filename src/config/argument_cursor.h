// Walks the launcher's argument text one token at a time without re-copying what remains.
#pragma once
#include <cstddef>
#include <string>

// Splits like NextToken with the separator " " in the mode that keeps quotes: blanks before a
// token are skipped, a token ends at the first space outside double quotes, quotes stay in the
// token, and the token is trimmed. NextToken copies the remaining text for every token, which
// turns thousands of arguments into quadratic work; this keeps a position instead.
class ArgumentCursor {
public:
    // `text` must outlive the cursor; blanks at its end are ignored.
    explicit ArgumentCursor(const std::string& text);

    // True when nothing but blanks remains.
    bool AtEnd() const { return position_ >= end_; }

    // The next token (empty at the end). False when a double quote opens and never closes; the
    // position is then unspecified.
    bool Next(std::string& token);

    // A position to come back to: taking a token again from it gives the same token.
    std::size_t Mark() const { return position_; }
    void Restore(std::size_t mark) { position_ = mark; }

private:
    const std::string& text_;
    std::size_t position_ = 0;
    std::size_t end_ = 0;
};
