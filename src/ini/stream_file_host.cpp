// The stream's file layer on the host: standard C files, errno turned into Windows error codes.
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>

#include "ini/stream_file.h"
#include "sys/last_error.h"

namespace {
// errno values and the Windows error codes that the callers expect for them.
struct ErrnoCode {
    int error;
    uint32_t code;
};
constexpr ErrnoCode kErrnoCodes[] = {
    {ENOENT, 2},  {ENOTDIR, 3}, {EMFILE, 4},   {ENFILE, 4},  {EACCES, 5},         {EPERM, 5},
    {EISDIR, 5},  {EBADF, 6},   {ENOMEM, 8},   {EROFS, 19},  {EBUSY, 32},         {ETXTBSY, 32},
    {EEXIST, 80}, {EINVAL, 87}, {ENOSPC, 112}, {EFBIG, 112}, {ENAMETOOLONG, 206},
};
constexpr uint32_t kGeneralFailure = 31;

uint32_t SystemErrorFromErrno(int error) {
    for (const ErrnoCode& entry : kErrnoCodes)
        if (entry.error == error) return entry.code;
    return kGeneralFailure;
}

bool Fail(int error) {
    SetLastSystemError(SystemErrorFromErrno(error));
    return false;
}
} // namespace

struct StreamFile::Handle {
    std::FILE* file;
};

StreamFile::StreamFile() = default;
StreamFile::~StreamFile() {
    Close();
}

bool StreamFile::IsOpen() const {
    return handle_ != nullptr;
}

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
