// Temporary folders: fresh random names, tree copy with its limits, and tree delete with attribute
// reset and deletion at restart of what is held open.
#include <gtest/gtest.h>

#include <cstdio>
#include <set>

#include "steps/temp_folders.h"
#include "support/known_folders.h"
#include "support/pending_renames.h"
#include "support/setup_log_capture.h"
#include "support/temp_folder.h"
#include "support/test_files.h"

namespace {

std::string Candidate(const std::string& parent, unsigned number) {
    char name[16];
    std::snprintf(name, sizeof name, "KOBR%04X", number);
    return parent + name;
}

DWORD Attributes(const std::string& path) {
    return ::GetFileAttributesA(path.c_str());
}

TEST(CreateTempFolder, MakesANewEmptyFolderInTheUserTempFolder) {
    std::string first, second;
    ASSERT_TRUE(CreateTempFolder(first));
    ASSERT_TRUE(CreateTempFolder(second));
    const std::string temp = UserTempFolder();
    for (const std::string& folder : {first, second}) {
        ASSERT_EQ(folder.size(), temp.size() + 9) << folder;
        EXPECT_EQ(folder.compare(0, temp.size() + 4, temp + "KOBR"), 0) << folder;
        EXPECT_EQ(folder.find_first_not_of("0123456789ABCDEF", temp.size() + 4), folder.size() - 1)
            << folder;
        EXPECT_EQ(folder.back(), '\\');
        EXPECT_TRUE(Attributes(folder) & FILE_ATTRIBUTE_DIRECTORY);
        EXPECT_TRUE(NamesIn(folder).empty());
    }
    EXPECT_NE(first, second); // same second, same seed: the second call had to skip the first name
    ::RemoveDirectoryA(first.c_str());
    ::RemoveDirectoryA(second.c_str());
}

TEST(CreateTempFolder, NeverTakesOverAnExistingName) {
    TempFolder work{"setup-tests"};
    const uint32_t seed = 20240607;
    TempFolderNumbers numbers(seed);
    // Someone else's folder (with content), a file, a read-only folder: all to be skipped.
    const std::string taken1 = Candidate(work.Path(), numbers.Next());
    const std::string taken2 = Candidate(work.Path(), numbers.Next());
    const std::string taken3 = Candidate(work.Path(), numbers.Next());
    const std::string expected = Candidate(work.Path(), numbers.Next());
    ASSERT_TRUE(MakeFolder(taken1));
    ASSERT_TRUE(WriteFileBytes(taken1 + "\\theirs.txt", "keep"));
    ASSERT_TRUE(WriteFileBytes(taken2, "a file"));
    ASSERT_TRUE(MakeFolder(taken3));
    ASSERT_TRUE(::SetFileAttributesA(taken3.c_str(), FILE_ATTRIBUTE_READONLY));

    std::string folder;
    ASSERT_TRUE(CreateTempFolderIn(work.Path().c_str(), seed, folder));
    EXPECT_EQ(folder, expected + "\\");
    EXPECT_EQ(ReadFileBytes(taken1 + "\\theirs.txt"), "keep");
    EXPECT_EQ(NamesIn(taken1 + "\\").size(), 1u);
    EXPECT_EQ(ReadFileBytes(taken2), "a file");
    EXPECT_EQ(NamesIn(work.Path()).size(), 4u);
}

TEST(CreateTempFolder, GivesUpAfterNinetyNineTakenNames) {
    TempFolder work{"setup-tests"};
    const uint32_t seed = 77;
    TempFolderNumbers numbers(seed);
    std::set<unsigned> taken;
    for (int i = 0; i < 99; ++i) {
        const unsigned n = numbers.Next();
        if (taken.insert(n).second) {
            ASSERT_TRUE(MakeFolder(Candidate(work.Path(), n)));
        }
    }
    const unsigned hundredth = numbers.Next();
    std::string folder = "stale";
    EXPECT_FALSE(CreateTempFolderIn(work.Path().c_str(), seed, folder));
    EXPECT_EQ(folder, "");
    EXPECT_EQ(NamesIn(work.Path()).size(), taken.size());
    if (!taken.count(hundredth)) {
        EXPECT_FALSE(PathExists(Candidate(work.Path(), hundredth)));
    }
}

TEST(CreateTempFolder, NumbersStayBelowFFFFAndSpread) {
    std::set<unsigned> seen;
    for (uint32_t seed = 0; seed < 200; ++seed) {
        TempFolderNumbers numbers(seed * 2654435761u);
        for (int i = 0; i < 500; ++i) {
            const unsigned n = numbers.Next();
            ASSERT_LT(n, 0xFFFFu);
            seen.insert(n);
        }
    }
    EXPECT_GT(seen.size(), 50000u);
}

class TreeCopy : public ::testing::Test {
  protected:
    TempFolder work{"setup-tests"};
    std::string source = work / "source\\";
    std::string destination = work / "destination\\";

    void SetUp() override {
        ASSERT_TRUE(MakeFolder(source));
        ASSERT_TRUE(MakeFolder(destination));
    }
};

TEST_F(TreeCopy, CopiesSubfoldersAndProtectedFilesAndSkipsDotFolders) {
    ASSERT_TRUE(WriteFileBytes(source + "SETUP.EXE", "program"));
    ASSERT_TRUE(WriteFileBytes(source + "SETUP.INI", "[Startup]\r\n", FILE_ATTRIBUTE_READONLY));
    ASSERT_TRUE(WriteFileBytes(source + "hidden.dat", "h", FILE_ATTRIBUTE_HIDDEN));
    ASSERT_TRUE(MakeFolder(source + "sub"));
    ASSERT_TRUE(WriteFileBytes(source + "sub\\inner.txt", "inner"));
    ASSERT_TRUE(MakeFolder(source + "sub\\deeper"));
    ASSERT_TRUE(WriteFileBytes(source + "sub\\deeper\\data.bin", std::string(70000, '\x5A')));
    ASSERT_TRUE(MakeFolder(source + "sub\\empty"));
    ASSERT_TRUE(MakeFolder(source + ".svn"));
    ASSERT_TRUE(WriteFileBytes(source + ".svn\\entries", "x"));
    ASSERT_TRUE(MakeFolder(source + "sub\\.cache"));
    ASSERT_TRUE(WriteFileBytes(source + "sub\\.cache\\c", "x"));
    ASSERT_TRUE(WriteFileBytes(source + ".profile", "a dot file is a file"));

    ASSERT_TRUE(CopyFolderFiles(source.c_str(), destination.c_str()));

    EXPECT_EQ(ReadFileBytes(destination + "SETUP.EXE"), "program");
    EXPECT_EQ(ReadFileBytes(destination + "SETUP.INI"), "[Startup]\r\n");
    EXPECT_TRUE(Attributes(destination + "SETUP.INI") & FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(ReadFileBytes(destination + "hidden.dat"), "h");
    EXPECT_EQ(Attributes(destination + "hidden.dat") & FILE_ATTRIBUTE_HIDDEN,
              Attributes(source + "hidden.dat") & FILE_ATTRIBUTE_HIDDEN);
    EXPECT_EQ(ReadFileBytes(destination + "sub\\inner.txt"), "inner");
    EXPECT_EQ(ReadFileBytes(destination + "sub\\deeper\\data.bin"), std::string(70000, '\x5A'));
    EXPECT_TRUE(Attributes(destination + "sub\\empty") & FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_EQ(ReadFileBytes(destination + ".profile"), "a dot file is a file");
    EXPECT_FALSE(PathExists(destination + ".svn"));
    EXPECT_FALSE(PathExists(destination + "sub\\.cache"));
    EXPECT_EQ(NamesIn(destination).size(), 5u);
}

TEST_F(TreeCopy, LeavesFolderLinksOut) {
    using CreateSymbolicLinkAFn = BOOLEAN(WINAPI*)(LPCSTR, LPCSTR, DWORD);
    auto createLink = reinterpret_cast<CreateSymbolicLinkAFn>(reinterpret_cast<void*>(
        ::GetProcAddress(::GetModuleHandleA("KERNEL32.DLL"), "CreateSymbolicLinkA")));
    const std::string outside = work / "outside";
    ASSERT_TRUE(MakeFolder(outside));
    ASSERT_TRUE(WriteFileBytes(outside + "\\elsewhere.txt", "not the launcher's"));
    ASSERT_TRUE(WriteFileBytes(source + "SETUP.EXE", "program"));
    if (!createLink || !createLink((source + "link").c_str(), outside.c_str(), 1 /* directory */) ||
        !(Attributes(source + "link") & FILE_ATTRIBUTE_REPARSE_POINT))
        GTEST_SKIP() << "folder links are not available here";

    EXPECT_TRUE(CopyFolderFiles(source.c_str(), destination.c_str()));
    EXPECT_EQ(ReadFileBytes(destination + "SETUP.EXE"), "program");
    EXPECT_FALSE(PathExists(destination + "link"));
}

TEST_F(TreeCopy, NeverOverwritesAnExistingDestinationFile) {
    ASSERT_TRUE(WriteFileBytes(source + "a.txt", "new"));
    ASSERT_TRUE(WriteFileBytes(destination + "a.txt", "old"));
    EXPECT_FALSE(CopyFolderFiles(source.c_str(), destination.c_str()));
    EXPECT_EQ(ReadFileBytes(destination + "a.txt"), "old");

    ::DeleteFileA((destination + "a.txt").c_str());
    ASSERT_TRUE(MakeFolder(source + "sub"));
    ASSERT_TRUE(MakeFolder(destination + "sub")); // an existing folder fails the copy too
    EXPECT_FALSE(CopyFolderFiles(source.c_str(), destination.c_str()));
}

TEST_F(TreeCopy, EmptySourceCopiesNothingAndMissingSourceFails) {
    EXPECT_TRUE(CopyFolderFiles(source.c_str(), destination.c_str()));
    EXPECT_TRUE(NamesIn(destination).empty());
    // Reading nothing from a folder that is not there is a failed copy, not an empty one.
    const std::string missing = work / "missing\\";
    EXPECT_FALSE(CopyFolderFiles(missing.c_str(), destination.c_str()));
    EXPECT_FALSE(CopyFolderFiles(nullptr, destination.c_str()));
}

TEST_F(TreeCopy, PathsPastTheLimitFailTheCopyCleanly) {
    // A source tree that goes deeper than 260 bytes (made through \\?\ paths).
    std::wstring deep = L"\\\\?\\" + Widen(source + "deep");
    ASSERT_TRUE(::CreateDirectoryW(deep.c_str(), nullptr));
    while (deep.size() < 330) {
        deep += L"\\a-rather-long-folder-name-for-depth";
        ASSERT_TRUE(::CreateDirectoryW(deep.c_str(), nullptr));
    }
    UniqueFile(::CreateFileW((deep + L"\\bottom.txt").c_str(), GENERIC_WRITE, 0, nullptr,
                             CREATE_NEW, 0, nullptr));
    EXPECT_FALSE(CopyFolderFiles(source.c_str(), destination.c_str()));
    EXPECT_TRUE(PathExists(destination + "deep")); // what was copied before the limit stays

    // A short source into a destination whose names pass 260 bytes.
    RemoveFolderTree(source + "deep");
    RemoveFolderTree(destination + "deep");
    ASSERT_TRUE(WriteFileBytes(source + std::string(80, 'f') + ".txt", "x"));
    std::string longDestination = destination;
    while (longDestination.size() < 200) {
        longDestination += "level-of-a-long-destination\\";
        ASSERT_TRUE(MakeFolder(longDestination));
    }
    EXPECT_FALSE(CopyFolderFiles(source.c_str(), longDestination.c_str()));
    EXPECT_TRUE(NamesIn(longDestination).empty());

    // A source folder path that leaves no room for "*.*".
    const std::string tooLong(300, 'x');
    EXPECT_FALSE(CopyFolderFiles((tooLong + "\\").c_str(), destination.c_str()));
}

class TreeDelete : public ::testing::Test {
  protected:
    TempFolder work{"setup-tests"};
    std::string root = work / "copy\\";
    void SetUp() override { ASSERT_TRUE(MakeFolder(root)); }
    void TearDown() override { pending_renames::RemoveBelow(work.Path()); }
};

TEST_F(TreeDelete, ClearsProtectiveAttributesAndLogsEachReset) {
    SetupLogCapture log;
    ASSERT_TRUE(WriteFileBytes(root + "plain.txt", "p"));
    ASSERT_TRUE(WriteFileBytes(root + "readonly.txt", "r", FILE_ATTRIBUTE_READONLY));
    ASSERT_TRUE(WriteFileBytes(root + "hidden.txt", "h", FILE_ATTRIBUTE_HIDDEN));
    ASSERT_TRUE(WriteFileBytes(root + "system.txt", "s", FILE_ATTRIBUTE_SYSTEM));
    ASSERT_TRUE(MakeFolder(root + "sub"));
    ASSERT_TRUE(WriteFileBytes(root + "sub\\both.txt", "b",
                               FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN));
    ASSERT_TRUE(MakeFolder(root + "sub\\.git"));
    ASSERT_TRUE(WriteFileBytes(root + "sub\\.git\\HEAD", "kept"));
    ASSERT_TRUE(MakeFolder(root + "other"));

    // Whatever protective bits the file system kept are what gets reset and logged.
    std::vector<std::pair<std::string, DWORD>> protectedFiles;
    for (const char* name :
         {"plain.txt", "readonly.txt", "hidden.txt", "system.txt", "sub\\both.txt"}) {
        const DWORD attributes = Attributes(root + name);
        if (attributes & 7) protectedFiles.emplace_back(root + name, attributes);
    }
    ASSERT_GE(protectedFiles.size(), 2u); // read-only at least

    DeleteFolderTree(root.c_str());

    EXPECT_TRUE(PathExists(root));
    EXPECT_EQ(NamesIn(root),
              std::vector<std::string>{"sub"}); // kept: it still holds the dot folder
    EXPECT_EQ(ReadFileBytes(root + "sub\\.git\\HEAD"), "kept");
    for (const auto& file : protectedFiles) {
        char line[400];
        std::snprintf(line, sizeof line,
                      "Resetting file attributes for \"%s\" from 0x%08X to 0x%08X",
                      file.first.c_str(), static_cast<unsigned>(file.second),
                      static_cast<unsigned>(file.second & ~7u));
        EXPECT_EQ(log.CountLinesEndingWith(line), 1) << line;
    }
    EXPECT_FALSE(log.ContainsText("Failed to set file attributes"));
    EXPECT_FALSE(log.ContainsText("Failed to delete file"));
    // The folder that still holds ".git" cannot go; it is left for deletion at restart.
    EXPECT_TRUE(log.ContainsText("Failed to remove directory: \"" + root + "sub\""));
    EXPECT_TRUE(pending_renames::IsScheduledForDeletion(root + "sub"));
}

TEST_F(TreeDelete, FileHeldOpenIsScheduledForRestartAndTheRestGoes) {
    ASSERT_TRUE(MakeFolder(root + "busy"));
    const std::string held = root + "busy\\held.dll";
    ASSERT_TRUE(WriteFileBytes(held, "in use"));
    ASSERT_TRUE(WriteFileBytes(root + "busy\\free.txt", "f"));
    ASSERT_TRUE(WriteFileBytes(root + "zfree.txt", "f"));
    UniqueFile open(::CreateFileA(held.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(open);

    SetupLogCapture log;
    DeleteFolderTree(root.c_str());

    EXPECT_TRUE(PathExists(held));
    EXPECT_FALSE(PathExists(root + "busy\\free.txt"));
    EXPECT_FALSE(PathExists(root + "zfree.txt"));
    char line[400];
    std::snprintf(line, sizeof line, "Failed to delete file: \"%s\", Error code = 0x%08X",
                  held.c_str(), static_cast<unsigned>(ERROR_SHARING_VIOLATION));
    EXPECT_EQ(log.CountLinesEndingWith(line), 1) << log.Text();
    EXPECT_EQ(
        log.CountLinesEndingWith("Scheduled \"" + held + "\" for deletion using MoveFileEx()"), 1);
    EXPECT_EQ(
        log.CountLinesEndingWith("Scheduled \"" + root + "busy\" for deletion using MoveFileEx()"),
        1);
    // Read while this wineserver still runs: a fresh session start would carry the entries out.
    EXPECT_TRUE(pending_renames::IsScheduledForDeletion(held));
    EXPECT_TRUE(pending_renames::IsScheduledForDeletion(root + "busy"));
}

TEST_F(TreeDelete, FolderLinkIsRemovedWithoutEmptyingItsTarget) {
    using CreateSymbolicLinkAFn = BOOLEAN(WINAPI*)(LPCSTR, LPCSTR, DWORD);
    auto createLink = reinterpret_cast<CreateSymbolicLinkAFn>(reinterpret_cast<void*>(
        ::GetProcAddress(::GetModuleHandleA("KERNEL32.DLL"), "CreateSymbolicLinkA")));
    const std::string outside = work / "outside";
    ASSERT_TRUE(MakeFolder(outside));
    ASSERT_TRUE(WriteFileBytes(outside + "\\precious.txt", "keep"));
    if (!createLink || !createLink((root + "link").c_str(), outside.c_str(), 1 /* directory */) ||
        !(Attributes(root + "link") & FILE_ATTRIBUTE_REPARSE_POINT))
        GTEST_SKIP() << "folder links are not available here";

    DeleteFolderTree(root.c_str());

    EXPECT_EQ(ReadFileBytes(outside + "\\precious.txt"), "keep");
    EXPECT_FALSE(PathExists(root + "link"));
}

TEST_F(TreeDelete, MissingOrOverlongFolderIsANoOp) {
    DeleteFolderTree((work / "missing\\").c_str());
    DeleteFolderTree((std::string(300, 'x') + "\\").c_str());
    DeleteFolderTree(nullptr);
    EXPECT_TRUE(PathExists(root));
}
} // namespace
