// Folder part of a multibyte path.
#include "steps/folder_of_path.h"

#include "sys/code_page.h"

std::string FolderOfPath(const std::string& path, unsigned codePage) {
    const std::size_t last = FindLastCharacter(path, "\\/:", codePage);
    return last == std::string::npos ? std::string() : path.substr(0, last + 1);
}
