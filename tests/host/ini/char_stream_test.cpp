// CTCharStream on real files: encodings, line ends, the capacity protocol and invalid data.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../temp_folder.h"
#include "ini/char_stream.h"
#include "sys/last_error.h"

namespace {

struct ReadResult {
    bool ok;
    int32_t length;
    std::string text;
    uint32_t error;
};

ReadResult Read(CTCharStream& stream, int32_t capacity) {
    std::vector<char> buffer(capacity > 0 ? capacity : 1, '#');
    int32_t length = capacity;
    SetLastSystemError(12345);
    const bool ok = stream.ReadLine(buffer.data(), &length);
    const uint32_t error = GetLastSystemError();
    return {ok, length, ok && length >= 0 ? std::string(buffer.data()) : std::string(), error};
}

// Every line of a file read with a buffer large enough, until the end of the file.
std::vector<std::string> ReadAll(const std::string& path) {
    CTCharStream stream;
    std::vector<std::string> lines;
    if (!stream.OpenStream(path.c_str(), CTCharStream::kModeRead)) return {"<open failed>"};
    for (;;) {
        ReadResult r = Read(stream, 1024);
        if (!r.ok && r.length > 0 && r.error == 0) r = Read(stream, r.length + 1);
        if (!r.ok) return {"<read failed>"};
        if (r.length < 0) break;
        lines.push_back(r.text);
    }
    return lines;
}

class CharStreamTest : public ::testing::Test {
  protected:
    TempFolder temp;
};

TEST_F(CharStreamTest, LineEndsAndEncodingsGiveTheSameLines) {
    struct Case {
        const char* name;
        std::string bytes;
        std::vector<std::string> lines;
    };
    const std::vector<Case> cases = {
        {"crlf", "A=1\r\nB=2\r\n", {"A=1", "B=2"}},
        {"lf", "A=1\nB=2\n", {"A=1", "B=2"}},
        {"no final line end", "A=1\r\nB=2", {"A=1", "B=2"}},
        {"empty lines", "\r\n\nA\r\n\r\n", {"", "", "A", ""}},
        {"empty file", "", {}},
        {"one byte", "A", {"A"}},
        {"utf16", Utf16File("A=1\r\nB=2\r\n"), {"A=1", "B=2"}},
        {"utf16 lf", Utf16File("A=1\nB=2"), {"A=1", "B=2"}},
        {"bom only", "\xFF\xFE", {}},
        {"latin-1 in utf16", Utf16File("K=\xE9\xFF\xA0"), {"K=\xE9\xFF\xA0"}},
        {"big-endian mark is ansi", std::string("\xFE\xFFx\r\n"), {"\xFE\xFFx"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ReadAll(temp.Write("f.ini", c.bytes)), c.lines);
    }
}

TEST_F(CharStreamTest, EncodingFollowsTheByteOrderMark) {
    CTCharStream stream;
    EXPECT_EQ(stream.GetEncoding(), CTCharStream::kEncodingNone);
    ASSERT_TRUE(stream.OpenStream(temp.Write("a.ini", "x").c_str(), CTCharStream::kModeRead));
    EXPECT_EQ(stream.GetEncoding(), CTCharStream::kEncodingAnsi);
    ASSERT_TRUE(
        stream.OpenStream(temp.Write("u.ini", "\xFF\xFE").c_str(), CTCharStream::kModeRead));
    EXPECT_EQ(stream.GetEncoding(), CTCharStream::kEncodingUtf16);
    EXPECT_TRUE(stream.Close());
    EXPECT_EQ(stream.GetEncoding(), CTCharStream::kEncodingNone);
    EXPECT_TRUE(stream.Close()); // nothing open
}

TEST_F(CharStreamTest, LongLineIsReportedThenReadAgainWithItsLength) {
    const std::string longLine(1500, 'L');
    for (bool utf16 : {false, true}) {
        SCOPED_TRACE(utf16 ? "utf16" : "ansi");
        const std::string text = longLine + "\r\nnext\r\n";
        CTCharStream stream;
        ASSERT_TRUE(stream.OpenStream(temp.Write("l.ini", utf16 ? Utf16File(text) : text).c_str(),
                                      CTCharStream::kModeRead));
        ReadResult first = Read(stream, 1024);
        EXPECT_FALSE(first.ok);
        EXPECT_EQ(first.length, 1500);
        EXPECT_EQ(first.error, 0u);
        ReadResult again = Read(stream, 1501);
        ASSERT_TRUE(again.ok);
        EXPECT_EQ(again.text, longLine);
        ReadResult next = Read(stream, 1024);
        ASSERT_TRUE(next.ok);
        EXPECT_EQ(next.text, "next");
        EXPECT_EQ(Read(stream, 1024).length, -1);
    }
}

TEST_F(CharStreamTest, CapacityCountsTheTerminatingZero) {
    struct Case {
        size_t length;
        int32_t capacity;
        bool fits;
    };
    for (const Case& c : {Case{1023, 1024, true}, Case{1024, 1024, false}, Case{0, 1, true},
                          Case{0, 0, false}, Case{5, -3, false}, Case{256, 257, true}}) {
        SCOPED_TRACE(c.length);
        CTCharStream stream;
        const std::string line(c.length, 'q');
        ASSERT_TRUE(
            stream.OpenStream(temp.Write("c.ini", line + "\r\n").c_str(), CTCharStream::kModeRead));
        ReadResult r = Read(stream, c.capacity);
        EXPECT_EQ(r.ok, c.fits);
        EXPECT_EQ(r.length, static_cast<int32_t>(c.length));
        if (c.fits) {
            EXPECT_EQ(r.text, line);
        }
    }
}

TEST_F(CharStreamTest, LinesAroundThePieceSizeStayWhole) {
    // Pieces are 256 bytes: lines ending just before, on and after a piece boundary.
    std::vector<std::string> lines;
    for (size_t n : {254, 255, 256, 257, 511, 512, 513, 100000})
        lines.push_back(std::string(n, 'a' + n % 26));
    std::string text;
    for (const std::string& l : lines)
        text += l + "\r\n";
    EXPECT_TRUE(ReadAll(temp.Write("p.ini", text)) == lines);
    EXPECT_TRUE(ReadAll(temp.Write("p16.ini", Utf16File(text))) == lines);
}

TEST_F(CharStreamTest, TextAfterALoneCarriageReturnIsDropped) {
    // Whatever piece the rest of the line falls in.
    const std::string tail(600, 't');
    EXPECT_EQ(ReadAll(temp.Write("cr.ini", "A=1\rgone\r\nB=2\r\r\nC\r" + tail + "\n")),
              (std::vector<std::string>{"A=1", "B=2", "C"}));
    EXPECT_EQ(ReadAll(temp.Write("cr2.ini", std::string(300, 'h') + "\r" + tail + "\r\nD\r\n")),
              (std::vector<std::string>{std::string(300, 'h'), "D"}));
    EXPECT_EQ(ReadAll(temp.Write("cr16.ini", Utf16File("A=1\rgone\r\nB\r\n"))),
              (std::vector<std::string>{"A=1", "B"}));
}

TEST_F(CharStreamTest, InvalidDataFailsWithCode13AtTheLineStart) {
    struct Case {
        const char* name;
        std::string bytes;
        int goodLines; // lines read before the failure
    };
    std::string wide = Utf16File("A=1\r\nB=");
    wide += "\x01\x01"; // U+0101
    wide += Utf16File("\r\n").substr(2);
    const std::vector<Case> cases = {
        {"nul in ansi", Bytes("A=1\r\nB=\0x\r\nC=3\r\n"), 1},
        {"nul at the end", Bytes("A=1\r\n\0"), 1},
        {"unit above ff", wide, 1},
        {"nul unit", Utf16File(Bytes("A\r\n\0B\r\n")), 1},
        {"odd byte count", Utf16File("A=1\r\nB") + "C", 1},
        {"odd byte after last line", Utf16File("A=1\r\n") + "C", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CTCharStream stream;
        ASSERT_TRUE(
            stream.OpenStream(temp.Write("bad.ini", c.bytes).c_str(), CTCharStream::kModeRead));
        for (int i = 0; i < c.goodLines; ++i)
            ASSERT_TRUE(Read(stream, 1024).ok);
        ReadResult bad = Read(stream, 1024);
        EXPECT_FALSE(bad.ok);
        EXPECT_EQ(bad.length, 0);
        EXPECT_EQ(bad.error, 13u);
        // The position stays at the line's start: the same failure again.
        ReadResult again = Read(stream, 1024);
        EXPECT_FALSE(again.ok);
        EXPECT_EQ(again.error, 13u);
    }
}

TEST_F(CharStreamTest, BadCallsFailWithTheirCodes) {
    CTCharStream stream;
    ReadResult closed = Read(stream, 10);
    EXPECT_FALSE(closed.ok);
    EXPECT_EQ(closed.error, 6u);
    EXPECT_FALSE(stream.WriteLine("x"));

    ASSERT_TRUE(stream.OpenStream(temp.Write("n.ini", "x\r\n").c_str(), CTCharStream::kModeRead));
    int32_t capacity = 10;
    SetLastSystemError(0);
    EXPECT_FALSE(stream.ReadLine(nullptr, &capacity));
    EXPECT_EQ(GetLastSystemError(), 13u);
    char buffer[10];
    EXPECT_FALSE(stream.ReadLine(buffer, nullptr));
    EXPECT_EQ(GetLastSystemError(), 13u);

    EXPECT_FALSE(stream.OpenStream(nullptr, CTCharStream::kModeRead));
    EXPECT_FALSE(stream.OpenStream(temp.File("m.ini").c_str(), 3));
    EXPECT_FALSE(stream.OpenStream(temp.File("m.ini").c_str(), -1));
}

TEST_F(CharStreamTest, OpeningFailuresKeepTheSystemCode) {
    CTCharStream stream;
    SetLastSystemError(0);
    EXPECT_FALSE(stream.OpenStream(temp.File("missing.ini").c_str(), CTCharStream::kModeRead));
    EXPECT_EQ(GetLastSystemError(), 2u);
    EXPECT_FALSE(stream.OpenStream(temp.Path().c_str(), CTCharStream::kModeRead));
    EXPECT_EQ(GetLastSystemError(), 5u);
    EXPECT_FALSE(stream.OpenStream(temp.Path().c_str(), CTCharStream::kModeWriteAnsi));
    EXPECT_EQ(GetLastSystemError(), 5u);
    EXPECT_EQ(stream.GetEncoding(), CTCharStream::kEncodingNone);
}

TEST_F(CharStreamTest, WritesAnsiAndUtf16WithCrLf) {
    CTCharStream stream;
    const std::string path = temp.File("w.ini");
    ASSERT_TRUE(stream.OpenStream(path.c_str(), CTCharStream::kModeWriteUtf16));
    EXPECT_EQ(stream.GetEncoding(), CTCharStream::kEncodingUtf16);
    EXPECT_TRUE(stream.WriteLine("[Rename]"));
    EXPECT_TRUE(stream.Close());
    EXPECT_EQ(ReadBytes(path), Bytes("\xFF\xFE[\0R\0e\0n\0a\0m\0e\0]\0\r\0\n\0"));

    ASSERT_TRUE(stream.OpenStream(path.c_str(), CTCharStream::kModeWriteAnsi));
    EXPECT_EQ(stream.GetEncoding(), CTCharStream::kEncodingAnsi);
    EXPECT_TRUE(stream.WriteLine("K=\xE9"));
    EXPECT_TRUE(stream.WriteLine(""));
    EXPECT_TRUE(stream.Close());
    EXPECT_EQ(ReadBytes(path), "K=\xE9\r\n\r\n"); // truncated, no mark

    ASSERT_TRUE(stream.OpenStream(path.c_str(), CTCharStream::kModeWriteUtf16));
    EXPECT_TRUE(stream.WriteLine("\xFF"));
    EXPECT_TRUE(stream.Close());
    EXPECT_EQ(ReadBytes(path), Bytes("\xFF\xFE\xFF\0\r\0\n\0"));
}

TEST_F(CharStreamTest, ReopeningClosesTheFirstFile) {
    CTCharStream stream;
    ASSERT_TRUE(
        stream.OpenStream(temp.Write("one.ini", "one\r\n").c_str(), CTCharStream::kModeRead));
    ASSERT_TRUE(stream.OpenStream(temp.Write("two.ini", Utf16File("two\r\n")).c_str(),
                                  CTCharStream::kModeRead));
    EXPECT_EQ(stream.GetEncoding(), CTCharStream::kEncodingUtf16);
    EXPECT_EQ(Read(stream, 100).text, "two");
}

} // namespace
