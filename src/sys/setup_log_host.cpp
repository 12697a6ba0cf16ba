// The setup log's host half: ZBSETUP from the environment, lines to a file a test names.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>

#include "sys/setup_log.h"
#include "sys/setup_log_host.h"

namespace {
std::string& HostLogPath() {
    static std::string path;
    return path;
}
} // namespace

void SetHostLogPath(const std::string& path) {
    HostLogPath() = path;
}

bool ReadZbSetupVariable(std::string& value) {
    const char* v = std::getenv("ZBSETUP");
    if (!v || std::strlen(v) >= 260) return false;
    value = v;
    return true;
}

std::string LogTimeStamp() {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    if (!localtime_r(&now, &local)) return std::string();
    char stamp[128];
    const std::size_t n = std::strftime(stamp, sizeof stamp, "%m/%d/%y %H:%M:%S", &local);
    return std::string(stamp, n);
}

void AppendLogLine(const std::string& line) {
    if (HostLogPath().empty()) return;
    if (std::FILE* f = std::fopen(HostLogPath().c_str(), "ab")) {
        std::fwrite(line.data(), 1, line.size(), f);
        std::fclose(f);
    }
}
