// Test support for the step operations: a launcher folder with its SETUP.INI parsed into a command
// line, a step object bound to it, and a helper thread that answers the process's message boxes.
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

// Answers every visible box of this process from a helper thread: with the button `decide` picks
// (default: OK, or No on a Yes/No box), keeping caption and text.
class StepBoxAnswerer {
  public:
    struct Box {
        std::string caption;
        std::string text;
    };
    using Decider = std::function<int(const Box&)>;

    explicit StepBoxAnswerer(Decider decide = nullptr)
        : decide_(std::move(decide)), thread_([this] { Run(); }) {}
    ~StepBoxAnswerer() {
        stop_ = true;
        thread_.join();
    }
    StepBoxAnswerer(const StepBoxAnswerer&) = delete;
    StepBoxAnswerer& operator=(const StepBoxAnswerer&) = delete;

    std::vector<Box> Boxes() {
        std::lock_guard<std::mutex> lock(mutex_);
        return boxes_;
    }

  private:
    static BOOL CALLBACK Visit(HWND window, LPARAM self) {
        reinterpret_cast<StepBoxAnswerer*>(self)->Consider(window);
        return TRUE;
    }

    void Consider(HWND window) {
        DWORD process = 0;
        ::GetWindowThreadProcessId(window, &process);
        char className[32] = "";
        ::GetClassNameA(window, className, sizeof className);
        if (process != ::GetCurrentProcessId() || std::string(className) != "#32770" ||
            !::IsWindowVisible(window))
            return;
        if (!answered_.insert(window).second) return;
        Box box;
        char text[1024] = "";
        ::GetWindowTextA(window, text, sizeof text);
        box.caption = text;
        ::GetDlgItemTextA(window, 0xFFFF, text, sizeof text);
        box.text = text;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            boxes_.push_back(box);
        }
        int button = ::GetDlgItem(window, IDNO) ? IDNO : IDOK;
        if (decide_) button = decide_(box);
        ::PostMessageA(window, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
    }

    void Run() {
        while (!stop_) {
            for (auto it = answered_.begin(); it != answered_.end();)
                it = ::IsWindow(*it) ? std::next(it) : answered_.erase(it);
            ::EnumWindows(Visit, reinterpret_cast<LPARAM>(this));
            ::Sleep(10);
        }
    }

    Decider decide_;
    std::atomic<bool> stop_{false};
    std::mutex mutex_;
    std::vector<Box> boxes_;
    std::set<HWND> answered_;
    std::thread thread_;
};
