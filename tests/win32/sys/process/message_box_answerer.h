// Test support: answers the message boxes this process shows (internal errors) with OK, keeping
// their texts and owners, so that code under test that reports an error does not block.
#pragma once
#include <atomic>
#include <iterator>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "sys/win32.h"

class MessageBoxAnswerer {
  public:
    struct Answered {
        std::string text;
        HWND owner;
    };

    MessageBoxAnswerer() : thread_([this] { Run(); }) {}
    ~MessageBoxAnswerer() {
        stop_ = true;
        thread_.join();
    }
    MessageBoxAnswerer(const MessageBoxAnswerer&) = delete;
    MessageBoxAnswerer& operator=(const MessageBoxAnswerer&) = delete;

    std::vector<Answered> Boxes() {
        std::lock_guard<std::mutex> lock(mutex_);
        return boxes_;
    }
    std::vector<std::string> Texts() {
        std::vector<std::string> texts;
        for (const Answered& box : Boxes())
            texts.push_back(box.text);
        return texts;
    }

  private:
    static BOOL CALLBACK Visit(HWND window, LPARAM self) {
        reinterpret_cast<MessageBoxAnswerer*>(self)->Consider(window);
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
        char text[1024] = "";
        ::GetDlgItemTextA(window, 0xFFFF, text, sizeof text); // the box's message text
        {
            std::lock_guard<std::mutex> lock(mutex_);
            boxes_.push_back({text, ::GetWindow(window, GW_OWNER)});
        }
        ::PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    }

    void Run() {
        while (!stop_) {
            for (auto it = answered_.begin(); it != answered_.end();)
                it = ::IsWindow(*it) ? std::next(it) : answered_.erase(it);
            ::EnumWindows(Visit, reinterpret_cast<LPARAM>(this));
            ::Sleep(20);
        }
    }

    std::atomic<bool> stop_{false};
    std::mutex mutex_;
    std::vector<Answered> boxes_;
    std::set<HWND> answered_;
    std::thread thread_;
};
