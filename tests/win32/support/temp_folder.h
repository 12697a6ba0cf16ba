// Temporary folders for Wine tests: a fresh folder below the user's temporary folder, removed with
// everything in it at the end.
#pragma once
#include <string>

#include "known_folders.h"
#include "sys/unique_handle.h"
#include "test_files.h"

// Deletes a folder and everything below it, clearing attributes on the way; paths of any length
// (through \\?\), names outside ASCII, and folder links removed without emptying their targets.
inline void RemoveFolderTree(const std::wstring& folder) {
    const std::wstring base = folder.compare(0, 4, L"\\\\?\\") == 0 ? folder : L"\\\\?\\" + folder;
    WIN32_FIND_DATAW found;
    UniqueFindHandle find(::FindFirstFileW((base + L"\\*").c_str(), &found));
    if (find) {
        do {
            const std::wstring name = found.cFileName;
            if (name == L"." || name == L"..") continue;
            const std::wstring path = base + L"\\" + name;
            ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
                !(found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
                RemoveFolderTree(path);
            else if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                ::RemoveDirectoryW(path.c_str());
            else
                ::DeleteFileW(path.c_str());
        } while (::FindNextFileW(find.get(), &found));
    }
    find.reset();
    ::SetFileAttributesW(base.c_str(), FILE_ATTRIBUTE_NORMAL);
    ::RemoveDirectoryW(base.c_str());
}
// `folder` may end with a backslash.
inline void RemoveFolderTree(const std::string& folder) {
    std::string trimmed = folder;
    if (!trimmed.empty() && trimmed.back() == '\\') trimmed.pop_back();
    RemoveFolderTree(Widen(trimmed));
}

// "<temp>\<prefix>-<process id>-<n>\"; Path() is empty when no folder could be made.
class TempFolder {
  public:
    explicit TempFolder(const std::string& prefix = "setup-test") {
        static unsigned counter = 0;
        const std::string temp = UserTempFolder();
        if (temp.empty()) return;
        for (int attempt = 0; attempt < 100; ++attempt) {
            const std::string path = temp + prefix + "-" + std::to_string(::GetCurrentProcessId()) +
                                     "-" + std::to_string(counter++) + "\\";
            if (::CreateDirectoryA(path.c_str(), nullptr)) {
                path_ = path;
                return;
            }
        }
    }
    ~TempFolder() {
        if (!path_.empty()) RemoveFolderTree(path_);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // Ends with a backslash.
    const std::string& Path() const { return path_; }
    // The path of `name` (a file or folder, or a relative path) inside the folder.
    std::string operator/(const std::string& name) const { return path_ + name; }

    // Writes a file inside the folder and gives its path.
    std::string Write(const std::string& name, const std::string& bytes) const {
        const std::string path = path_ + name;
        WriteFileBytes(path, bytes);
        return path;
    }

  private:
    std::string path_;
};
