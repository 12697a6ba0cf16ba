// The one quote-aware tokenizer of the launcher, and the integer reader.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

// Reads a text token by token with the token rules of the command line and SETUP.INI lists,
// keeping a position instead of copying what remains (thousands of arguments would otherwise be
// quadratic work). Blanks at both ends of the text are ignored.
class TokenReader {
  public:
    // `text` must outlive the reader.
    explicit TokenReader(const std::string& text);

    // True when nothing but blanks remains.
    bool AtEnd() const { return position_ >= end_; }

    // Takes the next token (empty at the end). `separators` is matched as a whole substring and
    // one character of it is skipped; null means ",". Strict mode removes quotes and allows one
    // quoted string per token (a doubled quote stands for one); otherwise quotes stay in the
    // token and quoted separators do not split. False on malformed quoting: the position and
    // the token then hold what was consumed so far.
    bool Next(std::string& token, const char* separators, bool strict);

    // A position to come back to: taking a token again from it gives the same token. Zero before
    // the first token; after a token, just past the separator that ended it (or the text's end).
    std::size_t Position() const { return position_; }
    void Restore(std::size_t position) { position_ = position; }

    // Where the last token's scan stopped: at its separator, or at the end of the trimmed text.
    std::size_t TokenEnd() const { return tokenEnd_; }

    // What remains, from the position to the end of the trimmed text.
    std::string Rest() const;

  private:
    bool SeparatorAt(std::size_t at, const char* separator, std::size_t length) const;

    const std::string& text_;
    std::size_t position_ = 0;
    std::size_t end_ = 0;
    std::size_t tokenEnd_ = 0;
};

// Takes the next token off `source` with TokenReader's rules; `source` becomes what remains.
bool NextToken(std::string& source, std::string& token, const char* separators, bool strict);

// Reads an optional leading "-" and decimal digits; false on any other character (the output then
// holds the digits read so far) or a null output. An empty text gives 0 and true. No overflow check
// (the value wraps at 32 bits).
bool ParseInteger(const char* text, int32_t* out);

// Equal but for the case of ASCII letters (the keywords compared this way are English words).
bool EqualsIgnoringCase(const std::string& a, const std::string& b);

// White space as the launcher trims it: space, tab, CR, LF, vertical tab, form feed.
bool IsBlank(char c);
std::string TrimBlanks(const std::string& text);
std::string TrimLeft(const std::string& text);
std::string TrimRight(const std::string& text);
