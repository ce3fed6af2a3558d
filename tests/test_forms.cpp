// Every category form: windows, trace lists, empty scans, file and registry traces.
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <memory>
#include <vector>

#include "tests/support/app_fixture.h"
#include "tests/support/list_reader.h"
#include "traces/probes.h"

using namespace zarn;
using namespace zarn::test;

namespace {

struct Expected {
  std::string caption;
  std::string title;
  const char* emptyLabel;
  const char* firstColumn;
  int height;
};

// The twelve categories, then a browser of the Chromium browsers' table each.
std::vector<Expected> EveryForm() {
  std::vector<Expected> all = {
      {"Windows Explorer", "Zarn Cleaner - Windows Explorer", "0 Files founds", "File Name", 437},
      {"Windows Applets", "Zarn Cleaner - Windows Applets", "No File Found", "File Name", 437},
      {"System", "Zarn Cleaner - System", nullptr, "File Names", 435},
      {"Internet Explorer", "Zarn Cleaner - Internet Explorer", "0 Files founds", "File Name", 437},
      {"Opera", "Zarn Cleaner - Opera", "0 Files founds", "File Name", 437},
      {"Mozilla Firefox", "Zarn Cleaner - Mozilla", "0 Files founds", "File Name", 437},
      {"Safari", "Zarn Cleaner - Safari", "0 Files founds", "File Name", 437},
      {"Microsoft Office", "Zarn Cleaner - Microsoft Office", "No File Found", "File Name", 437},
      {"Open Office", "Zarn Cleaner - Open Office", "No File Found", "File Name", 437},
      {"Adobe", "Zarn Cleaner - Adobe", "No File Found", "File Name", 437},
      {"Macromedia", "Zarn Cleaner - Macromedia ", "No Files Found", "File Name", 437},
      {"Media Player", "Zarn Cleaner - Media Player ", "No File Found", "File Name", 437},
  };
  for (const ChromiumBrowser& b : ChromiumBrowsers())
    all.push_back(
        {b.form.caption, std::string("Zarn Cleaner - ") + b.form.caption, "0 Files founds", "File Name", 437});
  return all;
}

class FormsTest : public AppTest {};

BOOL CALLBACK CollectFormClass(HWND hwnd, LPARAM lp) {
  char cls[64];
  GetClassNameA(hwnd, cls, sizeof cls);
  std::string name = cls;
  if (name.rfind("T", 0) == 0 && name != "TApplication")
    reinterpret_cast<std::vector<std::string>*>(lp)->push_back(name);
  return TRUE;
}

TEST_F(FormsTest, EveryFormHasItsTitleColumnsAndFindsNothingInAnEmptyProfile) {
  // The program's own list of forms, each with its row above, and every row a form's.
  const std::vector<TCategoryForm*> forms = CategoryForms();
  const std::vector<Expected> expected = EveryForm();
  ASSERT_EQ(forms.size(), expected.size());
  for (const Expected& e : expected) {
    SCOPED_TRACE(e.caption);
    TCategoryForm* form = FindCategoryForm(e.caption);
    ASSERT_NE(form, nullptr);
    EXPECT_NE(std::find(forms.begin(), forms.end(), form), forms.end());
    HWND hwnd = form->Handle();
    EXPECT_EQ(WindowText(hwnd), e.title);
    EXPECT_FALSE(IsWindowVisible(hwnd));
    RECT r;
    GetWindowRect(hwnd, &r);
    EXPECT_EQ(r.right - r.left, 700);
    EXPECT_EQ(r.bottom - r.top, e.height);
    EXPECT_EQ(ColumnCaptions(form->Traces().Handle()),
              (std::vector<std::string>{e.firstColumn, "File Location", "File Type", "File Info", "File Size"}));
    DWORD ex = ListView_GetExtendedListViewStyle(form->Traces().Handle());
    EXPECT_TRUE(ex & LVS_EX_CHECKBOXES);
    EXPECT_TRUE(ex & LVS_EX_FULLROWSELECT);
    EXPECT_EQ(GetWindowLongA(form->Traces().Handle(), GWL_STYLE) & LVS_TYPEMASK, LVS_REPORT);
    // The profile is empty: nothing is found. The System form may still show the machine's
    // recycle bin and clipboard, which no profile holds.
    std::vector<ShownRow> rows = ReadList(form->Traces().Handle());
    if (e.emptyLabel) {
      EXPECT_EQ(form->FoundCount(), 0);
      EXPECT_EQ(WindowText(form->StatusLabel()), e.emptyLabel);
    } else {
      std::erase_if(
          rows, [](const ShownRow& row) { return row.Location() == "Recycle Bin" || row.Location() == "Clipboard"; });
    }
    EXPECT_TRUE(rows.empty()) << rows.size() << " rows, the first " << (rows.empty() ? "" : rows[0].Name());
    EXPECT_EQ(WindowText(form->OkButton()), "OK");
    EXPECT_EQ(WindowText(form->CancelButton()), "Cancel");
    RECT ok, cancel;
    GetWindowRect(form->OkButton(), &ok);
    GetWindowRect(form->CancelButton(), &cancel);
    EXPECT_LT(ok.left, cancel.left);
    EXPECT_FALSE(IsWindowVisible(form->ScanButton()));
    EXPECT_FALSE(IsWindowVisible(form->DelButton()));
  }
  // The Explorer form names its "OK" button XiButton1; the others XiButton2.
  EXPECT_EQ(GetDlgCtrlID(DetailsForm->OkButton()), IDOK);
  EXPECT_TRUE(DetailsForm->Traits().okIsButton1);
  EXPECT_FALSE(OperaForm->Traits().okIsButton1);
}

TEST_F(FormsTest, OnlyTheMainWindowIsVisibleAndFormsWereCreatedInOrder) {
  std::vector<std::string> classes;
  EnumThreadWindows(GetCurrentThreadId(), CollectFormClass, reinterpret_cast<LPARAM>(&classes));
  // Newest hidden windows come first in the z-order; the shown main window went to the top.
  std::vector<std::string> created(classes.rbegin(), classes.rend());
  ASSERT_FALSE(created.empty());
  EXPECT_EQ(created.back(), "TMainForm");
  created.pop_back();
  std::vector<std::string> order = {"TDetailsForm",   "TWindSysForm", "TadobeForm",  "TmacromediaForm",
                                    "TMsofficeForm",  "TInterForm",   "TSafariForm", "TmediaplayForm",
                                    "TwinappletForm", "TmozzForm",    "TFormabout",  "TOpenofficeForm",
                                    "TOperaForm"};
  for (const ChromiumBrowser& b : ChromiumBrowsers()) order.push_back(b.form.className);
  EXPECT_EQ(created, order);
  EXPECT_FALSE(IsWindowVisible(Formabout->Handle()));
}

TEST_F(FormsTest, ExplorerStatusAppearsOnlyAfterItsFirstScan) {
  // The program's forms wait for the wizard to scan them; reading the status label runs
  // the waiting scan, and the status then shows.
  ASSERT_TRUE(DetailsForm->ScanPending());
  EXPECT_FALSE(GetWindowLongA(DetailsForm->StatusIcon(), GWL_STYLE) & WS_VISIBLE);
  EXPECT_TRUE(GetWindowLongA(DetailsForm->StatusLabel(), GWL_STYLE) & WS_VISIBLE);
  EXPECT_FALSE(DetailsForm->ScanPending());
  EXPECT_TRUE(GetWindowLongA(DetailsForm->StatusIcon(), GWL_STYLE) & WS_VISIBLE);
}

TEST_F(FormsTest, DetailDialogHidesOnOkCancelAndCloseAndKeepsTicks) {
  // Items added to a live form go on the list of its first scan.
  TCategoryForm& form = DetailsForm->Scanned();
  form.AddFileTrace(sandbox.Dir() + "\\a.txt", "info", "1 bytes");
  form.AddFileTrace(sandbox.Dir() + "\\b.txt", "info", "1 bytes");
  for (int button : {IDOK, IDCANCEL, -1}) {
    form.ShowDetail();
    EXPECT_TRUE(IsWindowVisible(form.Handle()));
    SetTick(form.Traces().Handle(), 1, false);
    if (button == -1)
      SendMessageA(form.Handle(), WM_CLOSE, 0, 0);
    else
      SendMessageA(button == IDOK ? form.OkButton() : form.CancelButton(), BM_CLICK, 0, 0);
    EXPECT_FALSE(IsWindowVisible(form.Handle()));
    EXPECT_TRUE(form.Traces().IsTicked(0));
    EXPECT_FALSE(form.Traces().IsTicked(1));
  }
}

class TraceRulesTest : public AppTest {};

TEST_F(TraceRulesTest, FileTraceSplitsPathAndSizesIt) {
  const std::string dir = sandbox.Dir() + "\\f\\";
  Sandbox::WriteFile(dir + "report.final.doc", std::string(1536, 'x'));
  TCategoryForm& form = *OperaForm;
  form.ClickScan();
  form.AddFileTrace(dir + "report.final.doc", nullptr, "Some Info");
  form.AddFileTrace(dir + "missing", nullptr, "Some Info");
  auto rows = ReadList(form.Traces().Handle());
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_TRUE(rows[0].ticked);
  EXPECT_EQ(rows[0].cells, (std::vector<std::string>{"report.final.doc", dir, ".doc", "Some Info", "1.50 KB"}));
  EXPECT_EQ(rows[1].cells, (std::vector<std::string>{"missing", dir, "", "Some Info", "-1 bytes"}));
}

TEST_F(TraceRulesTest, RegistryTraceReadsItsInfoAndHasNoSize) {
  Sandbox::SetString(Root::HKCU, "Software\\Test\\MRU", "a", "C:\\doc.txt");
  Sandbox::SetString(Root::HKLM, "Software\\Test\\MRU", "a", "machine");
  TCategoryForm& form = winappletForm->Scanned();
  form.AddRegistryTrace(Root::HKCU, "\\Software\\Test\\MRU", "a");
  form.AddRegistryTrace(Root::HKLM, "\\Software\\Test\\MRU", "a");
  form.AddRegistryTrace(Root::HKCU, "\\Software\\Test\\MRU", "sub", "Fixed text");
  form.AddRegistryTrace(Root::HKCU, "\\Software\\Test\\MRU", "missing");
  auto rows = ReadList(form.Traces().Handle());
  ASSERT_EQ(rows.size(), 4u);
  EXPECT_EQ(rows[0].cells,
            (std::vector<std::string>{"a", "HKCU\\Software\\Test\\MRU", "Registry Data", "C:\\doc.txt", ""}));
  EXPECT_EQ(rows[1].Location(), "HKLM\\Software\\Test\\MRU");
  EXPECT_EQ(rows[1].Info(), "machine");
  EXPECT_EQ(rows[2].Info(), "Fixed text");
  EXPECT_EQ(rows[3].Info(), "");
}

TEST_F(TraceRulesTest, NewScanRebuildsEveryItemTickedAndCleanLeavesTheList) {
  const std::string run = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RunMRU";
  Sandbox::SetString(Root::HKCU, run, "a", "notepad\\1");
  Sandbox::SetString(Root::HKCU, run, "b", "calc\\1");
  TCategoryForm& form = *DetailsForm;
  form.ClickScan();
  ASSERT_EQ(form.Traces().Count(), 2u);
  EXPECT_EQ(form.FoundCount(), 2);
  EXPECT_EQ(WindowText(form.StatusLabel()), "2 Files founds");
  SetTick(form.Traces().Handle(), 0, false);
  form.ClickDelete();
  EXPECT_EQ(form.Traces().Count(), 2u);
  EXPECT_FALSE(form.Traces().IsTicked(0));
  EXPECT_EQ(form.FoundCount(), 2);
  form.ClickScan();
  ASSERT_EQ(form.Traces().Count(), 1u);
  EXPECT_TRUE(form.Traces().IsTicked(0));
}

}  // namespace
