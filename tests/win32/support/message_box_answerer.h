// Answers the message boxes a process shows from a helper thread, keeping what each one said, so
// that code under test that asks or reports does not block.
#pragma once
#include <atomic>
#include <functional>
#include <iterator>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "sys/win32.h"

// Yes/No boxes get the scripted answers in order, then No; any other box gets OK. A decider, when
// given, picks the button of every box instead.
class MessageBoxAnswerer {
  public:
    struct Box {
        std::string caption;
        std::string text;
        HWND owner;
        bool question; // it has a Yes button
    };
    using Decider = std::function<int(const Box&)>;

    MessageBoxAnswerer() : MessageBoxAnswerer(::GetCurrentProcessId(), {}, nullptr) {}
    explicit MessageBoxAnswerer(std::vector<int> scriptedAnswers)
        : MessageBoxAnswerer(::GetCurrentProcessId(), std::move(scriptedAnswers), nullptr) {}
    explicit MessageBoxAnswerer(Decider decide)
        : MessageBoxAnswerer(::GetCurrentProcessId(), {}, std::move(decide)) {}
    // Answers the boxes of another process (a child) with OK, or No on a Yes/No box.
    static MessageBoxAnswerer OfProcess(DWORD processId) {
        return MessageBoxAnswerer(processId, {}, nullptr);
    }

    ~MessageBoxAnswerer() {
        stop_ = true;
        thread_.join();
    }
    MessageBoxAnswerer(const MessageBoxAnswerer&) = delete;
    MessageBoxAnswerer& operator=(const MessageBoxAnswerer&) = delete;

    // Every box answered so far, in the order they came.
    std::vector<Box> Boxes() {
        std::lock_guard<std::mutex> lock(mutex_);
        return boxes_;
    }
    std::vector<std::string> Texts() {
        std::vector<std::string> texts;
        for (const Box& box : Boxes())
            texts.push_back(box.text);
        return texts;
    }

  private:
    MessageBoxAnswerer(DWORD processId, std::vector<int> scriptedAnswers, Decider decide)
        : processId_(processId), answers_(std::move(scriptedAnswers)), decide_(std::move(decide)),
          thread_([this] { Run(); }) {}

    static BOOL CALLBACK Visit(HWND window, LPARAM self) {
        reinterpret_cast<MessageBoxAnswerer*>(self)->Consider(window);
        return TRUE;
    }

    void Consider(HWND window) {
        DWORD process = 0;
        ::GetWindowThreadProcessId(window, &process);
        char className[32] = "";
        ::GetClassNameA(window, className, sizeof className);
        // A box is found before its buttons are visible: wait until it is shown.
        if (process != processId_ || std::string(className) != "#32770" ||
            !::IsWindowVisible(window))
            return;
        if (!answered_.insert(window).second) return;
        char caption[256] = "";
        char text[2048] = "";
        ::GetWindowTextA(window, caption, sizeof caption);
        ::GetDlgItemTextA(window, 0xFFFF, text, sizeof text); // the box's message text
        const Box box{caption, text, ::GetWindow(window, GW_OWNER),
                      ::GetDlgItem(window, IDYES) != nullptr};
        int answer = IDOK;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            boxes_.push_back(box);
            if (box.question) answer = next_ < answers_.size() ? answers_[next_++] : IDNO;
        }
        if (decide_) answer = decide_(box);
        ::PostMessageA(window, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED), 0);
    }

    void Run() {
        while (!stop_) {
            for (auto it = answered_.begin(); it != answered_.end();)
                it = ::IsWindow(*it) ? std::next(it) : answered_.erase(it);
            ::EnumWindows(Visit, reinterpret_cast<LPARAM>(this));
            ::Sleep(10);
        }
    }

    const DWORD processId_;
    const std::vector<int> answers_;
    const Decider decide_;
    std::size_t next_ = 0;
    std::atomic<bool> stop_{false};
    std::mutex mutex_;
    std::vector<Box> boxes_;
    std::set<HWND> answered_;
    std::thread thread_;
};
