// HTTP/1.0 client: URL parsing, request, header reading, status judging and redirects; https://
// requests go through the platform's HTTPS stack and share the judging and the redirects.
#include "net/zbhttp.h"

#include "debug/debug_mgr.h"
#include "net/http_header_text.h"
#include "net/secure_request.h"
#include "net/transfer_progress.h"
#include "sys/fixed_buffer.h"
#include "text/ascii_case.h"

#include <cstring>
#include <mutex>
#include <new>

namespace {

constexpr int32_t kSocketLogLevel = 20;
constexpr int32_t kDetailLogLevel = 40;
constexpr int kStreamSocket = 1;
constexpr int32_t kHttpPort = 80;
constexpr int32_t kHttpsPort = 443;
const char kScheme[] = "http://";
const char kSecureScheme[] = "https://";

bool SameHostName(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
    }
    return true;
}

const char kRequestTrailer[] = "User-Agent: Mozilla/1.22 (Windows; U; 32bit)\r\n"
                               "Accept: */*\r\n"
                               "Accept: image/gif\r\n"
                               "Accept: image/x-xbitmap\r\n"
                               "Accept: image/jpeg\r\n"
                               "\r\n";

// Process-wide socket library start-up, shared by every client. Clients may live on different
// threads (an asynchronous download), so the count is guarded.
std::mutex g_startupLock;
int32_t g_startupCount = 0;
bool g_startupFailed = false;

// The client's result for a failed socket call, mapped before the debug line is written.
ZBHTTPResult SocketFailure(const char* format, BlockSockErr error) {
    const ZBHTTPResult result = ZBHTTP::MapBlockSockErrToZBHTTPErr(error);
    DebugMgr::DebugFailure(kSocketLogLevel, format, static_cast<long>(error),
                           CBlockingSocket::BlockSockErrName(error));
    return result;
}

} // namespace

ZBHTTP::ZBHTTP() {
    {
        std::lock_guard<std::mutex> guard(g_startupLock);
        g_startupFailed = false;
    }
    ZBHTTPStartup();
}

ZBHTTP::~ZBHTTP() {
    if (Close() != ZBHTTP_SUCCESS) DebugMgr::DebugError("ZBHTTP::~ZBHTTP : Close( ) \n");
    HeaderBuffer.reset();
    ZBHTTPTerminate();
}

bool ZBHTTP::StartupFailed() {
    std::lock_guard<std::mutex> guard(g_startupLock);
    return g_startupFailed;
}

ZBHTTPResult ZBHTTP::ZBHTTPStartup() {
    std::lock_guard<std::mutex> guard(g_startupLock);
    if (g_startupCount++ != 0) return ZBHTTP_SUCCESS;
    static const int kVersions[2][2] = {{1, 1}, {1, 0}};
    for (const auto& version : kVersions) {
        sockapi::StartupInfo info{};
        int error = sockapi::Startup(version[0], version[1], &info);
        if (error == 0) {
            DebugMgr::DebugOutput(kDetailLogLevel,
                                  "ZBHTTP::ZBHTTP : WSAStartup (req=%d.%d) returns high "
                                  "version=%d.%d, low version=%d.%d.\n",
                                  version[0], version[1], info.highMajor, info.highMinor,
                                  info.major, info.minor);
            return ZBHTTP_SUCCESS;
        }
        DebugMgr::DebugFailure(
            kDetailLogLevel,
            "ZBHTTP::ZBHTTP : WSAStartup (requested version=%d.%d) FAILED %d (wsalasterror=%ld).\n",
            version[0], version[1], error, static_cast<long>(sockapi::LastSocketError()));
    }
    g_startupFailed = true;
    return ZBHTTP_WSAStartupError;
}

ZBHTTPResult ZBHTTP::ZBHTTPTerminate() {
    std::lock_guard<std::mutex> guard(g_startupLock);
    if (--g_startupCount != 0 || g_startupFailed) return ZBHTTP_SUCCESS;
    if (sockapi::Cleanup() != sockapi::kSocketError) return ZBHTTP_SUCCESS;
    DebugMgr::DebugError(
        "ZBHTTP::ZBHTTPTerminate : WSACleanup FAILED %ld \"%s\": SOCKET_ERROR %ld\n",
        static_cast<long>(ZBHTTP_Error), ResultName(ZBHTTP_Error),
        static_cast<long>(sockapi::LastSocketError()));
    return ZBHTTP_Error;
}

const char* ZBHTTP::ResultName(int32_t result) {
    switch (result) {
    case ZBHTTP_SUCCESS:
        return "ZBHTTP_SUCCESS ";
    case ZBHTTP_SockReadFailed:
        return "ZBHTTP_SockReadFailed";
    case ZBHTTP_ParseHeaderFailed:
        return "ZBHTTP_ParseHeaderFailed";
    case ZBHTTP_ServerError:
        return "ZBHTTP_ServerError";
    case ZBHTTP_ServerUrlNotFound:
        return "ZBHTTP_ServerUrlNotFound";
    case ZBHTTP_ServerTimeOut:
        return "ZBHTTP_ServerTimeOut";
    case ZBHTTP_UserAbort:
        return "ZBHTTP_UserAbort";
    case ZBHTTP_WSAStartupError:
        return "ZBHTTP_WSAStartupError";
    case ZBHTTP_ParentDirNotExist:
        return "ZBHTTP_ParentDirNotExist";
    case ZBHTTP_PermissionDenied:
        return "ZBHTTP_PermissionDenied";
    case ZBHTTP_NoSpaceLeft:
        return "ZBHTTP_NoSpaceLeft";
    case ZBHTTP_FileInUse:
        return "ZBHTTP_FileInUse";
    case ZBHTTP_OutOfMemory:
        return "ZBHTTP_OutOfMemory";
    case ZBHTTP_SecureChannelError:
        return "ZBHTTP_SecureChannelError";
    case ZBHTTP_Error:
        return "ZBHTTP_Error";
    default:
        return "INVALID_ZBHTTPERROR"; // RedirectResult included
    }
}

ZBHTTPResult ZBHTTP::MapBlockSockErrToZBHTTPErr(int32_t error) {
    switch (error) {
    case Socket_Sucess:
        DebugMgr::DebugOutput(
            kSocketLogLevel,
            "MAPPING BlockSock Socket_Success TO ZBHTTP_SUCCESS, DID YOU USE THIS CORRECTLY?");
        return ZBHTTP_SUCCESS;
    case Socket_Timeout:
    case Socket_NetworkError:
        return ZBHTTP_ServerTimeOut;
    case Socket_NotInitialised:
        return ZBHTTP_WSAStartupError;
    case Socket_Error:
        return ZBHTTP_Error;
    default:
        DebugMgr::DebugFailure(kSocketLogLevel,
                               "MapBlockSockErrToZBHTTPErr: unhandled error %ld.\n",
                               static_cast<long>(error));
        return ZBHTTP_Error;
    }
}

ZBHTTPResult ZBHTTP::MapSecureErrorToZBHTTPResult(uint32_t error) {
    switch (error) {
    case 0:
        return ZBHTTP_SUCCESS;
    // As for the socket: no answer, refused, name not found, connection lost.
    case kSecureTimeout:
    case kSecureNameNotResolved:
    case kSecureCannotConnect:
    case kSecureConnectionError:
    case kSecureConnectionReset:
        return ZBHTTP_ServerTimeOut;
    case kSecureCertDateInvalid:
    case kSecureCertNameInvalid:
    case kSecureClientCertNeeded:
    case kSecureInvalidCa:
    case kSecureCertErrors:
    case kSecureCertRevocationFailed:
    case kSecureChannelError:
    case kSecureInvalidCert:
    case kSecureCertRevoked:
    case kSecureFailure:
    case kSecureCertWrongUsage:
        return ZBHTTP_SecureChannelError;
    case kSecureNoMemory:
        return ZBHTTP_OutOfMemory;
    default:
        return ZBHTTP_Error;
    }
}

ZBHTTPResult ZBHTTP::SetURL(const std::string& url) {
    Url = url;
    if (StartupFailed()) {
        DebugMgr::DebugError("ZBHTTP SetURL : WSAStartupError %ld \"%s\" for URL \"%s\"\n",
                             static_cast<long>(ZBHTTP_WSAStartupError),
                             ResultName(ZBHTTP_WSAStartupError), Url.c_str());
    }
    ZBHTTPResult result = ParseURL(Url);
    if (result == ZBHTTP_SUCCESS) {
        NeedsRequest = true;
    } else {
        result = ZBHTTP_Error;
        DebugMgr::DebugError("ZBHTTP SetURL : ParseURL FAILED %ld \"%s\" for URL \"%s\"\n",
                             static_cast<long>(ZBHTTP_Error), ResultName(ZBHTTP_Error),
                             Url.c_str());
    }
    BytesPerSecond = -1;
    if (Close() != ZBHTTP_SUCCESS) {
        DebugMgr::DebugError("ZBHTTP SetURL : Close() FAILED %ld for URL \"%s\"\n",
                             static_cast<long>(result), Url.c_str());
    }
    return result;
}

ZBHTTPResult ZBHTTP::ParseURL(const std::string& url) {
    if (StartupFailed()) {
        DebugMgr::DebugError("ZBHTTP ParseURL: WSAStartupError: for URL \"%s\"\n", url.c_str());
        return ZBHTTP_Error;
    }
    const bool secure = url.compare(0, sizeof kSecureScheme - 1, kSecureScheme) == 0;
    // Only a prefix is a scheme: "http://" inside a query names nothing.
    if (!secure && url.compare(0, sizeof kScheme - 1, kScheme) != 0) {
        DebugMgr::DebugError("ZBHTTP ParseURL: cannot find http:// for URL \"%s\"\n", url.c_str());
        return ZBHTTP_Error;
    }
    const std::string rest = url.substr(secure ? sizeof kSecureScheme - 1 : sizeof kScheme - 1);
    const std::string::size_type slash = rest.find('/');
    if (slash == std::string::npos) {
        DebugMgr::DebugError("ZBHTTP ParseURL: no slash found in url path for URL \"%s\"\n",
                             url.c_str());
        return ZBHTTP_Error;
    }
    std::string host = rest.substr(0, slash);
    int32_t port = secure ? kHttpsPort : kHttpPort;
    const std::string::size_type colon = host.find(':');
    if (colon != std::string::npos) {
        port = ParseDecimal(host.substr(colon + 1));
        // A port that does not fit 16 bits would silently reach another port.
        if (port < 0 || port > 65535) {
            DebugMgr::DebugError("ZBHTTP ParseURL: port out of range for URL \"%s\"\n",
                                 url.c_str());
            return ZBHTTP_Error;
        }
        host.erase(colon);
        DebugMgr::DebugOutput(kSocketLogLevel, "ZBHTTP ParseURL: host is \"%s\", port is \n",
                              host.c_str());
    } else if (secure == Secure && SameHostName(host, Host)) {
        // Relative redirects carry no port: on the same server the port stays. Another host or
        // scheme gets its default port, never the port of the previous server.
        port = Port;
    }
    Host = host;
    Port = port;
    Secure = secure;
    Path = rest.substr(slash);
    return ZBHTTP_SUCCESS;
}

ZBHTTPResult ZBHTTP::CheckReadHeader(int32_t depth) {
    for (;;) {
        if (!NeedsRequest) return ZBHTTP_SUCCESS;
        ZBHTTPResult result = SendRequestAndJudge();
        if (result != RedirectResult) return result;
        if (depth >= kMaxRedirects) {
            DebugMgr::DebugError("ZBHTTP CheckReadHeader: TOO MANY REDIRECTS for url \"%s\"\n",
                                 Url.c_str());
            return ZBHTTP_Error;
        }
        ++depth; // a loop, not recursion: 100 nested frames of request buffers are not needed
    }
}

ZBHTTPResult ZBHTTP::FormatRequest(RequestTexts* texts) const {
    const bool lineFits =
        UseProxy ? FormatBounded(texts->line, sizeof texts->line, "GET %s%s%s HTTP/1.0\r\n",
                                 "http://", Host.c_str(), Path.c_str())
                 : FormatBounded(texts->line, sizeof texts->line, "GET %s%s%s HTTP/1.0\r\n", "", "",
                                 Path.c_str());
    if (!lineFits) {
        DebugMgr::DebugError("ZBHTTP CheckReadHeader: request line too long for url \"%s\"\n",
                             Url.c_str());
        return ZBHTTP_Error;
    }
    texts->authorization[0] = '\0';
    if (Proxy.UseProxyAuthorization) {
        const std::string credentials = EncodeBase64(Proxy.ProxyUser + ":" + Proxy.ProxyPassword);
        if (!FormatBounded(texts->authorization, sizeof texts->authorization,
                           "Proxy-Authorization: Basic %s\r\n", credentials.c_str())) {
            DebugMgr::DebugError(
                "ZBHTTP CheckReadHeader: proxy authorization too long for url \"%s\"\n",
                Url.c_str());
            return ZBHTTP_Error;
        }
    }
    return ZBHTTP_SUCCESS;
}

// One request on a new connection: returns 0 with the connection open and the header read,
// RedirectResult with the new URL set, or a failure with the connection closed.
ZBHTTPResult ZBHTTP::SendRequestAndJudge() {
    // The request texts are formatted before connecting, so a URL too long for the request
    // buffer is refused without touching the network.
    std::unique_ptr<RequestTexts> texts(new (std::nothrow) RequestTexts);
    if (!texts) return ZBHTTP_OutOfMemory;
    if (FormatRequest(texts.get()) != ZBHTTP_SUCCESS) return ZBHTTP_Error;
    if (Secure) return SendSecureRequestAndJudge();

    ZBHTTPResult result = ZBHTTP_SUCCESS;
    BlockSockErr error = Socket.Create(kStreamSocket);
    if (error != Socket_Sucess)
        return SocketFailure("ZBHTTP::CheckReadHeader: socket create error %ld. \"%s\"\n", error);
    SocketOpen = true;

    do {
        result = ConnectSocket();
        if (result != ZBHTTP_SUCCESS) break;
        const char* pieces[] = {texts->line, texts->authorization, kRequestTrailer};
        for (const char* piece : pieces) {
            const int32_t length = static_cast<int32_t>(std::strlen(piece));
            if (length == 0) continue; // no proxy authorization
            int32_t sent = 0;
            error = Socket.Write(piece, length, TimeoutSeconds, &sent);
            if (error != Socket_Sucess) break;
        }
        if (error != Socket_Sucess) {
            result =
                SocketFailure("ZBHTTP::CheckReadHeader: socket write error %ld. \"%s\" \n", error);
            break;
        }
        result = ReadHttpHeader(TimeoutSeconds);
        if (result != ZBHTTP_SUCCESS) break;
        result = JudgeResponse();
        if (result == ZBHTTP_SUCCESS) {
            NeedsRequest = false;
            return ZBHTTP_SUCCESS; // the body follows on this connection
        }
    } while (false);

    if (SocketOpen) {
        error = Socket.Close();
        if (error != Socket_Sucess)
            result =
                SocketFailure("ZBHTTP::CheckReadHeader: socket close error %ld. \"%s\" \n", error);
        SocketOpen = false;
    }
    return result;
}

// The created socket connected to the server (or the proxy), with the moment noted.
ZBHTTPResult ZBHTTP::ConnectSocket() {
    sockapi::SocketAddress server;
    const char* name = UseProxy ? Proxy.ProxyHost.c_str() : Host.c_str();
    const uint16_t port = static_cast<uint16_t>(UseProxy ? Proxy.ProxyPort : Port);
    BlockSockErr error = CBlockingSocket::GetHostByName(name, port, &server);
    if (error != Socket_Sucess)
        return SocketFailure("ZBHTTP::CheckReadHeader: socket gethostbyname error %ld.\"%s\" \n",
                             error);
    error = Socket.Connect(server);
    if (error != Socket_Sucess)
        return SocketFailure("ZBHTTP::CheckReadHeader: socket connect error %ld. \"%s\" \n", error);
    ConnectedAt = transfer_progress::ClockMilliseconds();
    sockapi::SocketAddress local;
    error = Socket.GetSockAddr(&local);
    if (error != Socket_Sucess)
        return SocketFailure("ZBHTTP::CheckReadHeader: socket GetSockAddr error %ld. \"%s\" \n",
                             error);
    if (DebugMgr::DebugLevel >= kDetailLogLevel) {
        unsigned char octets[4];
        std::memcpy(octets, &local.address, sizeof octets);
        char dotted[16];
        FormatBounded(dotted, sizeof dotted, "%u.%u.%u.%u", octets[0], octets[1], octets[2],
                      octets[3]);
        DebugMgr::DebugOutput(kDetailLogLevel, "SOCK CLIENT: GetSockAddr = %s, %d\n", dotted,
                              static_cast<int>(sockapi::PortFromNetwork(local.port)));
    }
    return ZBHTTP_SUCCESS;
}

// The status of the header just read, with the messages of a refused answer.
ZBHTTPResult ZBHTTP::JudgeResponse() {
    const ZBHTTPResult result = ResponseAllRight();
    if (result == ZBHTTP_ServerUrlNotFound) {
        DebugMgr::DebugError("ZBHTTP CheckReadHeader: server 404 error %ld \"%s\" for url \"%s\"\n",
                             static_cast<long>(result), ResultName(result), Url.c_str());
    } else if (result != ZBHTTP_SUCCESS && result != RedirectResult) {
        DebugMgr::DebugError("ZBHTTP CheckReadHeader: server error: %ld \"%s\" for url \"%s\"\n",
                             static_cast<long>(result), ResultName(result), Url.c_str());
    }
    return result;
}

// One https:// request through the platform's stack: the same outcomes as SendRequestAndJudge.
ZBHTTPResult ZBHTTP::SendSecureRequestAndJudge() {
    // A local owner: judging a redirect runs SetURL, which closes SecureConnection.
    std::unique_ptr<SecureRequest> request = OpenSecureRequest();
    if (!request) {
        DebugMgr::DebugError("ZBHTTP::CheckReadHeader: no HTTPS stack on this system for url "
                             "\"%s\"\n",
                             Url.c_str());
        return ZBHTTP_Error;
    }
    std::string header;
    const uint32_t error = request->Send(Host, Port, Path, TimeoutSeconds, &header);
    if (error != 0) {
        const ZBHTTPResult result = MapSecureErrorToZBHTTPResult(error);
        // A refused certificate is always worth a line; network trouble is logged as for sockets.
        if (result == ZBHTTP_SecureChannelError) {
            DebugMgr::DebugError(
                "ZBHTTP::CheckReadHeader: secure request error %lu. \"%s\" for url "
                "\"%s\"\n",
                static_cast<unsigned long>(error), ResultName(result), Url.c_str());
        } else {
            DebugMgr::DebugFailure(kSocketLogLevel,
                                   "ZBHTTP::CheckReadHeader: secure request error %lu. \"%s\" for "
                                   "url \"%s\"\n",
                                   static_cast<unsigned long>(error), ResultName(result),
                                   Url.c_str());
        }
        return result;
    }
    ZBHTTPResult result = StoreHeader(header);
    if (result != ZBHTTP_SUCCESS) return result;
    result = JudgeResponse();
    if (result == ZBHTTP_SUCCESS) {
        SecureConnection = std::move(request);
        NeedsRequest = false;
    }
    return result;
}

// Puts a header received whole by the HTTPS stack where the socket's header goes.
ZBHTTPResult ZBHTTP::StoreHeader(const std::string& header) {
    if (!HeaderBuffer) {
        HeaderBuffer.reset(new (std::nothrow) char[kHeaderBufferSize]);
        if (!HeaderBuffer) return ZBHTTP_OutOfMemory;
    }
    std::memset(HeaderBuffer.get(), 0, kHeaderBufferSize);
    HeaderLength = 0;
    const int32_t capacity = kHeaderBufferSize - 1; // the text keeps a terminating zero
    if (header.size() > static_cast<std::size_t>(capacity)) {
        DebugMgr::DebugError(
            "ZBHTTP::ReadHttpHeader: header longer than %ld bytes for url \"%s\"\n",
            static_cast<long>(capacity), Url.c_str());
        return ZBHTTP_ParseHeaderFailed;
    }
    std::memcpy(HeaderBuffer.get(), header.data(), header.size());
    HeaderLength = static_cast<int32_t>(header.size());
    return ZBHTTP_SUCCESS;
}

ZBHTTPResult ZBHTTP::ReceiveHeaderBytes(char* at, int32_t wanted, int32_t timeoutSeconds,
                                        int32_t* received) {
    BlockSockErr error = Socket.Receive(at, wanted, timeoutSeconds, received);
    if (error != Socket_Sucess) {
        ZBHTTPResult result = MapBlockSockErrToZBHTTPErr(error);
        DebugMgr::DebugFailure(kSocketLogLevel,
                               "ZBHTTP::ReadHttpHeader: socket error %ld. \"%s\"\n",
                               static_cast<long>(error), CBlockingSocket::BlockSockErrName(error));
        return result;
    }
    return *received > 0 ? ZBHTTP_SUCCESS : ZBHTTP_SockReadFailed;
}

// The header ends with a line feed, a carriage return and one more byte (normally the final
// line feed). Bytes are taken two at a time, and one at a time once the line feed and carriage
// return have come, so that no byte of the body is consumed however the server splits its
// writes.
ZBHTTPResult ZBHTTP::ReadHttpHeader(int32_t timeoutSeconds) {
    if (!HeaderBuffer) {
        HeaderBuffer.reset(new (std::nothrow) char[kHeaderBufferSize]);
        if (!HeaderBuffer) return ZBHTTP_OutOfMemory;
    }
    char* const buffer = HeaderBuffer.get();
    const int64_t connectedAt =
        ConnectedAt >= 0 ? ConnectedAt : transfer_progress::ClockMilliseconds();
    const int32_t capacity = kHeaderBufferSize - 1; // the text keeps a terminating zero
    for (;;) {
        std::memset(buffer, 0, kHeaderBufferSize);
        HeaderLength = 0;
        int32_t position = 0;
        int matched = 0; // 1: the text ends with a line feed; 2: with a line feed and CR
        while (matched < 3) {
            if (!transfer_progress::HeaderInTime(connectedAt,
                                                 transfer_progress::ClockMilliseconds())) {
                DebugMgr::DebugError(
                    "ZBHTTP::ReadHttpHeader: header not complete %ld seconds "
                    "after connecting for url \"%s\"\n",
                    static_cast<long>(transfer_progress::kWindowMilliseconds / 1000), Url.c_str());
                return ZBHTTP_ServerTimeOut;
            }
            if (position >= capacity) {
                DebugMgr::DebugError(
                    "ZBHTTP::ReadHttpHeader: header longer than %ld bytes for url \"%s\"\n",
                    static_cast<long>(capacity), Url.c_str());
                return ZBHTTP_ParseHeaderFailed;
            }
            int32_t wanted = matched == 2 ? 1 : 2;
            if (wanted > capacity - position) wanted = capacity - position;
            int32_t received = 0;
            ZBHTTPResult result =
                ReceiveHeaderBytes(buffer + position, wanted, timeoutSeconds, &received);
            if (result != ZBHTTP_SUCCESS) return result;
            if (received > wanted) received = wanted; // never trust a count beyond the request
            for (int32_t i = 0; i < received; ++i) {
                const char c = buffer[position + i];
                if (matched == 2)
                    matched = 3;
                else if (c == '\n')
                    matched = 1;
                else if (matched == 1 && c == '\r')
                    matched = 2;
                else
                    matched = 0;
            }
            position += received;
        }
        HeaderLength = position;
        int32_t code = 0;
        // 100 Continue is an interim answer: the final one follows on the same connection.
        if (!FindStatusCode(HeaderText(), &code) || code != 100) return ZBHTTP_SUCCESS;
    }
}

std::string ZBHTTP::HeaderText() const {
    if (!HeaderBuffer || HeaderLength <= 0) return std::string();
    const char* text = HeaderBuffer.get();
    const void* zero = std::memchr(text, '\0', static_cast<std::size_t>(HeaderLength));
    return std::string(text, zero ? static_cast<std::size_t>(static_cast<const char*>(zero) - text)
                                  : static_cast<std::size_t>(HeaderLength));
}

int32_t ZBHTTP::HeaderContentLength() const {
    int32_t length = -1;
    if (FindContentLength(HeaderText(), &length) != ContentLengthFound::Yes || length < 0)
        return -1;
    return length;
}

ZBHTTPResult ZBHTTP::ResponseAllRight() {
    const std::string header = HeaderText();
    int32_t code = 0;
    if (!FindStatusCode(header, &code)) {
        DebugMgr::DebugError("ZHTTP ResponseAllRight : server error %d for url \"%s\"\n", 500,
                             Url.c_str());
        return ZBHTTP_ServerError;
    }
    // Only 200 is the answer; a 1xx status is not final (ReadHttpHeader skips 100 Continue).
    if (code == 200) return ZBHTTP_SUCCESS;
    if (code >= 300 && code <= 399) {
        const std::string location = FindRedirectLocation(header);
        if (location.empty()) {
            DebugMgr::DebugError("ZHTTP ResponseAllRight : unable to parse redirect response for "
                                 "url\"%s\", code is %d, header is \"%s\".\n",
                                 Url.c_str(), static_cast<int>(code), header.c_str());
            return ZBHTTP_ServerUrlNotFound;
        }
        const std::string target = BuildRedirectUrl(location, Host, Secure);
        // What was asked over HTTPS must not continue in clear text.
        if (Secure && target.compare(0, sizeof kSecureScheme - 1, kSecureScheme) != 0) {
            DebugMgr::DebugError("ZHTTP ResponseAllRight : refused redirect from https to url "
                                 "\"%s\" for url \"%s\".\n",
                                 target.c_str(), Url.c_str());
            return ZBHTTP_ServerError;
        }
        SetURL(target); // closes the connection
        DebugMgr::DebugOutput(
            kSocketLogLevel,
            "ZHTTP ResponseAllRight : response code %ld, attempting to redirect to url \"%s\".\n",
            static_cast<long>(code), Url.c_str());
        return RedirectResult;
    }
    if (code == 404) {
        DebugMgr::DebugError("ZHTTP ResponseAllRight : server 404 error for url \"%s\"\n",
                             Url.c_str());
        return ZBHTTP_ServerUrlNotFound;
    }
    DebugMgr::DebugError("ZHTTP ResponseAllRight : server error %d for url \"%s\"\n",
                         static_cast<int>(code), Url.c_str());
    return ZBHTTP_ServerError;
}

ZBHTTPResult ZBHTTP::GetDownloadFileSize(int32_t* size) {
    int32_t ignored = 0;
    if (!size) size = &ignored;
    *size = -1;
    ZBHTTPResult result = CheckReadHeader(0);
    if (result != ZBHTTP_SUCCESS) {
        DebugMgr::DebugError(
            "ZBHTTP GetDownloadFileSize : Read header FAILED %ld \"%s\" for path \"%s\"\n",
            static_cast<long>(result), ResultName(result), LocalFile.c_str());
    } else {
        switch (FindContentLength(HeaderText(), size)) {
        case ContentLengthFound::Yes:
            break;
        case ContentLengthFound::NoLine:
            DebugMgr::DebugError(" ZBHTTP GetDownloadFileSize : FAILED, content-length not found "
                                 "in server response header for path \"%s\"\n",
                                 LocalFile.c_str());
            result = ZBHTTP_Error;
            break;
        case ContentLengthFound::NoCarriageReturn:
            DebugMgr::DebugError("ZBHTTP GetDownloadFileSize : FAILED, error parsing for CR in "
                                 "content-length header for path \"%s\"\n",
                                 LocalFile.c_str());
            result = ZBHTTP_Error;
            break;
        }
    }
    if (Close() != ZBHTTP_SUCCESS)
        DebugMgr::DebugError(" ZBHTTP::GetDownloadFileSize : Close( ) FAILED \n");
    return result;
}

ZBHTTPResult ZBHTTP::DoGetIntoBuffer(char* buffer, int32_t size, int32_t* received) {
    ZBHTTPResult result = CheckReadHeader(0);
    if (result != ZBHTTP_SUCCESS) return result;
    int32_t count = 0;
    if (SecureConnection) {
        const uint32_t error = SecureConnection->Read(buffer, size, &count);
        if (error != 0) {
            result = MapSecureErrorToZBHTTPResult(error);
            DebugMgr::DebugFailure(kSocketLogLevel,
                                   "ZBHTTP::DoGetIntoBuffer: secure read error %lu. \"%s\"\n",
                                   static_cast<unsigned long>(error), ResultName(result));
            count = 0;
        }
        DebugMgr::DebugOutput(kDetailLogLevel, "ZBHTTP::DoGetIntoBuffer bytes received = %ld\n",
                              static_cast<long>(count));
        if (received) *received = count;
        return result;
    }
    BlockSockErr error = Socket.Receive(buffer, size, TimeoutSeconds, &count);
    if (error != Socket_Sucess) {
        result = MapBlockSockErrToZBHTTPErr(error);
        DebugMgr::DebugFailure(kSocketLogLevel,
                               "ZBHTTP::DoGetIntoBuffer: socket error %ld. \"%s\"\n",
                               static_cast<long>(error), CBlockingSocket::BlockSockErrName(error));
    }
    DebugMgr::DebugOutput(kDetailLogLevel, "ZBHTTP::DoGetIntoBuffer bytes received = %ld\n",
                          static_cast<long>(count));
    if (received) *received = count;
    return result;
}

ZBHTTPResult ZBHTTP::Close() {
    NeedsRequest = true;
    HeaderLength = 0;
    ConnectedAt = -1;
    SecureConnection.reset();
    ZBHTTPResult result = ZBHTTP_SUCCESS;
    if (SocketOpen) {
        BlockSockErr error = Socket.Close();
        if (error != Socket_Sucess) {
            result = MapBlockSockErrToZBHTTPErr(error);
            DebugMgr::DebugFailure(kSocketLogLevel, "ZBHTTP::Close: socket error %ld. \"%s\"\n",
                                   static_cast<long>(error),
                                   CBlockingSocket::BlockSockErrName(error));
        }
        SocketOpen = false;
    }
    return result;
}
