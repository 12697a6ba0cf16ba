// Replaces the product's socket_calls_host.cpp and secure_request_host.cpp: the linker takes these
// definitions before the ones in setup_core.
#include "socket_calls_seam.h"

#include "net/secure_request.h"
#include "net/socket_api.h"
#include "net/socket_calls_host.h"

#include <algorithm>
#include <cstring>
#include <deque>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {
bool startupFails = false;
socket_seam::SendFunction sendReplacement = nullptr;
std::deque<int> handedOver;
int unconnected = -1; // the handed-over socket taken last, until it "connects"
int lastConnectPort = -1;
std::deque<std::string> secureAnswers;

struct CannedSecureRequest : SecureRequest {
    std::string header;
    uint32_t Send(const std::string&, int32_t port, const std::string&, int32_t,
                  std::string* answer) override {
        lastConnectPort = port;
        *answer = header;
        return 0;
    }
    uint32_t Read(char*, int32_t, int32_t* received) override {
        *received = 0; // the body ends at once
        return 0;
    }
};
} // namespace

namespace socket_seam {
void SetStartupFails(bool fails) {
    startupFails = fails;
}
void SetSend(SendFunction send) {
    sendReplacement = send;
}
void HandOver(int connected) {
    if (connected >= 0) {
        handedOver.push_back(connected);
        return;
    }
    for (int socket : handedOver)
        close(socket);
    handedOver.clear();
    unconnected = -1;
}
int LastConnectPort() {
    return lastConnectPort;
}
void AnswerSecurely(const std::string& header) {
    secureAnswers.push_back(header);
}
void ForgetSecureAnswers() {
    secureAnswers.clear();
}
} // namespace socket_seam

std::unique_ptr<SecureRequest> OpenSecureRequest() {
    if (secureAnswers.empty()) return nullptr;
    std::unique_ptr<CannedSecureRequest> request(new CannedSecureRequest);
    request->header = secureAnswers.front();
    secureAnswers.pop_front();
    return request;
}

namespace sockapi {

int Startup(int major, int minor, StartupInfo* info) {
    if (startupFails) {
        SetLastSocketError(kWsaNotInitialised);
        return kWsaNotInitialised;
    }
    if (info) *info = StartupInfo{2, 2, major, minor};
    return 0;
}

int SystemSocket(int type) {
    if (handedOver.empty()) return ::socket(AF_INET, type, 0);
    unconnected = handedOver.front();
    handedOver.pop_front();
    return unconnected;
}

ssize_t SystemSend(int socket, const char* data, std::size_t length) {
    return sendReplacement ? sendReplacement(socket, data, length)
                           : ::send(socket, data, length, MSG_NOSIGNAL);
}

int SystemConnect(int socket, const sockaddr* address, socklen_t length) {
    sockaddr_in inet{};
    std::memcpy(&inet, address, std::min(sizeof inet, static_cast<std::size_t>(length)));
    lastConnectPort = ntohs(inet.sin_port);
    if (socket != unconnected) return ::connect(socket, address, length);
    unconnected = -1;
    return 0;
}

} // namespace sockapi
