// The socket calls of the download layers: Winsock 1.1 on Windows, BSD sockets on the host build,
// with the host's errors reported as the Winsock numbers so that one mapping serves both.
#pragma once
#include <cstdint>
#include <cstring>

namespace sockapi {

#ifdef _WIN32
// Winsock's SOCKET, an unsigned integer as wide as a pointer (checked where Winsock is included).
using SocketHandle = std::uintptr_t;
constexpr SocketHandle kInvalidSocket =
    ~SocketHandle{0};                 // INVALID_SOCKET, what socket() fails with
constexpr SocketHandle kNoSocket = 0; // "no socket held"
#else
using SocketHandle = int;
constexpr SocketHandle kInvalidSocket = -1;
// Descriptor 0 is a valid socket when standard input is closed, so the host uses -1.
constexpr SocketHandle kNoSocket = -1;
#endif

constexpr int kSocketError = -1; // SOCKET_ERROR

// An IPv4 address and a port, both in network byte order, as sockaddr_in holds them.
struct SocketAddress {
    uint32_t address = 0;
    uint16_t port = 0;
};

// Winsock error numbers used by the mapping (the host translates errno and resolver codes).
enum : int32_t {
    kWsaEintr = 10004,
    kWsaEfault = 10014,
    kWsaEinval = 10022,
    kWsaEtimedout = 10060,
    kWsaEconnrefused = 10061,
    kWsaEhostunreach = 10065,
    kWsaNotInitialised = 10093,
    kWsaHostNotFound = 11001,
    kWsaTryAgain = 11002,
    kWsaNoRecovery = 11003,
    kWsaNoData = 11004,
};

struct StartupInfo {
    int highMajor, highMinor; // highest version the library supports
    int major, minor;         // version it will use
};

// Starts the socket library in the given version: 0, or the library's error code.
int Startup(int major, int minor, StartupInfo* info);
// 0, or kSocketError (last error set).
int Cleanup();

// The calling thread's last socket error, and a way to record one.
int32_t LastSocketError();
void SetLastSocketError(int32_t code);

SocketHandle OpenSocket(int type); // AF_INET, protocol 0; kInvalidSocket on failure
int CloseSocket(SocketHandle socket);
int Connect(SocketHandle socket, const SocketAddress& address);
// Waits until the socket can be read (or written): 1 ready, 0 the time ran out (last error set
// to WSAETIMEDOUT), kSocketError when the wait itself failed.
int Wait(SocketHandle socket, bool forWrite, long seconds);
int Send(SocketHandle socket, const char* data, int length); // bytes, or kSocketError
int Receive(SocketHandle socket, char* buffer, int size);    // bytes, 0 closed, or kSocketError
int LocalAddress(SocketHandle socket, SocketAddress* address);
// IPv4 address of a host name (network byte order); false with the last error set on failure.
bool LookupHost(const char* name, uint32_t* address);

// A port number in network byte order (big-endian) and back, without a socket library call: on
// Windows the library is bound only when a download starts.
inline uint16_t PortToNetwork(uint16_t port) {
    const unsigned char bytes[2] = {static_cast<unsigned char>(port >> 8),
                                    static_cast<unsigned char>(port & 0xFF)};
    uint16_t network;
    std::memcpy(&network, bytes, sizeof network);
    return network;
}
inline uint16_t PortFromNetwork(uint16_t network) {
    unsigned char bytes[2];
    std::memcpy(bytes, &network, sizeof bytes);
    return static_cast<uint16_t>(bytes[0] << 8 | bytes[1]);
}

} // namespace sockapi
