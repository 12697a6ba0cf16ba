// Files in Wine tests: writing and reading them whole, making folders, listing names, and the
// wide form of a name.
#pragma once
#include <string>
#include <vector>

#include "sys/unique_handle.h"

// Each byte widened to the code unit of its value: ASCII and Latin-1 names only.
inline std::wstring Widen(const std::string& text) {
    std::wstring wide(text.size(), L'\0');
    for (std::size_t i = 0; i < text.size(); ++i)
        wide[i] = static_cast<unsigned char>(text[i]);
    return wide;
}

namespace test_files_detail {
inline bool WriteAll(UniqueFile file, const std::string& bytes) {
    DWORD written = 0;
    return file &&
           ::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                       nullptr) &&
           written == bytes.size();
}
inline std::string ReadAll(UniqueFile file) {
    std::string bytes;
    char buffer[4096];
    DWORD read = 0;
    while (file && ::ReadFile(file.get(), buffer, sizeof buffer, &read, nullptr) && read)
        bytes.append(buffer, read);
    return bytes;
}
} // namespace test_files_detail

// Creates or replaces the file with `bytes`, then gives it `attributes` unless 0; false on any
// failure.
inline bool WriteFileBytes(const std::string& path, const std::string& bytes,
                           DWORD attributes = 0) {
    if (!test_files_detail::WriteAll(
            UniqueFile(::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                     FILE_ATTRIBUTE_NORMAL, nullptr)),
            bytes))
        return false;
    return attributes == 0 || ::SetFileAttributesA(path.c_str(), attributes);
}
inline bool WriteFileBytes(const std::wstring& path, const std::string& bytes) {
    return test_files_detail::WriteAll(
        UniqueFile(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL, nullptr)),
        bytes);
}

// The whole file; empty when it cannot be opened. Shares every access, so a file the code under
// test still holds can be read.
inline std::string ReadFileBytes(const std::string& path) {
    return test_files_detail::ReadAll(UniqueFile(::CreateFileA(
        path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)));
}
inline std::string ReadFileBytes(const std::wstring& path) {
    return test_files_detail::ReadAll(UniqueFile(::CreateFileW(
        path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)));
}

inline bool MakeFolder(const std::string& path) {
    return ::CreateDirectoryA(path.c_str(), nullptr) != FALSE;
}

inline bool PathExists(const std::string& path) {
    return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}
inline bool PathExists(const std::wstring& path) {
    return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// The names a find pattern ("C:\\folder\\MSI*.tmp") matches, without "." and "..", in the order
// the system lists them.
inline std::vector<std::string> NamesMatching(const std::string& pattern) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    UniqueFindHandle find(::FindFirstFileA(pattern.c_str(), &found));
    if (!find) return names;
    do {
        const std::string name = found.cFileName;
        if (name != "." && name != "..") names.push_back(name);
    } while (::FindNextFileA(find.get(), &found));
    return names;
}

// The names directly in `folder` (which ends with a backslash).
inline std::vector<std::string> NamesIn(const std::string& folder) {
    return NamesMatching(folder + "*");
}

// The bytes of a UTF-16 LE file with a byte-order mark, each byte of `text` widened to the code
// unit of its value.
inline std::string Utf16File(const std::string& text) {
    std::string bytes = "\xFF\xFE";
    for (char c : text) {
        bytes.push_back(c);
        bytes.push_back('\0');
    }
    return bytes;
}
