// Double-byte code pages: byte-wise searches that step over the two bytes of one character, so
// that a second byte such as 0x5B ("[") or 0x5C ("\") is never taken for that character.
#pragma once
#include <cstddef>
#include <string>

// The process's ANSI code page (CP_ACP): on Windows the system's; on the host build single-byte.
constexpr unsigned kAnsiCodePage = 0;
// A single-byte code page: every byte is a character (text narrowed from UTF-16, for example).
constexpr unsigned kSingleByteCodePage = 1252;

// True when `byte` starts a two-byte character in `codePage`. Windows asks the system; the host
// build knows the lead bytes of 932, 936, 949 and 950 and treats every other code page as
// single-byte.
bool IsLeadByteIn(unsigned codePage, unsigned char byte);
// The lead bytes of 932, 936, 949 and 950 (false for other code pages), as Windows defines them.
bool IsLeadByteOfKnownCodePage(unsigned codePage, unsigned char byte);

// The position of the first character at or after `from` that is one of `characters`, or npos. A
// lead byte and the byte after it are one character and never match.
std::size_t FindCharacter(const std::string& text, const char* characters, unsigned codePage,
                          std::size_t from = 0);
// The position of the last such character, or npos.
std::size_t FindLastCharacter(const std::string& text, const char* characters, unsigned codePage);

// True when the last byte of `text` is a lead byte without its second byte (a character cut short).
bool EndsWithLoneLeadByte(const std::string& text, unsigned codePage);
