// Replaces the product's socket_calls_host.cpp: the linker takes these definitions before the ones
// in setup_core.
#include "socket_calls_seam.h"

#include "net/socket_api.h"
#include "net/socket_calls_host.h"

#include <sys/socket.h>

namespace {
bool startupFails = false;
socket_seam::SendFunction sendReplacement = nullptr;
int handedOver = -1;
} // namespace

namespace socket_seam {
void SetStartupFails(bool fails) {
    startupFails = fails;
}
void SetSend(SendFunction send) {
    sendReplacement = send;
}
void HandOver(int connected) {
    handedOver = connected;
}
} // namespace socket_seam

namespace sockapi {

int Startup(int major, int minor, StartupInfo* info) {
    if (startupFails) {
        SetLastSocketError(kWsaNotInitialised);
        return kWsaNotInitialised;
    }
    if (info) *info = StartupInfo{2, 2, major, minor};
    return 0;
}

int SystemSocket(int type) {
    const int connected = handedOver;
    handedOver = -1;
    return connected >= 0 ? connected : ::socket(AF_INET, type, 0);
}

ssize_t SystemSend(int socket, const char* data, std::size_t length) {
    return sendReplacement ? sendReplacement(socket, data, length)
                           : ::send(socket, data, length, MSG_NOSIGNAL);
}

} // namespace sockapi
