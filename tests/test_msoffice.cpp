// The Microsoft Office scan: the Recent folder, the three value rules and their exact
// case, the eight Access probes, and a clean that removes exactly the ticked traces.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "categories/MSoffice.h"
#include "tests/support/category_test.h"

using namespace zarn;
using namespace zarn::test;

namespace {

const char kExcel8[] = "Software\\Microsoft\\Office\\8.0\\Excel\\Recent File List";          // row 1
const char kProject8[] = "Software\\Microsoft\\Office\\8.0\\Project\\Recent File List";      // row 2
const char kInternet10[] = "Software\\Microsoft\\Office\\10.0\\Common\\Internet";            // row 13
const char kExcel11[] = "Software\\Microsoft\\Office\\11.0\\Excel\\Recent Files";            // row 16
const char kAccess12[] = "Software\\Microsoft\\Office\\12.0\\Access\\Settings";              // row 29
const char kInfoPath12[] = "Software\\Microsoft\\Office\\12.0\\InfoPath\\Recent File List";  // row 37

class MsofficeTest : public CategoryTest {
 protected:
  const std::string recent = sandbox.appData + "\\Microsoft\\Office\\Recent\\";
};

TEST_F(MsofficeTest, RecentFolderListsFilesAndSubfoldersButNotTheDots) {
  Sandbox::WriteFile(recent + "report.doc.LNK", std::string(1536, 'r'));
  Sandbox::WriteFile(recent + "index.dat", "");
  Sandbox::WriteFile(recent + "Old Links\\inner.lnk");
  HeldOpen held(recent + "index.dat", GENERIC_READ | GENERIC_WRITE);
  ASSERT_TRUE(held.Held());

  TMsofficeForm form;
  ASSERT_TRUE(form.Create());
  held.Release();
  auto rows = ReadList(form.Traces().Handle());
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(WindowText(form.StatusLabel()), "3 Files Found");
  for (const ShownRow& row : rows) {
    EXPECT_TRUE(row.ticked);
    EXPECT_EQ(row.Location(), recent);
    EXPECT_EQ(row.Info(), "Microsoft Office Recentlist");
    EXPECT_NE(row.Name(), ".");
    EXPECT_NE(row.Name(), "..");
  }
  const HWND lv = form.Traces().Handle();
  ASSERT_GE(FindRow(lv, "Old Links"), 0);
  EXPECT_EQ(rows[FindRow(lv, "Old Links")].Size(), "0 bytes");
  EXPECT_EQ(rows[FindRow(lv, "Old Links")].Type(), "");
  ASSERT_GE(FindRow(lv, "report.doc.LNK"), 0);
  EXPECT_EQ(rows[FindRow(lv, "report.doc.LNK")].Type(), ".LNK");
  EXPECT_EQ(rows[FindRow(lv, "report.doc.LNK")].Size(), "1.50 KB");
  // Held open by another program, still listed.
  ASSERT_GE(FindRow(lv, "index.dat"), 0);
  EXPECT_EQ(FindRow(lv, "inner.lnk"), -1);
}

TEST_F(MsofficeTest, AllButMRUListTakesTheDefaultValueAndOtherCases) {
  Sandbox::SetString(Root::HKCU, kExcel8, "File1", "C:\\a.xls");
  Sandbox::SetString(Root::HKCU, kExcel8, "MRUList", "ab");
  Sandbox::SetString(Root::HKCU, kExcel8, "", "the default");
  // Value names ignore case in the registry but keep their spelling: a lower-case
  // "mrulist" is another key's value here, and the exact comparison takes it.
  Sandbox::SetString(Root::HKCU, kProject8, "mrulist", "lower");
  Sandbox::CreateKey(Root::HKCU, std::string(kExcel8) + "\\Subkey");

  TMsofficeForm form;
  ASSERT_TRUE(form.Create());
  auto rows = ReadList(form.Traces().Handle());
  std::vector<std::string> expected;
  for (const std::string& name : EnumeratedValues(kExcel8))
    if (name != "MRUList") expected.push_back(name);
  ASSERT_EQ(expected.size(), 2u);
  expected.push_back("mrulist");
  EXPECT_EQ(Names(rows), expected);
  for (size_t i = 0; i + 1 < rows.size(); ++i) {
    const ShownRow& row = rows[i];
    EXPECT_EQ(row.Location(), "HKCU\\" + std::string(kExcel8));
    EXPECT_EQ(row.Type(), "Registry Data");
    EXPECT_EQ(row.Size(), "");
  }
  const HWND lv = form.Traces().Handle();
  ASSERT_GE(FindRow(lv, ""), 0);
  EXPECT_EQ(rows[FindRow(lv, "")].Info(), "the default");
  EXPECT_EQ(rows[FindRow(lv, "File1")].Info(), "C:\\a.xls");
  EXPECT_EQ(FindRow(lv, "Subkey"), -1);
}

TEST_F(MsofficeTest, AllNamedSkipsOnlyTheDefaultValueAndKeepsMRUList) {
  Sandbox::SetString(Root::HKCU, kExcel11, "a", "1");
  Sandbox::SetString(Root::HKCU, kExcel11, "b", "2");
  Sandbox::SetString(Root::HKCU, kExcel11, "MRUList", "ab");
  Sandbox::SetString(Root::HKCU, kExcel11, "", "the default");

  TMsofficeForm form;
  ASSERT_TRUE(form.Create());
  std::vector<std::string> expected;
  for (const std::string& name : EnumeratedValues(kExcel11))
    if (!name.empty()) expected.push_back(name);
  ASSERT_EQ(expected.size(), 3u);
  EXPECT_EQ(Names(ReadList(form.Traces().Handle())), expected);
}

TEST_F(MsofficeTest, OnlyXTakesTheExactNameAlone) {
  Sandbox::SetString(Root::HKCU, kInternet10, "userwhlinknavigation", "lower case");
  Sandbox::SetString(Root::HKCU, kInternet10, "Other", "x");
  Sandbox::SetString(Root::HKCU, kInternet10, "", "default");
  {
    TMsofficeForm form;
    ASSERT_TRUE(form.Create());
    EXPECT_EQ(form.FoundCount(), 0);
  }
  Sandbox::DeleteValue(Root::HKCU, kInternet10, "userwhlinknavigation");
  Sandbox::SetString(Root::HKCU, kInternet10, "UseRWHlinkNavigation", "yes");
  TMsofficeForm form;
  ASSERT_TRUE(form.Create());
  auto rows = ReadList(form.Traces().Handle());
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].Name(), "UseRWHlinkNavigation");
  EXPECT_EQ(rows[0].Info(), "yes");
}

TEST_F(MsofficeTest, AccessProbesRunInTheirOwnOrderNotTheRegistrys) {
  Sandbox::SetString(Root::HKCU, kAccess12, "MRU3", "c.accdb");
  Sandbox::SetString(Root::HKCU, kAccess12, "MRU1", "a.accdb");
  Sandbox::SetString(Root::HKCU, kAccess12, "MRU9", "i.accdb");
  Sandbox::SetString(Root::HKCU, kAccess12, "mru2", "lower");  // exact case only
  TMsofficeForm form;
  ASSERT_TRUE(form.Create());
  auto rows = ReadList(form.Traces().Handle());
  EXPECT_EQ(Names(rows), (std::vector<std::string>{"MRU1", "MRU3"}));
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0].Info(), "a.accdb");

  Sandbox::DeleteValue(Root::HKCU, kAccess12, "mru2");
  for (int i = 8; i >= 1; --i) Sandbox::SetString(Root::HKCU, kAccess12, "MRU" + std::to_string(i), "x");
  form.ClickScan();
  EXPECT_EQ(Names(ReadList(form.Traces().Handle())),
            (std::vector<std::string>{"MRU1", "MRU2", "MRU3", "MRU4", "MRU5", "MRU6", "MRU7", "MRU8"}));
}

TEST_F(MsofficeTest, FilesFirstThenKeysInTableOrder) {
  Sandbox::SetString(Root::HKCU, kInfoPath12, "z37", "");
  Sandbox::SetString(Root::HKCU, kExcel11, "y16", "");
  Sandbox::SetString(Root::HKCU, kExcel8, "x1", "");
  Sandbox::WriteFile(recent + "w.lnk");
  TMsofficeForm form;
  ASSERT_TRUE(form.Create());
  EXPECT_EQ(Names(ReadList(form.Traces().Handle())), (std::vector<std::string>{"w.lnk", "x1", "y16", "z37"}));
}

TEST_F(MsofficeTest, MissingAppDataListsNoRecentFolder) {
  Sandbox::WriteFile(recent + "w.lnk");
  Sandbox::DeleteValue(Root::HKCU, kShellFolders, "AppData");
  TMsofficeForm form;
  ASSERT_TRUE(form.Create());
  EXPECT_EQ(form.FoundCount(), 0);
}

TEST_F(MsofficeTest, CleanDeletesExactlyTheTickedTracesAndNeverALocationKey) {
  Sandbox::WriteFile(recent + "gone.lnk");
  Sandbox::WriteFile(recent + "kept.lnk");
  Sandbox::WriteFile(recent + "Folder\\inside.lnk");
  Sandbox::WriteFile(sandbox.appData + "\\Microsoft\\Office\\neighbour.dat");
  Sandbox::SetString(Root::HKCU, kExcel8, "", "default path");
  Sandbox::SetString(Root::HKCU, kExcel8, "File1", "a");
  Sandbox::SetString(Root::HKCU, kExcel8, "File2", "b");
  Sandbox::SetString(Root::HKCU, kExcel8, "MRUList", "ab");
  Sandbox::SetString(Root::HKCU, std::string(kExcel8) + "\\Sub", "inner", "v");
  Sandbox::SetString(Root::HKCU, kExcel11, "", "default");
  Sandbox::SetString(Root::HKCU, kExcel11, "File1", "c");
  Sandbox::SetString(Root::HKCU, "Software\\Microsoft\\Office\\8.0\\Excel", "Neighbour", "n");

  TMsofficeForm form;
  ASSERT_TRUE(form.Create());
  const HWND lv = form.Traces().Handle();
  ASSERT_EQ(form.FoundCount(), 7);  // 3 files, default + File1 + File2, File1
  SetTick(lv, FindRow(lv, "kept.lnk"), false);
  SetTick(lv, FindRow(lv, "File2"), false);
  form.ClickDelete();

  EXPECT_FALSE(Sandbox::Exists(recent + "gone.lnk"));
  EXPECT_TRUE(Sandbox::Exists(recent + "kept.lnk"));
  // A ticked subfolder is not a file: it stays with its contents.
  EXPECT_TRUE(Sandbox::Exists(recent + "Folder\\inside.lnk"));
  EXPECT_TRUE(Sandbox::Exists(sandbox.appData + "\\Microsoft\\Office\\neighbour.dat"));

  // The default value goes, its key and the key's other values and subkeys stay.
  EXPECT_FALSE(Sandbox::ValueExists(Root::HKCU, kExcel8, ""));
  EXPECT_TRUE(Sandbox::KeyExists(Root::HKCU, kExcel8));
  EXPECT_FALSE(Sandbox::ValueExists(Root::HKCU, kExcel8, "File1"));
  EXPECT_TRUE(Sandbox::ValueExists(Root::HKCU, kExcel8, "File2"));
  EXPECT_TRUE(Sandbox::ValueExists(Root::HKCU, kExcel8, "MRUList"));
  EXPECT_TRUE(Sandbox::ValueExists(Root::HKCU, std::string(kExcel8) + "\\Sub", "inner"));
  // A value trace whose name matches no subkey deletes no key.
  EXPECT_FALSE(Sandbox::ValueExists(Root::HKCU, kExcel11, "File1"));
  EXPECT_TRUE(Sandbox::ValueExists(Root::HKCU, kExcel11, ""));
  EXPECT_TRUE(Sandbox::KeyExists(Root::HKCU, kExcel11));
  EXPECT_TRUE(Sandbox::ValueExists(Root::HKCU, "Software\\Microsoft\\Office\\8.0\\Excel", "Neighbour"));
  // The list and the count are left as they were.
  EXPECT_EQ(form.FoundCount(), 7);
  EXPECT_EQ(ReadList(lv).size(), 7u);
}

}  // namespace
