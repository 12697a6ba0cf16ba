// Times loading an INI file and a fixed series of lookups, for bench/ini/run.sh.
// Usage: ini_bench FILE SECTIONS KEYS_PER_SECTION [LOOKUPS]
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "ini/ini_file.h"

namespace {
double Seconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}
} // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: %s FILE SECTIONS KEYS_PER_SECTION [LOOKUPS]\n", argv[0]);
        return 2;
    }
    const long sections = std::atol(argv[2]);
    const long keys = std::atol(argv[3]);
    const long lookups = argc > 4 ? std::atol(argv[4]) : 1000;
    if (sections <= 0 || keys <= 0) return 2;

    CIniFile file;
    IniSectionCollection* collection = nullptr;
    file.CreateSectionCollection(&collection);
    const auto loadStart = std::chrono::steady_clock::now();
    try {
        file.Open(argv[1]);
    } catch (CZbIniFileException* e) {
        std::fprintf(stderr, "load failed: %s (%u)\n", e->Message.c_str(), e->Code);
        delete e;
        return 1;
    }
    const double loadSeconds = Seconds(loadStart);

    // The same names and order as the peer in run.sh.
    const auto lookupStart = std::chrono::steady_clock::now();
    long found = 0;
    char name[64];
    std::string value;
    for (long i = 0; i < lookups; ++i) {
        std::snprintf(name, sizeof name, "Section%05ld", (i * 7919) % sections);
        IniSection* section = nullptr;
        if (!file.FindSection(name, &section)) continue;
        std::snprintf(name, sizeof name, "Key%07ld", (i * 104729) % keys);
        if (section->GetValue(name, value)) ++found;
    }
    const double lookupSeconds = Seconds(lookupStart);
    std::printf("load %.6f lookups %.6f found %ld\n", loadSeconds, lookupSeconds, found);
    return found == lookups ? 0 : 1;
}
