// Fuzz target of the download client: arbitrary bytes as a server's response (header reading,
// status, redirect and Content-Length judging, body reading) over a socket pair, and arbitrary
// text as a URL (parsing and request formatting). The first byte chooses which.
#include "../../host/net/socket_calls_seam.h"
#include "debug/debug_mgr.h"
#include "net/http_header_text.h"
#include "net/zbhttp.h"

#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <sys/socket.h>
#include <unistd.h>

namespace {

ssize_t Discard(int, const char*, std::size_t length) {
    return static_cast<ssize_t>(length);
}

// The client's next connection reaches a peer that has sent `response` and closed.
bool CannedConnection(const std::string& response) {
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
    socket_seam::HandOver(ends[0]);
    return true;
}

// A redirect to another host would look its name up: only absolute URLs to 127.0.0.1 go on.
bool StaysOnThisMachine(const std::string& text) {
    for (std::size_t at = text.find("://"); at != std::string::npos; at = text.find("://", at + 1))
        if (text.compare(at + 3, 9, "127.0.0.1") != 0 || text.size() <= at + 12 ||
            (text[at + 12] != ':' && text[at + 12] != '/'))
            return false;
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

    // The same bytes through the client, as a server would send them; a redirect's request gets
    // an empty answer.
    if (!StaysOnThisMachine(response)) return;
    ZBHTTP http;
    http.SetURL("http://127.0.0.1:9/dir/file.exe");
    if (!CannedConnection(response) || !CannedConnection("")) return;
    socket_seam::SetSend(Discard);
    char piece[ZBHTTP::kPieceSize];
    for (;;) {
        int32_t received = 0;
        if (http.DoGetIntoBuffer(piece, sizeof piece, &received) != ZBHTTP_SUCCESS || received <= 0)
            break;
        if (received > static_cast<int32_t>(sizeof piece)) abort();
        if (http.HeaderText().size() >= ZBHTTP::kHeaderBufferSize) abort();
    }
    socket_seam::SetSend(nullptr);
    socket_seam::HandOver(-1);
}

void FuzzUrl(const std::string& url, uint8_t flags) {
    ZBHTTP http;
    if (http.SetURL(url) != ZBHTTP_SUCCESS) return;
    if (flags & 1) {
        ProxySettings proxy;
        proxy.UseProxyAuthorization = flags & 2;
        proxy.ProxyUser = url;
        proxy.ProxyPassword = url;
        http.SetProxy(proxy);
    }
    RequestTexts texts;
    if (http.FormatRequest(&texts) == ZBHTTP_SUCCESS) {
        const std::string line = texts.line;
        const std::string::size_type path = line.find(flags & 1 ? "/" : "GET /");
        if (line.compare(0, 4, "GET ") != 0 || line.size() >= sizeof texts.line ||
            path == std::string::npos)
            abort();
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
