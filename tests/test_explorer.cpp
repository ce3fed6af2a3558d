// The Windows Explorer scan and its clean, end to end in the sandbox.
#include <gtest/gtest.h>

#include "categories/explorer.h"
#include "tests/support/category_test.h"

using namespace zarn;
using namespace zarn::test;

namespace {

const std::string kExplorer = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer";
const std::string kRun = kExplorer + "\\RunMRU";
const std::string kOpenSave = kExplorer + "\\ComDlg32\\OpenSaveMRU";
const std::string kAcMru = "Software\\Microsoft\\Search Assistant\\ACMru";
const std::string kD3D = "Software\\Microsoft\\Direct3D\\MostRecentApplication";
const std::string kDDraw = "Software\\Microsoft\\DirectDraw\\MostRecentApplication";

class ExplorerTest : public CategoryTest {
 protected:
  std::vector<ShownRow> Scan() {
    if (!form.Handle()) {
      EXPECT_TRUE(form.Create());
    } else
      form.ClickScan();
    return ReadList(form.Traces().Handle());
  }
  TDetailsForm form;
};

TEST_F(ExplorerTest, RecentShortcutsBecomeFileTraces) {
  Sandbox::WriteFile(sandbox.recent + "\\one.lnk", std::string(2048, 'x'));
  Sandbox::WriteFile(sandbox.recent + "\\two.lnk", "x");
  Sandbox::WriteFile(sandbox.recent + "\\three.lnk", "x");
  Sandbox::WriteFile(sandbox.recent + "\\notes.txt", "x");
  auto rows = Scan();
  ASSERT_EQ(rows.size(), 3u);
  for (const ShownRow& r : rows) {
    EXPECT_TRUE(r.ticked);
    EXPECT_EQ(r.Location(), sandbox.recent + "\\");
    EXPECT_EQ(r.Type(), ".lnk");
    EXPECT_EQ(r.Info(), "All items listed in Recent Documents");
  }
  EXPECT_EQ(rows[FindRow(form.Traces().Handle(), "one.lnk")].Size(), "2.00 KB");
  EXPECT_EQ(WindowText(form.StatusLabel()), "3 Files founds");
  EXPECT_EQ(form.FoundCount(), 3);
}

TEST_F(ExplorerTest, WithoutARecentFolderValueNothingIsListedFromTheDriveRoot) {
  Sandbox::DeleteValue(Root::HKCU, kExplorer + "\\Shell Folders", "Recent");
  EXPECT_TRUE(Scan().empty());
  Sandbox::SetString(Root::HKCU, kExplorer + "\\Shell Folders", "Recent", "");
  EXPECT_TRUE(Scan().empty());
  EXPECT_EQ(WindowText(form.StatusLabel()), "0 Files founds");
}

TEST_F(ExplorerTest, NameRulesOfTheRegistryLists) {
  Sandbox::SetString(Root::HKCU, kRun, "a", "cmd\\1");
  Sandbox::SetString(Root::HKCU, kRun, "b", "regedit\\1");
  Sandbox::SetString(Root::HKCU, kRun, "MRUList", "ba");
  Sandbox::SetString(Root::HKCU, kOpenSave, "MRUList", "a");
  // Value names are not case-sensitive in the registry; the rule compares the stored name.
  Sandbox::SetString(Root::HKCU, kExplorer + "\\Map Network Drive MRU", "mrulist", "other case");
  Sandbox::SetString(Root::HKCU, kOpenSave + "\\*", "a", "C:\\x.doc");
  Sandbox::CreateKey(Root::HKCU, kOpenSave + "\\txt");
  Sandbox::SetString(Root::HKCU, kD3D, "Name", "game.exe");
  Sandbox::SetString(Root::HKCU, kD3D, "Other", "ignored");
  Sandbox::SetString(Root::HKLM, kDDraw, "Name", "old.exe");
  Sandbox::SetString(Root::HKCU, kExplorer + "\\ComputerDescriptions", "\\\\server", "File server");
  auto rows = Scan();

  auto has = [&](const std::string& location, const std::string& name) {
    for (auto& r : rows)
      if (r.Location() == location && r.Name() == name) return true;
    return false;
  };
  EXPECT_TRUE(has("HKCU\\" + kRun, "MRUList"));
  EXPECT_TRUE(has("HKCU\\" + kRun, "a"));
  EXPECT_FALSE(has("HKCU\\" + kOpenSave, "MRUList"));
  EXPECT_TRUE(has("HKCU\\" + kExplorer + "\\Map Network Drive MRU", "mrulist"));
  EXPECT_TRUE(has("HKCU\\" + kOpenSave, "*"));
  EXPECT_TRUE(has("HKCU\\" + kOpenSave, "txt"));
  EXPECT_TRUE(has("HKCU\\" + kD3D, "Name"));
  EXPECT_FALSE(has("HKCU\\" + kD3D, "Other"));
  EXPECT_TRUE(has("HKLM\\" + kDDraw, "Name"));
  EXPECT_TRUE(has("HKCU\\" + kExplorer + "\\ComputerDescriptions", "\\\\server"));
  EXPECT_EQ(rows.size(), 9u);
  for (auto& r : rows) {
    EXPECT_EQ(r.Type(), "Registry Data");
    EXPECT_EQ(r.Size(), "");
    if (r.Name() == "Name" && r.Location().rfind("HKCU", 0) == 0) {
      EXPECT_EQ(r.Info(), "game.exe");
    }
    if (r.Name() == "txt") {
      EXPECT_EQ(r.Info(), "");
    }
    if (r.Name() == "a" && r.Location() == "HKCU\\" + kRun) {
      EXPECT_EQ(r.Info(), "cmd\\1");
    }
  }
  // RunMRU first, OpenSaveMRU values before its subkeys, the DirectDraw key last.
  EXPECT_EQ(rows.front().Location(), "HKCU\\" + kRun);
  EXPECT_EQ(rows.back().Location(), "HKLM\\" + kDDraw);
}

TEST_F(ExplorerTest, SearchAssistantSubkeysAreListedValueByValue) {
  Sandbox::SetString(Root::HKCU, kAcMru + "\\5001", "000", "holiday");
  Sandbox::SetString(Root::HKCU, kAcMru + "\\5001", "001", "taxes");
  Sandbox::SetString(Root::HKCU, kAcMru + "\\5603", "000", "*.doc");
  auto rows = Scan();
  ASSERT_EQ(rows.size(), 3u);
  int in5001 = 0, in5603 = 0;
  for (auto& r : rows) {
    if (r.Location() == "HKCU\\" + kAcMru + "\\5001\\") ++in5001;
    if (r.Location() == "HKCU\\" + kAcMru + "\\5603\\") {
      ++in5603;
      EXPECT_EQ(r.Info(), "*.doc");
    }
  }
  EXPECT_EQ(in5001, 2);
  EXPECT_EQ(in5603, 1);
}

TEST_F(ExplorerTest, CleanDeletesExactlyWhatWasTicked) {
  const std::string keep = sandbox.recent + "\\keep.lnk", drop = sandbox.recent + "\\drop.lnk";
  Sandbox::WriteFile(keep);
  Sandbox::WriteFile(drop);
  Sandbox::WriteFile(sandbox.recent + "\\notes.txt");
  Sandbox::SetString(Root::HKCU, kRun, "a", "cmd");
  Sandbox::SetString(Root::HKCU, kRun, "b \xE9.x", "notepad");
  Sandbox::SetString(Root::HKCU, kAcMru + "\\5001", "000", "holiday");
  Sandbox::SetString(Root::HKCU, kOpenSave, "a", "C:\\x.doc");
  Sandbox::SetString(Root::HKCU, kOpenSave, "MRUList", "a");
  Sandbox::SetString(Root::HKCU, kOpenSave + "\\txt", "a", "C:\\x.txt");
  Sandbox::SetString(Root::HKCU, kOpenSave + "\\txt\\nested", "z", "deep");
  Sandbox::SetString(Root::HKCU, kOpenSave + "\\doc", "a", "C:\\y.doc");
  Sandbox::SetString(Root::HKLM, kD3D, "Name", "m.exe");
  Sandbox::SetString(Root::HKLM, kD3D, "Other", "stays");
  Sandbox::SetString(Root::HKCU, kD3D, "Name", "u.exe");
  Sandbox::SetString(Root::HKLM, kDDraw, "Name", "d.exe");
  auto rows = Scan();
  HWND list = form.Traces().Handle();
  int doc = -1;
  for (size_t i = 0; i < rows.size(); ++i)
    if (rows[i].Name() == "doc") doc = static_cast<int>(i);
  ASSERT_GE(doc, 0);
  SetTick(list, doc, false);
  SetTick(list, FindRow(list, "keep.lnk"), false);
  // The user-root Direct3D value stays unticked too: only the machine's one goes.
  for (size_t i = 0; i < rows.size(); ++i)
    if (rows[i].Name() == "Name" && rows[i].Location() == "HKCU\\" + kD3D) SetTick(list, static_cast<int>(i), false);
  form.ClickDelete();

  EXPECT_TRUE(Sandbox::Exists(keep));
  EXPECT_FALSE(Sandbox::Exists(drop));
  EXPECT_TRUE(Sandbox::Exists(sandbox.recent + "\\notes.txt"));
  EXPECT_FALSE(Sandbox::ValueExists(Root::HKCU, kRun, "a"));
  EXPECT_FALSE(Sandbox::ValueExists(Root::HKCU, kRun, "b \xE9.x"));
  EXPECT_FALSE(Sandbox::ValueExists(Root::HKCU, kAcMru + "\\5001", "000"));
  EXPECT_FALSE(Sandbox::ValueExists(Root::HKCU, kOpenSave, "a"));
  EXPECT_TRUE(Sandbox::ValueExists(Root::HKCU, kOpenSave, "MRUList"));
  EXPECT_FALSE(Sandbox::KeyExists(Root::HKCU, kOpenSave + "\\txt"));
  EXPECT_TRUE(Sandbox::KeyExists(Root::HKCU, kOpenSave + "\\doc"));
  EXPECT_TRUE(Sandbox::KeyExists(Root::HKCU, kOpenSave));
  EXPECT_FALSE(Sandbox::ValueExists(Root::HKLM, kD3D, "Name"));
  EXPECT_TRUE(Sandbox::ValueExists(Root::HKLM, kD3D, "Other"));
  EXPECT_TRUE(Sandbox::ValueExists(Root::HKCU, kD3D, "Name"));
  EXPECT_FALSE(Sandbox::ValueExists(Root::HKLM, kDDraw, "Name"));
  // The list and the count stay as the scan left them.
  EXPECT_EQ(ReadList(list).size(), rows.size());
  EXPECT_EQ(form.FoundCount(), static_cast<int>(rows.size()));
}

TEST_F(ExplorerTest, CleanPassesOverVanishedAndBusyFilesSilently) {
  const std::string gone = sandbox.recent + "\\gone.lnk", busy = sandbox.recent + "\\busy.lnk";
  Sandbox::WriteFile(gone);
  Sandbox::WriteFile(busy);
  Scan();
  DeleteFileA(gone.c_str());
  HANDLE h = CreateFileA(busy.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  form.ClickDelete();
  EXPECT_TRUE(Sandbox::Exists(busy));
  CloseHandle(h);
}

}  // namespace
