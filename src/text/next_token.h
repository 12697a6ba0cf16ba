// The one quote-aware tokenizer of the launcher, and the integer reader.
#pragma once
#include <cstdint>
#include <string>

// Takes the next token off `source` (see the token rules of the command line and SETUP.INI lists).
// `separators` is matched as a whole substring; null means ",". Strict mode removes quotes and
// allows one quoted string per token. Returns false on malformed quoting; the source may then
// have been partly consumed.
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
