// The host's system calls under the socket shim (socket_calls_host.cpp), apart from the shim's
// error mapping so that another build can link its own.
#pragma once
#include <cstddef>
#include <sys/socket.h>
#include <sys/types.h>

namespace sockapi {

// ::socket(AF_INET, type, 0): a descriptor, or -1 with errno set.
int SystemSocket(int type);
// One ::send that raises no SIGPIPE: bytes sent, or -1 with errno set.
ssize_t SystemSend(int socket, const char* data, std::size_t length);
// One ::connect: 0, or -1 with errno set.
int SystemConnect(int socket, const sockaddr* address, socklen_t length);

} // namespace sockapi
