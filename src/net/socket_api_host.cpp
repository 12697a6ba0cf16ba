// BSD sockets behind the socket shim, with errno and resolver codes turned into Winsock numbers.
#include "net/socket_api.h"
#include "net/socket_calls_host.h"

#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstring>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace sockapi {
namespace {

thread_local int32_t t_lastError = 0;

struct ErrnoMapping {
    int errnoValue;
    int32_t wsaError;
};

const ErrnoMapping kErrnoMappings[] = {
    {EINTR, 10004},           {EBADF, 10009},        {EACCES, 10013},
    {EFAULT, 10014},          {EINVAL, 10022},       {EMFILE, 10024},
    {EWOULDBLOCK, 10035},     {EINPROGRESS, 10036},  {EALREADY, 10037},
    {ENOTSOCK, 10038},        {EDESTADDRREQ, 10039}, {EMSGSIZE, 10040},
    {EPROTOTYPE, 10041},      {ENOPROTOOPT, 10042},  {EPROTONOSUPPORT, 10043},
    {ESOCKTNOSUPPORT, 10044}, {EOPNOTSUPP, 10045},   {EPFNOSUPPORT, 10046},
    {EAFNOSUPPORT, 10047},    {EADDRINUSE, 10048},   {EADDRNOTAVAIL, 10049},
    {ENETDOWN, 10050},        {ENETUNREACH, 10051},  {ENETRESET, 10052},
    {ECONNABORTED, 10053},    {ECONNRESET, 10054},   {ENOBUFS, 10055},
    {EISCONN, 10056},         {ENOTCONN, 10057},     {ESHUTDOWN, 10058},
    {EPIPE, 10058},           {ETOOMANYREFS, 10059}, {ETIMEDOUT, 10060},
    {ECONNREFUSED, 10061},    {ELOOP, 10062},        {ENAMETOOLONG, 10063},
    {EHOSTDOWN, 10064},       {EHOSTUNREACH, 10065},
};

// errno values outside the table stay as they are (all far below the Winsock range).
int32_t MapErrno(int value) {
    for (const ErrnoMapping& mapping : kErrnoMappings)
        if (mapping.errnoValue == value) return mapping.wsaError;
    return value;
}

void RecordErrno() {
    t_lastError = MapErrno(errno);
}

int32_t MapResolverError(int code) {
    switch (code) {
    case EAI_NONAME:
        return kWsaHostNotFound;
#ifdef EAI_NODATA
    case EAI_NODATA:
        return kWsaNoData;
#endif
    case EAI_AGAIN:
        return kWsaTryAgain;
    case EAI_FAIL:
        return kWsaNoRecovery;
    case EAI_MEMORY:
        return 10055; // WSAENOBUFS
    case EAI_SYSTEM:
        return errno ? MapErrno(errno) : kWsaNoRecovery;
    default:
        return kWsaNoRecovery;
    }
}

} // namespace

int Cleanup() {
    return 0;
}

int32_t LastSocketError() {
    return t_lastError;
}
void SetLastSocketError(int32_t code) {
    t_lastError = code;
}

SocketHandle OpenSocket(int type) {
    int handle = SystemSocket(type);
    if (handle < 0) RecordErrno();
    return handle < 0 ? kInvalidSocket : handle;
}

int CloseSocket(SocketHandle socket) {
    if (::close(socket) == 0) return 0;
    RecordErrno();
    return kSocketError;
}

int Connect(SocketHandle socket, const SocketAddress& address) {
    sockaddr_in inet{};
    inet.sin_family = AF_INET;
    inet.sin_port = address.port;
    std::memcpy(&inet.sin_addr, &address.address, sizeof address.address);
    int result;
    do {
        result = SystemConnect(socket, reinterpret_cast<const sockaddr*>(&inet), sizeof inet);
    } while (result != 0 && errno == EINTR);
    if (result == 0) return 0;
    RecordErrno();
    return kSocketError;
}

// poll, not select: a descriptor above FD_SETSIZE would not fit an fd_set.
int Wait(SocketHandle socket, bool forWrite, long seconds) {
    using Clock = std::chrono::steady_clock;
    if (seconds < 0) seconds = 0;
    const long long totalMs = seconds > INT_MAX / 1000 ? INT_MAX : seconds * 1000LL;
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(totalMs);
    for (;;) {
        long long leftMs =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (leftMs < 0) leftMs = 0;
        pollfd entry{socket, static_cast<short>(forWrite ? POLLOUT : POLLIN), 0};
        int ready = ::poll(&entry, 1, static_cast<int>(leftMs));
        if (ready > 0) return 1; // readable, writable, or an error the transfer will report
        if (ready == 0) {
            t_lastError = kWsaEtimedout;
            return 0;
        }
        if (errno != EINTR) {
            RecordErrno();
            return kSocketError;
        }
    }
}

int Send(SocketHandle socket, const char* data, int length) {
    ssize_t sent;
    do {
        sent = SystemSend(socket, data, static_cast<size_t>(length < 0 ? 0 : length));
    } while (sent < 0 && errno == EINTR);
    if (sent < 0) {
        RecordErrno();
        return kSocketError;
    }
    return static_cast<int>(sent);
}

int Receive(SocketHandle socket, char* buffer, int size) {
    ssize_t received;
    do {
        received = ::recv(socket, buffer, static_cast<size_t>(size < 0 ? 0 : size), 0);
    } while (received < 0 && errno == EINTR);
    if (received < 0) {
        RecordErrno();
        return kSocketError;
    }
    return static_cast<int>(received);
}

int LocalAddress(SocketHandle socket, SocketAddress* address) {
    sockaddr_in inet{};
    socklen_t length = sizeof inet;
    if (::getsockname(socket, reinterpret_cast<sockaddr*>(&inet), &length) == 0) {
        address->port = inet.sin_port;
        std::memcpy(&address->address, &inet.sin_addr, sizeof address->address);
        return 0;
    }
    RecordErrno();
    return kSocketError;
}

bool LookupHost(const char* name, uint32_t* address) {
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    errno = 0;
    int code = ::getaddrinfo(name ? name : "", nullptr, &hints, &found);
    if (code != 0) {
        t_lastError = MapResolverError(code);
        return false;
    }
    bool ok = false;
    for (addrinfo* entry = found; entry; entry = entry->ai_next) {
        if (entry->ai_family == AF_INET && entry->ai_addrlen >= sizeof(sockaddr_in)) {
            const in_addr& inet = reinterpret_cast<const sockaddr_in*>(entry->ai_addr)->sin_addr;
            std::memcpy(address, &inet, sizeof *address);
            ok = true;
            break;
        }
    }
    ::freeaddrinfo(found);
    if (!ok) t_lastError = kWsaNoData;
    return ok;
}

} // namespace sockapi
