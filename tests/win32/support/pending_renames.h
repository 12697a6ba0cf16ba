// The system's restart-time rename list (PendingFileRenameOperations) as the tests see it: read
// while the wineserver still runs, and cleaned of the tests' own entries afterwards.
#pragma once
#include <algorithm>
#include <string>
#include <vector>

#include "sys/unique_handle.h"

namespace pending_renames {

constexpr const char* kKey = "System\\CurrentControlSet\\Control\\Session Manager";
constexpr const char* kValue = "PendingFileRenameOperations";

// The strings of the value in order (source, destination, source, destination, ...).
inline std::vector<std::string> Read() {
    std::vector<std::string> entries;
    UniqueRegKey key;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kKey, 0, KEY_READ, key.put()) != ERROR_SUCCESS)
        return entries;
    DWORD type = 0, size = 0;
    if (::RegQueryValueExA(key.get(), kValue, nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
        !size)
        return entries;
    std::string data(size + 2, '\0');
    if (::RegQueryValueExA(key.get(), kValue, nullptr, &type, reinterpret_cast<BYTE*>(&data[0]),
                           &size) != ERROR_SUCCESS)
        return entries;
    data.resize(size);
    std::string::size_type start = 0;
    while (start < data.size()) {
        std::string::size_type end = data.find('\0', start);
        if (end == std::string::npos) end = data.size();
        entries.push_back(data.substr(start, end - start));
        start = end + 1;
    }
    // The list ends with an empty string after the last pair.
    while (entries.size() % 2 && !entries.empty() && entries.back().empty())
        entries.pop_back();
    return entries;
}

// True when `path` is scheduled for deletion (a source "\??\path" with an empty destination);
// paths compare as the file system does, without regard to case.
inline bool IsScheduledForDeletion(const std::string& path) {
    const std::vector<std::string> entries = Read();
    const std::string source = "\\??\\" + path;
    for (std::size_t i = 0; i + 1 < entries.size(); i += 2) {
        if (::lstrcmpiA(entries[i].c_str(), source.c_str()) == 0 && entries[i + 1].empty())
            return true;
    }
    return false;
}

// Takes the pairs whose source lies below `prefix` out of the list, so no later session start
// acts on them.
inline void RemoveBelow(const std::string& prefix) {
    std::vector<std::string> entries = Read();
    std::vector<std::string> kept;
    for (std::size_t i = 0; i + 1 < entries.size(); i += 2) {
        if (entries[i].compare(0, prefix.size() + 4, "\\??\\" + prefix) == 0) continue;
        kept.push_back(entries[i]);
        kept.push_back(entries[i + 1]);
    }
    UniqueRegKey key;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kKey, 0, KEY_SET_VALUE, key.put()) != ERROR_SUCCESS)
        return;
    if (kept.empty()) {
        ::RegDeleteValueA(key.get(), kValue);
        return;
    }
    std::string data;
    for (const std::string& entry : kept)
        data.append(entry).push_back('\0');
    data.push_back('\0');
    ::RegSetValueExA(key.get(), kValue, 0, REG_MULTI_SZ, reinterpret_cast<const BYTE*>(data.data()),
                     static_cast<DWORD>(data.size()));
}

} // namespace pending_renames
