// The host socket shim's start-up and system calls.
#include "net/socket_calls_host.h"
#include "net/socket_api.h"

#include <sys/socket.h>

namespace sockapi {

// BSD sockets need no start-up: the host reports the newest Winsock version as available.
int Startup(int major, int minor, StartupInfo* info) {
    if (info) *info = StartupInfo{2, 2, major, minor};
    return 0;
}

int SystemSocket(int type) {
    return ::socket(AF_INET, type, 0);
}

ssize_t SystemSend(int socket, const char* data, std::size_t length) {
    // A peer that has gone must give an error, not SIGPIPE.
    return ::send(socket, data, length, MSG_NOSIGNAL);
}

int SystemConnect(int socket, const sockaddr* address, socklen_t length) {
    return ::connect(socket, address, length);
}

} // namespace sockapi
