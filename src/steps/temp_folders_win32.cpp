// Temporary copies of the launcher folder: a fresh private folder with a random name, a recursive
// copy and a recursive delete.
#include "steps/temp_folders.h"

#include <ctime>

#include "steps/deferred_deletion.h"
#include "sys/fixed_buffer.h"
#include "sys/private_security.h"
#include "sys/setup_log.h"
#include "sys/unique_handle.h"
#include "sys/wide_entry_points.h"

namespace {
constexpr DWORD kProtectiveAttributes =
    FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;

bool IsFolder(const WIN32_FIND_DATAA& data) {
    return (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool IsLink(DWORD attributes) {
    return (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

void LogUndeleted(const std::string& path, bool folder, DWORD error) {
    WriteLogF(folder ? "Failed to remove directory: \"%s\", Error code = 0x%08X"
                     : "Failed to delete file: \"%s\", Error code = 0x%08X",
              path.c_str(), static_cast<unsigned>(error));
}

void LogAttributeReset(const std::string& path, DWORD attributes) {
    WriteLogF("Resetting file attributes for \"%s\" from 0x%08X to 0x%08X", path.c_str(),
              static_cast<unsigned>(attributes),
              static_cast<unsigned>(attributes & ~kProtectiveAttributes));
}

// The 9x family (no links, no security): by name.
void DeleteOneFileByName(const std::string& root, const std::string& path, DWORD attributes) {
    if (attributes & kProtectiveAttributes) {
        LogAttributeReset(path, attributes);
        if (!::SetFileAttributesA(path.c_str(), attributes & ~kProtectiveAttributes))
            WriteLogF("Failed to set file attributes. Error code = 0x%08X",
                      static_cast<unsigned>(::GetLastError()));
    }
    if (!::DeleteFileA(path.c_str())) {
        LogUndeleted(path, false, ::GetLastError());
        LogForDeletionInside(path.c_str(), root);
    }
}

void RemoveOneFolderByName(const std::string& root, const std::string& path) {
    if (!::RemoveDirectoryA(path.c_str())) {
        LogUndeleted(path, true, ::GetLastError());
        LogForDeletionInside(path.c_str(), root);
    }
}

// NtSetInformationFile, the one call that both resets attributes and deletes through a handle on
// every NT version (SetFileInformationByHandle came with Vista).
struct FileBasicInformation {
    LARGE_INTEGER creationTime, lastAccessTime, lastWriteTime, changeTime; // 0: unchanged
    ULONG attributes;                                                      // 0: unchanged
};
constexpr int kFileBasicInformation = 4;
constexpr int kFileDispositionInformation = 13;

// The system error of setting `information` through `file`; 0 on success.
DWORD SetInformationThrough(HANDLE file, int informationClass, void* information, ULONG size) {
    struct IoStatus {
        ULONG_PTR status;
        ULONG_PTR information;
    };
    using SetInformationFn = LONG(WINAPI*)(HANDLE, IoStatus*, void*, ULONG, int);
    using StatusToErrorFn = ULONG(WINAPI*)(LONG);
    static const auto setInformation =
        GetEntryPointAs<SetInformationFn>("NTDLL.DLL", "NtSetInformationFile");
    static const auto statusToError =
        GetEntryPointAs<StatusToErrorFn>("NTDLL.DLL", "RtlNtStatusToDosError");
    if (!setInformation || !statusToError) return ERROR_PROC_NOT_FOUND;
    IoStatus ioStatus = {};
    const LONG status = setInformation(file, &ioStatus, information, size, informationClass);
    return status >= 0 ? 0 : statusToError(status);
}

void DeleteTree(const std::string& root, const std::string& folder);

// Opens the entry itself (FILE_FLAG_OPEN_REPARSE_POINT: a link or junction is not followed),
// without delete sharing, so that nobody can rename or replace it while the handle is open.
UniqueFile OpenItself(const std::string& path, DWORD access, BY_HANDLE_FILE_INFORMATION& info) {
    UniqueFile file(::CreateFileA(
        path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
        FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (file && !::GetFileInformationByHandle(file.get(), &info)) file.reset();
    return file;
}

bool SameEntry(const BY_HANDLE_FILE_INFORMATION& a, const BY_HANDLE_FILE_INFORMATION& b) {
    return a.dwVolumeSerialNumber == b.dwVolumeSerialNumber &&
           a.nFileIndexHigh == b.nFileIndexHigh && a.nFileIndexLow == b.nFileIndexLow;
}

// One entry on the NT family, held while it is looked at and emptied, and deleted through a handle.
void DeleteEntryThroughHandle(const std::string& root, const std::string& path,
                              const WIN32_FIND_DATAA& data) {
    const bool listedFolder = IsFolder(data);
    const DWORD deleteAccess = DELETE | FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES;
    BY_HANDLE_FILE_INFORMATION held = {};
    // A folder is held without delete access while it is emptied: listing it (Wine's
    // FindFirstFile) would otherwise meet a sharing violation.
    UniqueFile entry = OpenItself(path, listedFolder ? FILE_READ_ATTRIBUTES : deleteAccess, held);
    if (!entry) {
        LogUndeleted(path, listedFolder, ::GetLastError());
        LogForDeletionInside(path.c_str(), root);
        return;
    }
    const DWORD attributes = held.dwFileAttributes;
    // Wine opens what a link points to even with FILE_FLAG_OPEN_REPARSE_POINT, and deleting
    // through that handle deletes the target: only an entry held as itself is touched.
    if (IsLink(data.dwFileAttributes) != IsLink(attributes) ||
        listedFolder != ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)) {
        WriteLogF("Not deleting \"%s\": it cannot be opened itself", path.c_str());
        return;
    }
    if (listedFolder) {
        if (!IsLink(attributes) && FitsMaxPath(path + '\\')) DeleteTree(root, path + '\\');
        entry.reset();
        BY_HANDLE_FILE_INFORMATION again = {};
        entry = OpenItself(path, deleteAccess, again);
        if (!entry || !SameEntry(held, again)) {
            LogUndeleted(path, true, entry ? ERROR_ACCESS_DENIED : ::GetLastError());
            if (!IsLink(attributes)) LogForDeletionInside(path.c_str(), root);
            return;
        }
    } else if (attributes & kProtectiveAttributes) {
        LogAttributeReset(path, attributes);
        FileBasicInformation basic = {};
        const DWORD cleared = attributes & ~kProtectiveAttributes;
        basic.attributes = cleared ? cleared : FILE_ATTRIBUTE_NORMAL;
        const DWORD error =
            SetInformationThrough(entry.get(), kFileBasicInformation, &basic, sizeof basic);
        if (error)
            WriteLogF("Failed to set file attributes. Error code = 0x%08X",
                      static_cast<unsigned>(error));
    }
    BOOLEAN deleteOnClose = TRUE;
    const DWORD error = SetInformationThrough(entry.get(), kFileDispositionInformation,
                                              &deleteOnClose, sizeof deleteOnClose);
    if (!error) return; // gone when the handle closes
    LogUndeleted(path, listedFolder, error);
    // A link that stays is not scheduled either: the restart-time deletion would follow it.
    if (!IsLink(attributes)) LogForDeletionInside(path.c_str(), root);
}

// Empties `folder`, which is `root` or below it.
void DeleteTree(const std::string& root, const std::string& folder) {
    const std::string pattern = folder + "*.*";
    if (!FitsMaxPath(pattern)) return;
    WIN32_FIND_DATAA data;
    UniqueFindHandle find(::FindFirstFileA(pattern.c_str(), &data));
    if (!find) return;
    const bool nt = IsWindowsNT();
    do {
        const std::string name = data.cFileName;
        const std::string path = folder + name;
        if (!FitsMaxPath(path)) continue; // cannot be named in 260 bytes: left in place
        if (IsFolder(data) && name[0] == '.') continue;
        if (nt) {
            DeleteEntryThroughHandle(root, path, data);
        } else if (!IsFolder(data)) {
            DeleteOneFileByName(root, path, data.dwFileAttributes);
        } else {
            const std::string inner = path + '\\';
            if (FitsMaxPath(inner)) DeleteTree(root, inner);
            RemoveOneFolderByName(root, path);
        }
    } while (::FindNextFileA(find.get(), &data));
}

using RtlGenRandomFn = BOOLEAN(WINAPI*)(PVOID, ULONG);

RtlGenRandomFn SystemRandom() {
    // Exported by name as SystemFunction036 (RtlGenRandom) from XP on.
    static const auto random = GetEntryPointAs<RtlGenRandomFn>("ADVAPI32.DLL", "SystemFunction036");
    return random;
}
} // namespace

TempFolderNumbers TempFolderNumbers::Unpredictable() {
    TempFolderNumbers numbers(static_cast<uint32_t>(std::time(nullptr)));
    numbers.random_ = IsWindowsNT() && SystemRandom() != nullptr;
    return numbers;
}

unsigned TempFolderNumbers::Next() {
    uint16_t drawn = 0;
    if (random_ && SystemRandom()(&drawn, sizeof drawn)) return drawn % 0xFFFFu;
    state_ = state_ * 214013u + 2531011u;
    return ((state_ >> 16) & 0xFFFFu) % 0xFFFFu;
}

namespace {
bool CreateTempFolderWith(const char* parent, TempFolderNumbers& numbers, std::string& folder) {
    folder.clear();
    if (!parent || !*parent) return false;
    // SYSTEM's temporary folder (C:\Windows\Temp) lets every user make folders and files in folders
    // others made: the copy's programs and what is deleted from it later must be out of their
    // reach.
    PrivateSecurity security(true);
    for (int attempts = 99; attempts > 0; --attempts) {
        char candidate[kMaxPath];
        if (!FormatBounded(candidate, sizeof candidate - 1, "%sKOBR%04X", parent, numbers.Next()))
            return false;
        // Only a folder made by this call will do: CreateDirectory fails on any existing name
        // (folder, file or link), so another user's folder is never taken over or followed.
        if (::CreateDirectoryA(candidate, security.Attributes())) {
            folder = candidate;
            folder += '\\';
            return true;
        }
    }
    return false;
}
} // namespace

bool CreateTempFolderIn(const char* parent, uint32_t seed, std::string& folder) {
    TempFolderNumbers numbers(seed);
    return CreateTempFolderWith(parent, numbers, folder);
}

bool CreateTempFolder(std::string& folder) {
    folder.clear();
    char temp[kMaxPath];
    const DWORD length = ::GetTempPathA(sizeof temp, temp);
    if (length == 0 || length >= sizeof temp) return false;
    if (!::CreateDirectoryA(temp, nullptr) && ::GetLastError() != ERROR_ALREADY_EXISTS)
        return false;
    std::string parent = temp;
    if (parent.back() != '\\') parent += '\\';
    TempFolderNumbers numbers = TempFolderNumbers::Unpredictable();
    return CreateTempFolderWith(parent.c_str(), numbers, folder);
}

bool CopyFolderFiles(const char* source, const char* destination) {
    if (!source || !destination) return false;
    const std::string sourceFolder = source;
    const std::string destinationFolder = destination;
    const std::string pattern = sourceFolder + "*.*";
    if (!FitsMaxPath(pattern)) return false;

    WIN32_FIND_DATAA data;
    UniqueFindHandle find(::FindFirstFileA(pattern.c_str(), &data));
    // Only "no entries at all" is an empty copy; a folder that cannot be read is a failed one.
    if (!find) return ::GetLastError() == ERROR_FILE_NOT_FOUND;
    do {
        const std::string name = data.cFileName;
        std::string from = sourceFolder + name;
        std::string to = destinationFolder + name;
        if (IsFolder(data)) {
            // A junction or folder link may lead out of the launcher folder (or back into it):
            // the copy takes only what the folder itself holds.
            if (name[0] == '.' || (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) continue;
            from += '\\';
            to += '\\';
            if (!FitsMaxPath(from) || !FitsMaxPath(to)) return false;
            to.pop_back();
            if (!::CreateDirectoryA(to.c_str(), nullptr)) return false;
            to += '\\';
            if (!CopyFolderFiles(from.c_str(), to.c_str())) return false;
        } else {
            if (!FitsMaxPath(from) || !FitsMaxPath(to)) return false;
            if (!::CopyFileA(from.c_str(), to.c_str(), TRUE)) return false;
        }
    } while (::FindNextFileA(find.get(), &data));
    return ::GetLastError() == ERROR_NO_MORE_FILES;
}

void DeleteFolderTree(const char* folder) {
    if (!folder) return;
    DeleteTree(folder, folder);
}
