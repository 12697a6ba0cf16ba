// SHA-256 digests of bytes and files, in portable code: the platform's own SHA-256 is missing from
// several of the systems the launcher runs on (the 9x family, NT 4, XP before SP3).
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

class Sha256 {
  public:
    static constexpr std::size_t kDigestSize = 32;
    using Digest = std::array<uint8_t, kDigestSize>;

    Sha256();
    void Update(const void* data, std::size_t size);
    // The digest of everything given to Update; the object starts afresh afterwards.
    Digest Finish();

  private:
    void Compress(const uint8_t* block);

    uint32_t state_[8];
    uint8_t block_[64];
    std::size_t blockUsed_ = 0;
    uint64_t totalBytes_ = 0;
};

// Lower-case hexadecimal text of a digest (64 characters).
std::string DigestToHex(const Sha256::Digest& digest);
// Exactly 64 hexadecimal digits, in any case; false (and `digest` untouched) otherwise.
bool ParseDigestHex(const std::string& text, Sha256::Digest* digest);
// The digest of a whole file; false when it cannot be opened or read to its end.
bool Sha256OfFile(const char* path, Sha256::Digest* digest);
