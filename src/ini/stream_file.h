// The byte file under CTCharStream: CreateFile, ReadFile and SetFilePointer on Windows, C files on
// the host. Every failure returns false with the system's last error set.
#pragma once
#include <cstdint>
#include <memory>

class StreamFile {
  public:
    StreamFile();
    ~StreamFile(); // closes an open file
    StreamFile(const StreamFile&) = delete;
    StreamFile& operator=(const StreamFile&) = delete;

    // An existing file, shared for reading only.
    bool OpenForReading(const char* name);
    // Truncates an existing file, else creates it, shared for reading only.
    bool OpenForWriting(const char* name);
    bool IsOpen() const;
    // Up to `size` bytes; `done` is 0 at the end of the file.
    bool Read(void* buffer, uint32_t size, uint32_t& done);
    bool Write(const void* data, uint32_t size); // all of it, or false
    bool MoveBy(int64_t distance);               // from the current position
    bool MoveToStart();
    bool Close(); // true when nothing is open

  private:
    struct Handle;
    std::unique_ptr<Handle> handle_;
};
