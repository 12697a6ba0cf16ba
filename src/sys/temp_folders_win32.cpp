// Temporary copies of the launcher folder: a fresh folder with a random name, a recursive copy and
// a recursive delete.
#include "sys/temp_folders.h"

#include <ctime>

#include "sys/deferred_deletion.h"
#include "sys/fixed_buffer.h"
#include "sys/setup_log.h"
#include "sys/unique_handle.h"

namespace {
constexpr DWORD kProtectiveAttributes =
    FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;

bool IsFolder(const WIN32_FIND_DATAA& data) {
    return (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

void DeleteOneFile(const std::string& path, DWORD attributes) {
    if (attributes & kProtectiveAttributes) {
        const DWORD cleared = attributes & ~kProtectiveAttributes;
        WriteLogF("Resetting file attributes for \"%s\" from 0x%08X to 0x%08X", path.c_str(),
                  static_cast<unsigned>(attributes), static_cast<unsigned>(cleared));
        if (!::SetFileAttributesA(path.c_str(), cleared))
            WriteLogF("Failed to set file attributes. Error code = 0x%08X",
                      static_cast<unsigned>(::GetLastError()));
    }
    if (!::DeleteFileA(path.c_str())) {
        WriteLogF("Failed to delete file: \"%s\", Error code = 0x%08X", path.c_str(),
                  static_cast<unsigned>(::GetLastError()));
        LogForDeletion(path.c_str());
    }
}

void RemoveOneFolder(const std::string& path) {
    if (!::RemoveDirectoryA(path.c_str())) {
        WriteLogF("Failed to remove directory: \"%s\", Error code = 0x%08X", path.c_str(),
                  static_cast<unsigned>(::GetLastError()));
        LogForDeletion(path.c_str());
    }
}
} // namespace

unsigned TempFolderNumbers::Next() {
    state_ = state_ * 214013u + 2531011u;
    return ((state_ >> 16) & 0xFFFFu) % 0xFFFFu;
}

bool CreateTempFolderIn(const char* parent, uint32_t seed, std::string& folder) {
    folder.clear();
    if (!parent || !*parent) return false;
    TempFolderNumbers numbers(seed);
    for (int attempts = 99; attempts > 0; --attempts) {
        char candidate[kMaxPath];
        if (!FormatBounded(candidate, sizeof candidate - 1, "%sKOBR%04X", parent, numbers.Next()))
            return false;
        // Only a folder made by this call will do: CreateDirectory fails on any existing name
        // (folder, file or link), so another user's folder is never taken over or followed.
        if (::CreateDirectoryA(candidate, nullptr)) {
            folder = candidate;
            folder += '\\';
            return true;
        }
    }
    return false;
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
    return CreateTempFolderIn(parent.c_str(), static_cast<uint32_t>(std::time(nullptr)), folder);
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
    const std::string base = folder;
    const std::string pattern = base + "*.*";
    if (!FitsMaxPath(pattern)) return;

    WIN32_FIND_DATAA data;
    UniqueFindHandle find(::FindFirstFileA(pattern.c_str(), &data));
    if (!find) return;
    do {
        const std::string name = data.cFileName;
        const std::string path = base + name;
        if (!FitsMaxPath(path)) continue; // cannot be named in 260 bytes: left in place
        if (!IsFolder(data)) {
            DeleteOneFile(path, data.dwFileAttributes);
        } else if (name[0] == '.') {
            continue;
        } else if (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) {
            // A junction or folder link: removing it must not empty the folder it points to.
            RemoveOneFolder(path);
        } else {
            const std::string inner = path + '\\';
            if (FitsMaxPath(inner)) DeleteFolderTree(inner.c_str());
            RemoveOneFolder(path);
        }
    } while (::FindNextFileA(find.get(), &data));
}
