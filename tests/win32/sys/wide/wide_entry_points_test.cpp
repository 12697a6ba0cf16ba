// Wide-character entry points under Windows: platform test, run-time lookup, the three conversions
// at their 260-element limit, and DeleteFileAny with names whose OEM and ANSI forms differ.
#include <gtest/gtest.h>

#include <string>

#include "support/temp_folder.h"
#include "support/test_files.h"
#include "sys/unique_handle.h"
#include "sys/wide_entry_points.h"

namespace {

TEST(WideEntryPointsTest, GetEntryPointFindsExportsAndMissesEverythingElse) {
    EXPECT_EQ(reinterpret_cast<void*>(GetEntryPoint("KERNEL32.DLL", "CreateFileW")),
              reinterpret_cast<void*>(
                  ::GetProcAddress(::GetModuleHandleA("KERNEL32.DLL"), "CreateFileW")));
    struct Case {
        const char* library;
        const char* name;
    };
    for (const Case& c :
         {Case{nullptr, "CreateFileW"}, Case{"KERNEL32.DLL", nullptr}, Case{"", "CreateFileW"},
          Case{"KERNEL32.DLL", ""}, Case{"NOSUCHLIBRARY.DLL", "CreateFileW"},
          Case{"KERNEL32.DLL", "NoSuchEntryPoint"}}) {
        SCOPED_TRACE(std::string(c.library ? c.library : "(null)") + " " +
                     (c.name ? c.name : "(null)"));
        EXPECT_EQ(GetEntryPoint(c.library, c.name), nullptr);
    }
}

TEST(WideEntryPointsTest, ConversionsFitTwoHundredFiftyNineCharacters) {
    const std::string fits(259, 'a');
    const std::string tooLong(260, 'b');
    const std::wstring wideFits(259, L'a');
    const std::wstring wideTooLong(260, L'b');

    wchar_t wide[kWideBufferChars + 1];
    char narrow[kWideBufferChars + 1];
    for (auto convert : {&AnsiToWide, &OemToWide}) {
        wide[kWideBufferChars] = L'!'; // guard after the 260 elements
        EXPECT_EQ(convert(fits.c_str(), wide), wide);
        EXPECT_EQ(std::wstring(wide), wideFits);
        EXPECT_EQ(convert(tooLong.c_str(), wide), wide);
        EXPECT_EQ(std::wstring(wide), L"");
        EXPECT_EQ(convert(nullptr, wide), wide);
        EXPECT_EQ(std::wstring(wide), L"");
        EXPECT_EQ(convert("x", nullptr), nullptr);
        EXPECT_EQ(wide[kWideBufferChars], L'!');
    }
    narrow[kWideBufferChars] = '!';
    EXPECT_EQ(WideToNarrow(wideFits.c_str(), narrow), narrow);
    EXPECT_EQ(std::string(narrow), fits);
    EXPECT_EQ(WideToNarrow(wideTooLong.c_str(), narrow), narrow);
    EXPECT_EQ(std::string(narrow), "");
    EXPECT_EQ(WideToNarrow(nullptr, narrow), narrow);
    EXPECT_EQ(std::string(narrow), "");
    EXPECT_EQ(WideToNarrow(L"x", nullptr), nullptr);
    EXPECT_EQ(narrow[kWideBufferChars], '!');
}

TEST(WideEntryPointsTest, ConversionsUseTheirCodePages) {
    const std::string text = "\xE9\x81\xFF";
    wchar_t wide[kWideBufferChars];
    wchar_t expected[kWideBufferChars];
    ASSERT_GT(::MultiByteToWideChar(GetUserAnsiCodePage(), 0, text.c_str(), -1, expected,
                                    kWideBufferChars),
              0);
    EXPECT_EQ(std::wstring(AnsiToWide(text.c_str(), wide)), std::wstring(expected));
    ASSERT_GT(::MultiByteToWideChar(GetUserOemCodePage(), 0, text.c_str(), -1, expected,
                                    kWideBufferChars),
              0);
    EXPECT_EQ(std::wstring(OemToWide(text.c_str(), wide)), std::wstring(expected));
    // Back to 8-bit text through the OEM code page.
    char narrow[kWideBufferChars];
    EXPECT_EQ(std::string(WideToNarrow(expected, narrow)), text);
}

class DeleteFileAnyTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_FALSE(temp.Path().empty());
        // A name whose OEM and ANSI readings are different characters.
        for (int byte = 0xE0; byte <= 0xFE && oem == ansi; ++byte) {
            narrow = temp.Path() + "d" + static_cast<char>(byte) + ".txt";
            wchar_t buffer[kWideBufferChars];
            oem = OemToWide(narrow.c_str(), buffer);
            ansi = AnsiToWide(narrow.c_str(), buffer);
        }
    }

    TempFolder temp{"wide-test"};
    std::string narrow;
    std::wstring oem, ansi;
};

TEST_F(DeleteFileAnyTest, TriesTheOemFormFirstThenTheAnsiForm) {
    if (oem == ansi) GTEST_SKIP() << "OEM and ANSI code pages agree";
    ASSERT_TRUE(IsWindowsNT());

    ASSERT_TRUE(WriteFileBytes(ansi, ""));
    EXPECT_NE(DeleteFileAny(narrow.c_str()), FALSE);
    EXPECT_FALSE(PathExists(ansi));

    ASSERT_TRUE(WriteFileBytes(oem, ""));
    ASSERT_TRUE(WriteFileBytes(ansi, ""));
    EXPECT_NE(DeleteFileAny(narrow.c_str()), FALSE);
    EXPECT_FALSE(PathExists(oem));
    EXPECT_TRUE(PathExists(ansi)); // one call deletes one file

    EXPECT_NE(DeleteFileAny(narrow.c_str()), FALSE);
    EXPECT_FALSE(PathExists(ansi));
    EXPECT_EQ(DeleteFileAny(narrow.c_str()), FALSE); // nothing left
}

} // namespace
