// CBlockingSocket over real sockets of the host: results, counts, error mapping and log lines.
#include "net/blocking_socket.h"

#include "debug_capture.h"
#include "socket_calls_seam.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <chrono>
#include <sys/socket.h>
#include <unistd.h>
#include <vector>

namespace {

// A connected pair: the first end goes into a CBlockingSocket, the test keeps the other.
struct SocketPair {
    int ends[2] = {-1, -1};
    SocketPair() { EXPECT_EQ(0, socketpair(AF_UNIX, SOCK_STREAM, 0, ends)); }
    ~SocketPair() {
        if (ends[1] >= 0) close(ends[1]);
    }
    void ClosePeer() {
        close(ends[1]);
        ends[1] = -1;
    }
};

// A local port with nothing listening on it.
int ClosedPort() {
    int s = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address);
    socklen_t length = sizeof address;
    getsockname(s, reinterpret_cast<sockaddr*>(&address), &length);
    close(s);
    return ntohs(address.sin_port);
}

TEST(BlockingSocket, NameTexts) {
    const std::pair<int32_t, const char*> cases[] = {
        {0, "CBlockingSocket::Socket_Sucess "},
        {1, "CBlockingSocket::Socket_Timeout "},
        {2, "CBlockingSocket::Socket_NetworkError "},
        {3, "INVALID_BLOCKSOCKERROR"},
        {-1, "CBlockingSocket::Socket_Error "},
        {7, "INVALID_BLOCKSOCKERROR"},
        {-2, "INVALID_BLOCKSOCKERROR"},
    };
    for (const auto& c : cases)
        EXPECT_STREQ(c.second, CBlockingSocket::BlockSockErrName(c.first));
}

TEST(BlockingSocket, WinsockErrorMapping) {
    struct Case {
        int32_t error;
        BlockSockErr result;
        bool listed;
    };
    const Case cases[] = {
        {10004, Socket_Timeout, true},      {10014, Socket_Timeout, true},
        {10058, Socket_Timeout, true},      {10060, Socket_Timeout, true},
        {10061, Socket_Timeout, true},      {11001, Socket_Timeout, true},
        {11002, Socket_Timeout, true},      {11003, Socket_Timeout, true},
        {11004, Socket_Timeout, true},      {10050, Socket_NetworkError, true},
        {10051, Socket_NetworkError, true}, {10064, Socket_NetworkError, true},
        {10065, Socket_NetworkError, true}, {10093, Socket_NotInitialised, true},
        {10013, Socket_Error, true},        {10036, Socket_Error, true},
        {10037, Socket_Error, true},        {10039, Socket_Error, true},
        {10042, Socket_Error, true},        {10043, Socket_Error, true},
        {10044, Socket_Error, true},        {10045, Socket_Error, true},
        {10046, Socket_Error, true},        {10047, Socket_Error, true},
        {10048, Socket_Error, true},        {10049, Socket_Error, true},
        {10056, Socket_Error, true},        {10057, Socket_Error, true},
        {10054, Socket_Error, false},       {10022, Socket_Error, false},
        {5, Socket_Error, false},
    };
    for (const Case& c : cases) {
        DebugCapture capture;
        sockapi::SetLastSocketError(c.error);
        EXPECT_EQ(c.result, CBlockingSocket::MapWinSockErrToBlockSockErr()) << c.error;
        const std::string expected =
            (c.listed ? "CBlockingSocket::MapWinSockErrToBlockSockErr : winsock error "
                      : "CBlockingSocket::MapWinSockErrToBlockSockErr : unhandled winsock error ") +
            std::to_string(c.error) + (c.listed ? " \n" : ".\n");
        EXPECT_EQ(expected, capture.Text());
    }
    DebugCapture capture;
    sockapi::SetLastSocketError(0);
    EXPECT_EQ(Socket_Sucess, CBlockingSocket::MapWinSockErrToBlockSockErr());
    EXPECT_EQ("MAPPING Winsock ERROR_SUCCESS TO SUCCESS, DID YOU USE THIS CORRECTLY?\n",
              capture.Text());
}

TEST(BlockingSocket, MisuseWithoutASocket) {
    DebugCapture capture;
    CBlockingSocket socket;
    char buffer[4];
    int32_t count = 5;
    EXPECT_EQ(Socket_Error, socket.Receive(buffer, sizeof buffer, 1, &count));
    EXPECT_EQ(-1, count);
    count = 5;
    EXPECT_EQ(Socket_Error, socket.Send("ab", 2, 1, &count));
    EXPECT_EQ(-1, count);
    EXPECT_EQ(Socket_Error, socket.Close());
    sockapi::SocketAddress address;
    EXPECT_EQ(Socket_Error, socket.Connect(address));
    EXPECT_EQ(Socket_Error, socket.GetSockAddr(&address));
    EXPECT_EQ("CBlockingSocket::Receive: socket is null error.\n"
              "CBlockingSocket::Send: socket is null error.\n"
              "CBlockingSocket::Close: socket is null error \n"
              "CBlockingSocket::Connect: socket is null error.\n"
              "CBlockingSocket::GetSockAddr: socket is null error.\n",
              capture.Text());
}

TEST(BlockingSocket, CreateTwiceKeepsTheFirstSocket) {
    DebugCapture capture;
    CBlockingSocket socket;
    ASSERT_EQ(Socket_Sucess, socket.Create(1));
    EXPECT_EQ(Socket_Error, socket.Create(1));
    EXPECT_EQ("CBlockingSocket::Create: socket is not null error \n", capture.Text());
    sockapi::SocketAddress address;
    EXPECT_EQ(Socket_Sucess, socket.GetSockAddr(&address)); // the first socket is still open
    EXPECT_EQ(Socket_Sucess, socket.Close());
    EXPECT_FALSE(socket.HasSocket());
}

TEST(BlockingSocket, ConnectionRefusedCountsAsTimeout) {
    DebugCapture capture;
    CBlockingSocket socket;
    sockapi::SocketAddress address;
    ASSERT_EQ(Socket_Sucess, CBlockingSocket::GetHostByName("127.0.0.1", ClosedPort(), &address));
    ASSERT_EQ(Socket_Sucess, socket.Create(1));
    EXPECT_EQ(Socket_Timeout, socket.Connect(address));
    EXPECT_EQ("CBlockingSocket::MapWinSockErrToBlockSockErr : winsock error 10061 \n"
              "CBlockingSocket::Connect: error 10061.\n",
              capture.Text());
}

TEST(BlockingSocket, GetHostByNameFillsTheAddress) {
    sockapi::SocketAddress address;
    ASSERT_EQ(Socket_Sucess, CBlockingSocket::GetHostByName("127.0.0.1", 8080, &address));
    EXPECT_EQ(htons(8080), address.port);
    EXPECT_EQ(htonl(INADDR_LOOPBACK), address.address);
}

TEST(BlockingSocket, UnknownHostIsATimeoutAndLeavesTheAddress) {
    DebugCapture capture;
    sockapi::SocketAddress address;
    address.port = 1234;
    EXPECT_EQ(Socket_Timeout, CBlockingSocket::GetHostByName("no-such-host.invalid", 80, &address));
    EXPECT_EQ(1234, address.port);
    EXPECT_TRUE(capture.Contains("CBlockingSocket::GetHostByName: error 11001.\n"));
}

TEST(BlockingSocket, ReceiveFromAClosedPeerIsSuccessWithZeroBytes) {
    SocketPair pair;
    CBlockingSocket socket;
    ASSERT_EQ(Socket_Sucess, socket_seam::HandOverTo(socket, pair.ends[0]));
    ASSERT_EQ(3, write(pair.ends[1], "abc", 3));
    pair.ClosePeer();
    char buffer[8];
    int32_t count = 0;
    EXPECT_EQ(Socket_Sucess, socket.Receive(buffer, sizeof buffer, 1, &count));
    EXPECT_EQ(3, count);
    EXPECT_EQ(Socket_Sucess, socket.Receive(buffer, sizeof buffer, 1, &count));
    EXPECT_EQ(0, count);
}

TEST(BlockingSocket, ReceiveTimesOutInBoundedTimeEvenWithAStaleError) {
    DebugCapture capture;
    SocketPair pair;
    CBlockingSocket socket;
    ASSERT_EQ(Socket_Sucess, socket_seam::HandOverTo(socket, pair.ends[0]));
    sockapi::SetLastSocketError(10022); // left over from an earlier call
    char buffer[8];
    int32_t count = 0;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(Socket_Timeout, socket.Receive(buffer, sizeof buffer, 1, &count));
    const auto elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(-1, count);
    EXPECT_GE(elapsed, std::chrono::milliseconds(900));
    EXPECT_EQ("CBlockingSocket::MapWinSockErrToBlockSockErr : winsock error 10060 \n"
              "CBlockingSocket::Receive: error 10060.\n",
              capture.Text());
}

std::vector<int> g_sendSizes;
ssize_t SendAtMost100(int, const char*, std::size_t length) {
    const int taken = length > 100 ? 100 : static_cast<int>(length);
    g_sendSizes.push_back(taken);
    return taken;
}

TEST(BlockingSocket, WriteRepeatsPartialSends) {
    SocketPair pair;
    CBlockingSocket socket;
    ASSERT_EQ(Socket_Sucess, socket_seam::HandOverTo(socket, pair.ends[0]));
    g_sendSizes.clear();
    socket_seam::SetSend(SendAtMost100);
    const std::string block(140, 'x');
    int32_t total = 0;
    const BlockSockErr result = socket.Write(block.data(), 140, 1, &total);
    socket_seam::SetSend(nullptr);
    EXPECT_EQ(Socket_Sucess, result);
    EXPECT_EQ(140, total);
    EXPECT_EQ((std::vector<int>{100, 40}), g_sendSizes);
}

TEST(BlockingSocket, WriteToAGonePeerFailsWithoutASignal) {
    DebugCapture capture;
    SocketPair pair;
    CBlockingSocket socket;
    ASSERT_EQ(Socket_Sucess, socket_seam::HandOverTo(socket, pair.ends[0]));
    pair.ClosePeer();
    int32_t total = -5;
    EXPECT_NE(Socket_Sucess, socket.Write("abc", 3, 1, &total));
    EXPECT_EQ(0, total);
    EXPECT_TRUE(capture.Contains("CBlockingSocket::Send: error "));
    EXPECT_TRUE(capture.Contains("CBlockingSocket::Write: error "));
}

TEST(BlockingSocket, SilentWhileTheLevelIsZero) {
    testing::internal::CaptureStdout();
    CBlockingSocket socket;
    EXPECT_EQ(Socket_Error, socket.Close());
    EXPECT_EQ("", testing::internal::GetCapturedStdout());
}

} // namespace
