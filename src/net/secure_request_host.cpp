// The host build has no platform HTTPS stack: https:// addresses fail cleanly there.
#include "net/secure_request.h"

std::unique_ptr<SecureRequest> OpenSecureRequest() {
    return nullptr;
}
