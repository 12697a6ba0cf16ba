// Diagnostic messages of the download layers: printf-style texts written to a file or standard
// output, all switched off while DebugLevel is 0 (which is how the launcher always runs).
#pragma once
#include <cstdint>
#include <string>

class DebugMgr {
  public:
    // 0: nothing is written. Otherwise DebugOutput texts up to this level are written, and
    // DebugError and Assert texts whatever the level.
    static int32_t DebugLevel;
    // Empty: texts go to standard output.
    static std::string DebugOutputFileName;

    // Formats and writes when `level` is enabled.
    static void DebugOutput(int32_t level, const char* format, ...)
        __attribute__((format(printf, 2, 3)));
    // DebugOutput for a text that says why a transfer failed: it also goes to the failure sink.
    static void DebugFailure(int32_t level, const char* format, ...)
        __attribute__((format(printf, 2, 3)));
    // Formats and writes an error text; it also goes to the failure sink.
    static void DebugError(const char* format, ...) __attribute__((format(printf, 1, 2)));
    // Formats and writes when `condition` is false and a format is given.
    static void Assert(bool condition, const char* format, ...)
        __attribute__((format(printf, 2, 3)));

    // Writes one text unchanged to the output file, or to standard output when there is none.
    static void WriteDebugText(const char* text);
    // Opens DebugOutputFileName for appending on first use.
    static void CheckCreateOutputFile();

    // Receives each failure text as one line, whatever DebugLevel is: the line end taken off, any
    // line break inside shown as \r or \n. A layer above registers it (the setup log, when
    // logging is on); null: none.
    using FailureSink = void (*)(const char* line);
    static void SetFailureSink(FailureSink sink);

    // Closes the output file so that the next text opens DebugOutputFileName again. The launcher
    // never calls it; tests use it to switch files.
    static void CloseOutputFile();
};
