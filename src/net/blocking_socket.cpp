// Blocking TCP socket with time-outs and Winsock error mapping.
#include "net/blocking_socket.h"

#include "debug/debug_mgr.h"

#include <cstring>

namespace {

constexpr int32_t kLogLevel = 20;

struct ErrorMapping {
    int32_t winsockError;
    BlockSockErr result;
};

const ErrorMapping kErrorMappings[] = {
    {10004, Socket_Timeout},        // WSAEINTR
    {10014, Socket_Timeout},        // WSAEFAULT
    {10058, Socket_Timeout},        // WSAESHUTDOWN
    {10060, Socket_Timeout},        // WSAETIMEDOUT
    {10061, Socket_Timeout},        // WSAECONNREFUSED
    {11001, Socket_Timeout},        // WSAHOST_NOT_FOUND
    {11002, Socket_Timeout},        // WSATRY_AGAIN
    {11003, Socket_Timeout},        // WSANO_RECOVERY
    {11004, Socket_Timeout},        // WSANO_DATA
    {10050, Socket_NetworkError},   // WSAENETDOWN
    {10051, Socket_NetworkError},   // WSAENETUNREACH
    {10064, Socket_NetworkError},   // WSAEHOSTDOWN
    {10065, Socket_NetworkError},   // WSAEHOSTUNREACH
    {10093, Socket_NotInitialised}, // WSANOTINITIALISED
    {10013, Socket_Error},          // WSAEACCES
    {10036, Socket_Error},          // WSAEINPROGRESS
    {10037, Socket_Error},          // WSAEALREADY
    {10039, Socket_Error},          // WSAEDESTADDRREQ
    {10042, Socket_Error},          // WSAENOPROTOOPT
    {10043, Socket_Error},          // WSAEPROTONOSUPPORT
    {10044, Socket_Error},          // WSAESOCKTNOSUPPORT
    {10045, Socket_Error},          // WSAEOPNOTSUPP
    {10046, Socket_Error},          // WSAEPFNOSUPPORT
    {10047, Socket_Error},          // WSAEAFNOSUPPORT
    {10048, Socket_Error},          // WSAEADDRINUSE
    {10049, Socket_Error},          // WSAEADDRNOTAVAIL
    {10056, Socket_Error},          // WSAEISCONN
    {10057, Socket_Error},          // WSAENOTCONN
};

} // namespace

CBlockingSocket::~CBlockingSocket() {
    if (HasSocket()) sockapi::CloseSocket(handle_);
}

BlockSockErr CBlockingSocket::MapWinSockErrToBlockSockErr() {
    const int32_t error = sockapi::LastSocketError();
    if (error == 0) {
        DebugMgr::DebugOutput(
            kLogLevel, "MAPPING Winsock ERROR_SUCCESS TO SUCCESS, DID YOU USE THIS CORRECTLY?\n");
        return Socket_Sucess;
    }
    for (const ErrorMapping& mapping : kErrorMappings) {
        if (mapping.winsockError == error) {
            DebugMgr::DebugFailure(
                kLogLevel, "CBlockingSocket::MapWinSockErrToBlockSockErr : winsock error %ld \n",
                static_cast<long>(error));
            return mapping.result;
        }
    }
    DebugMgr::DebugFailure(
        kLogLevel, "CBlockingSocket::MapWinSockErrToBlockSockErr : unhandled winsock error %ld.\n",
        static_cast<long>(error));
    return Socket_Error;
}

const char* CBlockingSocket::BlockSockErrName(int32_t value) {
    switch (value) {
    case Socket_Sucess:
        return "CBlockingSocket::Socket_Sucess ";
    case Socket_Timeout:
        return "CBlockingSocket::Socket_Timeout ";
    case Socket_NetworkError:
        return "CBlockingSocket::Socket_NetworkError ";
    case Socket_Error:
        return "CBlockingSocket::Socket_Error ";
    default:
        return "INVALID_BLOCKSOCKERROR"; // Socket_NotInitialised included
    }
}

// The mapping's line comes first, then the operation's line with the raw error. The raw error is
// read before anything is logged: on Windows a file write may overwrite the last error.
BlockSockErr CBlockingSocket::FailAfterCall(const char* operationMessage) {
    const int32_t raw = sockapi::LastSocketError();
    BlockSockErr result = MapWinSockErrToBlockSockErr();
    DebugMgr::DebugFailure(kLogLevel, operationMessage, static_cast<long>(raw));
    sockapi::SetLastSocketError(raw); // callers that log after us read the same error
    return result;
}

BlockSockErr CBlockingSocket::Create(int type) {
    if (HasSocket()) {
        DebugMgr::DebugFailure(kLogLevel, "CBlockingSocket::Create: socket is not null error \n");
        return Socket_Error;
    }
    sockapi::SocketHandle handle = sockapi::OpenSocket(type);
    if (handle != sockapi::kInvalidSocket) {
        handle_ = handle;
        return Socket_Sucess;
    }
    BlockSockErr result = FailAfterCall("CBlockingSocket::Create: error %ld.\n");
    return result == Socket_Sucess ? Socket_Error : result;
}

BlockSockErr CBlockingSocket::Close() {
    if (!HasSocket()) {
        DebugMgr::DebugFailure(kLogLevel, "CBlockingSocket::Close: socket is null error \n");
        return Socket_Error;
    }
    BlockSockErr result = Socket_Sucess;
    if (sockapi::CloseSocket(handle_) == sockapi::kSocketError) {
        result = FailAfterCall("CBlockingSocket::Close: error %ld.\n");
    }
    handle_ = sockapi::kNoSocket;
    return result;
}

BlockSockErr CBlockingSocket::Connect(const sockapi::SocketAddress& address) {
    if (!HasSocket()) {
        DebugMgr::DebugFailure(kLogLevel, "CBlockingSocket::Connect: socket is null error.\n");
        return Socket_Error;
    }
    if (sockapi::Connect(handle_, address) != sockapi::kSocketError) return Socket_Sucess;
    BlockSockErr result = FailAfterCall("CBlockingSocket::Connect: error %ld.\n");
    return result == Socket_Sucess ? Socket_Error : result;
}

BlockSockErr CBlockingSocket::TimedTransfer(bool sending, char* data, int32_t length,
                                            int32_t timeoutSeconds, int32_t* count) {
    const char* nullMessage = sending ? "CBlockingSocket::Send: socket is null error.\n"
                                      : "CBlockingSocket::Receive: socket is null error.\n";
    const char* errorMessage =
        sending ? "CBlockingSocket::Send: error %ld.\n" : "CBlockingSocket::Receive: error %ld.\n";
    int32_t ignored = 0;
    if (!count) count = &ignored;
    if (!HasSocket()) {
        DebugMgr::DebugFailure(kLogLevel, "%s", nullMessage);
        *count = -1;
        return Socket_Error;
    }
    // A wait that ran out, or that failed, ends the call here: a transfer on a blocking socket
    // that is not ready could block without limit. The shim records WSAETIMEDOUT for a wait
    // that ran out, so it is reported as Socket_Timeout.
    if (sockapi::Wait(handle_, sending, timeoutSeconds) <= 0) {
        BlockSockErr result = FailAfterCall(errorMessage);
        *count = -1;
        return result == Socket_Sucess ? Socket_Timeout : result;
    }
    int transferred =
        sending ? sockapi::Send(handle_, data, length) : sockapi::Receive(handle_, data, length);
    *count = transferred;
    if (transferred != sockapi::kSocketError) return Socket_Sucess;
    BlockSockErr result = FailAfterCall(errorMessage);
    // A failed transfer with no error recorded must still be a failure.
    return result == Socket_Sucess ? Socket_Error : result;
}

BlockSockErr CBlockingSocket::Send(const char* data, int32_t length, int32_t timeoutSeconds,
                                   int32_t* sent) {
    return TimedTransfer(true, const_cast<char*>(data), length, timeoutSeconds, sent);
}

BlockSockErr CBlockingSocket::Receive(char* buffer, int32_t size, int32_t timeoutSeconds,
                                      int32_t* received) {
    return TimedTransfer(false, buffer, size, timeoutSeconds, received);
}

BlockSockErr CBlockingSocket::Write(const char* data, int32_t length, int32_t timeoutSeconds,
                                    int32_t* total) {
    int32_t ignored = 0;
    if (!total) total = &ignored;
    *total = 0;
    int32_t sent = 0;
    BlockSockErr result = Send(data, length, timeoutSeconds, &sent);
    while (result == Socket_Sucess) {
        if (sent <= 0 && *total < length) {
            // A send that takes nothing would repeat for ever.
            sockapi::SetLastSocketError(sockapi::kWsaEinval);
            result = Socket_Error;
            break;
        }
        *total += sent;
        data += sent;
        if (*total >= length) return Socket_Sucess;
        result = Send(data, length - *total, timeoutSeconds, &sent);
    }
    DebugMgr::DebugFailure(kLogLevel, "CBlockingSocket::Write: error %ld.\n",
                           static_cast<long>(sockapi::LastSocketError()));
    return result;
}

BlockSockErr CBlockingSocket::GetSockAddr(sockapi::SocketAddress* address) {
    if (!HasSocket()) {
        DebugMgr::DebugFailure(kLogLevel, "CBlockingSocket::GetSockAddr: socket is null error.\n");
        return Socket_Error;
    }
    *address = sockapi::SocketAddress{};
    if (sockapi::LocalAddress(handle_, address) != sockapi::kSocketError) return Socket_Sucess;
    BlockSockErr result = FailAfterCall("CBlockingSocket::GetSockAddr: error %ld.\n");
    return result == Socket_Sucess ? Socket_Error : result;
}

BlockSockErr CBlockingSocket::GetHostByName(const char* name, uint16_t port,
                                            sockapi::SocketAddress* address) {
    uint32_t found = 0;
    if (name && sockapi::LookupHost(name, &found)) {
        address->address = found;
        address->port = sockapi::PortToNetwork(port);
        return Socket_Sucess;
    }
    BlockSockErr result = FailAfterCall("CBlockingSocket::GetHostByName: error %ld.\n");
    // A lookup that failed without recording why is still a failure.
    return result == Socket_Sucess ? Socket_Error : result;
}
