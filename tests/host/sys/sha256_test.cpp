// SHA-256 against the standard's examples (FIPS 180-4 / NIST), fed whole and in uneven pieces,
// the hexadecimal form of a pinned digest, and digests of files.
#include "sys/sha256.h"

#include "../temp_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <string>

namespace {

std::string HexOf(const std::string& message, std::size_t piece) {
    Sha256 hash;
    for (std::size_t at = 0; at < message.size(); at += piece)
        hash.Update(message.data() + at, std::min(piece, message.size() - at));
    return DigestToHex(hash.Finish());
}

TEST(Sha256, StandardExamplesWholeAndInPieces) {
    const std::pair<std::string, const char*> cases[] = {
        {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
        {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
        // 448 bits: the padding needs a block of its own.
        {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
         "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
        {"abcdefghbcdefghicdefghijdefghijkefghijklfghijklmghijklmnhijklmnoijklmnopjklmnopqklmnopqrl"
         "m"
         "nopqrsmnopqrstnopqrstu",
         "cf5b16a778af8380036ce59e7b0492370b249b11e8f07a51afac45037afee9d1"},
        {std::string(1000000, 'a'),
         "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
    };
    for (const auto& c : cases) {
        for (std::size_t piece : {std::size_t(1000000), std::size_t(1), std::size_t(63),
                                  std::size_t(65), std::size_t(4096)}) {
            if (piece == 1 && c.first.size() > 1000) continue;
            EXPECT_EQ(c.second, HexOf(c.first, piece)) << c.first.size() << " by " << piece;
        }
    }
}

TEST(Sha256, PinnedDigestTextIsSixtyFourHexDigitsInAnyCase) {
    const std::string lower = "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad";
    Sha256::Digest digest{};
    ASSERT_TRUE(ParseDigestHex("BA7816BF8F01CFEA414140DE5DAE2223b00361a396177a9cb410ff61f20015AD",
                               &digest));
    EXPECT_EQ(lower, DigestToHex(digest));
    for (const std::string& bad :
         {std::string(), lower.substr(1), lower + "0", "g" + lower.substr(1), lower.substr(1) + " ",
          " " + lower.substr(1)}) {
        EXPECT_FALSE(ParseDigestHex(bad, &digest)) << bad;
    }
    EXPECT_EQ(lower, DigestToHex(digest)); // untouched by the failures
}

TEST(Sha256, DigestOfAFile) {
    TempFolder folder;
    const std::string path = folder.File("abc.bin");
    std::ofstream(path, std::ios::binary) << std::string(5000, 'a');
    Sha256::Digest digest{};
    ASSERT_TRUE(Sha256OfFile(path.c_str(), &digest));
    EXPECT_EQ(HexOf(std::string(5000, 'a'), 5000), DigestToHex(digest));
    EXPECT_FALSE(Sha256OfFile(folder.File("missing.bin").c_str(), &digest));
}

} // namespace
