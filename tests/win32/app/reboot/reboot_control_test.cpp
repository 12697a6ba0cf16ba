// The restart shortcut: hook, read back, replace, refuse another marker, unhook; and the English
// error boxes of the shell link operations.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <objbase.h>

#include "app/reboot_control.h"
#include "support/message_box_answerer.h"
#include "sys/unique_handle.h"

namespace {
struct Shortcut {
    std::string target, arguments, description;
};

class RestartShortcut : public ::testing::Test {
  protected:
    const char* intermediate = "SETUP.INI.Intermediate";
    const char* target = "C:\\users\\Public\\KOBR1A2B\\SETUP.EXE";
    std::string linkPath;

    void SetUp() override {
        ASSERT_TRUE(SUCCEEDED(::CoInitialize(nullptr)));
        char folder[MAX_PATH];
        ASSERT_TRUE(GetStartupFolder(nullptr, folder));
        linkPath = std::string(folder) + "\\" + kRestartShortcutName;
        ::DeleteFileA(linkPath.c_str());
    }
    void TearDown() override {
        ::DeleteFileA(linkPath.c_str());
        ::CoUninitialize();
    }

    bool Exists() const {
        return ::GetFileAttributesA(linkPath.c_str()) != INVALID_FILE_ATTRIBUTES;
    }

    Shortcut Read() const {
        char t[MAX_PATH], a[MAX_PATH], d[MAX_PATH];
        EXPECT_TRUE(ReadShortcut(nullptr, linkPath.c_str(), t, a, d));
        return {t, a, d};
    }
};

TEST_F(RestartShortcut, StartupFolderExistsAndHasNoTrailingBackslash) {
    char folder[MAX_PATH];
    ASSERT_TRUE(GetStartupFolder(nullptr, folder));
    const std::string path = folder;
    ASSERT_FALSE(path.empty());
    EXPECT_NE(path.back(), '\\');
    EXPECT_TRUE(::GetFileAttributesA(folder) & FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_EQ(::lstrcmpiA(path.substr(path.size() - 7).c_str(), "Startup"), 0) << path;
}

TEST_F(RestartShortcut, LifeCycleWithMarkers) {
    MessageBoxAnswerer boxes;

    ASSERT_TRUE(HookReboot(nullptr, intermediate, target, " /qb /~"));
    Shortcut s = Read();
    EXPECT_EQ(s.target, target);
    EXPECT_EQ(s.arguments, " /qb /~");
    EXPECT_EQ(s.description, intermediate);

    // Same marker: replaced.
    ASSERT_TRUE(HookReboot(nullptr, intermediate, target, " /qn /~-"));
    s = Read();
    EXPECT_EQ(s.arguments, " /qn /~-");
    EXPECT_EQ(s.description, intermediate);

    // Another setup's or stage's marker (compared exactly, case included): both answer 0 and the
    // shortcut stays as it is.
    for (const char* other :
         {"OTHER.INI.Intermediate", "SETUP.INI.Final", "setup.ini.Intermediate"}) {
        EXPECT_FALSE(HookReboot(nullptr, other, "C:\\elsewhere\\SETUP.EXE", "/x")) << other;
        EXPECT_FALSE(UnhookReboot(nullptr, other)) << other;
        ASSERT_TRUE(Exists());
        s = Read();
        EXPECT_EQ(s.target, target);
        EXPECT_EQ(s.arguments, " /qn /~-");
        EXPECT_EQ(s.description, intermediate);
    }

    EXPECT_TRUE(UnhookReboot(nullptr, intermediate));
    EXPECT_FALSE(Exists());
    EXPECT_FALSE(UnhookReboot(nullptr, intermediate));

    EXPECT_TRUE(boxes.Texts().empty());
}

TEST_F(RestartShortcut, ReadingWhatIsNotALinkFailsWithoutABox) {
    MessageBoxAnswerer boxes;
    char description[MAX_PATH] = "stale";
    EXPECT_FALSE(ReadShortcut(nullptr, linkPath.c_str(), nullptr, nullptr, description));
    EXPECT_STREQ(description, "");

    {
        UniqueFile file(
            ::CreateFileA(linkPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
        ASSERT_TRUE(file);
        DWORD written = 0;
        ::WriteFile(file.get(), "not a link", 10, &written, nullptr);
    }
    EXPECT_FALSE(ReadShortcut(nullptr, linkPath.c_str(), nullptr, nullptr, description));
    EXPECT_FALSE(UnhookReboot(nullptr, intermediate));
    EXPECT_TRUE(Exists());
    // Not a shortcut of anybody's: the hook writes over it.
    EXPECT_TRUE(HookReboot(nullptr, intermediate, target, ""));
    EXPECT_EQ(Read().description, intermediate);
    EXPECT_TRUE(boxes.Texts().empty());
}

TEST_F(RestartShortcut, FailedSaveShowsBox1010WithTheFailingCode) {
    std::vector<std::string> texts;
    {
        MessageBoxAnswerer boxes;
        EXPECT_FALSE(CreateStartupShortcut(nullptr, target,
                                           "C:\\no such folder\\x\\Quorvel Setup.lnk", "", "m"));
        texts = boxes.Texts();
    }
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].substr(0, 17), "Error Code: 03F2.") << texts[0];
    EXPECT_EQ(texts[0].size(), 25u) << texts[0];
    EXPECT_EQ(texts[0].find_first_not_of("0123456789ABCDEF", 17), std::string::npos) << texts[0];
    EXPECT_EQ(texts[0][17], '8') << "an HRESULT failure code: " << texts[0];
}

TEST(ShortcutErrorBox, UsesTheEnglishResourceStrings) {
    std::vector<std::string> texts;
    {
        MessageBoxAnswerer boxes;
        ReportShortcutError(nullptr, 1001, 0x80004005);
        ReportShortcutError(nullptr, 1016, 0x00000002);
        texts = boxes.Texts();
    }
    EXPECT_EQ(texts,
              (std::vector<std::string>{"Error Code: 03E9.80004005", "Error Code: 03F8.00000002"}));
}
} // namespace
