// SetupData: loading SETUP.INI text into values and lists, its errors, and the unloaded guard.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "../temp_folder.h"
#include "config/setup_data.h"
#include "log_capture.h"
#include "sys/setup_result.h"

namespace {

// Every non-empty value and list of a loaded record, one per line, in a fixed order.
std::string Describe(const SetupData& data) {
    const std::pair<const char*, const std::string*> values[] = {
        {"PackageName", &data.GetPackageName()},
        {"CheckRegKey", &data.GetCheckRegKey()},
        {"Platforms", &data.GetPlatforms()},
        {"NestedInstall", &data.GetNestedInstall()},
        {"MsiVersion", &data.GetMsiVersion()},
        {"AllowNTServer", &data.GetAllowNTServer()},
        {"9xMsiInstaller", &data.Get9xMsiInstaller()},
        {"NTMsiInstaller", &data.GetNTMsiInstaller()},
        {"9xMsiInstallerSHA256", &data.Get9xMsiInstallerSHA256()},
        {"NTMsiInstallerSHA256", &data.GetNTMsiInstallerSHA256()},
    };
    const std::pair<const char*, const std::vector<std::string>*> lists[] = {
        {"ProductFeatures", &data.GetProductFeatures()},
        {"PreviousVersionUninstall", &data.GetPreviousVersionUninstall()},
        {"ShutdownApplication", &data.GetShutdownApplication()},
        {"IncompatibleAppExit", &data.GetIncompatibleAppExit()},
        {"IncompatibleAppUninstall", &data.GetIncompatibleAppUninstall()},
        {"UpgradeConditions", &data.GetUpgradeConditions()},
        {"LaunchApplications", &data.GetLaunchApplications()},
    };
    std::string text;
    for (const auto& value : values) {
        if (!value.second->empty()) text += std::string(value.first) + "=" + *value.second + "\n";
    }
    for (const auto& list : lists) {
        if (list.second->empty()) continue;
        text += std::string(list.first) + ":";
        for (const std::string& entry : *list.second)
            text += " [" + entry + "]";
        text += "\n";
    }
    return text;
}

// Loads the text as SETUP.INI; the description of the record, or "error XXXXXXXX".
std::string LoadText(const std::string& iniText) {
    TempFolder folder;
    folder.Write("SETUP.INI", iniText);
    SetupData data;
    try {
        data.Load(folder.Folder(), "SETUP.INI");
    } catch (const SetupError& error) {
        EXPECT_FALSE(data.IsLoaded());
        char code[32];
        std::snprintf(code, sizeof code, "error %08X", static_cast<unsigned>(error.code));
        return code;
    }
    EXPECT_TRUE(data.IsLoaded());
    return Describe(data);
}

struct LoadCase {
    const char* name;
    const char* ini;
    const char* expected; // Describe() of the loaded record, or "error XXXXXXXX"
};

const LoadCase kLoadCases[] = {
    {"only the package and an empty feature list",
     "[ProductInformation]\nPackageName=a.msi\n[ProductFeatures]\n", "PackageName=a.msi\n"},
    {"every key and every list",
     "[ProductInformation]\n"
     "PackageName=p.msi\nCheckRegKey=HKLM,Software\\Maker,Ver\nPlatforms=NT,5.0,2\n"
     "NestedInstall={GUID},/qb,1\nMsiVersion=2.0\nAllowNTServer=No\n"
     "9xMsiInstaller=http://h/9x.exe\nNTMsiInstaller=http://h/nt.exe\n"
     "[ProductFeatures]\nCore\nExtras\n"
     "[PreviousVersionUninstall]\n{OLD-1}\n"
     "[ShutdownApplication]\nMainWnd,10\n"
     "[IncompatibleAppExit]\nBadApp\n"
     "[IncompatibleAppUninstall]\nOldApp\n"
     "[UpgradeConditions]\nKey,1.0-2.0,REMOVE\n"
     "[LaunchApplications]\n{COMP},--first\n",
     "PackageName=p.msi\nCheckRegKey=HKLM,Software\\Maker,Ver\nPlatforms=NT,5.0,2\n"
     "NestedInstall={GUID},/qb,1\nMsiVersion=2.0\nAllowNTServer=No\n9xMsiInstaller=http://h/"
     "9x.exe\n"
     "NTMsiInstaller=http://h/nt.exe\nProductFeatures: [Core] [Extras]\n"
     "PreviousVersionUninstall: [{OLD-1}]\nShutdownApplication: [MainWnd,10]\n"
     "IncompatibleAppExit: [BadApp]\nIncompatibleAppUninstall: [OldApp]\n"
     "UpgradeConditions: [Key,1.0-2.0,REMOVE]\nLaunchApplications: [{COMP},--first]\n"},
    {"blanks around the equals sign and after the value",
     "[ProductInformation]\n  PackageName   =   spaced.msi  \t\n[ProductFeatures]\n",
     "PackageName=spaced.msi\n"},
    {"key names match with letter case",
     "[ProductInformation]\npackagename=a.msi\n[ProductFeatures]\n", "error 80040002"},
    {"section names match with letter case",
     "[productinformation]\nPackageName=a.msi\n[ProductFeatures]\n", "error 80040001"},
    {"no product section", "[ProductFeatures]\nCore\n", "error 80040001"},
    {"no feature section", "[ProductInformation]\nPackageName=a.msi\n", "error 80040001"},
    {"feature section named in other case",
     "[ProductInformation]\nPackageName=a.msi\n[productfeatures]\n", "error 80040001"},
    {"an empty package name is still present",
     "[ProductInformation]\nPackageName=\n[ProductFeatures]\n", ""},
    {"the first of two equal keys wins",
     "[ProductInformation]\nPackageName=first.msi\nPackageName=second.msi\n[ProductFeatures]\n",
     "PackageName=first.msi\n"},
    {"list entries: key lines give what follows their first equals sign, comments stay, blank "
     "lines go",
     "[ProductInformation]\nPackageName=a.msi\n[ProductFeatures]\n"
     "[LaunchApplications]\n{C1},/arg=1 /b=2\n\n   \n  {C2} , x  \n"
     "[UpgradeConditions]\n; old releases\nKey,1.0,LEAVE\n",
     "PackageName=a.msi\nUpgradeConditions: [; old releases] [Key,1.0,LEAVE]\n"
     "LaunchApplications: [1 /b=2] [{C2} , x]\n"},
    {"a line beginning with an equals sign is a plain line",
     "[ProductInformation]\nPackageName=a.msi\n[ProductFeatures]\n=Odd\n",
     "PackageName=a.msi\nProductFeatures: [=Odd]\n"},
    {"two headers of one list section form one list in file order",
     "[ProductInformation]\nPackageName=a.msi\n[ShutdownApplication]\nFirst\n[ProductFeatures]"
     "\nCore\n"
     "[ShutdownApplication]\nSecond\nThird\n",
     "PackageName=a.msi\nProductFeatures: [Core]\nShutdownApplication: [First] [Second] [Third]\n"},
    {"keys of other sections are not product keys",
     "[Other]\nPackageName=wrong.msi\n[ProductInformation]\nMsiVersion=2.0\n[ProductFeatures]\n",
     "error 80040002"},
    {"CR LF line ends",
     "[ProductInformation]\r\nPackageName=a.msi\r\n[ProductFeatures]\r\nCore\r\n",
     "PackageName=a.msi\nProductFeatures: [Core]\n"},
    {"pinned digests of the redistributables, in any case",
     "[ProductInformation]\nPackageName=a.msi\n"
     "NTMsiInstallerSHA256= BA7816BF8F01CFEA414140DE5DAE2223B00361A396177A9CB410FF61F20015AD \n"
     "9xMsiInstallerSHA256=e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855\n"
     "[ProductFeatures]\n",
     "PackageName=a.msi\n9xMsiInstallerSHA256="
     "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855\n"
     "NTMsiInstallerSHA256=BA7816BF8F01CFEA414140DE5DAE2223B00361A396177A9CB410FF61F20015AD\n"},
    {"a pinned digest one digit short",
     "[ProductInformation]\nPackageName=a.msi\n"
     "NTMsiInstallerSHA256=ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015a\n["
     "ProductFeatures]\n",
     "error 80040007"},
    {"a pinned digest with a character that is no hexadecimal digit",
     "[ProductInformation]\nPackageName=a.msi\n"
     "9xMsiInstallerSHA256=sha256:e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b78\n["
     "ProductFeatures]\n",
     "error 80040007"},
    {"malformed section header", "[ProductInformation]\nPackageName=a.msi\n[ProductFeatures\n",
     "error 0000000D"},
    {"illegal character in a key", "[ProductInformation]\nPackage;Name=a.msi\n[ProductFeatures]\n",
     "error 0000000D"},
};

TEST(SetupDataLoad, Table) {
    for (const LoadCase& c : kLoadCases) {
        EXPECT_EQ(c.expected, LoadText(c.ini)) << c.name;
    }
}

// The UTF-16 form of an ANSI text whose characters are all at most U+00FF, with byte-order mark.
std::string Utf16WithMark(const std::string& latin1) {
    std::string bytes = "\xFF\xFE";
    for (char c : latin1) {
        bytes += c;
        bytes += '\0';
    }
    return bytes;
}

TEST(SetupDataLoad, Utf16FileLoadsLikeItsAnsiEquivalent) {
    const std::string ini =
        "[ProductInformation]\r\nPackageName=Caf\xE9.msi\r\nMsiVersion=2.0\r\n"
        "[ProductFeatures]\r\nCore\r\n[LaunchApplications]\r\n{C},\xC0 la carte\r\n";
    EXPECT_EQ(LoadText(ini), LoadText(Utf16WithMark(ini)));
    EXPECT_EQ("PackageName=Caf\xE9.msi\nMsiVersion=2.0\nProductFeatures: "
              "[Core]\nLaunchApplications: [{C},\xC0 la carte]\n",
              LoadText(Utf16WithMark(ini)));
}

TEST(SetupDataLoad, MissingFileLogsAndEndsWithTheSystemCode) {
    LogCapture log;
    TempFolder folder;
    SetupData data;
    try {
        data.Load(folder.Folder(), "SETUP.INI");
        FAIL() << "a missing file loaded";
    } catch (const SetupError& error) {
        EXPECT_EQ(2u, error.code);
    }
    const std::string text = log.Text();
    EXPECT_NE(std::string::npos,
              text.find(" - Loading setup data file: " + folder.Folder() + "SETUP.INI\r\n"))
        << text;
    EXPECT_NE(std::string::npos,
              text.find("Call to CTCharStream::OpenStream( " + folder.Folder() + "SETUP.INI )"))
        << text;
    EXPECT_NE(std::string::npos, text.find("Error Code: 0001.00000002")) << text;
}

TEST(SetupDataLoad, PathLongerThanTheDesignLimitIsRefused) {
    TempFolder folder;
    const std::string name(300 - folder.Folder().size(), 'n');
    SetupData data;
    try {
        data.Load(folder.Folder(), name);
        FAIL() << "a 300-byte path loaded";
    } catch (const SetupError& error) {
        EXPECT_EQ(206u, error.code); // the system's "file name too long"
    }
}

// Every accessor of the record, for the unloaded-guard checks.
const std::vector<std::function<void(SetupData&)>> kAccessors = {
    [](SetupData& d) { d.GetCheckRegKey(); },
    [](SetupData& d) { d.GetMsiVersion(); },
    [](SetupData& d) { d.GetNestedInstall(); },
    [](SetupData& d) { d.GetPackageName(); },
    [](SetupData& d) { d.GetPlatforms(); },
    [](SetupData& d) { d.GetAllowNTServer(); },
    [](SetupData& d) { d.Get9xMsiInstaller(); },
    [](SetupData& d) { d.GetNTMsiInstaller(); },
    [](SetupData& d) { d.GetProductFeatures(); },
    [](SetupData& d) { d.GetPreviousVersionUninstall(); },
    [](SetupData& d) { d.GetShutdownApplication(); },
    [](SetupData& d) { d.GetIncompatibleAppExit(); },
    [](SetupData& d) { d.GetIncompatibleAppUninstall(); },
    [](SetupData& d) { d.GetUpgradeConditions(); },
    [](SetupData& d) { d.GetLaunchApplications(); },
    [](SetupData& d) { static_cast<const SetupData&>(d).GetLaunchApplications(); },
};

void ExpectEveryAccessorRefuses(SetupData& data, const char* when) {
    for (std::size_t i = 0; i < kAccessors.size(); ++i) {
        try {
            kAccessors[i](data);
            ADD_FAILURE() << "accessor " << i << " read " << when;
        } catch (const SetupError& error) {
            EXPECT_EQ(0x80070005u, error.code) << "accessor " << i << " " << when;
        }
    }
}

TEST(SetupDataState, ReadingUnloadedRecordIsAnInternalError) {
    LogCapture log;
    SetupData data;
    ExpectEveryAccessorRefuses(data, "before loading");
    EXPECT_NE(std::string::npos, log.Text().find("Error Code: 0018.80070005"));

    TempFolder folder;
    folder.Write("SETUP.INI", "[ProductInformation]\nPackageName=a.msi\n[ProductFeatures]\nCore\n");
    ASSERT_TRUE(data.Load(folder.Folder(), "SETUP.INI"));
    for (const auto& read : kAccessors)
        EXPECT_NO_THROW(read(data));
    data.Reset();
    ExpectEveryAccessorRefuses(data, "after Reset");
}

TEST(SetupDataState, FailedReloadLeavesNothingLoaded) {
    TempFolder folder;
    folder.Write(
        "good.ini",
        "[ProductInformation]\nPackageName=a.msi\nMsiVersion=3.1\n[ProductFeatures]\nCore\n");
    folder.Write("bad.ini", "[ProductInformation]\nPackageName=b.msi\nMsiVersion=9.9\n");
    SetupData data;
    ASSERT_TRUE(data.Load(folder.Folder(), "good.ini"));
    EXPECT_THROW(data.Load(folder.Folder(), "bad.ini"), SetupError);
    EXPECT_FALSE(data.IsLoaded());
    ASSERT_TRUE(data.Load(folder.Folder(), "good.ini"));
    EXPECT_EQ("3.1", data.GetMsiVersion());
    EXPECT_EQ(1u, data.GetProductFeatures().size()) << "a reload must not append to the old lists";
}

TEST(SetupDataState, StepsCanAppendPreviousVersions) {
    TempFolder folder;
    folder.Write("SETUP.INI", "[ProductInformation]\nPackageName=a.msi\n[ProductFeatures]\n"
                              "[PreviousVersionUninstall]\n{OLD}\n");
    SetupData data;
    ASSERT_TRUE(data.Load(folder.Folder(), "SETUP.INI"));
    data.GetPreviousVersionUninstall().push_back("{FOUND}");
    EXPECT_EQ((std::vector<std::string>{"{OLD}", "{FOUND}"}), data.GetPreviousVersionUninstall());
}

} // namespace
