// Fuzz target of the download client: arbitrary bytes as a server's response (header reading,
// status, redirect and Content-Length judging, body reading) over a socket pair, and arbitrary
// text as a URL (parsing and request formatting). The first byte chooses which.
#include "../../host/net/socket_calls_seam.h"
#include "../../host/net/zbhttp_under_test.h"
#include "debug/debug_mgr.h"
#include "net/http_header_text.h"

#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// Hands `http` a connection on which `response` has been sent and the peer has closed.
bool ConnectCanned(ZBHTTPUnderTest& http, const std::string& response) {
    int ends[2];
    if (socketpair(AF_UNIX, SOCK_STREAM, 0, ends) != 0) return false;
    fcntl(ends[1], F_SETFL, O_NONBLOCK);
    std::size_t sent = 0;
    while (sent < response.size()) {
        ssize_t n = send(ends[1], response.data() + sent, response.size() - sent, MSG_NOSIGNAL);
        if (n <= 0) break; // a full socket buffer cuts the response short
        sent += static_cast<std::size_t>(n);
    }
    close(ends[1]);
    if (socket_seam::HandOverTo(http.Socket, ends[0]) != Socket_Sucess) {
        close(ends[0]);
        return false;
    }
    http.SocketOpen = true;
    return true;
}

void FuzzResponse(const std::string& response) {
    // The pure readers on the raw text.
    int32_t value = 0;
    FindStatusCode(response, &value);
    FindContentLength(response, &value);
    const std::string location = FindRedirectLocation(response);
    if (!location.empty()) BuildRedirectUrl(location, "host", response.size() % 2 == 0);
    ParseDecimal(response);

    // The same bytes through the client, as a server would send them.
    ZBHTTPUnderTest http;
    http.SetURL("http://127.0.0.1:9/dir/file.exe");
    http.TimeoutSeconds = 1; // the peer has closed: no wait lasts
    if (!ConnectCanned(http, response)) return;
    if (http.ReadHttpHeader(http.TimeoutSeconds) != ZBHTTP_SUCCESS) {
        if (http.HeaderLength != 0) abort();
        return;
    }
    if (http.HeaderLength <= 0 || http.HeaderLength >= ZBHTTP::kHeaderBufferSize) abort();
    int32_t size = -1;
    FindContentLength(http.HeaderText(), &size);
    if (http.ResponseAllRight() != ZBHTTP_SUCCESS) return;
    http.NeedsRequest = false;
    char piece[ZBHTTP::kPieceSize];
    for (;;) {
        int32_t received = 0;
        if (http.DoGetIntoBuffer(piece, sizeof piece, &received) != ZBHTTP_SUCCESS || received <= 0)
            break;
        if (received > static_cast<int32_t>(sizeof piece)) abort();
    }
}

void FuzzUrl(const std::string& url, uint8_t flags) {
    ZBHTTPUnderTest http;
    if (http.SetURL(url) != ZBHTTP_SUCCESS) return;
    if (http.Port < 0 || http.Port > 65535 || http.Path.empty() || http.Path[0] != '/') abort();
    http.UseProxy = flags & 1;
    http.Proxy.UseProxyAuthorization = flags & 2;
    http.Proxy.ProxyUser = http.Host;
    http.Proxy.ProxyPassword = http.Path;
    RequestTexts texts;
    if (http.FormatRequest(&texts) == ZBHTTP_SUCCESS) {
        const std::string line = texts.line;
        if (line.compare(0, 4, "GET ") != 0 || line.size() >= sizeof texts.line) abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // Messages are formatted and written (to nowhere), so their formats are exercised too.
    DebugMgr::DebugLevel = 100;
    DebugMgr::DebugOutputFileName = "/dev/null";
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);
    if (data[0] & 1)
        FuzzUrl(text, data[0] >> 1);
    else
        FuzzResponse(text);
    return 0;
}
