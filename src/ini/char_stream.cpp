// CTCharStream: line reading with the capacity protocol and line writing, over the file layer.
#include "ini/char_stream.h"

#include <cstring>
#include <limits>

#include "sys/last_error.h"

namespace {
constexpr uint32_t kPieceBytes = 256;
constexpr uint32_t kInvalidData = 13;
constexpr uint32_t kNotEnoughMemory = 8;
constexpr unsigned char kByteOrderMark[2] = {0xFF, 0xFE};
} // namespace

bool CTCharStream::OpenStream(const char* fileName, int32_t mode) {
    if (!Close()) return false;
    if (!fileName) return false;
    if (mode != kModeRead && mode != kModeWriteAnsi && mode != kModeWriteUtf16) return false;
    mode_ = mode;
    if (mode != kModeRead) {
        if (!file_.OpenForWriting(fileName)) return false;
        if (mode == kModeWriteAnsi) {
            encoding_ = kEncodingAnsi;
            return true;
        }
        encoding_ = kEncodingUtf16;
        if (file_.Write(kByteOrderMark, sizeof kByteOrderMark)) return true;
        const uint32_t error = GetLastSystemError();
        file_.Close();
        SetLastSystemError(error);
        return false;
    }

    if (!file_.OpenForReading(fileName)) return false;
    unsigned char start[2] = {0, 0};
    uint32_t read = 0;
    if (!file_.Read(start, sizeof start, read)) {
        const uint32_t error = GetLastSystemError();
        file_.Close();
        SetLastSystemError(error);
        return false;
    }
    if (read == 2 && start[0] == kByteOrderMark[0] && start[1] == kByteOrderMark[1]) {
        encoding_ = kEncodingUtf16;
        return true;
    }
    encoding_ = kEncodingAnsi;
    if (!file_.MoveToStart()) {
        const uint32_t error = GetLastSystemError();
        file_.Close();
        SetLastSystemError(error);
        return false;
    }
    return true;
}

bool CTCharStream::Fail(uint32_t error, int64_t moveBack) {
    if (moveBack > 0) file_.MoveBy(-moveBack);
    SetLastSystemError(error);
    return false;
}

bool CTCharStream::ReadLine(char* buffer, int32_t* capacity) {
    if (!file_.IsOpen()) {
        SetLastSystemError(6);
        return false;
    }
    if (!buffer || !capacity) {
        SetLastSystemError(kInvalidData);
        return false;
    }
    const int32_t room = *capacity;
    *capacity = 0;
    line_.clear();

    const bool utf16 = encoding_ == kEncodingUtf16;
    int64_t read = 0;     // bytes read by this call
    int64_t consumed = 0; // bytes of this line, its end included
    bool complete = false;
    bool cut = false; // a carriage return was met: the rest of the line is dropped
    unsigned char piece[kPieceBytes];
    while (!complete) {
        uint32_t got = 0;
        if (!file_.Read(piece, kPieceBytes, got)) return Fail(GetLastSystemError(), read);
        if (got == 0) break;
        read += got;
        uint32_t used = got;
        const bool valid = utf16 ? TakeUtf16Piece(piece, got, &used, &complete, &cut)
                                 : TakeNarrowPiece(piece, got, &used, &complete, &cut);
        if (!valid) return Fail(kInvalidData, read);
        consumed += used;
    }

    if (read > consumed && !file_.MoveBy(consumed - read)) return false;
    if (consumed == 0) {
        *capacity = -1;
        return true;
    }
    if (line_.size() >= static_cast<std::size_t>(std::numeric_limits<int32_t>::max()))
        return Fail(kNotEnoughMemory, consumed);
    const auto length = static_cast<int32_t>(line_.size());
    *capacity = length;
    if (room < 1 || length > room - 1) {
        // The caller reads this line again with a larger buffer.
        return Fail(0, consumed);
    }
    std::memcpy(buffer, line_.c_str(), line_.size() + 1);
    return true;
}

// The piece's text up to its line feed, if any, appended to the line (nothing after a carriage
// return); `used`: the bytes of the line in it. False on a NUL, which a zero-terminated line
// cannot hand on: refused rather than text lost.
bool CTCharStream::TakeNarrowPiece(const unsigned char* piece, uint32_t got, uint32_t* used,
                                   bool* complete, bool* cut) {
    const auto* feed = static_cast<const unsigned char*>(std::memchr(piece, '\n', got));
    if (feed) {
        *used = static_cast<uint32_t>(feed - piece) + 1;
        *complete = true;
    }
    const uint32_t textBytes = *complete ? *used - 1 : *used;
    if (std::memchr(piece, '\0', textBytes)) return false;
    if (!*cut) {
        const void* ret = std::memchr(piece, '\r', textBytes);
        const uint32_t keep =
            ret ? static_cast<uint32_t>(static_cast<const unsigned char*>(ret) - piece) : textBytes;
        line_.append(reinterpret_cast<const char*>(piece), keep);
        *cut = ret != nullptr;
    }
    return true;
}

// As TakeNarrowPiece for little-endian UTF-16; also false on a character without an 8-bit form
// and on half a code unit at the end of the file.
bool CTCharStream::TakeUtf16Piece(const unsigned char* piece, uint32_t got, uint32_t* used,
                                  bool* complete, bool* cut) {
    const uint32_t units = got / 2;
    uint32_t unit = 0;
    for (; unit < units; ++unit) {
        const unsigned value = piece[2 * unit] | (static_cast<unsigned>(piece[2 * unit + 1]) << 8);
        if (value == '\n') {
            *complete = true;
            break;
        }
        if (value == 0) return false;
        if (*cut) continue;
        if (value == '\r') {
            *cut = true;
        } else if (value > 0xFF) {
            return false; // no 8-bit form
        } else {
            line_.push_back(static_cast<char>(value));
        }
    }
    if (*complete) {
        *used = 2 * (unit + 1);
    } else if (got % 2 != 0) {
        return false; // half a code unit at the end of the file
    }
    return true;
}

bool CTCharStream::WriteLine(const char* text) {
    if (!file_.IsOpen() || !text) return false;
    const std::size_t length = std::strlen(text);
    if (length > std::numeric_limits<uint32_t>::max() / 2 - 4) {
        SetLastSystemError(kNotEnoughMemory);
        return false;
    }
    if (encoding_ == kEncodingAnsi) {
        encoded_.assign(text, length);
        encoded_ += "\r\n";
    } else if (encoding_ == kEncodingUtf16) {
        encoded_.resize(2 * (length + 2));
        for (std::size_t i = 0; i < length; ++i) {
            encoded_[2 * i] = text[i];
            encoded_[2 * i + 1] = '\0';
        }
        const char ending[4] = {'\r', '\0', '\n', '\0'};
        std::memcpy(&encoded_[2 * length], ending, sizeof ending);
    } else {
        return false;
    }
    return file_.Write(encoded_.data(), static_cast<uint32_t>(encoded_.size()));
}

bool CTCharStream::Close() {
    encoding_ = kEncodingNone;
    return file_.Close();
}
