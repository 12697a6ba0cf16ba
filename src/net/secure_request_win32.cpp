// The system's HTTPS stack: WinHTTP where the system has it, WinINet otherwise.
#include "net/secure_request.h"

std::unique_ptr<SecureRequest> OpenSecureRequest() {
    if (std::unique_ptr<SecureRequest> request = OpenWinHttpRequest()) return request;
    return OpenWinInetRequest();
}
