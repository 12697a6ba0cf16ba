// Fuzz target: arbitrary bytes as an INI file through the stream's decoding and the line parser.
// A file that loads must save to a file that loads to the same model and saves to the same bytes;
// a file that fails must fail with a complete exception; the capacity protocol must agree with a
// plain read whatever the first buffer size. The second byte picks the code page the file is
// parsed in (single-byte or one of the double-byte ones).
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "ini/char_stream.h"
#include "ini/ini_collections.h"
#include "sys/last_error.h"

namespace {
std::string path;

void WriteFile(const uint8_t* data, size_t size) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) std::abort();
    if (size && std::fwrite(data, 1, size, f) != size) std::abort();
    std::fclose(f);
}

std::string ReadFile() {
    std::string bytes;
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) std::abort();
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0)
        bytes.append(buffer, n);
    std::fclose(f);
    return bytes;
}

// Section names, repeat links and every line's header, key and text.
std::string Model(const CIniFile& file) {
    std::string out = file.IsUnicode() ? "U\n" : "A\n";
    for (int i = 0; i < file.SectionCount(); ++i) {
        IniSection* section = file.SectionAt(i);
        std::string name;
        section->GetName(name);
        out += "[" + name + "]" + (section->FirstOfName() ? "+" : "") + "\n";
        IniLineCollection* lines = nullptr;
        if (!section->GetLines(&lines) || !lines) continue;
        for (int j = 0; j < lines->Count(); ++j) {
            const IniLine* line = lines->At(j);
            out += std::to_string(line->HeaderNumber()) + "|" + line->Key() + "|" + line->Text() +
                   "\n";
        }
    }
    return out;
}

class File : public CIniFile {
  public:
    explicit File(unsigned codePage) {
        IniSectionCollection* sections = nullptr;
        CreateSectionCollection(&sections);
        SetCodePage(codePage);
    }
};

constexpr unsigned kCodePages[] = {1252, 932, 936, 949, 950};

// Loads the file; false with a checked exception when it does not load.
bool Load(File& file) {
    try {
        file.Open(path);
        return true;
    } catch (CZbIniFileException* e) {
        const bool complete = (e->Category == 4 || e->Category == 5) && !e->Message.empty() &&
                              e->FileName == path && e->Reserved == 0 && e->LineNumber >= 0;
        delete e;
        if (!complete || file.SectionCount() != 0 || !file.FileName().empty()) std::abort();
        return false;
    }
}

// Every line read with a first buffer of `capacity` bytes and the capacity protocol.
std::vector<std::string> Lines(int32_t capacity) {
    std::vector<std::string> lines;
    CTCharStream stream;
    if (!stream.OpenStream(path.c_str(), CTCharStream::kModeRead)) std::abort();
    std::vector<char> buffer(static_cast<size_t>(capacity));
    for (;;) {
        int32_t length = capacity;
        if (stream.ReadLine(buffer.data(), &length)) {
            if (length < 0) break;
            if (std::string(buffer.data()).size() != static_cast<size_t>(length)) std::abort();
            lines.emplace_back(buffer.data(), static_cast<size_t>(length));
            continue;
        }
        if (length <= 0 || GetLastSystemError() != 0) {
            lines.push_back("<error>");
            break;
        }
        std::vector<char> large(static_cast<size_t>(length) + 1);
        int32_t again = length + 1;
        if (!stream.ReadLine(large.data(), &again) || again != length) std::abort();
        lines.emplace_back(large.data(), static_cast<size_t>(length));
    }
    return lines;
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // A memory file system when there is one: rewriting a disk file thousands of times a second
    // waits on the disk.
    for (const char* folder : {"/dev/shm", "/tmp"}) {
        std::string name = std::string(folder) + "/fuzz_ini_XXXXXX";
        const int fd = mkstemp(&name[0]);
        if (fd < 0) continue;
        close(fd);
        path = name;
        std::atexit([] { std::remove(path.c_str()); });
        return 0;
    }
    std::abort();
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 64 * 1024) return 0;
    WriteFile(data, size);

    const int32_t capacity = size ? 1 + data[0] % 40 : 1;
    if (Lines(capacity) != Lines(static_cast<int32_t>(size) + 1)) std::abort();

    const unsigned codePage = kCodePages[(size > 1 ? data[1] : 0) % 5];
    File first(codePage);
    if (!Load(first)) return 0;
    const std::string model = Model(first);
    first.Save();
    const std::string saved = ReadFile();

    File second(codePage);
    if (!Load(second) || Model(second) != model) std::abort();
    second.Save();
    if (ReadFile() != saved) std::abort();
    return 0;
}
