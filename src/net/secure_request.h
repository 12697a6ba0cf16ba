// One HTTPS request through the platform's own HTTPS stack (WinHTTP where the system has it,
// WinINet otherwise, both bound at run time from the system folder). The platform verifies the
// server's certificate and host name; nothing here can switch that off. Redirects are not
// followed: the client judges them like any other answer.
#pragma once
#include <cstdint>
#include <memory>
#include <string>

class SecureRequest {
  public:
    virtual ~SecureRequest() = default;
    // Connects to host:port, sends GET `path` and receives the response header: its raw text
    // with CR LF line ends and the closing empty line. 0, or the stack's error code (WinHTTP and
    // WinINet share their numbers).
    virtual uint32_t Send(const std::string& host, int32_t port, const std::string& path,
                          int32_t timeoutSeconds, std::string* header) = 0;
    // The next piece of the body; 0 bytes: the body is complete. 0, or the stack's error code.
    virtual uint32_t Read(char* buffer, int32_t size, int32_t* received) = 0;
};

// A request on the system's HTTPS stack; null when the system has none (the host build has none).
std::unique_ptr<SecureRequest> OpenSecureRequest();

#ifdef _WIN32
// Each stack on its own; null when its library or an entry point is missing.
std::unique_ptr<SecureRequest> OpenWinHttpRequest();
std::unique_ptr<SecureRequest> OpenWinInetRequest();
#endif

// The HTTPS stack's error codes (shared by WinHTTP and WinINet) that the client tells apart.
enum : uint32_t {
    kSecureNoMemory = 8,
    kSecureTimeout = 12002,
    kSecureNameNotResolved = 12007,
    kSecureCannotConnect = 12029,
    kSecureConnectionError = 12030,
    kSecureConnectionReset = 12031,
    kSecureCertDateInvalid = 12037,
    kSecureCertNameInvalid = 12038,
    kSecureClientCertNeeded = 12044,
    kSecureInvalidCa = 12045,
    kSecureCertErrors = 12055,
    kSecureCertRevocationFailed = 12057,
    kSecureChannelError = 12157,
    kSecureInvalidCert = 12169,
    kSecureCertRevoked = 12170,
    kSecureFailure = 12175,
    kSecureCertWrongUsage = 12179,
};
