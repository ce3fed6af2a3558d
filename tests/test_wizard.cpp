// The wizard driven through its real windows: pages, rows, progress, dispatch and drill-down.
#include <gtest/gtest.h>

#include "app/wizard_lists.h"
#include "tests/support/app_fixture.h"
#include "tests/support/list_reader.h"

using namespace zarn;
using namespace zarn::test;

namespace {

const std::string kRun = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RunMRU";

class WizardTest : public AppTest {
 protected:
  void Seed() override {
    Sandbox::SetString(Root::HKCU, kRun, "a", "cmd");
    Sandbox::SetString(Root::HKCU, kRun, "b", "calc");
    Sandbox::CreateKey(Root::HKCU, "Software\\Macromedia");
  }
  void Press(int id) { SendMessageA(Main(id), BM_CLICK, 0, 0); }
  bool Visible(int id) { return IsWindowVisible(Main(id)) != FALSE; }
  bool Enabled(int id) { return IsWindowEnabled(Main(id)) != FALSE; }
  std::string Text(int id) { return WindowText(Main(id)); }
  // Leaves only the named catalogue rows ticked.
  void TickOnly(std::initializer_list<const char*> captions) {
    HWND lvall = Main(TMainForm::kLvall);
    auto rows = ReadList(lvall);
    for (size_t i = 0; i < rows.size(); ++i) {
      bool want = false;
      for (const char* c : captions) want |= rows[i][0] == c;
      SetTick(lvall, static_cast<int>(i), want);
    }
  }
};

TEST_F(WizardTest, PageOneLayout) {
  RECT r;
  GetWindowRect(MainForm->Handle(), &r);
  EXPECT_EQ(r.right - r.left, 555);
  EXPECT_EQ(r.bottom - r.top, 435);
  EXPECT_EQ(WindowText(MainForm->Handle()), "ZARN CLEANER");
  EXPECT_EQ(MainForm->State(), 1);
  EXPECT_EQ(Text(TMainForm::kLabel1), "Welcome to Zarn Cleaner");
  EXPECT_EQ(Text(TMainForm::kLabel5), "Please select category you wish to scan from list above and click button Next ");
  EXPECT_FALSE(Visible(TMainForm::kBackbtn));
  EXPECT_FALSE(Visible(TMainForm::kFinishBtn));
  for (int id : {TMainForm::kNextbtn, TMainForm::kClosebtn, TMainForm::kHelpbtn, TMainForm::kAboutbtn})
    EXPECT_TRUE(Visible(id));
  EXPECT_EQ(Text(TMainForm::kNextbtn), "Next >");
  EXPECT_EQ(Text(TMainForm::kBackbtn), "< Back");
  GetWindowRect(Main(TMainForm::kNextbtn), &r);
  EXPECT_EQ(r.right - r.left, 75);
  EXPECT_EQ(r.bottom - r.top, 25);
}

TEST_F(WizardTest, BothBarsAreSkyGradientBarsSixteenHigh) {
  for (const TXiProgressBar* bar : {&MainForm->PB2(), &MainForm->PB()}) {
    EXPECT_EQ(bar->ColorScheme(), TXiProgressBar::csSky);
    EXPECT_EQ(bar->Min(), 0);
    EXPECT_EQ(bar->Step(), 1);
    RECT r;
    GetWindowRect(bar->Handle(), &r);
    EXPECT_EQ(r.bottom - r.top, 16);
  }
}

TEST_F(WizardTest, NothingTickedOnPageThreeAsksForACategoryToo) {
  TickOnly({"Windows Explorer"});
  Press(TMainForm::kNextbtn);
  Press(TMainForm::kNextbtn);
  SetTick(Main(TMainForm::kLv3), 0, false);
  MessageBoxWatcher watcher;
  Press(TMainForm::kNextbtn);
  PumpMessages(100);
  EXPECT_EQ(watcher.Text(), "Please Select Category !");
  EXPECT_EQ(MainForm->State(), 3);
  EXPECT_TRUE(Sandbox::ValueExists(Root::HKCU, kRun, "a"));
}

TEST_F(WizardTest, NothingTickedAsksForACategory) {
  TickOnly({});
  MessageBoxWatcher watcher;
  Press(TMainForm::kNextbtn);
  PumpMessages(100);
  EXPECT_EQ(watcher.Count(), 1);
  EXPECT_EQ(watcher.Text(), "Please Select Category !");
  EXPECT_EQ(watcher.Title(), "Zarn Cleaner 2008");
  EXPECT_EQ(MainForm->State(), 1);
}

TEST_F(WizardTest, ScanCleanAndBackThroughAllFourPages) {
  TickOnly({"Windows Explorer", "Windows Applets", "Macromedia"});
  Press(TMainForm::kNextbtn);
  EXPECT_EQ(MainForm->State(), 2);
  HWND lv2 = Main(TMainForm::kLv2);
  EXPECT_EQ(ColumnCaptions(lv2), (std::vector<std::string>{"   Category", " Scan Progress"}));
  auto rows = ReadList(lv2);
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[0].cells, (std::vector<std::string>{"Windows Explorer", "100 %"}));
  EXPECT_EQ(rows[2][0], "Macromedia");
  for (int i = 0; i < 3; ++i) EXPECT_EQ(RowImage(lv2, i), 1);
  EXPECT_EQ(MainForm->PB2().Max(), 300);
  EXPECT_EQ(MainForm->PB2().Position(), 300);
  EXPECT_EQ(Text(TMainForm::kLabel7), "Scan Complete");
  EXPECT_EQ(Text(TMainForm::kLabel8), "Click Next to display all files found.");
  EXPECT_TRUE(Enabled(TMainForm::kBackbtn));
  EXPECT_TRUE(Enabled(TMainForm::kNextbtn));

  Press(TMainForm::kNextbtn);
  EXPECT_EQ(MainForm->State(), 3);
  HWND lv3 = Main(TMainForm::kLv3);
  EXPECT_EQ(ColumnCaptions(lv3), (std::vector<std::string>{"     Category", "Number of Files", "Clean Progress"}));
  rows = ReadList(lv3);
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[0].cells, (std::vector<std::string>{"Windows Explorer", "2", "0 %"}));
  EXPECT_EQ(rows[2].cells, (std::vector<std::string>{"Macromedia", "0", "0 %"}));
  for (auto& r : rows) EXPECT_TRUE(r.ticked);
  EXPECT_EQ(Text(TMainForm::kLabel9), "Double click category  name to show detail files");
  EXPECT_TRUE(IsWindowVisible(lv3));
  EXPECT_FALSE(IsWindowVisible(Main(TMainForm::kLvclean)));

  // Unticked on page 3: left out of page 4 and not cleaned.
  SetTick(lv3, 1, false);
  Press(TMainForm::kNextbtn);
  EXPECT_EQ(MainForm->State(), 4);
  HWND lvclean = Main(TMainForm::kLvclean);
  rows = ReadList(lvclean);
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0].cells, (std::vector<std::string>{"Windows Explorer", "0", "100 %"}));
  EXPECT_EQ(rows[1].cells, (std::vector<std::string>{"Macromedia", "0", "100 %"}));
  EXPECT_EQ(RowImage(lvclean, 0), 1);
  EXPECT_EQ(RowImage(lvclean, 1), 1);
  EXPECT_EQ(MainForm->PB().Max(), 200);
  EXPECT_FALSE(Sandbox::ValueExists(Root::HKCU, kRun, "a"));
  EXPECT_EQ(Text(TMainForm::kLabel9), "Complete Cleaning");
  EXPECT_EQ(Text(TMainForm::kLabel10), "You have finished cleaning selected category.");
  EXPECT_TRUE(Visible(TMainForm::kFinishBtn));
  EXPECT_FALSE(Visible(TMainForm::kNextbtn));

  Press(TMainForm::kBackbtn);
  EXPECT_EQ(MainForm->State(), 1);
  EXPECT_TRUE(Visible(TMainForm::kPanel2));
  EXPECT_FALSE(Visible(TMainForm::kFinishBtn));
  EXPECT_TRUE(Visible(TMainForm::kNextbtn));
  EXPECT_FALSE(Visible(TMainForm::kBackbtn));
  auto catalogue = ReadList(Main(TMainForm::kLvall));
  EXPECT_TRUE(catalogue[0].ticked);
  EXPECT_FALSE(catalogue[2].ticked);
}

TEST_F(WizardTest, BackFromPageTwoAndRescan) {
  TickOnly({"Windows Explorer"});
  Press(TMainForm::kNextbtn);
  Press(TMainForm::kBackbtn);
  EXPECT_EQ(MainForm->State(), 1);
  EXPECT_FALSE(Visible(TMainForm::kPanel3));
  EXPECT_TRUE(Visible(TMainForm::kPanel2));
  Sandbox::SetString(Root::HKCU, kRun, "c", "new");
  Press(TMainForm::kNextbtn);
  EXPECT_EQ(DetailsForm->FoundCount(), 3);
}

// Watches one row while the animation runs: the image blinks off for steps 41 to 79.
struct AnimationProbe {
  HWND list;
  int row;
  int withImage = 0, withoutImage = 0, previousDone = 0, samples = 0;
  static void CALLBACK Tick(HWND, UINT, UINT_PTR id, DWORD) {
    auto* p = reinterpret_cast<AnimationProbe*>(id);
    int count = RowCount(p->list);
    if (p->row >= count) return;
    std::string progress = Cell(p->list, p->row, 1);
    int step = std::atoi(progress.c_str());
    int image = RowImage(p->list, p->row);
    ++p->samples;
    if (step >= 45 && step <= 75) p->withoutImage += image == I_IMAGENONE;
    if (step >= 45 && step <= 75) p->withImage += image >= 0 && image != 1 ? 1 : 0;
    if (p->row > 0) p->previousDone += RowImage(p->list, p->row - 1) == 1;
  }
};

TEST_F(WizardTest, AnimationBlinksAndMarksThePreviousRowDone) {
  TickOnly({"Windows Explorer", "Windows Applets"});
  AnimationProbe probe{Main(TMainForm::kLv2), 1};
  // Timer messages reach the probe while the animation handles pending messages.
  UINT_PTR timer = SetTimer(nullptr, 0, 20, nullptr);
  (void)timer;
  SetTimer(MainForm->Handle(), reinterpret_cast<UINT_PTR>(&probe), 10, AnimationProbe::Tick);
  DWORD start = GetTickCount();
  Press(TMainForm::kNextbtn);
  DWORD elapsed = GetTickCount() - start;
  KillTimer(MainForm->Handle(), reinterpret_cast<UINT_PTR>(&probe));
  EXPECT_GE(elapsed, 2u * 101u * 5u);
  EXPECT_GT(probe.samples, 0);
  EXPECT_GT(probe.withoutImage, 0);
  EXPECT_EQ(probe.withImage, 0);
  EXPECT_GT(probe.previousDone, 0);
}

TEST_F(WizardTest, NothingReentersWhileTheAnimationRuns) {
  TickOnly({"Windows Explorer"});
  struct Clicker {
    static void CALLBACK Tick(HWND hwnd, UINT, UINT_PTR, DWORD) {
      // A click that a disabled button would still deliver, and a keyboard Enter.
      SendMessageA(hwnd, WM_COMMAND, MAKEWPARAM(TMainForm::kNextbtn, BN_CLICKED), 0);
      SendMessageA(hwnd, WM_COMMAND, MAKEWPARAM(TMainForm::kBackbtn, BN_CLICKED), 0);
    }
  };
  SetTimer(MainForm->Handle(), 77, 15, Clicker::Tick);
  Press(TMainForm::kNextbtn);
  KillTimer(MainForm->Handle(), 77);
  EXPECT_EQ(MainForm->State(), 2);
  EXPECT_EQ(ReadList(Main(TMainForm::kLv2)).size(), 1u);
  EXPECT_EQ(Text(TMainForm::kLabel7), "Scan Complete");
}

TEST_F(WizardTest, DoubleClickOpensTheDetailDialogOrExplainsAnEmptyCategory) {
  TickOnly({"Windows Explorer", "Macromedia"});
  Press(TMainForm::kNextbtn);
  Press(TMainForm::kNextbtn);
  HWND lv3 = Main(TMainForm::kLv3);
  NMHDR dbl{lv3, static_cast<UINT_PTR>(TMainForm::kLv3), static_cast<UINT>(NM_DBLCLK)};

  // No selection: nothing.
  SendMessageA(MainForm->Handle(), WM_NOTIFY, TMainForm::kLv3, reinterpret_cast<LPARAM>(&dbl));
  EXPECT_FALSE(IsWindowVisible(DetailsForm->Handle()));

  ListView_SetItemState(lv3, 1, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  {
    MessageBoxWatcher watcher;
    SendMessageA(MainForm->Handle(), WM_NOTIFY, TMainForm::kLv3, reinterpret_cast<LPARAM>(&dbl));
    PumpMessages(100);
    EXPECT_EQ(watcher.Text(), "No file have to cleaned in this category");
  }
  EXPECT_FALSE(IsWindowVisible(macromediaForm->Handle()));

  ListView_SetItemState(lv3, 0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  SendMessageA(MainForm->Handle(), WM_NOTIFY, TMainForm::kLv3, reinterpret_cast<LPARAM>(&dbl));
  EXPECT_TRUE(IsWindowVisible(DetailsForm->Handle()));
  EXPECT_EQ(ReadList(DetailsForm->Traces().Handle()).size(), 2u);
  // Again: the same window comes to the front, no second one.
  SendMessageA(MainForm->Handle(), WM_NOTIFY, TMainForm::kLv3, reinterpret_cast<LPARAM>(&dbl));
  EXPECT_TRUE(IsWindowVisible(DetailsForm->Handle()));
  // Several detail dialogs can be open at once, and the wizard stays usable.
  macromediaForm->ShowDetail();
  EXPECT_TRUE(IsWindowVisible(macromediaForm->Handle()));
  EXPECT_TRUE(IsWindowVisible(DetailsForm->Handle()));
  EXPECT_TRUE(IsWindowEnabled(MainForm->Handle()));
  SendMessageA(macromediaForm->OkButton(), BM_CLICK, 0, 0);

  // Untick one trace in the dialog, close it with Cancel, clean: only the ticked one goes.
  int a = FindRow(DetailsForm->Traces().Handle(), "a");
  SetTick(DetailsForm->Traces().Handle(), a, false);
  SendMessageA(DetailsForm->CancelButton(), BM_CLICK, 0, 0);
  EXPECT_FALSE(IsWindowVisible(DetailsForm->Handle()));
  Press(TMainForm::kNextbtn);
  EXPECT_TRUE(Sandbox::ValueExists(Root::HKCU, kRun, "a"));
  EXPECT_FALSE(Sandbox::ValueExists(Root::HKCU, kRun, "b"));
}

std::string g_opened;
void Remember(const char* address) { g_opened = address; }

TEST_F(WizardTest, HelpAndAboutBox) {
  SetUrlOpener(Remember);
  g_opened.clear();
  Press(TMainForm::kHelpbtn);
  EXPECT_EQ(g_opened, kWebAddress);

  Press(TMainForm::kAboutbtn);
  HWND about = Formabout->Handle();
  EXPECT_TRUE(IsWindowVisible(about));
  EXPECT_EQ(WindowText(about), "Zarn Cleaner - About");
  RECT r;
  GetWindowRect(about, &r);
  EXPECT_EQ(r.right - r.left, 402);
  EXPECT_EQ(r.bottom - r.top, 270);
  EXPECT_EQ(WindowText(Formabout->Control(TFormabout::kLabel8)), "Version 3.0");
  EXPECT_EQ(WindowText(Formabout->Control(TFormabout::kLabel3)), "WARNING :");
  EXPECT_EQ(WindowText(Formabout->Control(TFormabout::kLabel1)), kWebAddress);
  g_opened.clear();
  SendMessageA(Formabout->Control(TFormabout::kPanel1), WM_COMMAND, MAKEWPARAM(TFormabout::kLabel1, STN_CLICKED),
               reinterpret_cast<LPARAM>(Formabout->Control(TFormabout::kLabel1)));
  EXPECT_EQ(g_opened, kWebAddress);
  SendMessageA(Formabout->Control(TFormabout::kButton1), BM_CLICK, 0, 0);
  EXPECT_FALSE(IsWindowVisible(about));
  SetUrlOpener(nullptr);
}

}  // namespace
