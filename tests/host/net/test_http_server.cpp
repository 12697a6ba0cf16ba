// Test HTTP server process and temporary files for the network tests.
#include "test_http_server.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <netinet/in.h>
#include <spawn.h>
#include <sstream>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

#ifndef SETUP_NET_TEST_SERVER
#error "SETUP_NET_TEST_SERVER must name http_test_server.py"
#endif

TestHttpServer& TestHttpServer::Instance() {
    static TestHttpServer server;
    return server;
}

TestHttpServer::TestHttpServer() {
    int pipeFds[2];
    if (pipe(pipeFds) != 0) {
        ADD_FAILURE() << "pipe failed";
        return;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], 1);
    posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
    const char* argv[] = {"python3", SETUP_NET_TEST_SERVER, nullptr};
    pid_t pid = -1;
    int spawned =
        posix_spawnp(&pid, "python3", &actions, nullptr, const_cast<char**>(argv), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(pipeFds[1]);
    if (spawned != 0) {
        close(pipeFds[0]);
        ADD_FAILURE() << "cannot start python3";
        return;
    }
    pid_ = pid;
    FILE* output = fdopen(pipeFds[0], "r");
    char line[64] = {};
    if (output && fgets(line, sizeof line, output)) std::sscanf(line, "PORT %d", &port_);
    if (output) fclose(output);
    if (port_ == 0) ADD_FAILURE() << "test server gave no port";
}

TestHttpServer::~TestHttpServer() {
    if (pid_ > 0) {
        kill(pid_, SIGTERM);
        int status = 0;
        waitpid(pid_, &status, 0);
    }
}

std::string TestHttpServer::Url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(port_) + path;
}

TempFolder::TempFolder() {
    char pattern[] = "/tmp/net-test-XXXXXX";
    const char* made = mkdtemp(pattern);
    path_ = made ? made : "/tmp";
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    if (path_ != "/tmp") std::filesystem::remove_all(path_, ignored);
}

std::string ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

std::string PatternBytes(std::size_t count) {
    std::string bytes(count, '\0');
    for (std::size_t i = 0; i < count; ++i)
        bytes[i] = static_cast<char>(i % 251);
    return bytes;
}

int ServerHits(const std::string& path) {
    int s = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(TestHttpServer::Instance().Port()));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    std::string response;
    if (connect(s, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) {
        const std::string request = "GET /hits" + path + " HTTP/1.0\r\n\r\n";
        if (send(s, request.data(), request.size(), MSG_NOSIGNAL) ==
            static_cast<ssize_t>(request.size())) {
            char buffer[512];
            ssize_t n;
            while ((n = recv(s, buffer, sizeof buffer, 0)) > 0)
                response.append(buffer, n);
        }
    }
    close(s);
    const std::string::size_type body = response.find("\r\n\r\n");
    return body == std::string::npos ? -1 : std::atoi(response.c_str() + body + 4);
}
