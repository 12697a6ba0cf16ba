// One TCP socket with blocking calls bounded by time-outs in seconds, reporting small result codes
// (BlockSockErr) instead of raw socket errors. Failures are written to DebugMgr.
#pragma once
#include "net/socket_api.h"

#include <cstdint>

enum BlockSockErr : int32_t {
    Socket_Sucess = 0,
    Socket_Timeout = 1, // no answer, refused, name not found, interrupted
    Socket_NetworkError = 2,
    Socket_NotInitialised = 3,
    Socket_Error = -1, // anything else, misuse included
};

class CBlockingSocket {
  public:
    CBlockingSocket() = default;
    ~CBlockingSocket(); // closes a socket still held, silently
    CBlockingSocket(const CBlockingSocket&) = delete;
    CBlockingSocket& operator=(const CBlockingSocket&) = delete;

    // Socket_Error when a socket is already held (that socket stays open).
    [[nodiscard]] BlockSockErr Create(int type);
    // Forgets the handle even when closing fails; Socket_Error when none is held.
    BlockSockErr Close();
    // One blocking connect; no time-out of its own.
    [[nodiscard]] BlockSockErr Connect(const sockapi::SocketAddress& address);
    // One bounded wait, then one send. `sent` is -1 after any failure.
    [[nodiscard]] BlockSockErr Send(const char* data, int32_t length, int32_t timeoutSeconds,
                                    int32_t* sent);
    // Sends until all bytes are gone or a Send fails; `total` counts what went.
    [[nodiscard]] BlockSockErr Write(const char* data, int32_t length, int32_t timeoutSeconds,
                                     int32_t* total);
    // One bounded wait, then one receive. `received` is 0 when the peer closed, -1 after a failure.
    [[nodiscard]] BlockSockErr Receive(char* buffer, int32_t size, int32_t timeoutSeconds,
                                       int32_t* received);
    [[nodiscard]] BlockSockErr GetSockAddr(sockapi::SocketAddress* address);
    // Resolves a name to an IPv4 address with the port (host byte order); `address` is left alone
    // on failure.
    [[nodiscard]] static BlockSockErr GetHostByName(const char* name, uint16_t port,
                                                    sockapi::SocketAddress* address);
    // Maps the calling thread's last socket error; call it right after the failing call.
    static BlockSockErr MapWinSockErrToBlockSockErr();
    static const char* BlockSockErrName(int32_t value);

    bool HasSocket() const { return handle_ != sockapi::kNoSocket; }

  private:
    static BlockSockErr FailAfterCall(const char* operationMessage);
    BlockSockErr TimedTransfer(bool sending, char* data, int32_t length, int32_t timeoutSeconds,
                               int32_t* count);

    sockapi::SocketHandle handle_ = sockapi::kNoSocket;
};
