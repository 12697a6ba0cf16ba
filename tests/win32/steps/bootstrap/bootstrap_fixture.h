// Test support for the engine bootstrap: a launcher folder with its SETUP.INI, a parsed command
// line, a step object owned by a hidden window that holds a hidden progress bar 1001, and the
// command line the stand-in redistributable recorded.
#pragma once
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/progress_dialog.h"
#include "app/resource_ids.h"
#include "config/setup_command_line.h"
#include "steps/setup_steps.h"
#include "support/known_folders.h"
#include "support/message_box_answerer.h"
#include "support/raised_code.h"
#include "support/setup_log_capture.h"
#include "support/step_bench.h"
#include "support/temp_folder.h"
#include "support/test_files.h"
#include "sys/process.h"
#include "sys/unique_handle.h"
#include "sys/win32.h"

#include <commctrl.h>

// The download files ("<temp>KOBRxxxx\\MSIxxxx.tmp", each in a private folder of its own).
inline std::vector<std::string> DownloadFiles() {
    std::vector<std::string> files;
    for (const std::string& folder : NamesMatching(UserTempFolder() + "KOBR*"))
        for (const std::string& name : NamesMatching(UserTempFolder() + folder + "\\MSI*.tmp"))
            files.push_back(folder + "\\" + name);
    return files;
}

// The downloaded file and its private folder.
inline void RemoveDownload(const std::string& path) {
    ::DeleteFileA(path.c_str());
    ::RemoveDirectoryA(path.substr(0, path.rfind('\\')).c_str());
}

// What the progress bar was told: every position set, and whether it was ever shown.
struct ProgressRecord {
    std::vector<int> positions;
    bool everShown = false;
};

class BootstrapTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ::InitCommonControls();
        ASSERT_FALSE(folder_.Path().empty());
        record_ = UserTempFolder() + "bootstrap_redistributable.txt";
        ::DeleteFileA(record_.c_str());
        endSession_.reset(::CreateEventA(nullptr, TRUE, FALSE, nullptr));
        window_ = ::CreateWindowExA(0, "STATIC", "owner", WS_POPUP, 0, 0, 200, 50, nullptr, nullptr,
                                    nullptr, nullptr);
        bar_ =
            ::CreateWindowExA(0, PROGRESS_CLASSA, "", WS_CHILD | PBS_SMOOTH, 0, 0, 180, 16, window_,
                              reinterpret_cast<HMENU>(IDC_PROGRESS_BAR), nullptr, nullptr);
        ASSERT_TRUE(window_ && bar_ && endSession_);
        ::SetPropA(bar_, "record", &progress_);
        original_ = reinterpret_cast<WNDPROC>(::SetWindowLongPtrA(
            bar_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&BootstrapTest::RecordingProc)));
        ::SetPropA(bar_, "original", reinterpret_cast<HANDLE>(original_));
    }

    void TearDown() override {
        steps_ = nullptr;
        bound_.reset();
        ::DeleteFileA(record_.c_str());
        ::SetWindowLongPtrA(bar_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original_));
        ::RemovePropA(bar_, "record");
        ::RemovePropA(bar_, "original");
        ::DestroyWindow(window_);
    }

    // Writes SETUP.INI with the given extra [ProductInformation] lines, parses `arguments` and
    // makes a fresh step object running from the test folder on `platformId`.
    void Prepare(const std::string& productInformation, const std::string& arguments,
                 int platformId = 2, bool attach = true) {
        steps_ = nullptr;
        bound_.reset();
        WriteSetupIni(folder_.Path(), productInformation + "[ProductFeatures]\r\n", "kestrel.msi");
        bound_ = std::make_unique<BoundSteps>(folder_.Path(), arguments, window_, endSession_.get(),
                                              attach);
        ASSERT_TRUE(bound_->Parsed());
        steps_ = &bound_->Steps();
        steps_->SetLauncherFolder(folder_.Path());
        steps_->SetProgressReport(&ShowDownloadProgress);
        steps_->SetPlatformId(static_cast<PlatformId>(platformId));
        progress_ = ProgressRecord();
    }

    // A downloaded file stays held by the step object until it is started: end the step object
    // first.
    void DeleteDownloaded(const std::string& path) {
        steps_ = nullptr;
        bound_.reset();
        RemoveDownload(path);
    }

    void PlaceLocalRedistributable(const char* name) {
        ASSERT_TRUE(::CopyFileA((TestProgramFolder() + "stand_in_redistributable.exe").c_str(),
                                (folder_ / name).c_str(), FALSE));
    }

    // Waits for the recorded child and gives the command line it was started with.
    std::string WaitForRedistributable() {
        HANDLE child = LastLaunchedProcess();
        if (!child || ::WaitForSingleObject(child, 20000) != WAIT_OBJECT_0) return "<not run>";
        return ReadFileBytes(record_);
    }

    // Runs the engine installation step; the code it raised, or none.
    std::optional<uint32_t> RaisedByInstall() {
        return RaisedCode([&] { steps_->InstallWindowsInstaller(); });
    }

    bool BarVisible() const { return (::GetWindowLongA(bar_, GWL_STYLE) & WS_VISIBLE) != 0; }

    TempFolder folder_{"bootstrap"};
    std::string record_;
    UniqueKernelHandle endSession_;
    HWND window_ = nullptr;
    HWND bar_ = nullptr;
    ProgressRecord progress_;
    std::unique_ptr<BoundSteps> bound_;
    SetupSteps* steps_ = nullptr; // bound_'s step object

  private:
    static LRESULT CALLBACK RecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        auto* record = static_cast<ProgressRecord*>(::GetPropA(window, "record"));
        if (message == PBM_SETPOS) record->positions.push_back(static_cast<int>(wParam));
        if (message == WM_SHOWWINDOW && wParam) record->everShown = true;
        auto original = reinterpret_cast<WNDPROC>(::GetPropA(window, "original"));
        return ::CallWindowProcA(original, window, message, wParam, lParam);
    }
    WNDPROC original_ = nullptr;
};
