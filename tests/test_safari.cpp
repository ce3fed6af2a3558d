// The Safari scan: five fixed files in two folders, the existence and lock filters, and a
// clean that deletes exactly the ticked files.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "categories/safari.h"
#include "tests/support/category_test.h"

using namespace zarn;
using namespace zarn::test;

namespace {

class SafariTest : public CategoryTest {
 protected:
  const std::string local = sandbox.localAppData + "\\Apple Computer\\Safari\\";
  const std::string roaming = sandbox.appData + "\\Apple Computer\\Safari\\";
  // The five files, in the order the scan lists them.
  const std::vector<std::string> all = {local + "Cache.db", roaming + "History.plist", roaming + "Downloads.plist",
                                        roaming + "Cookies\\Cookies.plist", roaming + "Form Values.plist"};
};

TEST_F(SafariTest, FiveFilesInOrderWithTheirColumnTexts) {
  for (const auto& p : all) Sandbox::WriteFile(p);
  Sandbox::WriteFile(local + "Cache.db", std::string(1048576 + 524288, 'c'));
  // Same names in the wrong folder, and neighbours: none of them is listed.
  Sandbox::WriteFile(roaming + "Cache.db");
  Sandbox::WriteFile(local + "History.plist");
  Sandbox::WriteFile(roaming + "Cookies.plist");
  Sandbox::WriteFile(roaming + "Bookmarks.plist");
  SetFileAttributesA(all[3].c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);

  TSafariForm form;
  ASSERT_TRUE(form.Create());
  EXPECT_EQ(ShownPaths(form), all);
  EXPECT_EQ(form.FoundCount(), 5);
  EXPECT_EQ(WindowText(form.StatusLabel()), "5 Files founds");
  auto rows = ReadList(form.Traces().Handle());
  ASSERT_EQ(rows.size(), 5u);
  EXPECT_EQ(rows[0].cells, (std::vector<std::string>{"Cache.db", local, ".db", "Internet Cache", "1.50 MB"}));
  EXPECT_EQ(rows[4].Name(), "Form Values.plist");
  EXPECT_EQ(rows[4].Location(), roaming);
  EXPECT_EQ(rows[3].Location(), roaming + "Cookies\\");
  for (const ShownRow& row : rows) {
    EXPECT_TRUE(row.ticked) << row.Name();
    EXPECT_EQ(row.Info(), "Internet Cache");
    EXPECT_EQ(row.Type(), row.Name() == "Cache.db" ? ".db" : ".plist");
  }
}

TEST_F(SafariTest, LockedFilesAndFoldersAreLeftOut) {
  Sandbox::WriteFile(all[0]);
  Sandbox::WriteFile(all[2]);
  Sandbox::MakeDir(all[1]);  // a folder named like the history file
  HeldOpen held(all[0], GENERIC_READ | GENERIC_WRITE);
  ASSERT_TRUE(held.Held());
  TSafariForm form;
  ASSERT_TRUE(form.Create());
  EXPECT_EQ(ShownPaths(form), (std::vector<std::string>{all[2]}));
  EXPECT_EQ(form.FoundCount(), 1);
  EXPECT_EQ(WindowText(form.StatusLabel()), "1 Files founds");
  held.Release();
  form.ClickScan();
  EXPECT_EQ(ShownPaths(form), (std::vector<std::string>{all[0], all[2]}));
}

TEST_F(SafariTest, EachMissingBaseFolderDropsOnlyItsOwnLocations) {
  for (const auto& p : all) Sandbox::WriteFile(p);
  Sandbox::DeleteValue(Root::HKCU, kShellFolders, "Local AppData");
  TSafariForm form;
  ASSERT_TRUE(form.Create());
  EXPECT_EQ(ShownPaths(form), std::vector<std::string>(all.begin() + 1, all.end()));

  Sandbox::SetString(Root::HKCU, kShellFolders, "Local AppData", sandbox.localAppData);
  Sandbox::SetString(Root::HKCU, kShellFolders, "AppData", "");
  form.ClickScan();
  EXPECT_EQ(ShownPaths(form), (std::vector<std::string>{all[0]}));
}

TEST_F(SafariTest, EmptyBaseFoldersNeverMeanTheDriveRoot) {
  ZARN_REQUIRE_THROWAWAY_PREFIX();
  char previous[MAX_PATH];
  GetCurrentDirectoryA(MAX_PATH, previous);
  ASSERT_TRUE(SetCurrentDirectoryA("C:\\"));
  const std::string rootHistory = "C:\\Apple Computer\\Safari\\History.plist";
  const std::string rootCache = "C:\\Apple Computer\\Safari\\Cache.db";
  Sandbox::WriteFile(rootHistory);
  Sandbox::WriteFile(rootCache);
  {
    Sandbox::SetString(Root::HKCU, kShellFolders, "AppData", "");
    Sandbox::DeleteValue(Root::HKCU, kShellFolders, "Local AppData");
    TSafariForm form;
    ASSERT_TRUE(form.Create());
    EXPECT_EQ(form.FoundCount(), 0);
    form.ClickDelete();
  }
  EXPECT_TRUE(Sandbox::Exists(rootHistory));
  DeleteFileA(rootHistory.c_str());
  DeleteFileA(rootCache.c_str());
  RemoveDirectoryA("C:\\Apple Computer\\Safari");
  RemoveDirectoryA("C:\\Apple Computer");
  SetCurrentDirectoryA(previous);
}

TEST_F(SafariTest, CleanDeletesExactlyTheTickedFiles) {
  const std::vector<std::string> neighbours = {roaming + "Bookmarks.plist", roaming + "Cookies\\Other.plist",
                                               roaming + "Backup\\History.plist", local + "Cache.db-journal",
                                               local + "Webpage Previews\\one.png"};
  for (const auto& p : all) Sandbox::WriteFile(p);
  for (const auto& p : neighbours) Sandbox::WriteFile(p);

  TSafariForm form;
  ASSERT_TRUE(form.Create());
  ASSERT_EQ(form.FoundCount(), 5);
  int kept = FindRow(form.Traces().Handle(), "Form Values.plist");
  ASSERT_EQ(kept, 4);
  SetTick(form.Traces().Handle(), kept, false);
  form.ClickDelete();

  for (size_t i = 0; i < all.size(); ++i) EXPECT_EQ(Sandbox::Exists(all[i]), i == 4u) << all[i];
  for (const auto& p : neighbours) EXPECT_TRUE(Sandbox::Exists(p)) << p;
  EXPECT_EQ(form.FoundCount(), 5);
}

}  // namespace
