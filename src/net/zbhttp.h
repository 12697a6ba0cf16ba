// HTTP/1.0 client for http:// URLs (one request per connection, redirects followed), with https://
// URLs fetched through the platform's HTTPS stack, and the download of a resource into a local
// file with progress reports and abort. Operations return ZBHTTPResult codes (0 success) and never
// throw; failures are written to DebugMgr.
#pragma once
#include "net/blocking_socket.h"
#include "net/download_thread.h"

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

class SecureRequest;

enum ZBHTTPResult : int32_t {
    ZBHTTP_SUCCESS = 0,
    ZBHTTP_SockReadFailed = 1,    // connection closed while the header was read
    ZBHTTP_ParseHeaderFailed = 2, // header does not fit the 4096-byte buffer
    ZBHTTP_ServerError = 3,
    ZBHTTP_ServerUrlNotFound = 4,
    ZBHTTP_ServerTimeOut = 5,
    ZBHTTP_UserAbort = 6,
    ZBHTTP_WSAStartupError = 7,
    ZBHTTP_ParentDirNotExist = 8,
    ZBHTTP_PermissionDenied = 9,
    ZBHTTP_NoSpaceLeft = 10,
    ZBHTTP_FileInUse = 11,
    ZBHTTP_OutOfMemory = 12,
    RedirectResult = 13,            // internal to CheckReadHeader
    ZBHTTP_SecureChannelError = 14, // the HTTPS stack refused the certificate or the channel
    ZBHTTP_Error = -1,
};

enum DownloadState : int32_t {
    DownloadStarting = 100,
    DownloadReading = 101,
    DownloadFailed = 102,
    DownloadAborted = 103, // stored only, never passed to the callback
    DownloadDone = 104,
};

constexpr int32_t CallbackContinue = 200;
constexpr int32_t CallbackAbort = 201;

// Progress report; replying CallbackAbort stops the download where the reply is examined.
using DownloadCallback = int32_t (*)(const char* localFile, int32_t totalSize,
                                     int32_t bytesReceived, DownloadState state,
                                     int32_t bytesPerSecond, uintptr_t callbackData);

struct ProxySettings {
    std::string ProxyHost;
    int32_t ProxyPort = 80;
    bool UseProxyAuthorization = false;
    std::string ProxyUser;
    std::string ProxyPassword;
};

// The texts of one request, each limited to the 4096-byte request buffer.
struct RequestTexts {
    char line[4096];
    char authorization[4096]; // empty without proxy authorization
};

class ZBHTTP {
  public:
    static constexpr int32_t kHeaderBufferSize = 4096;
    static constexpr int32_t kRequestBufferSize = 4096;
    static constexpr int32_t kPieceSize = 4096;
    static constexpr int32_t kMaxRedirects = 100;

    ZBHTTP();
    ~ZBHTTP();
    ZBHTTP(const ZBHTTP&) = delete;
    ZBHTTP& operator=(const ZBHTTP&) = delete;

    // Stores the URL, parses it and closes any connection: 0, or ZBHTTP_Error when the URL is
    // not usable (Host, Port, Path and Secure are then unchanged). A URL without a port keeps
    // the current port on the same host and scheme, else takes the scheme's (80, 443).
    ZBHTTPResult SetURL(const std::string& url);
    ZBHTTPResult ParseURL(const std::string& url);
    // Sends the request and reads and judges the header when no header has been read on an open
    // connection, following up to 100 redirects from `depth` on.
    ZBHTTPResult CheckReadHeader(int32_t depth);
    // Takes the header off the socket exactly up to its end, skipping 100 Continue answers:
    // ZBHTTP_ServerTimeOut when it is not complete 60 seconds after connecting.
    ZBHTTPResult ReadHttpHeader(int32_t timeoutSeconds);
    // Judges the status of the last header: 0, 3, 4, or 13 with the redirect's URL set.
    ZBHTTPResult ResponseAllRight();
    // A whole request for the Content-Length; `size` is -1 unless it was read. Closes afterwards.
    ZBHTTPResult GetDownloadFileSize(int32_t* size);
    // Receives the next piece of the body (requesting first when needed). 0 with 0 bytes: the
    // body is complete. `received` is left alone when the request fails.
    ZBHTTPResult DoGetIntoBuffer(char* buffer, int32_t size, int32_t* received);
    ZBHTTPResult Close();

    // Downloads the URL into `localFile`, on this thread or on a thread of its own that signals
    // `*doneEvent` at the end (the caller then owns and closes that event).
    ZBHTTPResult DoGetIntoFile(const char* localFile, DownloadCallback callback,
                               uintptr_t callbackData, int32_t progressIntervalMs,
                               bool asynchronous, DoneEventHandle* doneEvent);
    ZBHTTPResult PerformFileDownload();

    static const char* ResultName(int32_t result);
    static ZBHTTPResult MapBlockSockErrToZBHTTPErr(int32_t error);
    static ZBHTTPResult MapErrnoToZBHTTPResult(int error);
    // The HTTPS stack's error codes (WinHTTP and WinINet share them).
    static ZBHTTPResult MapSecureErrorToZBHTTPResult(uint32_t error);
    static ZBHTTPResult ZBHTTPStartup();
    static ZBHTTPResult ZBHTTPTerminate();
    static bool StartupFailed();

    // Formats the request line and the proxy authorization line: ZBHTTP_Error when one does
    // not fit its buffer.
    ZBHTTPResult FormatRequest(RequestTexts* texts) const;

    // Text of the last header (up to its first zero byte); empty when none was read.
    std::string HeaderText() const;
    // The Content-Length of the last header; -1 when it has none (or none was read).
    int32_t HeaderContentLength() const;

    // Requests go to this proxy from now on, with absolute request URIs.
    void SetProxy(const ProxySettings& proxy) {
        Proxy = proxy;
        UseProxy = true;
    }
    // The last download's result and final state (an asynchronous one's once its event is set).
    ZBHTTPResult DownloadResult() const { return LastResult; }
    DownloadState DownloadEndState() const { return State; }

  private:
    std::string Url;
    std::string Host;
    std::string Path;
    int32_t Port = 80;
    bool Secure = false; // https://: requests go through the platform's HTTPS stack
    int32_t TimeoutSeconds = 5;
    bool NeedsRequest = true;
    CBlockingSocket Socket;
    bool SocketOpen = false;
    std::unique_ptr<SecureRequest> SecureConnection; // the open https:// request, if any
    bool UseProxy = false;
    ProxySettings Proxy;
    DownloadCallback Callback = nullptr;
    uintptr_t CallbackData = 0;
    int32_t ProgressIntervalMs = 200;
    DownloadState State = DownloadStarting;
    ZBHTTPResult LastResult = ZBHTTP_SUCCESS;
    DoneEventHandle DoneEvent = nullptr;
    std::string LocalFile;
    std::unique_ptr<char[]> HeaderBuffer;
    int32_t HeaderLength = 0;
    int32_t BytesPerSecond = -1;
    // When the open connection was made (transfer_progress clock); -1: none, and a header read
    // then counts from its own start.
    int64_t ConnectedAt = -1;

    ZBHTTPResult SendRequestAndJudge();
    ZBHTTPResult ConnectSocket();
    ZBHTTPResult SendSecureRequestAndJudge();
    ZBHTTPResult StoreHeader(const std::string& header);
    ZBHTTPResult JudgeResponse();
    ZBHTTPResult ReceiveHeaderBytes(char* at, int32_t wanted, int32_t timeoutSeconds,
                                    int32_t* received);
    int32_t Report(DownloadState state, int32_t size, int64_t total);
    bool AbortRequested(DownloadState state, int32_t size, int64_t total, const char* moment);
    template <typename File, typename Buffer>
    ZBHTTPResult OpenDownload(int32_t* size, File& file, Buffer& buffer);
    ZBHTTPResult ReadBodyIntoFile(std::FILE* file, char* buffer, int32_t size, int64_t* total,
                                  bool* aborted);
    void MeasureRate(int64_t total, int64_t elapsed);
    static uint32_t DownloadThreadRoutine(void* client);
};
