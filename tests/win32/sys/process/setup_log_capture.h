// Test support: switches the setup log on for the test process and reads back its lines.
#pragma once
#include <algorithm>
#include <string>
#include <vector>

#include "sys/win32.h"

// Call from a namespace-scope initialiser: the log decides once, at its first line, whether it
// writes, so the switch must be set before any test logs.
inline bool SwitchSetupLogOn() {
    return ::SetEnvironmentVariableA("ZBSETUP", "LOG") != FALSE;
}

// Starts from an empty C:\SETUP.LOG; Lines() gives the texts written since, without time stamps.
class SetupLogCapture {
  public:
    SetupLogCapture() { ::DeleteFileA(kPath); }

    std::vector<std::string> Lines() const {
        std::vector<std::string> lines;
        HANDLE file = ::CreateFileA(kPath, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) return lines;
        std::string text;
        char buffer[4096];
        DWORD read = 0;
        while (::ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read)
            text.append(buffer, read);
        ::CloseHandle(file);
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

    bool Contains(const std::string& line) const {
        const std::vector<std::string> lines = Lines();
        return std::find(lines.begin(), lines.end(), line) != lines.end();
    }

    // The whole log, one line per line, for failure messages.
    std::string Dump() const {
        std::string all;
        for (const std::string& line : Lines())
            all += line + "\n";
        return all;
    }

  private:
    static constexpr const char* kPath = "C:\\SETUP.LOG";
};
