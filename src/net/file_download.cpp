// Download of a ZBHTTP client's URL into a local file, synchronous or on a thread of its own,
// with progress reports, abort points and the measured rate. With a known length only a complete
// body counts: a short one fails, and bytes beyond the length are not written.
#include "net/zbhttp.h"

#include "debug/debug_mgr.h"
#include "net/transfer_progress.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <memory>
#include <new>

namespace {

constexpr int32_t kAbortLogLevel = 10;
constexpr int32_t kSizeLogLevel = 2;

int64_t NowMilliseconds() {
    return transfer_progress::ClockMilliseconds();
}

int32_t SaturateToInt32(int64_t value) {
    if (value > INT32_MAX) return INT32_MAX;
    if (value < INT32_MIN) return INT32_MIN;
    return static_cast<int32_t>(value);
}

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

// The result of a failed file operation: a failure even when the system left no error number.
ZBHTTPResult FileFailure(const char* operation, int error) {
    DebugMgr::DebugError("ZBHTTP PerformFileDownload : %s to File Error (errno=%d), ABORT.\n",
                         operation, error);
    const ZBHTTPResult result = ZBHTTP::MapErrnoToZBHTTPResult(error);
    return result == ZBHTTP_SUCCESS ? ZBHTTP_Error : result;
}

ZBHTTPResult WritePiece(std::FILE* file, const char* buffer, int32_t received) {
    errno = 0;
    const std::size_t written = std::fwrite(buffer, 1, static_cast<std::size_t>(received), file);
    if (written >= static_cast<std::size_t>(received)) return ZBHTTP_SUCCESS;
    const int error = errno;
    DebugMgr::DebugError("ZBHTTP PerformFileDownload: fwrite FAILED "
                         "(requested=%ld,written=%ld,errno=%d.\n",
                         static_cast<long>(received), static_cast<long>(written), error);
    return FileFailure("write", error);
}

ZBHTTPResult FlushDownloadFile(std::FILE* file) {
    errno = 0;
    if (std::fflush(file) == 0) return ZBHTTP_SUCCESS;
    const int error = errno;
    DebugMgr::DebugError("ZBHTTP PerformFileDownload: fflush FAILED (errno=%d).\n", error);
    return FileFailure("write", error);
}

// A body that brought too few bytes in the window ends as a connection that broke off.
ZBHTTPResult BodyStalled(int64_t total, const char* localFile) {
    DebugMgr::DebugError("ZBHTTP PerformFileDownload: fewer than %ld bytes in %ld "
                         "seconds after %lld bytes, file=\"%s\".\n",
                         static_cast<long>(transfer_progress::kMinimumBytes),
                         static_cast<long>(transfer_progress::kWindowMilliseconds / 1000),
                         static_cast<long long>(total), localFile);
    return ZBHTTP_ServerTimeOut;
}

} // namespace

ZBHTTPResult ZBHTTP::MapErrnoToZBHTTPResult(int error) {
    switch (error) {
    case 0:
        DebugMgr::DebugOutput(kSizeLogLevel,
                              "MAPPING ERRNO ZERO TO SUCCESS, DID YOU USE THIS CORRECTLY?");
        return ZBHTTP_SUCCESS;
    case ENOENT:
        return ZBHTTP_ParentDirNotExist;
    case ENOMEM:
        return ZBHTTP_OutOfMemory;
    case EACCES:
        return ZBHTTP_PermissionDenied;
    case ENOSPC:
        return ZBHTTP_NoSpaceLeft;
    default:
        DebugMgr::DebugError("MapErrnoToZBHTTPResult : unhandled errno %ld.\n",
                             static_cast<long>(error));
        return ZBHTTP_Error;
    }
}

// Stores the state, then asks the callback; without one the download goes on.
int32_t ZBHTTP::Report(DownloadState state, int32_t size, int64_t total) {
    State = state;
    if (!Callback) return CallbackContinue;
    // The callback's byte count is 32-bit: beyond 2 GB it stays at the largest value.
    return Callback(LocalFile.c_str(), size, SaturateToInt32(total), state, BytesPerSecond,
                    CallbackData);
}

// True when the callback asks to stop; `moment` says when, for the debug line.
bool ZBHTTP::AbortRequested(DownloadState state, int32_t size, int64_t total, const char* moment) {
    if (Report(state, size, total) != CallbackAbort) return false;
    DebugMgr::DebugFailure(kAbortLogLevel,
                           "ZBHTTP PerformFileDownload: USER ABORTED DOWNLOAD (%s), file=\"%s\".\n",
                           moment, LocalFile.c_str());
    return true;
}

ZBHTTPResult ZBHTTP::PerformFileDownload() {
    DownloadState state = DownloadStarting;
    ZBHTTPResult result = ZBHTTP_SUCCESS;
    int32_t size = -1;
    int64_t total = 0; // 64-bit: a body beyond 2 GB must not overflow the count
    std::unique_ptr<std::FILE, FileCloser> file;
    std::unique_ptr<char[]> buffer;
    bool transferError = false;

    do {
        if (AbortRequested(DownloadStarting, size, total, "before getting size")) {
            state = DownloadAborted;
            result = ZBHTTP_UserAbort;
            break;
        }
        result = OpenDownload(&size, file, buffer);
        if (result != ZBHTTP_SUCCESS) {
            transferError = true;
            break;
        }
        if (AbortRequested(DownloadStarting, size, total, "before starting read")) {
            state = DownloadAborted;
            result = ZBHTTP_UserAbort;
            break;
        }
        state = DownloadReading;
        bool aborted = false;
        result = ReadBodyIntoFile(file.get(), buffer.get(), size, &total, &aborted);
        if (aborted) {
            state = DownloadAborted;
            break;
        }
        // fwrite only fills the stream's buffer: the last piece reaches the disk here, and a full
        // disk must not pass for a complete file.
        if (result == ZBHTTP_SUCCESS) result = FlushDownloadFile(file.get());
        if (result == ZBHTTP_SUCCESS) {
            state = DownloadDone;
            Report(DownloadDone, size, total);
        } else {
            transferError = true;
        }
    } while (false);

    if (transferError) {
        DebugMgr::DebugError("ZBHTTP PerformFileDownload : transfer error. file=\"%s\"\n",
                             LocalFile.c_str());
        state = DownloadFailed;
        Report(DownloadFailed, size, total);
    }
    State = state;
    LastResult = result;
    Close();
    buffer.reset();
    file.reset();
    return result;
}

// The size asked of the server, the local file created and the piece buffer allocated.
template <typename File, typename Buffer>
ZBHTTPResult ZBHTTP::OpenDownload(int32_t* size, File& file, Buffer& buffer) {
    ZBHTTPResult result = GetDownloadFileSize(size);
    if (result != ZBHTTP_SUCCESS) {
        DebugMgr::DebugFailure(
            kSizeLogLevel,
            "ZBHTTP PerformFileDownload: GetDownloadFileSize FAILED for path \"%s\".\n",
            LocalFile.c_str());
        return result;
    }
    errno = 0;
    file.reset(std::fopen(LocalFile.c_str(), "wb"));
    if (!file) {
        const int error = errno;
        DebugMgr::DebugError(
            "ZBHTTP PerformFileDownload: Open local file \"%s\" FAILED (errno=%ld).\n",
            LocalFile.c_str(), static_cast<long>(error));
        return FileFailure("Download", error);
    }
    buffer.reset(new (std::nothrow) char[kPieceSize]);
    if (!buffer) {
        DebugMgr::DebugError("ZBHTTP PerformFileDownload: OUT OF MEMORY.\n");
        return ZBHTTP_OutOfMemory;
    }
    return ZBHTTP_SUCCESS;
}

// The body's pieces written to the file until it ends, the callback aborts, a write fails or the
// body stalls; one that ends before its announced length fails.
ZBHTTPResult ZBHTTP::ReadBodyIntoFile(std::FILE* file, char* buffer, int32_t size, int64_t* total,
                                      bool* aborted) {
    ZBHTTPResult result = ZBHTTP_SUCCESS;
    // The length the body's own answer announces (the second request may differ from the
    // first); -1: read until the server closes.
    int32_t announced = -1;
    const int64_t start = NowMilliseconds();
    int64_t lastProgress = start;
    bool headerSeen = false;
    transfer_progress::BodyWatch watch(start);
    for (;;) {
        int32_t received = 0;
        result = DoGetIntoBuffer(buffer, kPieceSize, &received);
        if (result != ZBHTTP_SUCCESS) {
            DebugMgr::DebugError("ZBHTTP PerformFileDownload: DoGetIntoBuffer FAILED %ld.\n",
                                 static_cast<long>(result));
            break;
        }
        if (!headerSeen) {
            headerSeen = true;
            announced = HeaderContentLength();
            watch = transfer_progress::BodyWatch(NowMilliseconds()); // the body starts here
        }
        if (announced >= 0 && *total + received > announced)
            received = static_cast<int32_t>(announced - *total); // nothing past the length
        if (received < 1) break; // closed by the server, or the announced length reached
        result = WritePiece(file, buffer, received);
        if (result != ZBHTTP_SUCCESS) break;
        const int64_t now = NowMilliseconds();
        *total += received;
        MeasureRate(*total, now - start);
        if (now - lastProgress > ProgressIntervalMs) {
            lastProgress = now;
            if (AbortRequested(DownloadReading, size, *total, "during read")) {
                result = ZBHTTP_UserAbort;
                *aborted = true;
                break;
            }
        }
        // Whole: no wait for a server that keeps the connection open after the body.
        if (announced >= 0 && *total >= announced) break;
        if (!watch.Progress(now, *total)) {
            result = BodyStalled(*total, LocalFile.c_str());
            break;
        }
    }
    if (*aborted) return result;
    // A connection that ends early must not pass for the whole program.
    if (result == ZBHTTP_SUCCESS && announced >= 0 && *total < announced) {
        DebugMgr::DebugError("ZBHTTP PerformFileDownload: body ended after %lld of %ld bytes, "
                             "file=\"%s\".\n",
                             static_cast<long long>(*total), static_cast<long>(announced),
                             LocalFile.c_str());
        result = ZBHTTP_Error;
    }
    return result;
}

void ZBHTTP::MeasureRate(int64_t total, int64_t elapsed) {
    if (elapsed < 1000) return;
    const double rate = static_cast<double>(total) / static_cast<double>(elapsed) * 1000.0;
    BytesPerSecond = rate >= INT32_MAX ? INT32_MAX : static_cast<int32_t>(rate);
}

uint32_t ZBHTTP::DownloadThreadRoutine(void* parameter) {
    ZBHTTP* client = static_cast<ZBHTTP*>(parameter);
    const ZBHTTPResult result = client->PerformFileDownload();
    client->LastResult = result;
    DoneEventHandle event = client->DoneEvent;
    client->DoneEvent = nullptr;
    // From here the client belongs to the caller again; only the event is touched.
    SignalDoneEvent(event);
    return static_cast<uint32_t>(result);
}

ZBHTTPResult ZBHTTP::DoGetIntoFile(const char* localFile, DownloadCallback callback,
                                   uintptr_t callbackData, int32_t progressIntervalMs,
                                   bool asynchronous, DoneEventHandle* doneEvent) {
    if (StartupFailed()) return ZBHTTP_WSAStartupError;
    LocalFile = localFile ? localFile : "";
    Callback = callback;
    ProgressIntervalMs = progressIntervalMs;
    CallbackData = callbackData;
    State = DownloadStarting;
    LastResult = ZBHTTP_SUCCESS;

    ZBHTTPResult result = ZBHTTP_SUCCESS;
    if (!asynchronous) {
        result = PerformFileDownload();
        if (result == ZBHTTP_SUCCESS) {
            LastResult = ZBHTTP_SUCCESS;
            return ZBHTTP_SUCCESS;
        }
    } else {
        uint32_t error = 0;
        DoneEventHandle event = CreateDoneEvent(&error);
        if (!event) {
            DebugMgr::DebugError("ZBHTTP DoGetIntoFile: CreateEvent FAILED, lastError=%ld.\n",
                                 static_cast<long>(error));
            result = ZBHTTP_Error;
        } else {
            DoneEvent = event;
            if (!StartDetachedThread(&ZBHTTP::DownloadThreadRoutine, this, &error)) {
                DebugMgr::DebugError("ZBHTTP DoGetIntoFile: CreateThread FAILED, lastError=%ld.\n",
                                     static_cast<long>(error));
                result = ZBHTTP_Error;
            } else {
                DebugMgr::Assert(doneEvent != nullptr, "ZBHTTP DoGetIntoFile : Asynchronous caller "
                                                       "will not save event, it will be LEAKED.\n");
                // The local copy: the thread may already have taken DoneEvent.
                if (doneEvent) *doneEvent = event;
                return ZBHTTP_SUCCESS;
            }
        }
    }
    State = DownloadFailed;
    if (DoneEvent) {
        CloseDoneEvent(DoneEvent);
        DoneEvent = nullptr;
    }
    LastResult = result;
    return result;
}
