// The progress dialog: starts the worker thread when first shown and ends with its result code.
#include "app/progress_dialog.h"

#include <new>
#include <string>
#include <utility>

#include "app/resource_ids.h"
#include "app/worker_thread.h"
#include "steps/setup_steps.h"
#include "sys/setup_log.h"
#include "sys/wide_entry_points.h"
#include "text/internal_error.h"
#include "text/messages.h"

// After the Windows header it builds on.
#include <commctrl.h>

void ShowDownloadProgress(HWND owner, int percent) {
    HWND bar = ::GetDlgItem(owner, IDC_PROGRESS_BAR);
    if (!bar) return;
    // The style bit, not IsWindowVisible: the dialog itself is hidden at /qn.
    const bool shown = (::GetWindowLongA(bar, GWL_STYLE) & WS_VISIBLE) != 0;
    if (percent != kProgressUnknown) {
        if (!shown) ::ShowWindow(bar, SW_SHOW);
        ::SendMessageA(bar, PBM_SETPOS, static_cast<WPARAM>(percent), 0);
    } else if (shown) {
        ::ShowWindow(bar, SW_HIDE);
    }
}

namespace {
constexpr UINT kWmDpiChanged = 0x02E0; // WM_DPICHANGED (Windows 8.1 and later)

// True when the dialog manager rescales this thread's dialogs itself when the DPI changes:
// per-monitor awareness version 2 (Windows 10 1703 and later). Bound at run time: older systems
// lack both calls.
bool DialogManagerScalesForDpi() {
    using GetContextFn = HANDLE(WINAPI*)();
    using EqualFn = BOOL(WINAPI*)(HANDLE, HANDLE);
    const auto getContext =
        GetEntryPointAs<GetContextFn>("USER32.DLL", "GetThreadDpiAwarenessContext");
    const auto equal = GetEntryPointAs<EqualFn>("USER32.DLL", "AreDpiAwarenessContextsEqual");
    const HANDLE perMonitorV2 = reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-4));
    return getContext && equal && equal(getContext(), perMonitorV2);
}
} // namespace

void GreyCloseCommand(HWND window) {
    if (HMENU menu = ::GetSystemMenu(window, FALSE))
        ::EnableMenuItem(menu, SC_CLOSE, MF_BYCOMMAND | MF_GRAYED);
}

ProgressDialog::ProgressDialog() {
    icon_ = ::LoadIconA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_SETUP));
    endSessionEvent_ = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    finishEvent_ = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    sessionEndsEvent_ = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
}

ProgressDialog::~ProgressDialog() = default;

uint32_t ProgressDialog::DoModal() {
    const INT_PTR r = ::DialogBoxParamA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_PROGRESS),
                                        nullptr, DialogProc, reinterpret_cast<LPARAM>(this));
    // The code travels in result_: a dialog result of -1 would be ambiguous with failure.
    return r == -1 && !window_ ? static_cast<uint32_t>(-1) : result_;
}

INT_PTR CALLBACK ProgressDialog::DialogProc(HWND window, UINT message, WPARAM wParam,
                                            LPARAM lParam) {
    ProgressDialog* self;
    if (message == WM_INITDIALOG) {
        self = reinterpret_cast<ProgressDialog*>(lParam);
        ::SetWindowLongPtrA(window, DWLP_USER, lParam);
        self->window_ = window;
    } else {
        self = reinterpret_cast<ProgressDialog*>(::GetWindowLongPtrA(window, DWLP_USER));
    }
    return self ? self->HandleMessage(message, wParam, lParam) : FALSE;
}

void ProgressDialog::EndWithCode(uint32_t code) {
    result_ = code;
    ::EndDialog(window_, static_cast<INT_PTR>(code));
}

INT_PTR ProgressDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        OnInitDialog();
        return TRUE;
    case WM_SHOWWINDOW:
        OnShowWindow();
        return FALSE;
    case WM_ENDSETUPDIALOG:
        WriteLog("UI Received WM_ENDSETUPDIALOG message");
        ::Sleep(200);
        EndWithCode(static_cast<uint32_t>(lParam));
        ::SetWindowLongPtrA(window_, DWLP_MSGRESULT, 1);
        return TRUE;
    case WM_QUERYENDSESSION:
        WriteLog("UI Received WM_QUERYENDSESSION message");
        ::SetEvent(endSessionEvent_);
        ::SetWindowLongPtrA(window_, DWLP_MSGRESULT, TRUE);
        return TRUE;
    case WM_ENDSESSION:
        OnEndSession(wParam != 0);
        return TRUE;
    case WM_CHECKENDSESSION:
        ::SetWindowLongPtrA(window_, DWLP_MSGRESULT, OnCheckEndSession() ? 1 : 0);
        return TRUE;
    case WM_CLOSE:
        return TRUE; // setup cannot be cancelled from the frame
    case WM_COMMAND:
        return TRUE; // Enter and Escape have no meaning here
    case WM_PAINT:
        if (::IsIconic(window_)) {
            OnPaint();
            return TRUE;
        }
        return FALSE;
    case WM_QUERYDRAGICON:
        return reinterpret_cast<INT_PTR>(icon_);
    case kWmDpiChanged:
        if (DialogManagerScalesForDpi() || !lParam) return FALSE;
        OnDpiChanged(LOWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
        return TRUE;
    default:
        return FALSE;
    }
}

void ProgressDialog::OnEndSession(bool ending) {
    WriteLog("UI Received WM_ENDSESSION message");
    if (!ending) {
        // Another program refused the end: the session goes on, and so do setup's waits.
        WriteLog("UI The session goes on");
        ::ResetEvent(endSessionEvent_);
        return;
    }
    ::SetEvent(endSessionEvent_);
    ::SetEvent(sessionEndsEvent_);
    // Sent messages are still served while waiting: a box of the worker thread owned by this
    // dialog sends to it when it closes, and must not deadlock against this wait.
    while (::MsgWaitForMultipleObjects(1, &finishEvent_, FALSE, INFINITE, QS_SENDMESSAGE) ==
           WAIT_OBJECT_0 + 1) {
        MSG sent;
        ::PeekMessageA(&sent, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
    WriteLog("UI Finish event was signalled");
    MSG pending;
    if (::PeekMessageA(&pending, window_, WM_ENDSETUPDIALOG, WM_ENDSETUPDIALOG, PM_REMOVE)) {
        WriteLog("UI Dequeued WM_ENDSETUPDIALOG message");
        ::Sleep(200);
        EndWithCode(static_cast<uint32_t>(pending.lParam));
    }
}

bool ProgressDialog::OnCheckEndSession() {
    MSG pending;
    const bool ending =
        ::PeekMessageA(&pending, window_, WM_QUERYENDSESSION, WM_QUERYENDSESSION, PM_NOREMOVE) ||
        ::PeekMessageA(&pending, window_, WM_ENDSESSION, WM_ENDSESSION, PM_NOREMOVE);
    if (ending) ::SetEvent(endSessionEvent_);
    return ending;
}

void ProgressDialog::OnInitDialog() {
    ::SendMessageA(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
    ::SendMessageA(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_));
    GreyCloseCommand(window_);
    std::string text;
    if (GetMessageText(kLoadingText, text))
        ::SetDlgItemTextA(window_, IDC_STATUS_TEXT, text.c_str());
    text.clear();
    if (GetMessageText(kSetupCaption, text)) ::SetWindowTextA(window_, text.c_str());
    RememberLayout();
    RECT r;
    ::GetWindowRect(window_, &r);
    const int width = r.right - r.left, height = r.bottom - r.top;
    ::SetWindowPos(window_, nullptr, (::GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                   (::GetSystemMetrics(SM_CYSCREEN) - height) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}

void ProgressDialog::OnShowWindow() {
    if (workerStartTried_) return;
    workerStartTried_ = true;
    steps_.reset(new (std::nothrow) SetupSteps(window_, endSessionEvent_, sessionEndsEvent_));
    if (steps_) steps_->SetProgressReport(&ShowDownloadProgress);
    DWORD id = 0;
    workerThread_.reset(::CreateThread(nullptr, 0, WorkerThread, this, 0, &id));
    if (!workerThread_) {
        // Nothing would ever end the dialog: end it here, with the reason as an HRESULT-style code.
        const DWORD error = ::GetLastError();
        WriteLogF("Failed to start the worker thread. Error Code = %08X",
                  static_cast<unsigned>(error));
        EndWithCode(error ? InternalErrorCode::FromSystem(error) : InternalErrorCode::Failure);
    }
}

void ProgressDialog::OnPaint() {
    PAINTSTRUCT paint;
    HDC dc = ::BeginPaint(window_, &paint);
    ::SendMessageA(window_, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    RECT client;
    ::GetClientRect(window_, &client);
    const int cx = ::GetSystemMetrics(SM_CXICON), cy = ::GetSystemMetrics(SM_CYICON);
    ::DrawIcon(dc, (client.right - client.left - cx + 1) / 2,
               (client.bottom - client.top - cy + 1) / 2, icon_);
    ::EndPaint(window_, &paint);
}

void ProgressDialog::RememberLayout() {
    const int ids[] = {IDC_STATUS_TEXT, IDC_PROGRESS_BAR};
    for (size_t i = 0; i < sizeof ids / sizeof ids[0]; ++i) {
        controls_[i].id = ids[i];
        HWND control = ::GetDlgItem(window_, ids[i]);
        if (!control || !::GetWindowRect(control, &controls_[i].rect)) return;
        ::MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&controls_[i].rect), 2);
    }
    const HGDIOBJ font = reinterpret_cast<HGDIOBJ>(::SendMessageA(window_, WM_GETFONT, 0, 0));
    if (!font || !::GetObjectA(font, sizeof layoutFont_, &layoutFont_)) return;
    // Templates are laid out at the system DPI, which is what the screen reports to an aware
    // program.
    if (HDC screen = ::GetDC(nullptr)) {
        layoutDpi_ = ::GetDeviceCaps(screen, LOGPIXELSY);
        ::ReleaseDC(nullptr, screen);
    }
}

// Per-monitor awareness before Windows 10 1703 leaves the layout to the program when the dialog
// moves to a screen of another DPI: scale controls and font from the creation layout and take the
// window rectangle the system suggests.
void ProgressDialog::OnDpiChanged(UINT dpi, const RECT& suggested) {
    if (dpi == 0 || layoutDpi_ <= 0) return;
    const int to = static_cast<int>(dpi), from = layoutDpi_;
    LOGFONTA font = layoutFont_;
    font.lfHeight = ::MulDiv(font.lfHeight, to, from);
    UniqueGdiObject scaled(::CreateFontIndirectA(&font));
    for (const ControlLayout& layout : controls_) {
        HWND control = ::GetDlgItem(window_, layout.id);
        if (!control) continue;
        const RECT& r = layout.rect;
        ::MoveWindow(control, ::MulDiv(r.left, to, from), ::MulDiv(r.top, to, from),
                     ::MulDiv(r.right - r.left, to, from), ::MulDiv(r.bottom - r.top, to, from),
                     FALSE);
        if (scaled)
            ::SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(scaled.get()), FALSE);
    }
    // The controls now use the new font: the previous one can go.
    if (scaled) scaledFont_ = std::move(scaled);
    ::SetWindowPos(window_, nullptr, suggested.left, suggested.top,
                   suggested.right - suggested.left, suggested.bottom - suggested.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
    ::InvalidateRect(window_, nullptr, TRUE);
}
