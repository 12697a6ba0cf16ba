// Test support for the step operations: a launcher folder with its SETUP.INI parsed into a command
// line and a step object bound to it.
#pragma once
#include <atomic>
#include <functional>
#include <iterator>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "app/setup_error.h"
#include "config/setup_command_line.h"
#include "steps/setup_steps.h"
#include "sys/win32.h"

// A fresh folder under the Windows temporary folder holding SETUP.INI; removed afterwards.
class LauncherFolder {
  public:
    // `productInformation` and `sections` are INI lines ("Key=value\r\n", "[Section]\r\n...").
    explicit LauncherFolder(const std::string& productInformation,
                            const std::string& sections = "") {
        char temp[MAX_PATH] = "";
        ::GetTempPathA(MAX_PATH, temp);
        static unsigned counter = 0;
        do {
            path_ = std::string(temp) + "steps_test_" + std::to_string(::GetCurrentProcessId()) +
                    "_" + std::to_string(counter++) + "\\";
        } while (!::CreateDirectoryA(path_.c_str(), nullptr) && counter < 1000);
        const std::string text = "[ProductInformation]\r\nPackageName=kestrel.msi\r\n" +
                                 productInformation + "[ProductFeatures]\r\n" + sections;
        HANDLE file =
            ::CreateFileA(IniPath().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD written = 0;
        ::WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
        ::CloseHandle(file);
    }
    ~LauncherFolder() {
        ::DeleteFileA(IniPath().c_str());
        ::RemoveDirectoryA(path_.c_str());
    }
    LauncherFolder(const LauncherFolder&) = delete;
    LauncherFolder& operator=(const LauncherFolder&) = delete;

    const std::string& Path() const { return path_; }
    std::string IniPath() const { return path_ + "SETUP.INI"; }

  private:
    std::string path_;
};

// The parsed command line and a step object bound to it (owner window none).
struct BoundSteps {
    BoundSteps(const LauncherFolder& folder, const std::string& arguments)
        : steps(nullptr, nullptr) {
        commandLine.Parse(folder.Path(), arguments);
        steps.AttachCommandLine(commandLine);
    }
    SetupCommandLine commandLine;
    SetupSteps steps;
};

// The code an operation raised, or none when it returned.
inline std::optional<uint32_t> RaisedCode(const std::function<void()>& operation) {
    try {
        operation();
    } catch (const SetupError& error) {
        return error.code;
    }
    return std::nullopt;
}
