// The download client over Winsock under Wine, against the scripted server that
// run_net_wine_tests.sh starts (its port comes in SETUP_TEST_HTTP_PORT).
#include "net/zbhttp.h"

#include "debug/debug_mgr.h"
#include "sys/unique_handle.h"
#include "sys/win32.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <tuple>
#include <vector>

namespace {

using Step = std::tuple<int32_t, int32_t, int32_t>; // state, size, bytes so far

struct Recorder {
    std::vector<Step> steps;
    DWORD thread = 0;
    int32_t abortAt = 0; // reply 201 to the first call in this state (0: never)
    bool abortNeedsSize = false;

    static int32_t Callback(const char*, int32_t size, int32_t total, DownloadState state, int32_t,
                            uintptr_t data) {
        Recorder* self = reinterpret_cast<Recorder*>(data);
        self->steps.emplace_back(state, size, total);
        self->thread = GetCurrentThreadId();
        const bool abort = state == self->abortAt && (!self->abortNeedsSize || size >= 0);
        return abort ? CallbackAbort : CallbackContinue;
    }
};

std::string ServerUrl(const std::string& path) {
    const char* port = std::getenv("SETUP_TEST_HTTP_PORT");
    return std::string("http://127.0.0.1:") + (port ? port : "0") + path;
}

std::string ReadFileBytes(const std::string& path, const char* mode = "rb") {
    std::string bytes;
    if (FILE* file = std::fopen(path.c_str(), mode)) {
        char buffer[65536];
        size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0)
            bytes.append(buffer, n);
        std::fclose(file);
    }
    return bytes;
}

bool IsPattern(const std::string& bytes, size_t count) {
    if (bytes.size() != count) return false;
    for (size_t i = 0; i < count; ++i)
        if (static_cast<unsigned char>(bytes[i]) != i % 251) return false;
    return true;
}

class WineDownload : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_NE(nullptr, std::getenv("SETUP_TEST_HTTP_PORT"))
            << "run through run_net_wine_tests.sh";
        char folder[MAX_PATH];
        ASSERT_NE(0u, GetTempPathA(sizeof folder, folder));
        target_ =
            std::string(folder) + "net-wine-" + std::to_string(GetCurrentProcessId()) + ".bin";
        DeleteFileA(target_.c_str());
    }
    void TearDown() override { DeleteFileA(target_.c_str()); }
    ZBHTTPResult Download(const std::string& path, Recorder& recorder, int32_t intervalMs = 200) {
        EXPECT_EQ(ZBHTTP_SUCCESS, http_.SetURL(ServerUrl(path)));
        return http_.DoGetIntoFile(target_.c_str(), &Recorder::Callback,
                                   reinterpret_cast<uintptr_t>(&recorder), intervalMs, false,
                                   nullptr);
    }

    ZBHTTP http_;
    std::string target_;
};

TEST_F(WineDownload, PlainDownload) {
    Recorder recorder;
    // An interval no run reaches: an interim progress step would depend on the machine's speed.
    EXPECT_EQ(ZBHTTP_SUCCESS, Download("/file/10000", recorder, 60000));
    EXPECT_EQ((std::vector<Step>{{100, -1, 0}, {100, 10000, 0}, {104, 10000, 10000}}),
              recorder.steps);
    EXPECT_TRUE(IsPattern(ReadFileBytes(target_), 10000));
    EXPECT_EQ(DownloadDone, http_.DownloadEndState());
}

TEST_F(WineDownload, LargerFileInBinaryMode) {
    Recorder recorder;
    EXPECT_EQ(ZBHTTP_SUCCESS, Download("/file/2000000", recorder));
    EXPECT_EQ(Step(104, 2000000, 2000000), recorder.steps.back());
    EXPECT_TRUE(IsPattern(ReadFileBytes(target_), 2000000)); // no CR LF translation
}

TEST_F(WineDownload, RedirectChains) {
    for (const char* path :
         {"/redirect/5/file/3000", "/redirect-abs/5/file/3000", "/redirect/100/file/3000"}) {
        Recorder recorder;
        EXPECT_EQ(ZBHTTP_SUCCESS, Download(path, recorder)) << path;
        EXPECT_TRUE(IsPattern(ReadFileBytes(target_), 3000)) << path;
    }
    Recorder recorder;
    EXPECT_EQ(ZBHTTP_Error, Download("/redirect/101/file/3000", recorder));
    EXPECT_EQ((std::vector<Step>{{100, -1, 0}, {102, -1, 0}}), recorder.steps);
}

TEST_F(WineDownload, NotFoundAndBadHeaders) {
    const std::pair<const char*, ZBHTTPResult> cases[] = {
        {"/status/404", ZBHTTP_ServerUrlNotFound},
        {"/status/500", ZBHTTP_ServerError},
        {"/close-mid-header", ZBHTTP_SockReadFailed},
        {"/long-header/5000", ZBHTTP_ParseHeaderFailed},
    };
    for (const auto& c : cases) {
        Recorder recorder;
        EXPECT_EQ(c.second, Download(c.first, recorder)) << c.first;
        EXPECT_EQ((std::vector<Step>{{100, -1, 0}, {102, -1, 0}}), recorder.steps) << c.first;
        EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(target_.c_str()));
    }
}

TEST_F(WineDownload, StallsTimeOut) {
    Recorder recorder;
    EXPECT_EQ(ZBHTTP_ServerTimeOut, Download("/stall", recorder));
    EXPECT_EQ(ZBHTTP_ServerTimeOut, Download("/stall-body/5000", recorder));
    EXPECT_EQ(Step(102, 10000, 5000), recorder.steps.back());
}

TEST_F(WineDownload, RefusedConnectionIsATimeout) {
    Recorder recorder;
    EXPECT_EQ(ZBHTTP_SUCCESS, http_.SetURL("http://127.0.0.1:1/x"));
    EXPECT_EQ(ZBHTTP_ServerTimeOut,
              http_.DoGetIntoFile(target_.c_str(), &Recorder::Callback,
                                  reinterpret_cast<uintptr_t>(&recorder), 200, false, nullptr));
}

TEST_F(WineDownload, AbortPoints) {
    {
        Recorder recorder;
        recorder.abortAt = DownloadStarting;
        EXPECT_EQ(ZBHTTP_UserAbort, Download("/file/1000", recorder));
        EXPECT_EQ((std::vector<Step>{{100, -1, 0}}), recorder.steps);
        EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(target_.c_str()));
    }
    {
        Recorder recorder;
        recorder.abortAt = DownloadStarting;
        recorder.abortNeedsSize = true;
        EXPECT_EQ(ZBHTTP_UserAbort, Download("/file/1000", recorder));
        EXPECT_EQ((std::vector<Step>{{100, -1, 0}, {100, 1000, 0}}), recorder.steps);
        EXPECT_EQ("", ReadFileBytes(target_));
        EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(target_.c_str()));
    }
    {
        Recorder recorder;
        recorder.abortAt = DownloadReading;
        EXPECT_EQ(ZBHTTP_UserAbort, Download("/slow/8192/4/100", recorder, 10));
        EXPECT_EQ((std::vector<Step>{{100, -1, 0}, {100, 8192, 0}, {101, 8192, 2048}}),
                  recorder.steps);
        EXPECT_TRUE(IsPattern(ReadFileBytes(target_), 2048));
        EXPECT_EQ(DownloadFailed, http_.DownloadEndState());
        EXPECT_EQ(ZBHTTP_UserAbort, http_.DownloadResult());
    }
}

TEST_F(WineDownload, LocalFileErrors) {
    Recorder recorder;
    http_.SetURL(ServerUrl("/file/10"));
    const std::string missing = target_ + ".missing\\file.bin";
    EXPECT_EQ(ZBHTTP_ParentDirNotExist,
              http_.DoGetIntoFile(missing.c_str(), &Recorder::Callback,
                                  reinterpret_cast<uintptr_t>(&recorder), 200, false, nullptr));
    // A file another handle holds without sharing (root writes read-only files under Wine).
    UniqueFile held(CreateFileA(target_.c_str(), GENERIC_READ, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(held.valid());
    EXPECT_EQ(ZBHTTP_PermissionDenied,
              http_.DoGetIntoFile(target_.c_str(), &Recorder::Callback,
                                  reinterpret_cast<uintptr_t>(&recorder), 200, false, nullptr));
}

TEST_F(WineDownload, AsynchronousDownloadSignalsAWin32Event) {
    Recorder recorder;
    http_.SetURL(ServerUrl("/file/100000"));
    DoneEventHandle event = nullptr;
    ASSERT_EQ(ZBHTTP_SUCCESS,
              http_.DoGetIntoFile(target_.c_str(), &Recorder::Callback,
                                  reinterpret_cast<uintptr_t>(&recorder), 200, true, &event));
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(static_cast<HANDLE>(event), 30000));
    CloseHandle(static_cast<HANDLE>(event));
    EXPECT_EQ(ZBHTTP_SUCCESS, http_.DownloadResult());
    EXPECT_EQ(DownloadDone, http_.DownloadEndState());
    EXPECT_NE(GetCurrentThreadId(), recorder.thread);
    EXPECT_TRUE(IsPattern(ReadFileBytes(target_), 100000));
}

TEST_F(WineDownload, DebugTextGoesToTheOutputFile) {
    const std::string log = target_ + ".log";
    DebugMgr::DebugLevel = 20;
    DebugMgr::DebugOutputFileName = log;
    Recorder recorder;
    EXPECT_EQ(ZBHTTP_SUCCESS, http_.SetURL("http://127.0.0.1:1/x"));
    EXPECT_EQ(ZBHTTP_ServerTimeOut,
              http_.DoGetIntoFile(target_.c_str(), &Recorder::Callback,
                                  reinterpret_cast<uintptr_t>(&recorder), 200, false, nullptr));
    DebugMgr::CloseOutputFile();
    DebugMgr::DebugLevel = 0;
    const std::string text = ReadFileBytes(log, "r"); // a text stream: CR LF on disk
    DeleteFileA(log.c_str());
    EXPECT_NE(std::string::npos, text.find("CBlockingSocket::Connect: error 10061.\n")) << text;
    EXPECT_NE(std::string::npos, text.find("ZBHTTP::CheckReadHeader: socket connect error 1. "
                                           "\"CBlockingSocket::Socket_Timeout \" \n"));
}

} // namespace
