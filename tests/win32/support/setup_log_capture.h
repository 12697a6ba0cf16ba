// The setup log in Wine tests: switches C:\SETUP.LOG on for the whole test program and reads back
// what was written to it while a capture lived.
#pragma once
#include <algorithm>
#include <string>
#include <vector>

#include "sys/unique_handle.h"

// The log decides once, at its first line, whether it writes: the switch is set while the program
// starts, before any test logs.
inline const bool kSetupLogSwitchedOn = ::SetEnvironmentVariableA("ZBSETUP", "LOG") != FALSE;

// Sees the log from its construction on. The first capture alive in this process starts the file
// afresh, so it stays small; captures made while another lives (nested ones) read on from where
// the file stood.
class SetupLogCapture {
  public:
    SetupLogCapture() {
        if (LiveCaptures()++ == 0) ::DeleteFileA(kPath);
        start_ = FileSize();
    }
    ~SetupLogCapture() { --LiveCaptures(); }
    SetupLogCapture(const SetupLogCapture&) = delete;
    SetupLogCapture& operator=(const SetupLogCapture&) = delete;

    // Everything written since, time stamps and line ends included.
    std::string Text() const {
        std::string text;
        UniqueFile file(::CreateFileA(kPath, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                      nullptr, OPEN_EXISTING, 0, nullptr));
        if (!file) return text;
        ::SetFilePointer(file.get(), static_cast<LONG>(start_), nullptr, FILE_BEGIN);
        char buffer[4096];
        DWORD read = 0;
        while (::ReadFile(file.get(), buffer, sizeof buffer, &read, nullptr) && read)
            text.append(buffer, read);
        return text;
    }

    // The lines written since, without their time stamps.
    std::vector<std::string> Lines() const {
        std::vector<std::string> lines;
        const std::string text = Text();
        std::size_t start = 0;
        while (start < text.size()) {
            std::size_t end = text.find("\r\n", start);
            if (end == std::string::npos) end = text.size();
            const std::string line = text.substr(start, end - start);
            const std::size_t dash = line.find(" - ");
            lines.push_back(dash == std::string::npos ? line : line.substr(dash + 3));
            start = end + 2;
        }
        return lines;
    }

    // Whether one of the lines is exactly `line`.
    bool Contains(const std::string& line) const {
        const std::vector<std::string> lines = Lines();
        return std::find(lines.begin(), lines.end(), line) != lines.end();
    }

    // Whether `piece` stands anywhere in what was written.
    bool ContainsText(const std::string& piece) const {
        return Text().find(piece) != std::string::npos;
    }

    // How many lines end with `piece`.
    int CountLinesEndingWith(const std::string& piece) const {
        const std::string text = Text();
        const std::string needle = piece + "\r\n";
        int count = 0;
        for (std::string::size_type at = text.find(needle); at != std::string::npos;
             at = text.find(needle, at + 1))
            ++count;
        return count;
    }

    // The lines, one per line, for failure messages.
    std::string Dump() const {
        std::string all;
        for (const std::string& line : Lines())
            all += line + "\n";
        return all;
    }

  private:
    static constexpr const char* kPath = "C:\\SETUP.LOG";
    static int& LiveCaptures() {
        static int count = 0;
        return count;
    }
    static DWORD FileSize() {
        WIN32_FILE_ATTRIBUTE_DATA data;
        return ::GetFileAttributesExA(kPath, GetFileExInfoStandard, &data) ? data.nFileSizeLow : 0;
    }
    DWORD start_ = 0;
};
