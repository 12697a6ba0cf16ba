// Files and folders for the temporary-folder tests: a private work folder below the user's temp
// folder, small file helpers and a cleanup that also handles paths past 260 bytes.
#pragma once
#include <string>
#include <vector>

#include "sys/unique_handle.h"

namespace test_tree {

inline std::wstring Widen(const std::string& text) {
    std::wstring wide(text.size(), L'\0');
    for (std::size_t i = 0; i < text.size(); ++i)
        wide[i] = static_cast<unsigned char>(text[i]);
    return wide;
}

// Deletes a folder and everything below it, clearing attributes; any length (\\?\ paths).
inline void RemoveAll(const std::wstring& folder) {
    const std::wstring base = folder.compare(0, 4, L"\\\\?\\") == 0 ? folder : L"\\\\?\\" + folder;
    WIN32_FIND_DATAW data;
    HANDLE find = ::FindFirstFileW((base + L"\\*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = data.cFileName;
            if (name == L"." || name == L"..") continue;
            const std::wstring path = base + L"\\" + name;
            ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
                !(data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
                RemoveAll(path);
            else if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                ::RemoveDirectoryW(path.c_str());
            else
                ::DeleteFileW(path.c_str());
        } while (::FindNextFileW(find, &data));
        ::FindClose(find);
    }
    ::SetFileAttributesW(base.c_str(), FILE_ATTRIBUTE_NORMAL);
    ::RemoveDirectoryW(base.c_str());
}
inline void RemoveAll(const std::string& folder) {
    std::string trimmed = folder;
    if (!trimmed.empty() && trimmed.back() == '\\') trimmed.pop_back();
    RemoveAll(Widen(trimmed));
}

inline bool Exists(const std::string& path) {
    return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}
inline DWORD Attributes(const std::string& path) {
    return ::GetFileAttributesA(path.c_str());
}

inline bool MakeFolder(const std::string& path) {
    return ::CreateDirectoryA(path.c_str(), nullptr) != FALSE;
}

inline bool MakeFile(const std::string& path, const std::string& content, DWORD attributes = 0) {
    {
        UniqueFile file(::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) return false;
        DWORD written = 0;
        if (!::WriteFile(file.get(), content.data(), static_cast<DWORD>(content.size()), &written,
                         nullptr))
            return false;
    }
    return attributes == 0 || ::SetFileAttributesA(path.c_str(), attributes);
}

inline std::string ReadText(const std::string& path) {
    UniqueFile file(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  nullptr, OPEN_EXISTING, 0, nullptr));
    std::string text;
    if (!file) return text;
    char buffer[4096];
    DWORD read = 0;
    while (::ReadFile(file.get(), buffer, sizeof buffer, &read, nullptr) && read)
        text.append(buffer, read);
    return text;
}

// Names directly in a folder (no "." or ".."), sorted as the system lists them.
inline std::vector<std::string> List(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA data;
    UniqueFindHandle find(::FindFirstFileA((folder + "*").c_str(), &data));
    if (!find) return names;
    do {
        const std::string name = data.cFileName;
        if (name != "." && name != "..") names.push_back(name);
    } while (::FindNextFileA(find.get(), &data));
    return names;
}

// A private folder below the user's temp folder, removed with everything in it at the end.
class WorkFolder {
  public:
    WorkFolder() {
        char temp[MAX_PATH];
        ::GetTempPathA(MAX_PATH, temp);
        path_ = std::string(temp) + "setup-tests-" + std::to_string(::GetCurrentProcessId()) + "\\";
        RemoveAll(path_);
        ::CreateDirectoryA(path_.c_str(), nullptr);
    }
    ~WorkFolder() { RemoveAll(path_); }
    WorkFolder(const WorkFolder&) = delete;
    WorkFolder& operator=(const WorkFolder&) = delete;
    const std::string& path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + name; }

  private:
    std::string path_;
};

} // namespace test_tree
