// Upgrade conditions against uninstall entries, the product's registry key, and closing running
// programs through their windows (the pauses between polls noted, not waited), under Wine.
#include <gtest/gtest.h>

#include "steps/application_windows.h"
#include "support/message_box_answerer.h"
#include "support/raised_code.h"
#include "support/registry_entries.h"
#include "support/setup_log_capture.h"
#include "support/step_bench.h"
#include "support/timed_wait_seam.h"
#include "sys/unique_handle.h"
#include "test_application.h"
#include "text/messages.h"

namespace {

using Message = TestApplication::Message;
using Closes = TestApplication::Closes;

std::string MessageText(unsigned number) {
    std::string text;
    GetMessageText(number, text);
    return text;
}

// Uninstall entries under HKEY_CURRENT_USER, with and without a version.
class UpgradeConditions : public ::testing::Test {
  protected:
    UninstallEntry old15{"ZbStepsOld15", "Kestrel Old", "C:\\remover.exe", "1.5"};
    UninstallEntry old30{"ZbStepsOld30", "Kestrel Older", "C:\\remover.exe", "3.0"};
    UninstallEntry noVersion{"ZbStepsNoVersion", "Kestrel Tool", "C:\\remover.exe"};
};

TEST_F(UpgradeConditions, EntriesDecideAndRemoveActionsAreQueued) {
    const std::optional<uint32_t> passes;
    const struct {
        const char* lines;
        std::optional<uint32_t> raised;
        std::vector<std::string> queued;
        const char* boxText; // null: no box; "7": message 7
    } cases[] = {
        {"", passes, {}, nullptr},
        {"ZbStepsMissingA,1.0-,LEAVE\r\nZbStepsMissingB,,\r\n", 1603u, {}, "7"},
        {"ZbStepsOld15,2.0-,REMOVE\r\n", 1603u, {}, "7"},
        {"ZbStepsOld15,1.0-1.9,remove\r\n", passes, {"ZbStepsOld15"}, nullptr},
        {"ZbStepsOld15,1.0-1.9,LEAVE\r\n", passes, {}, nullptr},
        {"ZbStepsOld15,1.0-1.9,\r\n", passes, {}, nullptr},
        {"ZbStepsOld15, 1.0-1.9\r\n", passes, {}, nullptr},
        {"ZbStepsOld30,1.0-1.9,REMOVE\r\nZbStepsOld15,,Remove\r\nZbStepsOld30,3.0,REMOVE\r\n",
         passes,
         {"ZbStepsOld15", "ZbStepsOld30"},
         nullptr},
        {"ZbStepsNoVersion,0.0,REMOVE\r\n", passes, {"ZbStepsNoVersion"}, nullptr},
        {"ZbStepsNoVersion,1.0-,REMOVE\r\n", 1603u, {}, "7"},
        // A missing entry is skipped before its other fields are read.
        {"ZbStepsMissingA,\"1.0,DELETE\r\nZbStepsOld15,1.5,LEAVE\r\n", passes, {}, nullptr},
        {"ZbStepsOld15,1.0-1.9,DELETE\r\n", 0x80040008u, {}, "Error Code: 0019.80040008"},
        {"ZbStepsOld15,\"1.0,LEAVE\r\n", 0x80040007u, {}, "Error Code: 0019.80040007"},
        {"\"ZbStepsOld15,1.0,LEAVE\r\n", 0x80040007u, {}, "Error Code: 0019.80040007"},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.lines);
        StepBench bench("/qn",
                        std::string("[ProductFeatures]\r\n[UpgradeConditions]\r\n") + test.lines,
                        "kestrel.msi");
        MessageBoxAnswerer answerer;
        SetupLogCapture log;
        EXPECT_EQ(test.raised, RaisedCode([&] { bench.Steps().CheckUpgradeConditions(); }));
        EXPECT_EQ(test.queued, bench.CommandLine().GetSetupData().GetPreviousVersionUninstall());
        EXPECT_TRUE(log.Contains("Checking upgrade conditions"));
        const std::vector<MessageBoxAnswerer::Box> boxes = answerer.Boxes();
        if (!test.boxText) {
            EXPECT_TRUE(boxes.empty());
            continue;
        }
        ASSERT_EQ(1u, boxes.size());
        if (std::string(test.boxText) == "7") {
            EXPECT_EQ(MessageText(7), boxes[0].text);
            EXPECT_EQ("Error", boxes[0].caption);
        } else {
            EXPECT_EQ(test.boxText, boxes[0].text);
        }
    }
}

TEST(StepsWithoutCommandLine, AreInternalErrors) {
    MessageBoxAnswerer answerer;
    SetupSteps steps(nullptr, nullptr);
    EXPECT_EQ(0x80004003u, RaisedCode([&] { steps.CheckUpgradeConditions(); }));
    EXPECT_EQ(0x80004003u, RaisedCode([&] { steps.IsProductRegistryKeyPresent(); }));
    EXPECT_EQ(0x80004003u, RaisedCode([&] { steps.ShutdownApplications(); }));
    std::vector<std::string> texts;
    for (const auto& box : answerer.Boxes())
        texts.push_back(box.text);
    EXPECT_EQ((std::vector<std::string>{"Error Code: 0019.80004003", "Error Code: 0002.80004003",
                                        "Error Code: 0016.80004003"}),
              texts);
}

TEST(ProductRegistryKey, RootsKeysAndValues) {
    const char kProduct[] = "Software\\ZbStepsTest\\Product";
    {
        UniqueRegKey key;
        ::RegCreateKeyExA(HKEY_CURRENT_USER, kProduct, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                          key.put(), nullptr);
        SetRegistryText(key.get(), "Installed", "1");
    }
    const struct {
        const char* checkRegKey;
        std::optional<uint32_t> raised;
        bool present;
    } cases[] = {
        {"", std::nullopt, true},
        {"HKCU,Software\\ZbStepsTest\\Product", std::nullopt, true},
        {"HKEY_CURRENT_USER, Software\\ZbStepsTest\\Product ,Installed", std::nullopt, true},
        {"HKCU,Software\\ZbStepsTest\\Product,", std::nullopt, true},
        {"HKCU,Software\\ZbStepsTest\\Product,Missing", std::nullopt, false},
        {"HKCU,Software\\ZbStepsTest\\Absent", std::nullopt, false},
        {"HKLM,SOFTWARE\\Microsoft\\Windows\\CurrentVersion", std::nullopt, true},
        {"HKEY_LOCAL_MACHINE,SOFTWARE\\Microsoft\\Windows\\CurrentVersion,ProgramFilesDir",
         std::nullopt, true},
        {"HKU,.DEFAULT", std::nullopt, true},
        {"hklm,SOFTWARE", 0x80040008u, false},
        {"HKEY_Current_User,Software", 0x80040008u, false},
        {"HKCU,\"Software", 0x80040007u, false},
    };
    MessageBoxAnswerer answerer;
    for (const auto& test : cases) {
        SCOPED_TRACE(test.checkRegKey);
        StepBench bench(
            "/qn", std::string("CheckRegKey=") + test.checkRegKey + "\r\n[ProductFeatures]\r\n",
            "kestrel.msi");
        bool present = false;
        EXPECT_EQ(test.raised,
                  RaisedCode([&] { present = bench.Steps().IsProductRegistryKeyPresent(); }));
        EXPECT_EQ(test.present, present);
    }
    ::RegDeleteKeyA(HKEY_CURRENT_USER, kProduct);
    ::RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\ZbStepsTest");
    ASSERT_EQ(3u, answerer.Boxes().size());
    EXPECT_EQ("Error Code: 0002.80040008", answerer.Boxes()[0].text);
    EXPECT_EQ("Error Code: 0002.80040007", answerer.Boxes()[2].text);
}

TEST(ShutdownApplicationEntry, FieldsChooseTheMessageAndThePolling) {
    const Message close{WM_CLOSE, 0, 0}, quit{WM_QUIT, 0, 0};
    const struct {
        const char* entry;
        Closes closes;
        UINT closeMessage;
        bool closed;
        std::vector<Message> received;
        DWORD pauseMs; // between ten polls; 0: closed before the first
    } cases[] = {
        {"ZbStepsApp", Closes::OnClose, 0, true, {close}, 0},
        {"ZbStepsApp", Closes::Never, 0, false, {close, quit}, 100},
        {"ZbStepsApp,500", Closes::Never, 0, false, {close, quit}, 50},
        {" ZbStepsApp , 300 , 0 , 0 ", Closes::Never, 0, false, {close, quit}, 30},
        {"ZbStepsApp,5000,x,1", Closes::OnClose, 0, true, {close}, 0},
        {"ZbStepsApp,100,0,1001,7",
         Closes::OnMessage,
         WM_COMMAND,
         true,
         {{WM_COMMAND, 1001, 7}},
         0},
        {"ZbStepsApp,100,1029,3,-4", Closes::OnMessage, 1029, true, {{1029, 3, -4}}, 0},
        {"ZbStepsApp,100,1029", Closes::OnMessage, 1029, true, {{1029, 0, 0}}, 0},
        {"ZbStepsApp,100,1029,x,5", Closes::OnMessage, 1029, true, {{1029, 0, 0}}, 0},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.entry);
        TestApplication application("ZbStepsApp", test.closes, test.closeMessage);
        ASSERT_TRUE(IsWindowClassPresent("ZbStepsApp"));
        SetupSteps steps(nullptr, nullptr);
        wait_seam::TakeRequests();
        EXPECT_EQ(test.closed, steps.ShutdownApplicationEntry(test.entry));
        EXPECT_EQ(std::vector<DWORD>(test.pauseMs ? 10 : 0, test.pauseMs),
                  wait_seam::TakeRequests());
        EXPECT_EQ(test.received, application.Received());
    }
    SetupSteps steps(nullptr, nullptr);
    TestApplication application("ZbStepsApp", Closes::OnClose);
    for (const char* unusable : {"", ",100", "\"ZbStepsApp"})
        EXPECT_FALSE(steps.ShutdownApplicationEntry(unusable));
    EXPECT_TRUE(steps.ShutdownApplicationEntry("ZbStepsNoSuchClass,100,1029"));
    EXPECT_TRUE(application.Received().empty());
    EXPECT_FALSE(IsWindowClassPresent(""));
    EXPECT_FALSE(IsWindowClassPresent(nullptr));
    EXPECT_TRUE(CloseApplicationWindow("ZbStepsNoSuchClass", 0, 0, 0, 0));
}

TEST(ShutdownApplications, SilentLevelsEndWithoutAsking) {
    for (const char* arguments : {"/qn", "/qb-", "/qn+"}) {
        SCOPED_TRACE(arguments);
        TestApplication application("ZbStepsApp", Closes::Never);
        StepBench bench(
            arguments,
            "[ProductFeatures]\r\n[ShutdownApplication]\r\nZbStepsGone,100\r\nZbStepsApp,100\r\n",
            "kestrel.msi");
        MessageBoxAnswerer answerer;
        EXPECT_EQ(1603u, RaisedCode([&] { bench.Steps().ShutdownApplications(); }));
        EXPECT_TRUE(answerer.Boxes().empty());
    }
}

TEST(ShutdownApplications, AsksUntilClosedOrDeclined) {
    const std::string sections = "[ProductFeatures]\r\n[ShutdownApplication]\r\nZbStepsApp,100\r\n";
    {
        TestApplication application("ZbStepsApp", Closes::Never);
        StepBench bench("/qb", sections, "kestrel.msi");
        MessageBoxAnswerer answerer([](const MessageBoxAnswerer::Box&) { return IDNO; });
        SetupLogCapture log;
        EXPECT_EQ(1602u, RaisedCode([&] { bench.Steps().ShutdownApplications(); }));
        ASSERT_EQ(1u, answerer.Boxes().size());
        EXPECT_EQ(MessageText(8), answerer.Boxes()[0].text);
        EXPECT_EQ("Warning", answerer.Boxes()[0].caption);
        EXPECT_TRUE(log.Contains("Shutting down applications"));
    }
    {
        // Yes while the program still runs asks again; Yes after it may close goes on.
        TestApplication application("ZbStepsApp", Closes::Never);
        StepBench bench("/qf", sections, "kestrel.msi");
        int asked = 0;
        MessageBoxAnswerer answerer([&](const MessageBoxAnswerer::Box&) {
            if (++asked == 2) application.AllowClose();
            return IDYES;
        });
        EXPECT_EQ(std::nullopt, RaisedCode([&] { bench.Steps().ShutdownApplications(); }));
        EXPECT_EQ(2u, answerer.Boxes().size());
        EXPECT_FALSE(IsWindowClassPresent("ZbStepsApp"));
    }
    {
        // Programs that close, or are not running, need no question.
        TestApplication application("ZbStepsApp", Closes::OnClose);
        StepBench bench(
            "/qb",
            "[ProductFeatures]\r\n[ShutdownApplication]\r\nZbStepsGone\r\nZbStepsApp,100\r\n",
            "kestrel.msi");
        MessageBoxAnswerer answerer;
        EXPECT_EQ(std::nullopt, RaisedCode([&] { bench.Steps().ShutdownApplications(); }));
        EXPECT_TRUE(answerer.Boxes().empty());
        EXPECT_EQ(1u, application.Received().size());
    }
}

} // namespace
