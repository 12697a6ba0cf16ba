// Download throughput: the ZBHTTP client against a plain select + recv loop of the same piece
// size over the same socket layer, each writing what it receives to a file. An https:// URL goes
// through the platform's HTTPS stack.
//   bench_download client URL FILE
//   bench_download plain HOST PORT PATH FILE
// Prints one line: "<mode> bytes=<n> seconds=<s> MBps=<rate>".
#include "debug/debug_mgr.h"
#include "net/blocking_socket.h"
#include "net/zbhttp.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;

int64_t g_bytes = 0;

int32_t CountBytes(const char*, int32_t, int32_t total, DownloadState, int32_t, uintptr_t) {
    g_bytes = total;
    return CallbackContinue;
}

int RunClient(const char* url, const char* file) {
    ZBHTTP http;
    if (http.SetURL(url) != ZBHTTP_SUCCESS) return 2;
    const Clock::time_point start = Clock::now();
    // A long interval: only the start and end reports, as in the plain loop.
    const ZBHTTPResult result = http.DoGetIntoFile(file, &CountBytes, 0, 1 << 30, false, nullptr);
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    if (result != ZBHTTP_SUCCESS) {
        std::fprintf(stderr, "download failed: %s\n", ZBHTTP::ResultName(result));
        return 1;
    }
    std::printf("client bytes=%lld seconds=%.3f MBps=%.1f\n", static_cast<long long>(g_bytes),
                seconds, g_bytes / seconds / 1e6);
    return 0;
}

int RunPlain(const char* host, int port, const char* path, const char* file) {
    ZBHTTP library; // starts the socket library
    CBlockingSocket socket;
    sockapi::SocketAddress address;
    if (CBlockingSocket::GetHostByName(host, static_cast<uint16_t>(port), &address) !=
            Socket_Sucess ||
        socket.Create(1) != Socket_Sucess || socket.Connect(address) != Socket_Sucess)
        return 2;
    std::FILE* out = std::fopen(file, "wb");
    if (!out) return 2;
    const Clock::time_point start = Clock::now();
    const std::string request = std::string("GET ") + path + " HTTP/1.0\r\n\r\n";
    int32_t sent = 0;
    if (socket.Write(request.data(), static_cast<int32_t>(request.size()), 5, &sent) !=
        Socket_Sucess)
        return 2;
    char piece[ZBHTTP::kPieceSize];
    int64_t bytes = 0;
    for (;;) {
        int32_t received = 0;
        if (socket.Receive(piece, sizeof piece, 5, &received) != Socket_Sucess) return 1;
        if (received <= 0) break;
        if (std::fwrite(piece, 1, static_cast<size_t>(received), out) !=
            static_cast<size_t>(received))
            return 1;
        bytes += received;
    }
    std::fclose(out);
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    socket.Close();
    std::printf("plain bytes=%lld seconds=%.3f MBps=%.1f\n", static_cast<long long>(bytes), seconds,
                bytes / seconds / 1e6);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    // The client's diagnostic texts on standard output, to see why a run failed.
    if (const char* level = std::getenv("SETUP_DEBUG_LEVEL"))
        DebugMgr::DebugLevel = std::atoi(level);
    if (argc == 4 && std::strcmp(argv[1], "client") == 0) return RunClient(argv[2], argv[3]);
    if (argc == 6 && std::strcmp(argv[1], "plain") == 0)
        return RunPlain(argv[2], std::atoi(argv[3]), argv[4], argv[5]);
    std::fprintf(stderr, "usage: bench_download client URL FILE | plain HOST PORT PATH FILE\n");
    return 2;
}
