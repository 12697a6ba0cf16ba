// The stream's file layer on Windows: CreateFileW by the OEM-then-ANSI rule on NT, CreateFileA on
// 9x.
#include <cwchar>

#include "ini/stream_file.h"
#include "sys/unique_handle.h"
#include "sys/wide_entry_points.h"

struct StreamFile::Handle {
    UniqueFile file;
};

namespace {
using CreateFileWFn = HANDLE(WINAPI*)(LPCWSTR, DWORD, DWORD, LPSECURITY_ATTRIBUTES, DWORD, DWORD,
                                      HANDLE);

constexpr DWORD kFlags = FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN;

HANDLE OpenNarrow(const char* name, DWORD access, DWORD disposition) {
    return ::CreateFileA(name, access, FILE_SHARE_READ, nullptr, disposition, kFlags, nullptr);
}

// Tries the OEM form of the name, then its ANSI form (skipped when both are the same name).
HANDLE OpenWide(CreateFileWFn createFileW, const wchar_t* oem, const wchar_t* ansi, DWORD access,
                DWORD disposition) {
    HANDLE file = createFileW(oem, access, FILE_SHARE_READ, nullptr, disposition, kFlags, nullptr);
    if (file == INVALID_HANDLE_VALUE && std::wcscmp(oem, ansi) != 0)
        file = createFileW(ansi, access, FILE_SHARE_READ, nullptr, disposition, kFlags, nullptr);
    return file;
}

HANDLE OpenByName(const char* name, bool forWriting) {
    const DWORD access = forWriting ? GENERIC_WRITE : GENERIC_READ;
    if (!IsWindowsNT()) {
        return OpenNarrow(name, access, forWriting ? CREATE_ALWAYS : OPEN_EXISTING);
    }
    auto createFileW = GetEntryPointAs<CreateFileWFn>("KERNEL32.DLL", "CreateFileW");
    if (!createFileW) {
        ::SetLastError(ERROR_PROC_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }
    wchar_t oem[kWideBufferChars];
    wchar_t ansi[kWideBufferChars];
    OemToWide(name, oem);
    AnsiToWide(name, ansi);
    if (!forWriting) return OpenWide(createFileW, oem, ansi, access, OPEN_EXISTING);
    // An existing file under either form is rewritten before a new one is created: creating the
    // OEM form first would leave the file that was read untouched when the two forms differ.
    HANDLE file = OpenWide(createFileW, oem, ansi, access, TRUNCATE_EXISTING);
    if (file == INVALID_HANDLE_VALUE)
        file = OpenWide(createFileW, oem, ansi, access, CREATE_ALWAYS);
    return file;
}

bool MoveTo(HANDLE file, int64_t distance, DWORD method) {
    LONG high = static_cast<LONG>(distance >> 32);
    ::SetLastError(NO_ERROR);
    const DWORD low =
        ::SetFilePointer(file, static_cast<LONG>(distance & 0xFFFFFFFF), &high, method);
    return !(low == INVALID_SET_FILE_POINTER && ::GetLastError() != NO_ERROR);
}
} // namespace

StreamFile::StreamFile() = default;
StreamFile::~StreamFile() {
    Close();
}

bool StreamFile::IsOpen() const {
    return handle_ != nullptr;
}

bool StreamFile::OpenForReading(const char* name) {
    Close();
    UniqueFile file(OpenByName(name, false));
    if (!file) return false;
    handle_.reset(new Handle{std::move(file)});
    return true;
}

bool StreamFile::OpenForWriting(const char* name) {
    Close();
    UniqueFile file(OpenByName(name, true));
    if (!file) return false;
    handle_.reset(new Handle{std::move(file)});
    return true;
}

bool StreamFile::Read(void* buffer, uint32_t size, uint32_t& done) {
    done = 0;
    if (!handle_) {
        ::SetLastError(ERROR_INVALID_HANDLE);
        return false;
    }
    DWORD read = 0;
    if (!::ReadFile(handle_->file.get(), buffer, size, &read, nullptr)) return false;
    done = read;
    return true;
}

bool StreamFile::Write(const void* data, uint32_t size) {
    if (!handle_) {
        ::SetLastError(ERROR_INVALID_HANDLE);
        return false;
    }
    DWORD written = 0;
    if (!::WriteFile(handle_->file.get(), data, size, &written, nullptr)) return false;
    if (written != size) {
        ::SetLastError(ERROR_DISK_FULL);
        return false;
    }
    return true;
}

bool StreamFile::MoveBy(int64_t distance) {
    if (!handle_) {
        ::SetLastError(ERROR_INVALID_HANDLE);
        return false;
    }
    return MoveTo(handle_->file.get(), distance, FILE_CURRENT);
}

bool StreamFile::MoveToStart() {
    if (!handle_) {
        ::SetLastError(ERROR_INVALID_HANDLE);
        return false;
    }
    return MoveTo(handle_->file.get(), 0, FILE_BEGIN);
}

bool StreamFile::Close() {
    if (!handle_) return true;
    HANDLE file = handle_->file.release();
    handle_.reset();
    return ::CloseHandle(file) != FALSE;
}
