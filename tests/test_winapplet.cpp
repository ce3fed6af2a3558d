// The Windows Applets scan: five keys, "MRUList" skipped in four of them, only "LastKey"
// in the fifth, odd value data, and a clean of exactly the ticked values.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "categories/winapplet.h"
#include "tests/support/category_test.h"

using namespace zarn;
using namespace zarn::test;

namespace {

const char kWordpad[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Applets\\Wordpad\\Recent File List";
const char kPaint[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Applets\\Paint\\Recent File List";
const char kMmc[] = "Software\\Microsoft\\Microsoft Management Console\\Recent File List";
const char kSnapshot[] = "Software\\Microsoft\\Snapshot Viewer\\Recent File List";
const char kRegedit[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Applets\\Regedit";

class WinappletTest : public CategoryTest {};

TEST_F(WinappletTest, NothingFoundAndTheCursorIsLeftAlone) {
  TwinappletForm form;
  ASSERT_TRUE(form.Create());
  EXPECT_EQ(form.FoundCount(), 0);
  EXPECT_TRUE(ReadList(form.Traces().Handle()).empty());
  EXPECT_EQ(WindowText(form.StatusLabel()), "No File Found");

  HCURSOR cross = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_CROSS));
  SetCursor(cross);
  Sandbox::SetString(Root::HKCU, kPaint, "File1", "C:\\pic.bmp");
  form.ClickScan();
  EXPECT_EQ(GetCursor(), cross);
  EXPECT_EQ(WindowText(form.StatusLabel()), "1 Files Found");
}

TEST_F(WinappletTest, WordpadListInEnumerationOrderWithoutMRUList) {
  for (int i = 4; i >= 1; --i)
    Sandbox::SetString(Root::HKCU, kWordpad, "File" + std::to_string(i), "C:\\doc" + std::to_string(i) + ".rtf");
  Sandbox::SetString(Root::HKCU, kWordpad, "MRUList", "dcba");
  TwinappletForm form;
  ASSERT_TRUE(form.Create());
  auto rows = ReadList(form.Traces().Handle());
  std::vector<std::string> expected;
  for (const std::string& name : EnumeratedValues(kWordpad))
    if (name != "MRUList") expected.push_back(name);
  ASSERT_EQ(expected.size(), 4u);
  EXPECT_EQ(Names(rows), expected);
  for (const ShownRow& row : rows) {
    EXPECT_TRUE(row.ticked);
    EXPECT_EQ(row.Location(), "HKCU\\" + std::string(kWordpad));
    EXPECT_EQ(row.Type(), "Registry Data");
    EXPECT_EQ(row.Info(), "C:\\doc" + row.Name().substr(4) + ".rtf");
    EXPECT_EQ(row.Size(), "");
  }
}

TEST_F(WinappletTest, KeysInTableOrderAndTheirRules) {
  Sandbox::SetString(Root::HKCU, kRegedit, "View", "x");
  Sandbox::SetString(Root::HKCU, kRegedit, "LastKey", "My Computer\\HKEY_CURRENT_USER\\Software");
  Sandbox::SetString(Root::HKCU, kRegedit, "", "regedit default");
  Sandbox::SetString(Root::HKCU, kSnapshot, "mrulist", "other case");
  Sandbox::SetString(Root::HKCU, kMmc, "", "mmc default");
  Sandbox::SetString(Root::HKCU, kMmc, "MRUList", "a");
  Sandbox::SetString(Root::HKCU, kPaint, "File1", "p");
  Sandbox::SetString(Root::HKCU, kWordpad, "File1", "w");

  TwinappletForm form;
  ASSERT_TRUE(form.Create());
  auto rows = ReadList(form.Traces().Handle());
  EXPECT_EQ(Names(rows), (std::vector<std::string>{"File1", "File1", "", "mrulist", "LastKey"}));
  ASSERT_EQ(rows.size(), 5u);
  EXPECT_EQ(rows[0].Location(), "HKCU\\" + std::string(kWordpad));
  EXPECT_EQ(rows[1].Location(), "HKCU\\" + std::string(kPaint));
  EXPECT_EQ(rows[2].Info(), "mmc default");
  EXPECT_EQ(rows[3].Location(), "HKCU\\" + std::string(kSnapshot));
  EXPECT_EQ(rows[4].Location(), "HKCU\\" + std::string(kRegedit));
  EXPECT_EQ(rows[4].Info(), "My Computer\\HKEY_CURRENT_USER\\Software");
  EXPECT_EQ(WindowText(form.StatusLabel()), "5 Files Found");
}

TEST_F(WinappletTest, NonStringDataShowsWhatReadRegStringReturns) {
  const DWORD dword = 0x00414243;  // bytes C B A 0
  const char binary[3] = {'x', 'y', 'z'};
  const char multi[] = "one\0two\0";  // with the array's own zero: one, two, end of list
  const char expand[] = "%TEMP%\\movie.avi";
  const std::string full(256, 'q'), over(257, 'q'), longText(300, 's');
  const std::string longName(255, 'N');
  Sandbox::SetValue(Root::HKCU, kWordpad, "dword", REG_DWORD, &dword, sizeof dword);
  Sandbox::SetValue(Root::HKCU, kWordpad, "binary", REG_BINARY, binary, sizeof binary);
  Sandbox::SetValue(Root::HKCU, kWordpad, "multi", REG_MULTI_SZ, multi, sizeof multi);
  Sandbox::SetValue(Root::HKCU, kWordpad, "expand", REG_EXPAND_SZ, expand, sizeof expand);
  Sandbox::SetValue(Root::HKCU, kWordpad, "full", REG_BINARY, full.data(), 256);
  Sandbox::SetValue(Root::HKCU, kWordpad, "over", REG_BINARY, over.data(), 257);
  Sandbox::SetValue(Root::HKCU, kWordpad, "empty", REG_BINARY, nullptr, 0);
  Sandbox::SetString(Root::HKCU, kWordpad, "long", longText);
  Sandbox::SetString(Root::HKCU, kWordpad, longName, "long name");

  TwinappletForm form;
  ASSERT_TRUE(form.Create());
  const HWND lv = form.Traces().Handle();
  auto rows = ReadList(lv);
  ASSERT_EQ(rows.size(), 9u);
  auto info = [&](const std::string& name) {
    int row = FindRow(lv, name);
    return row < 0 ? std::string("<missing>") : rows[row].Info();
  };
  EXPECT_EQ(info("dword"), "CBA");
  EXPECT_EQ(info("binary"), "xy");  // the last byte is taken for a terminator, nothing past the data is read
  EXPECT_EQ(info("multi"), "one");
  EXPECT_EQ(info("expand"), "%TEMP%\\movie.avi");
  EXPECT_EQ(info("full"), std::string(255, 'q'));
  EXPECT_EQ(info("over"), "");
  EXPECT_EQ(info("empty"), "");
  EXPECT_EQ(info("long"), "");
  EXPECT_EQ(info(longName), "long name");
  for (const ShownRow& row : rows)
    EXPECT_EQ(row.Info(), ReadRegString(kWordpad, row.Name(), HKEY_CURRENT_USER)) << row.Name();
}

TEST_F(WinappletTest, CleanDeletesExactlyTheTickedValues) {
  Sandbox::SetString(Root::HKCU, kWordpad, "File1", "a");
  Sandbox::SetString(Root::HKCU, kWordpad, "File2", "b");
  Sandbox::SetString(Root::HKCU, kWordpad, "MRUList", "ab");
  Sandbox::SetString(Root::HKCU, kWordpad, "", "default");
  Sandbox::SetString(Root::HKCU, std::string(kWordpad) + "\\File1", "inner", "v");
  Sandbox::SetString(Root::HKCU, kRegedit, "LastKey", "k");
  Sandbox::SetString(Root::HKCU, kRegedit, "View", "v");
  Sandbox::SetString(Root::HKLM, kWordpad, "File1", "machine");

  TwinappletForm form;
  ASSERT_TRUE(form.Create());
  const HWND lv = form.Traces().Handle();
  ASSERT_EQ(form.FoundCount(), 4);
  SetTick(lv, FindRow(lv, "File2"), false);
  form.ClickDelete();

  EXPECT_FALSE(Sandbox::ValueExists(Root::HKCU, kWordpad, "File1"));
  EXPECT_FALSE(Sandbox::ValueExists(Root::HKCU, kWordpad, ""));
  EXPECT_FALSE(Sandbox::ValueExists(Root::HKCU, kRegedit, "LastKey"));
  EXPECT_TRUE(Sandbox::ValueExists(Root::HKCU, kWordpad, "File2"));
  EXPECT_TRUE(Sandbox::ValueExists(Root::HKCU, kWordpad, "MRUList"));
  EXPECT_TRUE(Sandbox::ValueExists(Root::HKCU, kRegedit, "View"));
  // This category deletes no keys, also not one named like a ticked value.
  EXPECT_TRUE(Sandbox::ValueExists(Root::HKCU, std::string(kWordpad) + "\\File1", "inner"));
  EXPECT_TRUE(Sandbox::ValueExists(Root::HKLM, kWordpad, "File1"));
}

}  // namespace
