// Starts the scripted Python HTTP server (http_test_server.py) on an ephemeral port of 127.0.0.1
// for the lifetime of a test program.
#pragma once
#include <cstdint>
#include <string>

class TestHttpServer {
  public:
    // The process-wide server, started on first use; stopped when the program ends.
    static TestHttpServer& Instance();

    int Port() const { return port_; }
    // "http://127.0.0.1:<port>" + path
    std::string Url(const std::string& path) const;

    ~TestHttpServer();

  private:
    TestHttpServer();
    int port_ = 0;
    int pid_ = -1;
};

// A file name in a fresh temporary folder of this test, removed with the object.
class TempFolder {
  public:
    TempFolder();
    ~TempFolder();
    std::string File(const std::string& name) const { return path_ + "/" + name; }
    const std::string& Path() const { return path_; }

  private:
    std::string path_;
};

// Whole content of a file ("" when it cannot be read).
std::string ReadWholeFile(const std::string& path);
// The server's body bytes: byte i is i % 251.
std::string PatternBytes(std::size_t count);

// How many requests the test server has had for `path`.
int ServerHits(const std::string& path);
