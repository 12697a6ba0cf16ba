// CTCharStream: a line-oriented text file, read as 8-bit lines whatever its encoding (ANSI, or
// UTF-16 little-endian with a byte-order mark) and written in ANSI or UTF-16. Every call starts at
// the beginning of a line. Failures return false with the system's last error set; it never raises.
#pragma once
#include <cstdint>
#include <string>

#include "ini/stream_file.h"

class CTCharStream {
  public:
    enum Mode : int32_t { kModeRead = 0, kModeWriteAnsi = 1, kModeWriteUtf16 = 2 };
    enum Encoding : int32_t { kEncodingNone = 0, kEncodingAnsi = 1, kEncodingUtf16 = 2 };

    CTCharStream() = default;
    virtual ~CTCharStream() { Close(); }
    CTCharStream(const CTCharStream&) = delete;
    CTCharStream& operator=(const CTCharStream&) = delete;

    // Mode 0 opens an existing file and detects its encoding; modes 1 and 2 create or truncate
    // (mode 2 writes the byte-order mark). Closes a file already open first.
    bool OpenStream(const char* fileName, int32_t mode);

    // The next line without its CR LF or LF. `capacity` holds the buffer's size in bytes on entry
    // and on return the line's length, or -1 at the end of the file (returning true). A line that
    // does not fit with its terminating zero returns false with last error 0 and its length: read
    // it again with a buffer and capacity of that length plus one. Text from a carriage return to
    // the end of its line is dropped. Invalid data (a NUL, a UTF-16 character above U+00FF, a
    // dangling odd byte) fails with last error 13 and leaves the position at the line's start.
    bool ReadLine(char* buffer, int32_t* capacity);

    // Writes the text and CR LF; in UTF-16 each byte becomes the code unit of the same value.
    bool WriteLine(const char* text);

    bool Close(); // true when nothing is open
    int32_t GetEncoding() const { return file_.IsOpen() ? encoding_ : kEncodingNone; }

  private:
    bool Fail(uint32_t error, int64_t moveBack);
    bool TakeNarrowPiece(const unsigned char* piece, uint32_t got, uint32_t* used, bool* complete,
                         bool* cut);
    bool TakeUtf16Piece(const unsigned char* piece, uint32_t got, uint32_t* used, bool* complete,
                        bool* cut);

    StreamFile file_;
    int32_t mode_ = kModeRead;
    int32_t encoding_ = kEncodingNone;
    std::string line_;    // reused between calls
    std::string encoded_; // reused between writes
};
