// Diagnostic message facility of the download layers.
#include "debug/debug_mgr.h"

#include <atomic>
#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <mutex>

#include "sys/fixed_buffer.h"

int32_t DebugMgr::DebugLevel = 0;
std::string DebugMgr::DebugOutputFileName;

namespace {

constexpr int kFormatBufferSize = 4096;

enum class OutputFileState { None, Open, Failed };

// The output file is shared by every thread that writes; one lock keeps its creation and the
// writes whole. Format buffers live on each caller's stack, so threads never share them.
std::mutex& OutputLock() {
    static std::mutex lock;
    return lock;
}
std::atomic<DebugMgr::FailureSink> g_failureSink{nullptr};
std::FILE* g_outputFile = nullptr;
OutputFileState g_outputState = OutputFileState::None;

void WriteLocked(const char* text) {
    if (g_outputState == OutputFileState::Failed) return; // file could not be opened: lost
    if (g_outputFile) {
        std::fputs(text, g_outputFile);
        std::fflush(g_outputFile); // texts survive a crash and are readable at once
        return;
    }
    std::fputs(text, stdout);
    std::fflush(stdout);
}

// Formats into `buffer`, cut to its size where it does not fit.
void FormatCut(char* buffer, std::size_t size, const char* format, ...) {
    va_list args;
    va_start(args, format);
    if (FormatTextV(buffer, size, format, args) < 0) buffer[0] = '\0';
    va_end(args);
}

void CheckCreateLocked() {
    if (DebugMgr::DebugLevel == 0 || g_outputState != OutputFileState::None ||
        DebugMgr::DebugOutputFileName.empty())
        return;
    errno = 0;
    std::FILE* file = std::fopen(DebugMgr::DebugOutputFileName.c_str(), "a");
    if (file) {
        g_outputFile = file;
        g_outputState = OutputFileState::Open;
    } else if (errno == ENOMEM) {
        // No memory for the stream: say so and try again with the next text.
        char notice[kFormatBufferSize]; // on the stack: there is no memory to spare
        FormatCut(notice, sizeof notice,
                  "DebugMgr::CheckCreateOutputFile : ERROR creating output file \"%s\".\n ",
                  DebugMgr::DebugOutputFileName.c_str());
        std::fputs(notice, stderr);
    } else {
        g_outputState = OutputFileState::Failed;
    }
}

// The sink takes lines: trailing line ends go, inner ones are shown escaped (a refused answer's
// message quotes the whole header).
void HandToSink(DebugMgr::FailureSink sink, const char* text) {
    std::string line(text);
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
        line.pop_back();
    std::string escaped;
    escaped.reserve(line.size());
    for (char c : line) {
        if (c == '\r')
            escaped += "\\r";
        else if (c == '\n')
            escaped += "\\n";
        else
            escaped += c;
    }
    sink(escaped.c_str());
}

// Formats into a 4096-byte buffer; a text that does not fit is cut and follows a notice. Written
// when the facility is on, and handed to `sink` when there is one.
void FormatAndWrite(const char* overflowNotice, const char* invalidNotice,
                    DebugMgr::FailureSink sink, const char* format, va_list args) {
    char buffer[kFormatBufferSize];
    buffer[0] = '\0';
    int length = FormatTextV(buffer, sizeof buffer, format, args);
    buffer[kFormatBufferSize - 1] = '\0';
    if (length >= kFormatBufferSize - 1) {
        DebugMgr::WriteDebugText(overflowNotice);
    } else if (length < 0) {
        buffer[0] = '\0';
        DebugMgr::WriteDebugText(invalidNotice);
    }
    DebugMgr::WriteDebugText(buffer);
    if (sink) HandToSink(sink, buffer);
}

} // namespace

void DebugMgr::DebugOutput(int32_t level, const char* format, ...) {
    if (DebugLevel == 0 || level > DebugLevel || !format) return;
    va_list args;
    va_start(args, format);
    FormatAndWrite("DebugOutput: BUFFER OVERFLOW!", "DebugOutput: INVALID FORMAT.", nullptr, format,
                   args);
    va_end(args);
}

void DebugMgr::DebugFailure(int32_t level, const char* format, ...) {
    const FailureSink sink = g_failureSink.load();
    const bool written = DebugLevel != 0 && level <= DebugLevel;
    if ((!written && !sink) || !format) return;
    va_list args;
    va_start(args, format);
    if (written) {
        FormatAndWrite("DebugOutput: BUFFER OVERFLOW!", "DebugOutput: INVALID FORMAT.", sink,
                       format, args);
    } else { // a text the facility does not write still reaches the sink
        char buffer[kFormatBufferSize];
        if (FormatTextV(buffer, sizeof buffer, format, args) < 0) buffer[0] = '\0';
        buffer[kFormatBufferSize - 1] = '\0';
        HandToSink(sink, buffer);
    }
    va_end(args);
}

void DebugMgr::DebugError(const char* format, ...) {
    const FailureSink sink = g_failureSink.load();
    // Formatting costs time on every failure path, so a silent facility without a sink skips it.
    if ((DebugLevel == 0 && !sink) || !format) return;
    va_list args;
    va_start(args, format);
    FormatAndWrite("DebugError: BUFFER OVERFLOW!", "DebugError: INVALID FORMAT.", sink, format,
                   args);
    va_end(args);
}

void DebugMgr::SetFailureSink(FailureSink sink) {
    g_failureSink.store(sink);
}

void DebugMgr::Assert(bool condition, const char* format, ...) {
    if (condition || !format || DebugLevel == 0) return;
    va_list args;
    va_start(args, format);
    FormatAndWrite("Assert: BUFFER OVERFLOW!", "Assert: INVALID FORMAT.", nullptr, format, args);
    va_end(args);
}

void DebugMgr::WriteDebugText(const char* text) {
    if (DebugLevel == 0 || !text) return;
    std::lock_guard<std::mutex> guard(OutputLock());
    CheckCreateLocked();
    WriteLocked(text);
}

void DebugMgr::CheckCreateOutputFile() {
    std::lock_guard<std::mutex> guard(OutputLock());
    CheckCreateLocked();
}

void DebugMgr::CloseOutputFile() {
    std::lock_guard<std::mutex> guard(OutputLock());
    if (g_outputFile) std::fclose(g_outputFile);
    g_outputFile = nullptr;
    g_outputState = OutputFileState::None;
}
