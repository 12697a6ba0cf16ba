// Character-wise searches in double-byte code pages, and the lead-byte ranges the host build uses.
#include "sys/code_page.h"

#include <cstring>

bool IsLeadByteOfKnownCodePage(unsigned codePage, unsigned char byte) {
    switch (codePage) {
    case 932: // Japanese
        return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
    case 936: // Simplified Chinese
    case 949: // Korean
    case 950: // Traditional Chinese
        return byte >= 0x81 && byte <= 0xFE;
    default:
        return false;
    }
}

namespace {
// Calls `found` with the position of each wanted character in order; stops when it returns true.
template <typename Found>
void ScanCharacters(const std::string& text, const char* characters, unsigned codePage,
                    std::size_t from, Found found) {
    if (!characters) return;
    for (std::size_t i = from; i < text.size(); ++i) {
        const unsigned char byte = static_cast<unsigned char>(text[i]);
        if (byte != 0 && std::strchr(characters, byte)) {
            if (found(i)) return;
        } else if (IsLeadByteIn(codePage, byte) && i + 1 < text.size()) {
            ++i;
        }
    }
}
} // namespace

std::size_t FindCharacter(const std::string& text, const char* characters, unsigned codePage,
                          std::size_t from) {
    std::size_t position = std::string::npos;
    ScanCharacters(text, characters, codePage, from, [&](std::size_t i) {
        position = i;
        return true;
    });
    return position;
}

std::size_t FindLastCharacter(const std::string& text, const char* characters, unsigned codePage) {
    std::size_t position = std::string::npos;
    ScanCharacters(text, characters, codePage, 0, [&](std::size_t i) {
        position = i;
        return false;
    });
    return position;
}

bool EndsWithLoneLeadByte(const std::string& text, unsigned codePage) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (!IsLeadByteIn(codePage, static_cast<unsigned char>(text[i]))) continue;
        if (i + 1 == text.size()) return true;
        ++i;
    }
    return false;
}
