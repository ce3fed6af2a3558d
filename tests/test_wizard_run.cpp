// The wizard's long runs: start-up scans nothing, and a press of "Close" while a scan or a
// clean runs is handled at once and ends the program only between two items.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "app/wizard_lists.h"
#include "tests/support/app_fixture.h"
#include "tests/support/list_reader.h"

using namespace zarn;
using namespace zarn::test;

namespace {

constexpr int kTempFiles = 1500;
std::atomic<int> g_ends{0};

class WizardRunTest : public AppTest {
 protected:
  void Seed() override {
    // Enough cache files that the Opera scan and clean take many pulses. (The System
    // category would also read the clipboard, which the machine tests share.)
    Sandbox::CreateKey(Root::HKCU, "SOFTWARE\\Opera Software");
    Sandbox::MakeDir(Cache());
    for (int i = 0; i < kTempFiles; ++i) {
      HANDLE f = CreateFileA(Temp(i).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
      ASSERT_NE(f, INVALID_HANDLE_VALUE);
      DWORD written = 0;
      WriteFile(f, "x", 1, &written, nullptr);
      CloseHandle(f);
    }
  }
  void SetUp() override {
    AppTest::SetUp();
    g_ends = 0;
    SetProgramEnder([] { ++g_ends; });
    HWND lvall = Main(TMainForm::kLvall);
    auto rows = ReadList(lvall);
    for (size_t i = 0; i < rows.size(); ++i) SetTick(lvall, static_cast<int>(i), rows[i][0] == "Opera");
  }
  void TearDown() override {
    SetProgramEnder(nullptr);
    AppTest::TearDown();
  }
  std::string Cache() const { return sandbox.appData + "\\Opera\\Opera\\profile\\cache4\\"; }
  std::string Temp(int i) const { return Cache() + "t" + std::to_string(i) + ".tmp"; }
  // The temporary files still there; each must be whole, as it was written.
  int TempFilesLeft() const {
    int n = 0;
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((Cache() + "*.tmp").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return 0;
    do {
      ++n;
      EXPECT_EQ(data.nFileSizeLow, 1u) << data.cFileName;
    } while (FindNextFileA(find, &data));
    FindClose(find);
    return n;
  }
  // Presses "Next >" on this thread; a second thread presses "Close" as soon as `started`
  // holds. Its click is sent, so it is handled when this thread next looks at its messages,
  // which the running step must do.
  template <typename Started, typename Press>
  void NextWithPressWhen(Started started, Press press) {
    std::thread presser([started, press] {
      while (!started()) Sleep(1);
      press();
    });
    SendMessageA(Main(TMainForm::kNextbtn), BM_CLICK, 0, 0);
    presser.join();
  }
  template <typename Started>
  void NextWithCloseWhen(Started started) {
    HWND close = Main(TMainForm::kClosebtn);
    NextWithPressWhen(started, [close] { SendMessageA(close, BM_CLICK, 0, 0); });
  }
};

TEST_F(WizardRunTest, StartUpScansNothingAndTheWizardsFirstScanFindsEverything) {
  for (const char* caption : {"Windows Explorer", "Windows Applets", "System", "Opera"})
    EXPECT_TRUE(FindCategoryForm(caption)->ScanPending()) << caption;
  SendMessageA(Main(TMainForm::kNextbtn), BM_CLICK, 0, 0);
  ASSERT_EQ(MainForm->State(), 2);
  TCategoryForm& opera = *FindCategoryForm("Opera");
  EXPECT_FALSE(opera.ScanPending());
  int ours = 0;
  for (size_t i = 0; i < opera.Traces().Count(); ++i) ours += opera.Traces().Item(i).location == Cache();
  EXPECT_EQ(ours, kTempFiles);
  // Only the category the wizard ran has scanned.
  EXPECT_TRUE(FindCategoryForm("Windows Explorer")->ScanPending());
  EXPECT_EQ(g_ends, 0);
}

TEST_F(WizardRunTest, CloseDuringTheScanStopsItAndEndsTheProgramDeletingNothing) {
  TCategoryForm& opera = *FindCategoryForm("Opera");
  NextWithCloseWhen([&opera] { return !opera.ScanPending(); });
  EXPECT_EQ(g_ends, 1);
  // The scan stopped early: not every file was listed, and none was deleted.
  EXPECT_LT(opera.Traces().Count(), static_cast<size_t>(kTempFiles));
  EXPECT_EQ(TempFilesLeft(), kTempFiles);
}

TEST_F(WizardRunTest, ADetailDialogOpenedAndClosedDuringTheScanLetsItFinish) {
  TCategoryForm& opera = *FindCategoryForm("Opera");
  TCategoryForm& explorer = *FindCategoryForm("Windows Explorer");
  HWND dialog = explorer.Handle(), ok = explorer.OkButton();
  bool shownMidScan = false;
  NextWithPressWhen([&opera] { return !opera.ScanPending(); },
                    [&] {
                      ShowWindow(dialog, SW_SHOW);
                      // A window of the scanning thread: shown once that thread looks at its messages.
                      shownMidScan = IsWindowVisible(dialog) != FALSE;
                      SendMessageA(ok, BM_CLICK, 0, 0);
                    });
  EXPECT_TRUE(shownMidScan);
  EXPECT_FALSE(IsWindowVisible(dialog));
  EXPECT_EQ(MainForm->State(), 2);
  EXPECT_EQ(WindowText(Main(TMainForm::kLabel7)), "Scan Complete");
  size_t ours = 0;
  for (size_t i = 0; i < opera.Traces().Count(); ++i) ours += opera.Traces().Item(i).location == Cache();
  EXPECT_EQ(ours, static_cast<size_t>(kTempFiles));
  EXPECT_EQ(g_ends, 0);
  EXPECT_EQ(TempFilesLeft(), kTempFiles);
}

TEST_F(WizardRunTest, CloseDuringTheCleanStopsBetweenTwoItemsAndEndsTheProgram) {
  SendMessageA(Main(TMainForm::kNextbtn), BM_CLICK, 0, 0);
  SendMessageA(Main(TMainForm::kNextbtn), BM_CLICK, 0, 0);
  ASSERT_EQ(MainForm->State(), 3);
  // The clean deletes in list order, which follows the folder's listing: once any file is
  // gone, it has begun.
  NextWithCloseWhen([this] {
    for (int i = 0; i < kTempFiles; i += 97)
      if (!Sandbox::Exists(Temp(i))) return true;
    return false;
  });
  EXPECT_EQ(g_ends, 1);
  const int left = TempFilesLeft();
  EXPECT_GT(left, 0) << "the clean ran to its end";
  EXPECT_LT(left, kTempFiles);
}

TEST_F(WizardRunTest, CloseWithNoRunEndsAtOnce) {
  SendMessageA(Main(TMainForm::kClosebtn), BM_CLICK, 0, 0);
  EXPECT_EQ(g_ends, 1);
  EXPECT_EQ(TempFilesLeft(), kTempFiles);
}

}  // namespace
