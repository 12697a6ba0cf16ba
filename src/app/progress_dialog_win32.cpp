// The progress dialog: starts the worker thread when first shown and ends with its result code.
#include "app/progress_dialog.h"

#include <new>
#include <string>

#include "app/resource_ids.h"
#include "app/worker_thread.h"
#include "steps/setup_steps.h"
#include "sys/setup_log.h"
#include "text/internal_error.h"
#include "text/messages.h"

void GreyCloseCommand(HWND window) {
    if (HMENU menu = ::GetSystemMenu(window, FALSE)) ::EnableMenuItem(menu, SC_CLOSE, MF_BYCOMMAND | MF_GRAYED);
}

ProgressDialog::ProgressDialog() {
    icon_ = ::LoadIconA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_SETUP));
    endSessionEvent_ = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    finishEvent_ = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    sessionEndsEvent_ = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
}

ProgressDialog::~ProgressDialog() = default;

uint32_t ProgressDialog::DoModal() {
    const INT_PTR r = ::DialogBoxParamA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_PROGRESS), nullptr,
                                        DialogProc, reinterpret_cast<LPARAM>(this));
    // The code travels in result_: a dialog result of -1 would be ambiguous with failure.
    return r == -1 && !window_ ? static_cast<uint32_t>(-1) : result_;
}

INT_PTR CALLBACK ProgressDialog::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
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
    case WM_ENDSESSION: {
        WriteLog("UI Received WM_ENDSESSION message");
        if (!wParam) {
            // Another program refused the end: the session goes on, and so do setup's waits.
            WriteLog("UI The session goes on");
            ::ResetEvent(endSessionEvent_);
            return TRUE;
        }
        ::SetEvent(endSessionEvent_);
        ::SetEvent(sessionEndsEvent_);
        // Sent messages are still served while waiting: a box of the worker thread owned by this
        // dialog sends to it when it closes, and must not deadlock against this wait.
        while (::MsgWaitForMultipleObjects(1, &finishEvent_, FALSE, INFINITE, QS_SENDMESSAGE) == WAIT_OBJECT_0 + 1) {
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
        return TRUE;
    }
    case WM_CHECKENDSESSION: {
        MSG pending;
        const bool ending = ::PeekMessageA(&pending, window_, WM_QUERYENDSESSION, WM_QUERYENDSESSION, PM_NOREMOVE) ||
                            ::PeekMessageA(&pending, window_, WM_ENDSESSION, WM_ENDSESSION, PM_NOREMOVE);
        if (ending) ::SetEvent(endSessionEvent_);
        ::SetWindowLongPtrA(window_, DWLP_MSGRESULT, ending ? 1 : 0);
        return TRUE;
    }
    case WM_CLOSE:
        return TRUE;  // setup cannot be cancelled from the frame
    case WM_COMMAND:
        return TRUE;  // Enter and Escape have no meaning here
    case WM_PAINT:
        if (::IsIconic(window_)) {
            OnPaint();
            return TRUE;
        }
        return FALSE;
    case WM_QUERYDRAGICON:
        return reinterpret_cast<INT_PTR>(icon_);
    default:
        return FALSE;
    }
}

void ProgressDialog::OnInitDialog() {
    ::SendMessageA(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
    ::SendMessageA(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_));
    GreyCloseCommand(window_);
    std::string text;
    if (GetMessageText(1, text)) ::SetDlgItemTextA(window_, IDC_STATUS_TEXT, text.c_str());
    text.clear();
    if (GetMessageText(0, text)) ::SetWindowTextA(window_, text.c_str());
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
    ::DrawIcon(dc, (client.right - client.left - cx + 1) / 2, (client.bottom - client.top - cy + 1) / 2, icon_);
    ::EndPaint(window_, &paint);
}
