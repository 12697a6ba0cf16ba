// Folder part of a multibyte path.
#include "steps/folder_of_path.h"

#include "sys/win32.h"

std::string FolderOfPath(const std::string& path, unsigned codePage) {
    std::size_t end = 0;
    for (std::size_t i = 0; i < path.size(); ++i) {
        const char c = path[i];
        if (c == '\\' || c == '/' || c == ':') {
            end = i + 1;
        } else if (::IsDBCSLeadByteEx(codePage, static_cast<BYTE>(c)) && i + 1 < path.size()) {
            ++i; // the trail byte may look like a backslash
        }
    }
    return path.substr(0, end);
}
