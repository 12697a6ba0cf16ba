// HTTPS requests through WinINet, the stack of every system without WinHTTP (the 9x family, NT 4,
// Windows 2000 before SP3), bound at run time from the system folder.
#include "net/secure_request.h"
#include "net/transfer_progress.h"

#include "sys/entry_point.h"
#include "sys/system_library.h"
#include "sys/unique_handle.h"
#include "sys/win32.h"

// After the Windows header it builds on; only its types and constants are used, never an import.
#include <wininet.h>

#include <vector>

namespace {

const char kUserAgent[] = "Mozilla/1.22 (Windows; U; 32bit)";
constexpr DWORD kConnectTimeoutMs = 60000;
// Verified, uncached, without cookies, log-on prompts, dialogs or automatic redirects.
constexpr DWORD kRequestFlags = INTERNET_FLAG_SECURE | INTERNET_FLAG_RELOAD |
                                INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_PRAGMA_NOCACHE |
                                INTERNET_FLAG_NO_COOKIES | INTERNET_FLAG_NO_AUTH |
                                INTERNET_FLAG_NO_UI | INTERNET_FLAG_NO_AUTO_REDIRECT;

struct WinInetFunctions {
    decltype(&::InternetOpenA) open = nullptr;
    decltype(&::InternetSetOptionA) setOption = nullptr;
    decltype(&::InternetConnectA) connect = nullptr;
    decltype(&::HttpOpenRequestA) openRequest = nullptr;
    decltype(&::HttpSendRequestA) sendRequest = nullptr;
    decltype(&::HttpQueryInfoA) queryInfo = nullptr;
    decltype(&::InternetQueryDataAvailable) queryDataAvailable = nullptr;
    decltype(&::InternetReadFile) readFile = nullptr;
    decltype(&::InternetCloseHandle) closeHandle = nullptr;
};

using UniqueInternetHandle = UniqueBoundHandle<HINTERNET, decltype(&::InternetCloseHandle)>;

// The thread's last error, never 0: a call that failed must not read as success.
uint32_t Failure() {
    const DWORD error = ::GetLastError();
    return error != 0 ? error : ERROR_GEN_FAILURE;
}

// WinINet sets no limit on the time a whole response header may take, and a server that trickles
// it passes every receive time-out. Its documented way to end a blocking call is to close the
// handle from another thread: this watch does that once the window has passed.
class HeaderWatch {
  public:
    explicit HeaderWatch(UniqueInternetHandle& request) : request_(request) {
        done_.reset(::CreateEventA(nullptr, TRUE, FALSE, nullptr));
        if (done_) thread_.reset(::CreateThread(nullptr, 0, &HeaderWatch::Run, this, 0, nullptr));
    }
    ~HeaderWatch() { Stop(); }
    HeaderWatch(const HeaderWatch&) = delete;
    HeaderWatch& operator=(const HeaderWatch&) = delete;

    // Ends the watch: true when it closed the request.
    bool Stop() {
        if (thread_) {
            ::SetEvent(done_.get());
            ::WaitForSingleObject(thread_.get(), INFINITE);
            thread_.reset();
        }
        return closed_;
    }

  private:
    static DWORD WINAPI Run(void* parameter) {
        HeaderWatch* self = static_cast<HeaderWatch*>(parameter);
        const DWORD window = static_cast<DWORD>(transfer_progress::kWindowMilliseconds);
        if (::WaitForSingleObject(self->done_.get(), window) == WAIT_TIMEOUT) {
            self->closed_ = true; // read after the thread has ended
            self->request_.reset();
        }
        return 0;
    }

    // Not touched by the sending thread until Stop has joined the watch.
    UniqueInternetHandle& request_;
    UniqueKernelHandle done_;
    UniqueKernelHandle thread_;
    bool closed_ = false;
};

class WinInetRequest : public SecureRequest {
  public:
    WinInetRequest(UniqueModule module, const WinInetFunctions& functions)
        : module_(std::move(module)), api_(functions), session_(functions.closeHandle),
          connection_(functions.closeHandle), request_(functions.closeHandle) {}

    uint32_t Send(const std::string& host, int32_t port, const std::string& path,
                  int32_t timeoutSeconds, std::string* header) override {
        session_.reset(api_.open(kUserAgent, INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0));
        if (!session_) return Failure();
        DWORD connectMs = kConnectTimeoutMs;
        DWORD transferMs = timeoutSeconds > 0 ? static_cast<DWORD>(timeoutSeconds) * 1000 : 0;
        api_.setOption(session_.get(), INTERNET_OPTION_CONNECT_TIMEOUT, &connectMs,
                       sizeof connectMs);
        api_.setOption(session_.get(), INTERNET_OPTION_SEND_TIMEOUT, &transferMs,
                       sizeof transferMs);
        api_.setOption(session_.get(), INTERNET_OPTION_RECEIVE_TIMEOUT, &transferMs,
                       sizeof transferMs);
        connection_.reset(api_.connect(session_.get(), host.c_str(),
                                       static_cast<INTERNET_PORT>(port), nullptr, nullptr,
                                       INTERNET_SERVICE_HTTP, 0, 0));
        if (!connection_) return Failure();
        const char* accept[] = {"*/*", nullptr};
        request_.reset(api_.openRequest(connection_.get(), "GET", path.c_str(), nullptr, nullptr,
                                        accept, kRequestFlags, 0));
        if (!request_) return Failure();
        const HINTERNET request = request_.get();
        HeaderWatch watch(request_);
        const BOOL sent = api_.sendRequest(request, nullptr, 0, nullptr, 0);
        const DWORD error = sent ? 0 : Failure();
        if (watch.Stop()) return kSecureTimeout; // the header did not come in time
        if (!sent) return error;

        DWORD bytes = 0;
        api_.queryInfo(request_.get(), HTTP_QUERY_RAW_HEADERS_CRLF, nullptr, &bytes, nullptr);
        if (::GetLastError() != ERROR_INSUFFICIENT_BUFFER || bytes == 0) return Failure();
        std::vector<char> text(bytes + 1, '\0');
        if (!api_.queryInfo(request_.get(), HTTP_QUERY_RAW_HEADERS_CRLF, text.data(), &bytes,
                            nullptr))
            return Failure();
        header->assign(text.data(), bytes);
        return 0;
    }

    uint32_t Read(char* buffer, int32_t size, int32_t* received) override {
        *received = 0;
        if (!request_) return ERROR_INVALID_HANDLE;
        // InternetReadFile waits until the whole buffer is filled: asking only for what has
        // come hands a dripping server's bytes back to the client's progress rule.
        DWORD available = 0;
        if (!api_.queryDataAvailable(request_.get(), &available, 0, 0)) return Failure();
        if (available == 0) return 0; // the body is complete
        DWORD count = 0;
        const DWORD wanted =
            available < static_cast<DWORD>(size) ? available : static_cast<DWORD>(size);
        if (!api_.readFile(request_.get(), buffer, wanted, &count)) return Failure();
        *received = static_cast<int32_t>(count);
        return 0;
    }

  private:
    UniqueModule module_; // first member: unloaded after the handles are closed
    WinInetFunctions api_;
    // Declared parent first: children are closed before their parents.
    UniqueInternetHandle session_;
    UniqueInternetHandle connection_;
    UniqueInternetHandle request_;
};

} // namespace

std::unique_ptr<SecureRequest> OpenWinInetRequest() {
    UniqueModule module(LoadSystemLibrary("WININET.DLL"));
    if (!module) return nullptr;
    WinInetFunctions api;
    const HMODULE m = module.get();
    if (!BindEntryPoint(m, "InternetOpenA", api.open) ||
        !BindEntryPoint(m, "InternetSetOptionA", api.setOption) ||
        !BindEntryPoint(m, "InternetConnectA", api.connect) ||
        !BindEntryPoint(m, "HttpOpenRequestA", api.openRequest) ||
        !BindEntryPoint(m, "HttpSendRequestA", api.sendRequest) ||
        !BindEntryPoint(m, "HttpQueryInfoA", api.queryInfo) ||
        !BindEntryPoint(m, "InternetQueryDataAvailable", api.queryDataAvailable) ||
        !BindEntryPoint(m, "InternetReadFile", api.readFile) ||
        !BindEntryPoint(m, "InternetCloseHandle", api.closeHandle))
        return nullptr;
    return std::unique_ptr<SecureRequest>(new WinInetRequest(std::move(module), api));
}
