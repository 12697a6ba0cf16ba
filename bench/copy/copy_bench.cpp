// Times one CopyFolderFiles of a tree into a fresh folder: copy_bench <source\> <destination\>.
#include <cstdio>
#include <string>

#include "sys/temp_folders.h"
#include "sys/win32.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: copy_bench SOURCE\\ DESTINATION\\\n");
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
    const bool copied = CopyFolderFiles(argv[1], argv[2]);
    ::QueryPerformanceCounter(&end);
    const double seconds = static_cast<double>(end.QuadPart - start.QuadPart) /
                           static_cast<double>(frequency.QuadPart);
    std::printf("copied=%d seconds=%.3f\n", copied ? 1 : 0, seconds);
    return copied ? 0 : 1;
}
