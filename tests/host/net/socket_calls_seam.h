// The test build's system calls under the host socket shim (socket_calls_seam.cpp, linked before
// setup_core): a failing library start, a send that takes partial pieces, connections handed to
// the next sockets a client creates, and a canned HTTPS stack.
#pragma once
#include "net/blocking_socket.h"

#include <cstddef>
#include <string>
#include <sys/socket.h>
#include <sys/types.h>

namespace socket_seam {

// True: Startup fails with WSANOTINITIALISED until set false again.
void SetStartupFails(bool fails);

// Takes the place of ::send; null sends for real again.
using SendFunction = ssize_t (*)(int socket, const char* data, std::size_t length);
void SetSend(SendFunction send);

// The next socket created (CBlockingSocket::Create) is `connected` instead of a new one, and
// connecting it succeeds at once; queued in order. -1 closes and forgets those not taken.
void HandOver(int connected);
// `socket` takes over `connected` through its own Create; what Create returns.
inline BlockSockErr HandOverTo(CBlockingSocket& socket, int connected) {
    HandOver(connected);
    const BlockSockErr result = socket.Create(SOCK_STREAM);
    HandOver(-1);
    return result;
}

// The port of the last connection attempt, over a socket or the HTTPS stack.
int LastConnectPort();

// The next HTTPS request answers `header` and an empty body; queued in order. Without one the
// host has no HTTPS stack. ForgetSecureAnswers drops those not taken.
void AnswerSecurely(const std::string& header);
void ForgetSecureAnswers();

} // namespace socket_seam
