// Setup log for Wine tests: switches C:\SETUP.LOG on for the whole test program and reads the lines
// a test added to it.
#pragma once
#include <string>

#include "sys/unique_handle.h"

// ZBSETUP is read once, at the first log line: set it before any test runs.
inline const bool kSetupLogSwitchedOn = ::SetEnvironmentVariableA("ZBSETUP", "LOG") != FALSE;

class SetupLogCapture {
  public:
    SetupLogCapture() : start_(FileSize()) {}

    // Everything written to the log since this object was made.
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

    bool Contains(const std::string& piece) const {
        return Text().find(piece) != std::string::npos;
    }

    // How many lines end with `piece` (the log puts a time stamp before each text).
    int CountLinesEndingWith(const std::string& piece) const {
        const std::string text = Text();
        const std::string needle = piece + "\r\n";
        int count = 0;
        for (std::string::size_type at = text.find(needle); at != std::string::npos;
             at = text.find(needle, at + 1))
            ++count;
        return count;
    }

  private:
    static constexpr const char* kPath = "C:\\SETUP.LOG";
    static DWORD FileSize() {
        WIN32_FILE_ATTRIBUTE_DATA data;
        return ::GetFileAttributesExA(kPath, GetFileExInfoStandard, &data) ? data.nFileSizeLow : 0;
    }
    DWORD start_;
};
