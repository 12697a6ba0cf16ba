// Test support: a top-level window of a test class on its own thread, standing for a running
// program. It records the messages that ask it to close and closes on WM_CLOSE, on one chosen
// message, or (until allowed) not at all.
#pragma once
#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "sys/win32.h"

class TestApplication {
  public:
    enum class Closes { OnClose, OnMessage, Never };
    struct Message {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
        bool operator==(const Message& other) const {
            return message == other.message && wParam == other.wParam && lParam == other.lParam;
        }
    };

    TestApplication(const char* className, Closes closes, UINT closeMessage = 0)
        : className_(className), closes_(closes), closeMessage_(closeMessage) {
        ready_ = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
        thread_ = std::thread([this] { Run(); });
        ::WaitForSingleObject(ready_, 10000);
        ::CloseHandle(ready_);
    }
    ~TestApplication() {
        if (HWND window = window_.load()) ::PostMessageA(window, kStop, 0, 0);
        thread_.join();
    }
    TestApplication(const TestApplication&) = delete;
    TestApplication& operator=(const TestApplication&) = delete;

    std::vector<Message> Received() {
        std::lock_guard<std::mutex> lock(mutex_);
        return received_;
    }
    // The next WM_CLOSE closes the window.
    void AllowClose() { allowClose_ = true; }

  private:
    static constexpr UINT kStop = WM_APP + 1;

    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_NCCREATE) {
            auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
            ::SetWindowLongPtrA(window, GWLP_USERDATA,
                                reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        }
        auto* self = reinterpret_cast<TestApplication*>(::GetWindowLongPtrA(window, GWLP_USERDATA));
        if (self && self->Handle(window, message, wParam, lParam)) return 0;
        return ::DefWindowProcA(window, message, wParam, lParam);
    }

    bool Handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_CLOSE || message == WM_QUIT || message == WM_COMMAND ||
            (message >= WM_USER && message < WM_APP)) {
            std::lock_guard<std::mutex> lock(mutex_);
            received_.push_back({message, wParam, lParam});
        }
        const bool closeNow =
            (message == WM_CLOSE && (closes_ == Closes::OnClose || allowClose_)) ||
            (closes_ == Closes::OnMessage && message == closeMessage_) || message == kStop;
        if (closeNow) {
            ::DestroyWindow(window);
            return true;
        }
        if (message == WM_DESTROY) {
            window_ = nullptr;
            ::PostQuitMessage(0);
            return true;
        }
        return message == WM_CLOSE || message == WM_QUIT;
    }

    void Run() {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = WindowProc;
        windowClass.hInstance = ::GetModuleHandleA(nullptr);
        windowClass.lpszClassName = className_.c_str();
        ::RegisterClassA(&windowClass);
        window_ = ::CreateWindowExA(0, className_.c_str(), "Test application", WS_OVERLAPPEDWINDOW,
                                    0, 0, 100, 100, nullptr, nullptr, windowClass.hInstance, this);
        ::SetEvent(ready_);
        MSG msg;
        while (window_.load() && ::GetMessageA(&msg, nullptr, 0, 0) > 0)
            ::DispatchMessageA(&msg);
        ::UnregisterClassA(className_.c_str(), windowClass.hInstance);
    }

    std::string className_;
    Closes closes_;
    UINT closeMessage_;
    std::atomic<bool> allowClose_{false};
    std::atomic<HWND> window_{nullptr};
    std::mutex mutex_;
    std::vector<Message> received_;
    HANDLE ready_ = nullptr;
    std::thread thread_;
};
