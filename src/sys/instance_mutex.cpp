// The name of the single-instance mutex.
#include "sys/instance_mutex.h"

std::string InstanceMutexName(const char* setupFileName, bool globalNamespace,
                              bool (*isLeadByte)(unsigned char)) {
    std::string name = setupFileName ? setupFileName : "";
    for (std::size_t i = 0; i < name.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(name[i]);
        if (isLeadByte && isLeadByte(c) && i + 1 < name.size()) {
            ++i; // the trail byte of a double-byte character may look like a backslash
        } else if (c == '\\') {
            name[i] = '_';
        }
    }
    return (globalNamespace ? "Global\\SETUP " : "SETUP ") + name;
}
