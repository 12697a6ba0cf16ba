// Winsock 1.1 behind the socket shim.
#include "net/socket_api.h"

#include <cstring>

namespace sockapi {

int Startup(int major, int minor, StartupInfo* info) {
    WSADATA data;
    std::memset(&data, 0, sizeof data);
    int error = ::WSAStartup(MAKEWORD(major, minor), &data);
    if (error == 0 && info) {
        *info = StartupInfo{LOBYTE(data.wHighVersion), HIBYTE(data.wHighVersion),
                            LOBYTE(data.wVersion), HIBYTE(data.wVersion)};
    }
    return error;
}

int Cleanup() {
    return ::WSACleanup();
}

int32_t LastSocketError() {
    return ::WSAGetLastError();
}
void SetLastSocketError(int32_t code) {
    ::WSASetLastError(code);
}

SocketHandle OpenSocket(int type) {
    return ::socket(AF_INET, type, 0);
}

int CloseSocket(SocketHandle socket) {
    return ::closesocket(socket);
}

int Connect(SocketHandle socket, const sockaddr_in& address) {
    return ::connect(socket, reinterpret_cast<const sockaddr*>(&address), sizeof address);
}

int Wait(SocketHandle socket, bool forWrite, long seconds) {
    fd_set set;
    FD_ZERO(&set);
    FD_SET(socket, &set);
    timeval timeout{seconds < 0 ? 0 : seconds, 0};
    int ready =
        ::select(0, forWrite ? nullptr : &set, forWrite ? &set : nullptr, nullptr, &timeout);
    if (ready == 0) {
        // select leaves the last error alone when the time runs out; record the time-out so that
        // a stale error of an earlier call is not reported instead.
        ::WSASetLastError(WSAETIMEDOUT);
        return 0;
    }
    return ready > 0 ? 1 : kSocketError;
}

int Send(SocketHandle socket, const char* data, int length) {
    return ::send(socket, data, length, 0);
}

int Receive(SocketHandle socket, char* buffer, int size) {
    return ::recv(socket, buffer, size, 0);
}

int LocalAddress(SocketHandle socket, sockaddr_in* address) {
    int length = sizeof *address;
    return ::getsockname(socket, reinterpret_cast<sockaddr*>(address), &length);
}

bool LookupHost(const char* name, in_addr* address) {
    const hostent* host = ::gethostbyname(name);
    if (!host) return false;
    if (host->h_addrtype != AF_INET || host->h_length != 4 || !host->h_addr_list ||
        !host->h_addr_list[0]) {
        ::WSASetLastError(WSANO_DATA);
        return false;
    }
    std::memcpy(address, host->h_addr_list[0], 4);
    return true;
}

} // namespace sockapi
