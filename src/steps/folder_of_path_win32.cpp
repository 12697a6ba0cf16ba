// Folder part of a multibyte path, and file existence.
#include "steps/folder_of_path.h"

#include "sys/win32.h"
#include "text/code_page.h"

std::string FolderOfPath(const std::string& path, unsigned codePage) {
    const std::size_t last = FindLastCharacter(path, "\\/:", codePage);
    return last == std::string::npos ? std::string() : path.substr(0, last + 1);
}

bool IsExistingFile(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}
