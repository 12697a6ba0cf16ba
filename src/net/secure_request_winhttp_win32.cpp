// HTTPS requests through WinHTTP (Windows 2000 SP3, XP SP1 and later), bound at run time from the
// system folder: the launcher must still start where the library is missing.
#include "net/secure_request.h"
#include "net/transfer_progress.h"

#include "sys/entry_point.h"
#include "sys/system_library.h"
#include "sys/unique_handle.h"
#include "sys/wide_entry_points.h"
#include "sys/win32.h"

// After the Windows header it builds on; only its types and constants are used, never an import.
#include <winhttp.h>

#include <vector>

namespace {

const wchar_t kUserAgent[] = L"Mozilla/1.22 (Windows; U; 32bit)";
// The system's own connect time-out; sends and receives use the client's.
constexpr int kConnectTimeoutMs = 60000;

struct WinHttpFunctions {
    decltype(&::WinHttpOpen) open = nullptr;
    decltype(&::WinHttpConnect) connect = nullptr;
    decltype(&::WinHttpOpenRequest) openRequest = nullptr;
    decltype(&::WinHttpSetOption) setOption = nullptr;
    decltype(&::WinHttpSetTimeouts) setTimeouts = nullptr;
    decltype(&::WinHttpSendRequest) sendRequest = nullptr;
    decltype(&::WinHttpReceiveResponse) receiveResponse = nullptr;
    decltype(&::WinHttpQueryHeaders) queryHeaders = nullptr;
    decltype(&::WinHttpQueryDataAvailable) queryDataAvailable = nullptr;
    decltype(&::WinHttpReadData) readData = nullptr;
    decltype(&::WinHttpCloseHandle) closeHandle = nullptr;
};

using UniqueWinHttpHandle = UniqueBoundHandle<HINTERNET, decltype(&::WinHttpCloseHandle)>;

// The thread's last error, never 0: a call that failed must not read as success.
uint32_t Failure() {
    const DWORD error = ::GetLastError();
    return error != 0 ? error : ERROR_GEN_FAILURE;
}

// A terminated wide copy; a vector rather than std::wstring, whose instantiation is a tenth of
// Setup.EXE.
std::vector<wchar_t> ToWide(const std::string& text) {
    std::vector<wchar_t> wide(1, L'\0');
    if (text.empty()) return wide;
    const int length =
        ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    if (length <= 0) return wide;
    wide.assign(static_cast<std::size_t>(length) + 1, L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(),
                          length);
    return wide;
}

std::string ToNarrow(const wchar_t* text) {
    const int length = ::WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (length <= 1) return std::string();
    std::string narrow(static_cast<std::size_t>(length), '\0');
    ::WideCharToMultiByte(CP_ACP, 0, text, -1, &narrow[0], length, nullptr, nullptr);
    narrow.resize(static_cast<std::size_t>(length) - 1);
    return narrow;
}

// Before Windows 8 WinHTTP offers only SSL 3 and TLS 1.0 unless asked; today's servers want
// TLS 1.2. Systems whose WinHTTP does not know the newer flags refuse the option and keep theirs.
bool NeedsNewerProtocols() {
    OSVERSIONINFOA version;
    if (!GetPlatformVersion(version)) return false;
    return version.dwMajorVersion < 6 ||
           (version.dwMajorVersion == 6 && version.dwMinorVersion < 2);
}

class WinHttpRequest : public SecureRequest {
  public:
    WinHttpRequest(UniqueModule module, const WinHttpFunctions& functions)
        : module_(std::move(module)), api_(functions), session_(functions.closeHandle),
          connection_(functions.closeHandle), request_(functions.closeHandle) {}

    uint32_t Send(const std::string& host, int32_t port, const std::string& path,
                  int32_t timeoutSeconds, std::string* header) override {
        // Straight to the server, as the plain client goes: no proxy configuration is read.
        session_.reset(api_.open(kUserAgent, WINHTTP_ACCESS_TYPE_NO_PROXY, WINHTTP_NO_PROXY_NAME,
                                 WINHTTP_NO_PROXY_BYPASS, 0));
        if (!session_) return Failure();
        const int transferMs = timeoutSeconds > 0 ? timeoutSeconds * 1000 : 0;
        api_.setTimeouts(session_.get(), 0, kConnectTimeoutMs, transferMs, transferMs);
        if (NeedsNewerProtocols()) {
            DWORD protocols = WINHTTP_FLAG_SECURE_PROTOCOL_TLS1 |
                              WINHTTP_FLAG_SECURE_PROTOCOL_TLS1_1 |
                              WINHTTP_FLAG_SECURE_PROTOCOL_TLS1_2;
            api_.setOption(session_.get(), WINHTTP_OPTION_SECURE_PROTOCOLS, &protocols,
                           sizeof protocols);
        }
        const std::vector<wchar_t> wideHost = ToWide(host);
        connection_.reset(
            api_.connect(session_.get(), wideHost.data(), static_cast<INTERNET_PORT>(port), 0));
        if (!connection_) return Failure();
        const std::vector<wchar_t> widePath = ToWide(path);
        request_.reset(api_.openRequest(connection_.get(), L"GET", widePath.data(), nullptr,
                                        WINHTTP_NO_REFERER, WINHTTP_DEFAULT_ACCEPT_TYPES,
                                        WINHTTP_FLAG_SECURE | WINHTTP_FLAG_REFRESH));
        if (!request_) return Failure();
        // The whole header within the window, however slowly it trickles in.
        DWORD headerMs = static_cast<DWORD>(transfer_progress::kWindowMilliseconds);
        api_.setOption(request_.get(), WINHTTP_OPTION_RECEIVE_RESPONSE_TIMEOUT, &headerMs,
                       sizeof headerMs);
        // Redirects come back to the client, which applies its own rules to them.
        DWORD disable = WINHTTP_DISABLE_REDIRECTS;
        api_.setOption(request_.get(), WINHTTP_OPTION_DISABLE_FEATURE, &disable, sizeof disable);
        DWORD policy = WINHTTP_OPTION_REDIRECT_POLICY_NEVER;
        api_.setOption(request_.get(), WINHTTP_OPTION_REDIRECT_POLICY, &policy, sizeof policy);
        if (!api_.sendRequest(request_.get(), L"Accept: */*\r\n", static_cast<DWORD>(-1L),
                              WINHTTP_NO_REQUEST_DATA, 0, 0, 0) ||
            !api_.receiveResponse(request_.get(), nullptr))
            return Failure();

        DWORD bytes = 0;
        api_.queryHeaders(request_.get(), WINHTTP_QUERY_RAW_HEADERS_CRLF,
                          WINHTTP_HEADER_NAME_BY_INDEX, WINHTTP_NO_OUTPUT_BUFFER, &bytes,
                          WINHTTP_NO_HEADER_INDEX);
        if (::GetLastError() != ERROR_INSUFFICIENT_BUFFER || bytes == 0) return Failure();
        std::vector<wchar_t> text(bytes / sizeof(wchar_t) + 1, L'\0');
        if (!api_.queryHeaders(request_.get(), WINHTTP_QUERY_RAW_HEADERS_CRLF,
                               WINHTTP_HEADER_NAME_BY_INDEX, text.data(), &bytes,
                               WINHTTP_NO_HEADER_INDEX))
            return Failure();
        *header = ToNarrow(text.data());
        return 0;
    }

    uint32_t Read(char* buffer, int32_t size, int32_t* received) override {
        *received = 0;
        if (!request_) return ERROR_INVALID_HANDLE;
        // Waits for some bytes (bounded by the receive time-out), then takes no more than came,
        // so that a server dripping bytes hands each back to the client's progress rule.
        DWORD available = 0;
        if (!api_.queryDataAvailable(request_.get(), &available)) return Failure();
        if (available == 0) return 0; // the body is complete
        DWORD count = 0;
        const DWORD wanted =
            available < static_cast<DWORD>(size) ? available : static_cast<DWORD>(size);
        if (!api_.readData(request_.get(), buffer, wanted, &count)) return Failure();
        *received = static_cast<int32_t>(count);
        return 0;
    }

  private:
    UniqueModule module_; // first member: unloaded after the handles are closed
    WinHttpFunctions api_;
    // Declared parent first: children are closed before their parents.
    UniqueWinHttpHandle session_;
    UniqueWinHttpHandle connection_;
    UniqueWinHttpHandle request_;
};

} // namespace

std::unique_ptr<SecureRequest> OpenWinHttpRequest() {
    UniqueModule module(LoadSystemLibrary("WINHTTP.DLL"));
    if (!module) return nullptr;
    WinHttpFunctions api;
    const HMODULE m = module.get();
    if (!BindEntryPoint(m, "WinHttpOpen", api.open) ||
        !BindEntryPoint(m, "WinHttpConnect", api.connect) ||
        !BindEntryPoint(m, "WinHttpOpenRequest", api.openRequest) ||
        !BindEntryPoint(m, "WinHttpSetOption", api.setOption) ||
        !BindEntryPoint(m, "WinHttpSetTimeouts", api.setTimeouts) ||
        !BindEntryPoint(m, "WinHttpSendRequest", api.sendRequest) ||
        !BindEntryPoint(m, "WinHttpReceiveResponse", api.receiveResponse) ||
        !BindEntryPoint(m, "WinHttpQueryHeaders", api.queryHeaders) ||
        !BindEntryPoint(m, "WinHttpQueryDataAvailable", api.queryDataAvailable) ||
        !BindEntryPoint(m, "WinHttpReadData", api.readData) ||
        !BindEntryPoint(m, "WinHttpCloseHandle", api.closeHandle))
        return nullptr;
    return std::unique_ptr<SecureRequest>(new WinHttpRequest(std::move(module), api));
}
