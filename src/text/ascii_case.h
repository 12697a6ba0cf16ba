// ASCII case folding for switch, header and host names: bytes above 127 are left alone, so that
// double-byte text is never altered.
#pragma once
#include <string>

inline char LowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

inline std::string LowerAscii(std::string text) {
    for (char& c : text)
        c = LowerAscii(c);
    return text;
}
