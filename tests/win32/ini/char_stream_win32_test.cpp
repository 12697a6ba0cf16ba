// CTCharStream over real Windows files: both encodings, the capacity protocol, open failures and
// names whose OEM and ANSI forms differ.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ini/char_stream.h"
#include "support/temp_folder.h"
#include "support/test_files.h"
#include "sys/wide_entry_points.h"

namespace {

struct ReadResult {
    bool ok;
    int32_t length;
    std::string text;
    DWORD error;
};

ReadResult Read(CTCharStream& stream, int32_t capacity) {
    std::vector<char> buffer(capacity > 0 ? capacity : 1, '#');
    int32_t length = capacity;
    ::SetLastError(12345);
    const bool ok = stream.ReadLine(buffer.data(), &length);
    const DWORD error = ::GetLastError();
    return {ok, length, ok && length >= 0 ? std::string(buffer.data()) : std::string(), error};
}

class CharStreamWin32Test : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_FALSE(temp.Path().empty()); }
    // The folder itself as a file name: no closing backslash.
    std::string FolderName() const { return temp.Path().substr(0, temp.Path().size() - 1); }
    TempFolder temp{"ini-test"};
};

TEST_F(CharStreamWin32Test, ReadsBothEncodingsWithTheCapacityProtocol) {
    const std::string longLine(1500, 'L');
    const std::string text = "[S]\r\n" + longLine + "\nK=\xE9\xFF\r\n\r\nlast";
    for (bool utf16 : {false, true}) {
        SCOPED_TRACE(utf16 ? "utf16" : "ansi");
        CTCharStream stream;
        ASSERT_TRUE(stream.OpenStream(temp.Write("r.ini", utf16 ? Utf16File(text) : text).c_str(),
                                      CTCharStream::kModeRead));
        EXPECT_EQ(stream.GetEncoding(),
                  utf16 ? CTCharStream::kEncodingUtf16 : CTCharStream::kEncodingAnsi);
        EXPECT_EQ(Read(stream, 1024).text, "[S]");
        ReadResult tooLong = Read(stream, 1024);
        EXPECT_FALSE(tooLong.ok);
        EXPECT_EQ(tooLong.length, 1500);
        EXPECT_EQ(tooLong.error, 0u);
        ReadResult whole = Read(stream, 1501);
        ASSERT_TRUE(whole.ok);
        EXPECT_TRUE(whole.text == longLine);
        EXPECT_EQ(Read(stream, 1024).text, "K=\xE9\xFF");
        ReadResult empty = Read(stream, 1024);
        EXPECT_TRUE(empty.ok);
        EXPECT_EQ(empty.length, 0);
        EXPECT_EQ(Read(stream, 1024).text, "last");
        ReadResult end = Read(stream, 1024);
        EXPECT_TRUE(end.ok);
        EXPECT_EQ(end.length, -1);
        EXPECT_TRUE(stream.Close());
    }
}

TEST_F(CharStreamWin32Test, InvalidDataAndClosedStreamFail) {
    CTCharStream stream;
    EXPECT_EQ(Read(stream, 10).error, static_cast<DWORD>(ERROR_INVALID_HANDLE));
    std::string wide = Utf16File("A\r\n");
    wide += "\x01\x01"; // U+0101 has no 8-bit form
    ASSERT_TRUE(stream.OpenStream(temp.Write("u.ini", wide).c_str(), CTCharStream::kModeRead));
    EXPECT_EQ(Read(stream, 10).text, "A");
    ReadResult bad = Read(stream, 10);
    EXPECT_FALSE(bad.ok);
    EXPECT_EQ(bad.error, static_cast<DWORD>(ERROR_INVALID_DATA));
}

TEST_F(CharStreamWin32Test, WritesBothEncodings) {
    const std::string path = temp / "w.ini";
    CTCharStream stream;
    ASSERT_TRUE(stream.OpenStream(path.c_str(), CTCharStream::kModeWriteUtf16));
    EXPECT_TRUE(stream.WriteLine("[Rename]"));
    EXPECT_TRUE(stream.WriteLine("NUL=C:\\X\xE9"));
    EXPECT_TRUE(stream.Close());
    EXPECT_EQ(ReadFileBytes(path), Utf16File("[Rename]\r\nNUL=C:\\X\xE9\r\n"));

    ASSERT_TRUE(stream.OpenStream(path.c_str(), CTCharStream::kModeWriteAnsi)); // truncates
    EXPECT_TRUE(stream.WriteLine("a"));
    EXPECT_TRUE(stream.Close());
    EXPECT_EQ(ReadFileBytes(path), "a\r\n");
}

TEST_F(CharStreamWin32Test, OpenFailuresKeepTheSystemCode) {
    struct Case {
        const char* name;
        std::string path;
        int32_t mode;
        DWORD error;
    };
    const std::vector<Case> cases = {
        {"missing file", temp / "missing.ini", CTCharStream::kModeRead, ERROR_FILE_NOT_FOUND},
        {"missing folder", temp / "none\\x.ini", CTCharStream::kModeRead, ERROR_PATH_NOT_FOUND},
        {"folder read", FolderName(), CTCharStream::kModeRead, ERROR_ACCESS_DENIED},
        {"folder written", FolderName(), CTCharStream::kModeWriteAnsi, ERROR_ACCESS_DENIED},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CTCharStream stream;
        ::SetLastError(0);
        EXPECT_FALSE(stream.OpenStream(c.path.c_str(), c.mode));
        EXPECT_EQ(::GetLastError(), c.error);
        EXPECT_EQ(stream.GetEncoding(), CTCharStream::kEncodingNone);
    }
}

// A byte whose OEM and ANSI readings are different characters, with both wide file names.
struct SplitName {
    std::string narrow;
    std::wstring oem, ansi;
};

bool FindSplitName(const std::string& folder, SplitName& name) {
    for (int byte = 0xE0; byte <= 0xFE; ++byte) {
        name.narrow = folder + "\\" + static_cast<char>(byte) + ".ini";
        wchar_t oem[kWideBufferChars], ansi[kWideBufferChars];
        OemToWide(name.narrow.c_str(), oem);
        AnsiToWide(name.narrow.c_str(), ansi);
        name.oem = oem;
        name.ansi = ansi;
        if (!name.oem.empty() && !name.ansi.empty() && name.oem != name.ansi) return true;
    }
    return false;
}

TEST_F(CharStreamWin32Test, NamesAreTriedInOemThenAnsiForm) {
    SplitName name;
    if (!FindSplitName(FolderName(), name)) GTEST_SKIP() << "OEM and ANSI code pages agree";

    // Only the ANSI form exists: it is read, and writing rewrites it rather than creating the OEM
    // form.
    ASSERT_TRUE(WriteFileBytes(name.ansi, "ansi\r\n"));
    CTCharStream stream;
    ASSERT_TRUE(stream.OpenStream(name.narrow.c_str(), CTCharStream::kModeRead));
    EXPECT_EQ(Read(stream, 100).text, "ansi");
    ASSERT_TRUE(stream.OpenStream(name.narrow.c_str(), CTCharStream::kModeWriteAnsi));
    EXPECT_TRUE(stream.WriteLine("rewritten"));
    EXPECT_TRUE(stream.Close());
    EXPECT_EQ(ReadFileBytes(name.ansi), "rewritten\r\n");
    EXPECT_EQ(::GetFileAttributesW(name.oem.c_str()), INVALID_FILE_ATTRIBUTES);

    // Both exist: the OEM form comes first.
    ASSERT_TRUE(WriteFileBytes(name.oem, "oem\r\n"));
    ASSERT_TRUE(stream.OpenStream(name.narrow.c_str(), CTCharStream::kModeRead));
    EXPECT_EQ(Read(stream, 100).text, "oem");
    EXPECT_TRUE(stream.Close());

    // Neither exists: a new file takes the OEM form.
    ::DeleteFileW(name.oem.c_str());
    ::DeleteFileW(name.ansi.c_str());
    ASSERT_TRUE(stream.OpenStream(name.narrow.c_str(), CTCharStream::kModeWriteAnsi));
    EXPECT_TRUE(stream.Close());
    EXPECT_NE(::GetFileAttributesW(name.oem.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(::GetFileAttributesW(name.ansi.c_str()), INVALID_FILE_ATTRIBUTES);
}

} // namespace
