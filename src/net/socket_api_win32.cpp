// Winsock 1.1 behind the socket shim, bound at run time from the system folder: WSOCK32.DLL is not
// a KnownDLL, so a static import would take a copy planted beside the launcher.
#include "net/socket_api.h"

#include <cstring>
#include <type_traits>

#include "sys/entry_point.h"
#include "sys/system_library.h"
#include "sys/win32.h"
// WIN32_LEAN_AND_MEAN leaves Winsock out of windows.h.
#include <winsock.h>

namespace sockapi {

static_assert(std::is_same<SocketHandle, SOCKET>::value, "SocketHandle is Winsock's SOCKET");

namespace {

sockaddr_in ToSockaddr(const SocketAddress& address) {
    sockaddr_in inet{};
    inet.sin_family = AF_INET;
    inet.sin_port = address.port;
    std::memcpy(&inet.sin_addr, &address.address, sizeof address.address);
    return inet;
}

struct Winsock {
    int(WINAPI* startup)(WORD, LPWSADATA);
    int(WINAPI* cleanup)();
    int(WINAPI* getLastError)();
    void(WINAPI* setLastError)(int);
    SOCKET(WINAPI* socket)(int, int, int);
    int(WINAPI* closesocket)(SOCKET);
    int(WINAPI* connect)(SOCKET, const sockaddr*, int);
    int(WINAPI* select)(int, fd_set*, fd_set*, fd_set*, const timeval*);
    int(WINAPI* send)(SOCKET, const char*, int, int);
    int(WINAPI* recv)(SOCKET, char*, int, int);
    int(WINAPI* getsockname)(SOCKET, sockaddr*, int*);
    hostent*(WINAPI* gethostbyname)(const char*);
};

// The library with every entry point, or null when it cannot be loaded or lacks one. Loaded once
// and kept until the process ends (the download thread and the worker both use it).
const Winsock* Library() {
    static const Winsock* const bound = []() -> const Winsock* {
        static Winsock winsock;
        HMODULE library = LoadSystemLibrary("WSOCK32.DLL");
        if (!library) return nullptr;
        const bool complete = BindEntryPoint(library, "WSAStartup", winsock.startup) &&
                              BindEntryPoint(library, "WSACleanup", winsock.cleanup) &&
                              BindEntryPoint(library, "WSAGetLastError", winsock.getLastError) &&
                              BindEntryPoint(library, "WSASetLastError", winsock.setLastError) &&
                              BindEntryPoint(library, "socket", winsock.socket) &&
                              BindEntryPoint(library, "closesocket", winsock.closesocket) &&
                              BindEntryPoint(library, "connect", winsock.connect) &&
                              BindEntryPoint(library, "select", winsock.select) &&
                              BindEntryPoint(library, "send", winsock.send) &&
                              BindEntryPoint(library, "recv", winsock.recv) &&
                              BindEntryPoint(library, "getsockname", winsock.getsockname) &&
                              BindEntryPoint(library, "gethostbyname", winsock.gethostbyname);
        return complete ? &winsock : nullptr;
    }();
    return bound;
}

// What callers see when the library is missing: Winsock's own "not ready" answer.
int32_t missingLibraryError = 0;

int Unavailable() {
    missingLibraryError = WSASYSNOTREADY;
    return kSocketError;
}

} // namespace

int Startup(int major, int minor, StartupInfo* info) {
    const Winsock* winsock = Library();
    if (!winsock) return WSASYSNOTREADY;
    WSADATA data;
    std::memset(&data, 0, sizeof data);
    int error = winsock->startup(MAKEWORD(major, minor), &data);
    if (error == 0 && info) {
        *info = StartupInfo{LOBYTE(data.wHighVersion), HIBYTE(data.wHighVersion),
                            LOBYTE(data.wVersion), HIBYTE(data.wVersion)};
    }
    return error;
}

int Cleanup() {
    const Winsock* winsock = Library();
    return winsock ? winsock->cleanup() : Unavailable();
}

int32_t LastSocketError() {
    const Winsock* winsock = Library();
    return winsock ? winsock->getLastError() : missingLibraryError;
}
void SetLastSocketError(int32_t code) {
    if (const Winsock* winsock = Library())
        winsock->setLastError(code);
    else
        missingLibraryError = code;
}

SocketHandle OpenSocket(int type) {
    const Winsock* winsock = Library();
    if (!winsock) {
        Unavailable();
        return kInvalidSocket;
    }
    return winsock->socket(AF_INET, type, 0);
}

int CloseSocket(SocketHandle socket) {
    const Winsock* winsock = Library();
    return winsock ? winsock->closesocket(socket) : Unavailable();
}

int Connect(SocketHandle socket, const SocketAddress& address) {
    const Winsock* winsock = Library();
    if (!winsock) return Unavailable();
    const sockaddr_in inet = ToSockaddr(address);
    return winsock->connect(socket, reinterpret_cast<const sockaddr*>(&inet), sizeof inet);
}

int Wait(SocketHandle socket, bool forWrite, long seconds) {
    const Winsock* winsock = Library();
    if (!winsock) return Unavailable();
    fd_set set;
    FD_ZERO(&set);
    FD_SET(socket, &set);
    timeval timeout{seconds < 0 ? 0 : seconds, 0};
    int ready =
        winsock->select(0, forWrite ? nullptr : &set, forWrite ? &set : nullptr, nullptr, &timeout);
    if (ready == 0) {
        // select leaves the last error alone when the time runs out; record the time-out so that
        // a stale error of an earlier call is not reported instead.
        winsock->setLastError(WSAETIMEDOUT);
        return 0;
    }
    return ready > 0 ? 1 : kSocketError;
}

int Send(SocketHandle socket, const char* data, int length) {
    const Winsock* winsock = Library();
    return winsock ? winsock->send(socket, data, length, 0) : Unavailable();
}

int Receive(SocketHandle socket, char* buffer, int size) {
    const Winsock* winsock = Library();
    return winsock ? winsock->recv(socket, buffer, size, 0) : Unavailable();
}

int LocalAddress(SocketHandle socket, SocketAddress* address) {
    const Winsock* winsock = Library();
    if (!winsock) return Unavailable();
    sockaddr_in inet{};
    int length = sizeof inet;
    const int result = winsock->getsockname(socket, reinterpret_cast<sockaddr*>(&inet), &length);
    if (result == 0) {
        address->port = inet.sin_port;
        std::memcpy(&address->address, &inet.sin_addr, sizeof address->address);
    }
    return result;
}

bool LookupHost(const char* name, uint32_t* address) {
    const Winsock* winsock = Library();
    if (!winsock) {
        Unavailable();
        return false;
    }
    const hostent* host = winsock->gethostbyname(name);
    if (!host) return false;
    if (host->h_addrtype != AF_INET || host->h_length != 4 || !host->h_addr_list ||
        !host->h_addr_list[0]) {
        winsock->setLastError(WSANO_DATA);
        return false;
    }
    std::memcpy(address, host->h_addr_list[0], 4);
    return true;
}

} // namespace sockapi
