// The small modal "Please wait while setup loads...." window that stays up while setup runs.
#pragma once
#include <cstdint>
#include <memory>

#include "sys/unique_handle.h"

class SetupSteps;

constexpr UINT WM_ENDSETUPDIALOG = WM_USER + 1;  // lParam: the worker thread's result code
constexpr UINT WM_CHECKENDSESSION = WM_USER + 2; // answers 1 when the session is ending

// Moves the dialog's progress bar in `owner` (the steps' progress report): shown with `percent`,
// hidden when the size is unknown.
void ShowDownloadProgress(HWND owner, int percent);

// Greys the Close entry of a window's system menu (the dialog offers no way to cancel setup).
void GreyCloseCommand(HWND window);

class ProgressDialog {
  public:
    ProgressDialog();
    ~ProgressDialog();
    ProgressDialog(const ProgressDialog&) = delete;
    ProgressDialog& operator=(const ProgressDialog&) = delete;

    // Runs the dialog modally; returns the code it was ended with.
    uint32_t DoModal();

    HWND Window() const { return window_; }
    SetupSteps* Steps() const { return steps_.get(); }
    HANDLE EndSessionEvent() const { return endSessionEvent_; }
    HANDLE FinishEvent() const { return finishEvent_; }
    // Set when Windows confirms that the session ends (WM_ENDSESSION with TRUE).
    HANDLE SessionEndsEvent() const { return sessionEndsEvent_; }

  private:
    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void OnInitDialog();
    void OnShowWindow();
    // WM_ENDSESSION: when the session ends, waits for the worker to finish and ends with its code.
    void OnEndSession(bool ending);
    // WM_CHECKENDSESSION: true (and the end-session event set) when an end of session is queued.
    bool OnCheckEndSession();
    void OnPaint();
    void RememberLayout();
    void OnDpiChanged(UINT dpi, const RECT& suggested);
    void EndWithCode(uint32_t code);

    HWND window_ = nullptr;
    std::unique_ptr<SetupSteps> steps_;
    // Both events live until the process ends: the worker may still signal them after the dialog.
    HANDLE endSessionEvent_ = nullptr;
    HANDLE finishEvent_ = nullptr;
    HANDLE sessionEndsEvent_ = nullptr;
    UniqueKernelHandle workerThread_;
    bool workerStartTried_ = false; // once: a failed start ends the dialog, it is not retried
    HICON icon_ = nullptr;
    uint32_t result_ = 0;
    // The layout the dialog manager made at creation, the base for rescaling at another DPI.
    struct ControlLayout {
        int id;
        RECT rect; // client coordinates
    };
    ControlLayout controls_[2] = {};
    LOGFONTA layoutFont_ = {};
    int layoutDpi_ = 0;
    UniqueGdiObject scaledFont_;
};
