// Times one copy of a tree into a fresh folder: copy_bench [--plain] <source\> <destination\>.
// --plain copies with a bare FindFirstFile/CopyFileA walk instead of CopyFolderFiles: what the
// platform itself can do, the floor for the launcher's copy.
#include <cstdio>
#include <string>

#include "steps/temp_folders.h"
#include "sys/win32.h"

namespace {
bool PlainCopy(const std::string& source, const std::string& destination) {
    WIN32_FIND_DATAA found;
    HANDLE find = ::FindFirstFileA((source + "*").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE) return false;
    bool ok = true;
    do {
        const std::string name = found.cFileName;
        if (name == "." || name == "..") continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            ok = ::CreateDirectoryA((destination + name).c_str(), nullptr) &&
                 PlainCopy(source + name + "\\", destination + name + "\\");
        } else {
            ok = ::CopyFileA((source + name).c_str(), (destination + name).c_str(), TRUE) != FALSE;
        }
    } while (ok && ::FindNextFileA(find, &found));
    ::FindClose(find);
    return ok;
}
} // namespace

int main(int argc, char** argv) {
    const bool plain = argc == 4 && std::string(argv[1]) == "--plain";
    if (plain) ++argv, --argc;
    if (argc != 3) {
        std::fprintf(stderr, "usage: copy_bench [--plain] SOURCE\\ DESTINATION\\\n");
        return 2;
    }
    std::string destination = argv[2];
    if (!::CreateDirectoryA(destination.substr(0, destination.size() - 1).c_str(), nullptr)) {
        std::fprintf(stderr, "cannot create %s (error %lu)\n", argv[2],
                     static_cast<unsigned long>(::GetLastError()));
        return 2;
    }
    LARGE_INTEGER frequency, start, end;
    ::QueryPerformanceFrequency(&frequency);
    ::QueryPerformanceCounter(&start);
    const bool copied = plain ? PlainCopy(argv[1], argv[2]) : CopyFolderFiles(argv[1], argv[2]);
    ::QueryPerformanceCounter(&end);
    const double seconds = static_cast<double>(end.QuadPart - start.QuadPart) /
                           static_cast<double>(frequency.QuadPart);
    std::printf("copied=%d seconds=%.3f\n", copied ? 1 : 0, seconds);
    return copied ? 0 : 1;
}
