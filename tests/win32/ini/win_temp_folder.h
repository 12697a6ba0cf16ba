// A fresh folder under the Windows temporary folder for one test, removed with its files
// afterwards.
#pragma once
#include <string>

#include "sys/unique_handle.h"

class WinTempFolder {
  public:
    WinTempFolder() {
        char temp[MAX_PATH];
        const DWORD n = ::GetTempPathA(MAX_PATH, temp);
        if (n == 0 || n >= MAX_PATH) return;
        static unsigned counter = 0;
        for (unsigned attempt = 0; attempt < 100; ++attempt) {
            const std::string path = std::string(temp) + "ini_test_" +
                                     std::to_string(::GetCurrentProcessId()) + "_" +
                                     std::to_string(counter++);
            if (::CreateDirectoryA(path.c_str(), nullptr)) {
                path_ = path;
                return;
            }
        }
    }
    ~WinTempFolder() {
        if (path_.empty()) return;
        // Files inside are found by their wide names: some tests use names outside ASCII.
        std::wstring pattern = Wide(path_) + L"\\*";
        WIN32_FIND_DATAW found;
        UniqueFindHandle find(::FindFirstFileW(pattern.c_str(), &found));
        if (find) {
            do {
                const std::wstring name = found.cFileName;
                if (name == L"." || name == L"..") continue;
                const std::wstring full = Wide(path_) + L"\\" + name;
                if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                    ::RemoveDirectoryW(full.c_str());
                else
                    ::DeleteFileW(full.c_str());
            } while (::FindNextFileW(find.get(), &found));
        }
        find.reset();
        ::RemoveDirectoryA(path_.c_str());
    }
    WinTempFolder(const WinTempFolder&) = delete;
    WinTempFolder& operator=(const WinTempFolder&) = delete;

    const std::string& Path() const { return path_; }
    std::string File(const std::string& name) const { return path_ + "\\" + name; }

    std::string Write(const std::string& name, const std::string& bytes) const {
        const std::string path = File(name);
        WriteBytes(path, bytes);
        return path;
    }

    static bool WriteBytes(const std::string& path, const std::string& bytes) {
        UniqueFile file(
            ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        DWORD written = 0;
        return file &&
               ::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                           nullptr) &&
               written == bytes.size();
    }

    static std::string ReadBytes(const std::wstring& path) {
        UniqueFile file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                      OPEN_EXISTING, 0, nullptr));
        std::string bytes;
        if (!file) return "<missing>";
        char buffer[4096];
        DWORD read = 0;
        while (::ReadFile(file.get(), buffer, sizeof buffer, &read, nullptr) && read > 0)
            bytes.append(buffer, read);
        return bytes;
    }
    static std::string ReadBytes(const std::string& path) { return ReadBytes(Wide(path)); }

    // ASCII paths only (the folder itself is ASCII).
    static std::wstring Wide(const std::string& ascii) {
        return std::wstring(ascii.begin(), ascii.end());
    }

  private:
    std::string path_;
};

// UTF-16 LE with a byte-order mark, each byte of `text` widened to the code unit of its value.
inline std::string Utf16File(const std::string& text) {
    std::string bytes = "\xFF\xFE";
    for (char c : text) {
        bytes.push_back(c);
        bytes.push_back('\0');
    }
    return bytes;
}
