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
#include <utility>
#include <vector>

namespace {
bool startupFails = false;
socket_seam::SendFunction sendReplacement = nullptr;
std::deque<int> handedOver;
std::vector<int> taken; // handed-over sockets that connect without a peer address
int lastConnectPort = -1;
std::deque<std::pair<std::string, std::string>> secureAnswers;

class CannedSecureRequest : public SecureRequest {
  public:
    explicit CannedSecureRequest(std::pair<std::string, std::string> answer)
        : answer_(std::move(answer)) {}
    uint32_t Send(const std::string&, int32_t port, const std::string&, int32_t,
                  std::string* header) override {
        lastConnectPort = port;
        *header = answer_.first;
        return 0;
    }
    uint32_t Read(char* buffer, int32_t size, int32_t* received) override {
        const std::size_t count = std::min(answer_.second.size(), static_cast<std::size_t>(size));
        std::memcpy(buffer, answer_.second.data(), count);
        answer_.second.erase(0, count);
        *received = static_cast<int32_t>(count);
        return 0;
    }

  private:
    std::pair<std::string, std::string> answer_;
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
    taken.clear();
}
int LastConnectPort() {
    return lastConnectPort;
}
void AnswerSecurely(const std::string& header, const std::string& body) {
    secureAnswers.emplace_back(header, body);
}
void ForgetSecureAnswers() {
    secureAnswers.clear();
}
} // namespace socket_seam

std::unique_ptr<SecureRequest> OpenSecureRequest() {
    if (secureAnswers.empty()) return nullptr;
    std::unique_ptr<SecureRequest> request(new CannedSecureRequest(secureAnswers.front()));
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
    const int connected = handedOver.front();
    handedOver.pop_front();
    taken.push_back(connected);
    return connected;
}

ssize_t SystemSend(int socket, const char* data, std::size_t length) {
    return sendReplacement ? sendReplacement(socket, data, length)
                           : ::send(socket, data, length, MSG_NOSIGNAL);
}

int SystemConnect(int socket, const sockaddr* address, socklen_t length) {
    sockaddr_in inet{};
    std::memcpy(&inet, address, std::min(sizeof inet, static_cast<std::size_t>(length)));
    lastConnectPort = ntohs(inet.sin_port);
    const auto found = std::find(taken.begin(), taken.end(), socket);
    if (found == taken.end()) return ::connect(socket, address, length);
    taken.erase(found);
    return 0;
}

} // namespace sockapi
