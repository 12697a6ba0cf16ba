// File download: result codes, the exact callback sequences (states and sizes), the three abort
// points, local file errors, and the asynchronous form.
#include "net/zbhttp.h"

#include "debug_capture.h"
#include "test_http_server.h"
#include "transfer_clock_seam.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <sys/stat.h>
#include <thread>
#include <tuple>
#include <unistd.h>
#include <vector>

namespace {

using Step = std::tuple<int32_t, int32_t, int32_t>; // state, size, bytes so far

struct Recorder {
    std::vector<Step> steps;
    std::vector<int32_t> rates;
    std::vector<std::thread::id> threads;
    std::string file;
    std::function<bool(DownloadState state, int32_t size)> abortWhen;

    static int32_t Callback(const char* file, int32_t size, int32_t total, DownloadState state,
                            int32_t rate, uintptr_t data) {
        Recorder* self = reinterpret_cast<Recorder*>(data);
        self->steps.emplace_back(state, size, total);
        self->rates.push_back(rate);
        self->threads.push_back(std::this_thread::get_id());
        self->file = file;
        return self->abortWhen && self->abortWhen(state, size) ? CallbackAbort : CallbackContinue;
    }
};

class FileDownload : public testing::Test {
  protected:
    ZBHTTPResult Download(const std::string& path, Recorder& recorder, int32_t intervalMs = 200) {
        EXPECT_EQ(ZBHTTP_SUCCESS, http_.SetURL(TestHttpServer::Instance().Url(path)));
        return http_.DoGetIntoFile(target_.c_str(), &Recorder::Callback,
                                   reinterpret_cast<uintptr_t>(&recorder), intervalMs, false,
                                   nullptr);
    }
    bool TargetExists() const { return access(target_.c_str(), F_OK) == 0; }

    ZBHTTP http_;
    TempFolder folder_;
    std::string target_ = folder_.File("download.bin");
};

TEST_F(FileDownload, PlainDownloadReportsStartSizeAndDone) {
    Recorder recorder;
    EXPECT_EQ(ZBHTTP_SUCCESS, Download("/file/10000", recorder));
    EXPECT_EQ((std::vector<Step>{{100, -1, 0}, {100, 10000, 0}, {104, 10000, 10000}}),
              recorder.steps);
    EXPECT_EQ((std::vector<int32_t>{-1, -1, -1}), recorder.rates); // under a second: no rate
    EXPECT_EQ(target_, recorder.file);
    EXPECT_EQ(PatternBytes(10000), ReadWholeFile(target_));
    EXPECT_EQ(DownloadDone, http_.DownloadEndState());
    EXPECT_EQ(ZBHTTP_SUCCESS, http_.DownloadResult());
}

TEST_F(FileDownload, WithoutACallbackAndMuchLarger) {
    http_.SetURL(TestHttpServer::Instance().Url("/file/3000000"));
    EXPECT_EQ(ZBHTTP_SUCCESS,
              http_.DoGetIntoFile(target_.c_str(), nullptr, 0, 200, false, nullptr));
    EXPECT_EQ(PatternBytes(3000000), ReadWholeFile(target_));
    EXPECT_EQ(DownloadDone, http_.DownloadEndState());
}

TEST_F(FileDownload, OnlyTheAnnouncedLengthCountsAsComplete) {
    {
        Recorder recorder;
        DebugCapture capture;
        EXPECT_EQ(ZBHTTP_Error, Download("/short/10000/4000", recorder));
        EXPECT_EQ((std::vector<Step>{{100, -1, 0}, {100, 10000, 0}, {102, 10000, 4000}}),
                  recorder.steps);
        EXPECT_EQ(DownloadFailed, http_.DownloadEndState());
        EXPECT_TRUE(capture.Contains("ZBHTTP PerformFileDownload: body ended after 4000 of 10000 "
                                     "bytes, file=\"" +
                                     target_ + "\".\n"));
    }
    Recorder recorder;
    EXPECT_EQ(ZBHTTP_SUCCESS, Download("/short/1000/50000", recorder));
    EXPECT_EQ((std::vector<Step>{{100, -1, 0}, {100, 1000, 0}, {104, 1000, 1000}}), recorder.steps);
    EXPECT_EQ(PatternBytes(1000), ReadWholeFile(target_)); // nothing past the announced length
}

TEST_F(FileDownload, SlowBodyReportsProgressAndRate) {
    Recorder recorder;
    EXPECT_EQ(ZBHTTP_SUCCESS, Download("/slow/40000/10/150", recorder));
    ASSERT_GE(recorder.steps.size(), 5u);
    EXPECT_EQ(Step(100, -1, 0), recorder.steps[0]);
    EXPECT_EQ(Step(100, 40000, 0), recorder.steps[1]);
    EXPECT_EQ(Step(104, 40000, 40000), recorder.steps.back());
    int32_t last = 0;
    for (std::size_t i = 2; i + 1 < recorder.steps.size(); ++i) {
        EXPECT_EQ(101, std::get<0>(recorder.steps[i]));
        EXPECT_GT(std::get<2>(recorder.steps[i]), last);
        last = std::get<2>(recorder.steps[i]);
    }
    // About 40000 bytes in 1.5 s.
    EXPECT_GT(recorder.rates.back(), 15000);
    EXPECT_LT(recorder.rates.back(), 40000);
    EXPECT_EQ(PatternBytes(40000), ReadWholeFile(target_));
    Recorder next; // a new URL starts without a rate
    EXPECT_EQ(ZBHTTP_SUCCESS, Download("/file/10", next));
    EXPECT_EQ(-1, next.rates.front());
}

struct FailureCase {
    const char* path;
    ZBHTTPResult result;
};

TEST_F(FileDownload, FailedSizeRequestEndsAtOnce) {
    const FailureCase cases[] = {
        {"/nolength/100", ZBHTTP_Error},
        {"/status/404", ZBHTTP_ServerUrlNotFound},
        {"/status/500", ZBHTTP_ServerError},
        {"/close-mid-header", ZBHTTP_SockReadFailed},
        {"/long-header/5000", ZBHTTP_ParseHeaderFailed},
        {"/redirect/101/file/1", ZBHTTP_Error},
    };
    for (const FailureCase& c : cases) {
        DebugCapture capture;
        Recorder recorder;
        EXPECT_EQ(c.result, Download(c.path, recorder)) << c.path;
        EXPECT_EQ((std::vector<Step>{{100, -1, 0}, {102, -1, 0}}), recorder.steps) << c.path;
        EXPECT_FALSE(TargetExists());
        EXPECT_EQ(DownloadFailed, http_.DownloadEndState());
        EXPECT_EQ(c.result, http_.DownloadResult());
        EXPECT_TRUE(
            capture.Contains("ZBHTTP PerformFileDownload: GetDownloadFileSize FAILED for path \"" +
                             target_ + "\".\n"));
        EXPECT_TRUE(capture.Contains("ZBHTTP PerformFileDownload : transfer error. file=\"" +
                                     target_ + "\"\n"));
    }
}

TEST_F(FileDownload, StallInTheBodyTimesOut) {
    Recorder recorder;
    EXPECT_EQ(ZBHTTP_ServerTimeOut, Download("/stall-body/5000", recorder));
    ASSERT_GE(recorder.steps.size(), 3u);
    EXPECT_EQ(Step(100, -1, 0), recorder.steps[0]);
    EXPECT_EQ(Step(100, 10000, 0), recorder.steps[1]);
    EXPECT_EQ(Step(102, 10000, 5000), recorder.steps.back());
    EXPECT_EQ(PatternBytes(5000), ReadWholeFile(target_)); // what came stays
    EXPECT_EQ(DownloadFailed, http_.DownloadEndState());
}

TEST_F(FileDownload, ABodyThatGrowsTooSlowlyFailsLikeABrokenConnection) {
    Recorder recorder;
    // From the first progress report on, each clock reading is ten seconds on: a byte dripped
    // every 20 ms then counts as one every ten seconds.
    recorder.abortWhen = [](DownloadState state, int32_t) {
        if (state == DownloadReading) clock_seam::Step(10000);
        return false;
    };
    DebugCapture capture;
    EXPECT_EQ(ZBHTTP_ServerTimeOut, Download("/drip/100000/20", recorder));
    clock_seam::Step(0);
    EXPECT_EQ(DownloadFailed, http_.DownloadEndState());
    EXPECT_TRUE(capture.Contains("ZBHTTP PerformFileDownload: fewer than 4096 bytes in 60 seconds"))
        << capture.Text();
}

TEST_F(FileDownload, AbortBeforeTheSize) {
    Recorder recorder;
    recorder.abortWhen = [](DownloadState, int32_t) { return true; };
    DebugCapture capture(10); // the abort messages' level
    EXPECT_EQ(ZBHTTP_UserAbort, Download("/file/10002", recorder));
    EXPECT_EQ((std::vector<Step>{{100, -1, 0}}), recorder.steps);
    EXPECT_FALSE(TargetExists());
    EXPECT_EQ(0, ServerHits("/file/10002"));
    EXPECT_EQ("ZBHTTP PerformFileDownload: USER ABORTED DOWNLOAD (before getting size), file=\"" +
                  target_ + "\".\n",
              capture.Text());
    EXPECT_EQ(DownloadFailed, http_.DownloadEndState()); // synchronous: 102 even after an abort
    EXPECT_EQ(ZBHTTP_UserAbort, http_.DownloadResult());
}

TEST_F(FileDownload, AbortOnceTheSizeIsKnown) {
    std::ofstream(target_) << "old content";
    Recorder recorder;
    recorder.abortWhen = [](DownloadState state, int32_t size) {
        return state == 100 && size >= 0;
    };
    DebugCapture capture;
    EXPECT_EQ(ZBHTTP_UserAbort, Download("/file/10001", recorder));
    EXPECT_EQ((std::vector<Step>{{100, -1, 0}, {100, 10001, 0}}), recorder.steps);
    EXPECT_TRUE(TargetExists());
    EXPECT_EQ("", ReadWholeFile(target_)); // opened, so truncated
    EXPECT_EQ(1, ServerHits("/file/10001"));
    EXPECT_TRUE(capture.Contains(
        "ZBHTTP PerformFileDownload: USER ABORTED DOWNLOAD (before starting read), file=\""));
    EXPECT_EQ(DownloadFailed, http_.DownloadEndState());
    EXPECT_EQ(ZBHTTP_UserAbort, http_.DownloadResult());
}

TEST_F(FileDownload, AbortDuringTheRead) {
    Recorder recorder;
    recorder.abortWhen = [](DownloadState state, int32_t) { return state == DownloadReading; };
    DebugCapture capture;
    EXPECT_EQ(ZBHTTP_UserAbort, Download("/slow/8192/4/100", recorder, 10));
    EXPECT_EQ((std::vector<Step>{{100, -1, 0}, {100, 8192, 0}, {101, 8192, 2048}}), recorder.steps);
    EXPECT_EQ(PatternBytes(2048), ReadWholeFile(target_));
    EXPECT_TRUE(capture.Contains(
        "ZBHTTP PerformFileDownload: USER ABORTED DOWNLOAD (during read), file=\""));
    EXPECT_FALSE(capture.Contains("transfer error"));
    EXPECT_EQ(DownloadFailed, http_.DownloadEndState());
    EXPECT_EQ(ZBHTTP_UserAbort, http_.DownloadResult());
}

TEST_F(FileDownload, LocalFileErrors) {
    struct Case {
        std::string file;
        ZBHTTPResult result;
        const char* message;
    };
    const Case cases[] = {
        {folder_.File("missing/download.bin"), ZBHTTP_ParentDirNotExist, "FAILED (errno=2)"},
        {folder_.Path(), ZBHTTP_Error, "MapErrnoToZBHTTPResult : unhandled errno 21.\n"},
    };
    for (const Case& c : cases) {
        DebugCapture capture;
        Recorder recorder;
        http_.SetURL(TestHttpServer::Instance().Url("/file/10"));
        EXPECT_EQ(c.result,
                  http_.DoGetIntoFile(c.file.c_str(), &Recorder::Callback,
                                      reinterpret_cast<uintptr_t>(&recorder), 200, false, nullptr));
        EXPECT_EQ((std::vector<Step>{{100, -1, 0}, {102, 10, 0}}), recorder.steps);
        EXPECT_TRUE(capture.Contains(c.message)) << capture.Text();
        EXPECT_TRUE(
            capture.Contains("ZBHTTP PerformFileDownload : Download to File Error (errno="));
    }
}

TEST_F(FileDownload, ReadOnlyFileIsPermissionDenied) {
    if (geteuid() == 0) GTEST_SKIP() << "root writes read-only files";
    std::ofstream(target_) << "x";
    chmod(target_.c_str(), 0444);
    Recorder recorder;
    EXPECT_EQ(ZBHTTP_PermissionDenied, Download("/file/10", recorder));
}

TEST_F(FileDownload, FullDiskIsNoSpaceLeft) {
    // The small body fails when the stream is flushed, the large one in fwrite itself.
    for (const char* path : {"/file/100", "/file/20000"}) {
        DebugCapture capture;
        Recorder recorder;
        http_.SetURL(TestHttpServer::Instance().Url(path));
        EXPECT_EQ(ZBHTTP_NoSpaceLeft,
                  http_.DoGetIntoFile("/dev/full", &Recorder::Callback,
                                      reinterpret_cast<uintptr_t>(&recorder), 200, false, nullptr))
            << path;
        ASSERT_FALSE(recorder.steps.empty());
        EXPECT_EQ(102, std::get<0>(recorder.steps.back()));
        EXPECT_TRUE(capture.Contains("write to File Error (errno=28), ABORT.\n"));
    }
}

TEST(FileDownloadErrno, Mapping) {
    const std::pair<int, ZBHTTPResult> cases[] = {
        {0, ZBHTTP_SUCCESS},          {ENOENT, ZBHTTP_ParentDirNotExist},
        {ENOMEM, ZBHTTP_OutOfMemory}, {EACCES, ZBHTTP_PermissionDenied},
        {ENOSPC, ZBHTTP_NoSpaceLeft}, {EISDIR, ZBHTTP_Error},
        {EIO, ZBHTTP_Error},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.second, ZBHTTP::MapErrnoToZBHTTPResult(c.first)) << c.first;
    DebugCapture capture(2);
    ZBHTTP::MapErrnoToZBHTTPResult(0);
    EXPECT_EQ("MAPPING ERRNO ZERO TO SUCCESS, DID YOU USE THIS CORRECTLY?", capture.Text());
}

TEST_F(FileDownload, AsynchronousDownloadSignalsItsEvent) {
    Recorder recorder;
    http_.SetURL(TestHttpServer::Instance().Url("/file/50000"));
    DoneEventHandle event = nullptr;
    ASSERT_EQ(ZBHTTP_SUCCESS,
              http_.DoGetIntoFile(target_.c_str(), &Recorder::Callback,
                                  reinterpret_cast<uintptr_t>(&recorder), 200, true, &event));
    ASSERT_NE(nullptr, event);
    ASSERT_TRUE(WaitDoneEvent(event, 20000));
    CloseDoneEvent(event);
    EXPECT_EQ(ZBHTTP_SUCCESS, http_.DownloadResult());
    EXPECT_EQ(DownloadDone, http_.DownloadEndState());
    EXPECT_EQ((std::vector<Step>{{100, -1, 0}, {100, 50000, 0}, {104, 50000, 50000}}),
              recorder.steps);
    for (const std::thread::id& id : recorder.threads)
        EXPECT_NE(std::this_thread::get_id(), id);
    EXPECT_EQ(PatternBytes(50000), ReadWholeFile(target_));
}

TEST_F(FileDownload, AsynchronousAbortKeepsTheAbortedState) {
    Recorder recorder;
    recorder.abortWhen = [](DownloadState state, int32_t) { return state == DownloadReading; };
    http_.SetURL(TestHttpServer::Instance().Url("/slow/8192/4/100"));
    DoneEventHandle event = nullptr;
    ASSERT_EQ(ZBHTTP_SUCCESS,
              http_.DoGetIntoFile(target_.c_str(), &Recorder::Callback,
                                  reinterpret_cast<uintptr_t>(&recorder), 10, true, &event));
    ASSERT_TRUE(WaitDoneEvent(event, 20000));
    CloseDoneEvent(event);
    EXPECT_EQ(ZBHTTP_UserAbort, http_.DownloadResult());
    EXPECT_EQ(DownloadAborted, http_.DownloadEndState());
    EXPECT_EQ((std::vector<Step>{{100, -1, 0}, {100, 8192, 0}, {101, 8192, 2048}}), recorder.steps);
}

} // namespace
