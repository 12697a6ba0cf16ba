// The stream's file layer on the host: standard C files, errno turned into Windows error codes.
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>

#include "ini/stream_file.h"
#include "sys/last_error.h"

namespace {
uint32_t SystemErrorFromErrno(int error) {
    switch (error) {
    case ENOENT: return 2;                                 // file not found
    case EBADF: return 6;                                  // invalid handle
    case ENOTDIR: return 3;                                // path not found
    case EMFILE: case ENFILE: return 4;                    // too many open files
    case EACCES: case EPERM: case EISDIR: return 5;        // access denied
    case ENOMEM: return 8;                                 // not enough memory
    case EROFS: return 19;                                 // write protected
    case EBUSY: case ETXTBSY: return 32;                   // sharing violation
    case EEXIST: return 80;                                // file exists
    case EINVAL: return 87;                                // invalid parameter
    case ENOSPC: case EFBIG: return 112;                   // disk full
    case ENAMETOOLONG: return 206;                         // name too long
    default: return 31;                                    // device not functioning
    }
}

bool Fail(int error) {
    SetLastSystemError(SystemErrorFromErrno(error));
    return false;
}
}  // namespace

struct StreamFile::Handle {
    std::FILE* file;
};

StreamFile::StreamFile() = default;
StreamFile::~StreamFile() { Close(); }

bool StreamFile::IsOpen() const { return handle_ != nullptr; }

bool StreamFile::OpenForReading(const char* name) {
    Close();
    std::FILE* file = std::fopen(name, "rb");
    if (!file) return Fail(errno);
    // fopen takes a folder for reading; Windows refuses to open one as a file.
    struct stat info;
    if (fstat(fileno(file), &info) != 0 || S_ISDIR(info.st_mode)) {
        std::fclose(file);
        return Fail(EISDIR);
    }
    handle_.reset(new Handle{file});
    return true;
}

bool StreamFile::OpenForWriting(const char* name) {
    Close();
    std::FILE* file = std::fopen(name, "wb");
    if (!file) return Fail(errno);
    handle_.reset(new Handle{file});
    return true;
}

bool StreamFile::Read(void* buffer, uint32_t size, uint32_t& done) {
    done = 0;
    if (!handle_) return Fail(EBADF);
    done = static_cast<uint32_t>(std::fread(buffer, 1, size, handle_->file));
    if (done < size && std::ferror(handle_->file)) return Fail(errno);
    return true;
}

bool StreamFile::Write(const void* data, uint32_t size) {
    if (!handle_) return Fail(EBADF);
    if (std::fwrite(data, 1, size, handle_->file) != size) return Fail(errno);
    return true;
}

bool StreamFile::MoveBy(int64_t distance) {
    if (!handle_) return Fail(EBADF);
    if (fseeko(handle_->file, static_cast<off_t>(distance), SEEK_CUR) != 0) return Fail(errno);
    return true;
}

bool StreamFile::MoveToStart() {
    if (!handle_) return Fail(EBADF);
    if (fseeko(handle_->file, 0, SEEK_SET) != 0) return Fail(errno);
    return true;
}

bool StreamFile::Close() {
    if (!handle_) return true;
    std::FILE* file = handle_->file;
    handle_.reset();
    // Buffered writes reach the disk here: a failure is a lost write.
    if (std::fclose(file) != 0) return Fail(errno);
    return true;
}
