// Download throughput: the ZBHTTP client against a plain select + recv loop of the same piece
// size over the same socket layer, each writing what it receives to a file. An https:// URL goes
// through the platform's HTTPS stack; on Windows CA_DER names a test authority trusted for the run.
//   bench_download client URL FILE [CA_DER]
//   bench_download plain HOST PORT PATH FILE
// Prints one line: "<mode> bytes=<n> seconds=<s> MBps=<rate>".
#include "net/blocking_socket.h"
#include "net/zbhttp.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#ifdef _WIN32
#include "sys/win32.h"

#include <wincrypt.h>
#endif

namespace {

using Clock = std::chrono::steady_clock;

int64_t g_bytes = 0;

int32_t CountBytes(const char*, int32_t, int32_t total, DownloadState, int32_t, uintptr_t) {
    g_bytes = total;
    return CallbackContinue;
}

#ifdef _WIN32
// The authority in the local machine's Root store while the object lives.
class TrustedAuthority {
  public:
    explicit TrustedAuthority(const char* derFile) {
        if (!derFile) return;
        std::FILE* in = std::fopen(derFile, "rb");
        if (!in) return;
        std::string der;
        char piece[4096];
        for (std::size_t n; (n = std::fread(piece, 1, sizeof piece, in)) > 0;)
            der.append(piece, n);
        std::fclose(in);
        store_ = ::CertOpenStore(CERT_STORE_PROV_SYSTEM_A, 0, 0, CERT_SYSTEM_STORE_LOCAL_MACHINE,
                                 "Root");
        if (store_)
            ::CertAddEncodedCertificateToStore(
                store_, X509_ASN_ENCODING, reinterpret_cast<const BYTE*>(der.data()),
                static_cast<DWORD>(der.size()), CERT_STORE_ADD_REPLACE_EXISTING, &added_);
    }
    ~TrustedAuthority() {
        if (added_) ::CertDeleteCertificateFromStore(added_);
        if (store_) ::CertCloseStore(store_, 0);
    }

  private:
    HCERTSTORE store_ = nullptr;
    PCCERT_CONTEXT added_ = nullptr;
};
#else
struct TrustedAuthority {
    explicit TrustedAuthority(const char*) {}
};
#endif

int RunClient(const char* url, const char* file, const char* authority) {
    const TrustedAuthority trusted(authority);
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
    sockaddr_in address{};
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
    if ((argc == 4 || argc == 5) && std::strcmp(argv[1], "client") == 0)
        return RunClient(argv[2], argv[3], argc == 5 ? argv[4] : nullptr);
    if (argc == 6 && std::strcmp(argv[1], "plain") == 0)
        return RunPlain(argv[2], std::atoi(argv[3]), argv[4], argv[5]);
    std::fprintf(stderr,
                 "usage: bench_download client URL FILE [CA_DER] | plain HOST PORT PATH FILE\n");
    return 2;
}
