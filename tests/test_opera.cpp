// The Opera scan: its seven locations in order, the existence and lock filters, and a
// clean that deletes exactly the ticked files of the profile; today's profiles as the
// Chromium profile is read for every browser built on it.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "categories/opera.h"
#include "tests/support/category_test.h"

using namespace zarn;
using namespace zarn::test;

namespace {

class OperaTest : public CategoryTest {
 protected:
  const std::string profile = sandbox.appData + "\\Opera\\Opera\\profile\\";
};

TEST_F(OperaTest, SevenLocationsInTableOrderWithTheirColumnTexts) {
  Sandbox::WriteFile(profile + "cookies4.dat", std::string(1536, 'c'));
  Sandbox::WriteFile(profile + "cookies.dat");
  Sandbox::WriteFile(profile + "cache4\\opr00001.tmp", std::string(2048, 'x'));
  Sandbox::WriteFile(profile + "cache4\\dcache4.url");
  Sandbox::WriteFile(profile + "cache4\\noextension");
  Sandbox::WriteFile(profile + "global.dat");
  Sandbox::WriteFile(profile + "opera.dir");
  Sandbox::WriteFile(profile + "download.dat");
  Sandbox::WriteFile(profile + "vlink4.dat");
  Sandbox::WriteFile(profile + "sessions\\autosave.win", "");
  // Neighbours that no location names.
  Sandbox::WriteFile(profile + "opera6.ini");
  Sandbox::WriteFile(profile + "cookies4.bak");
  Sandbox::WriteFile(profile + "sessions\\other.win");
  Sandbox::WriteFile(profile + "cache4\\sub\\deep.tmp");
  Sandbox::WriteFile(sandbox.appData + "\\Opera\\Opera\\global.dat");

  TOperaForm form;
  ASSERT_TRUE(form.Create());
  auto paths = ShownPaths(form);
  ASSERT_EQ(paths.size(), 10u);
  EXPECT_EQ(form.FoundCount(), 10);
  EXPECT_EQ(WindowText(form.StatusLabel()), "10 Files founds");
  EXPECT_EQ(Slice(paths, 0, 2), (std::set<std::string>{profile + "cookies4.dat", profile + "cookies.dat"}));
  EXPECT_EQ(Slice(paths, 2, 3),
            (std::set<std::string>{profile + "cache4\\opr00001.tmp", profile + "cache4\\dcache4.url",
                                   profile + "cache4\\noextension"}));
  EXPECT_EQ(std::vector<std::string>(paths.begin() + 5, paths.end()),
            (std::vector<std::string>{profile + "global.dat", profile + "opera.dir", profile + "download.dat",
                                      profile + "vlink4.dat", profile + "sessions\\autosave.win"}));

  auto rows = ReadList(form.Traces().Handle());
  for (const ShownRow& row : rows) {
    EXPECT_TRUE(row.ticked) << row.Name();
    EXPECT_EQ(row.Info(), "Internet Cache") << row.Name();
  }
  int cookie = FindRow(form.Traces().Handle(), "cookies4.dat");
  ASSERT_GE(cookie, 0);
  EXPECT_EQ(rows[cookie].Location(), profile);
  EXPECT_EQ(rows[cookie].Type(), ".dat");
  EXPECT_EQ(rows[cookie].Size(), "1.50 KB");
  int cache = FindRow(form.Traces().Handle(), "opr00001.tmp");
  ASSERT_GE(cache, 0);
  EXPECT_EQ(rows[cache].Location(), profile + "cache4\\");
  EXPECT_EQ(rows[cache].Size(), "2.00 KB");
  int bare = FindRow(form.Traces().Handle(), "noextension");
  ASSERT_GE(bare, 0);
  EXPECT_EQ(rows[bare].Type(), "");
  EXPECT_EQ(rows[9].Type(), ".win");
  EXPECT_EQ(rows[9].Size(), "0 bytes");
  EXPECT_EQ(rows[6].Type(), ".dir");
}

TEST_F(OperaTest, CacheKeepsPlainFilesOfAnyAttributeAndOddNamesButNoFoldersOrLockedFiles) {
  const std::string cache = profile + "cache4\\";
  const std::string odd = cache + "caf\xE9 \xFC\xBF page.tmp";
  Sandbox::WriteFile(cache + "hidden.tmp");
  Sandbox::WriteFile(cache + "system.tmp");
  Sandbox::WriteFile(cache + "readonly.tmp");
  Sandbox::WriteFile(odd);
  Sandbox::WriteFile(cache + "in use.tmp");
  Sandbox::WriteFile(cache + "folder\\inside.tmp");
  Sandbox::WriteFile(profile + "cookies4.dat");
  SetFileAttributesA((cache + "hidden.tmp").c_str(), FILE_ATTRIBUTE_HIDDEN);
  SetFileAttributesA((cache + "system.tmp").c_str(), FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_HIDDEN);
  SetFileAttributesA((cache + "readonly.tmp").c_str(), FILE_ATTRIBUTE_READONLY);
  // Open for reading and writing with no sharing, as a running browser holds them.
  HeldOpen cacheLock(cache + "in use.tmp", GENERIC_READ | GENERIC_WRITE);
  HeldOpen cookieLock(profile + "cookies4.dat", GENERIC_READ | GENERIC_WRITE);
  ASSERT_TRUE(cacheLock.Held());
  ASSERT_TRUE(cookieLock.Held());

  TOperaForm form;
  ASSERT_TRUE(form.Create());
  auto paths = ShownPaths(form);
  EXPECT_EQ(std::set<std::string>(paths.begin(), paths.end()),
            (std::set<std::string>{cache + "hidden.tmp", cache + "system.tmp", cache + "readonly.tmp", odd}));
  EXPECT_EQ(form.FoundCount(), 4);
  EXPECT_GE(FindRow(form.Traces().Handle(), "caf\xE9 \xFC\xBF page.tmp"), 0);

  // Once the browser lets go, the next scan lists them, the cookie file first.
  cacheLock.Release();
  cookieLock.Release();
  form.ClickScan();
  paths = ShownPaths(form);
  ASSERT_EQ(paths.size(), 6u);
  EXPECT_EQ(paths[0], profile + "cookies4.dat");
  EXPECT_EQ(std::count(paths.begin(), paths.end(), cache + "in use.tmp"), 1);
  EXPECT_EQ(form.FoundCount(), 6);
}

TEST_F(OperaTest, FixedNamesThatAreFoldersAreLeftOut) {
  Sandbox::MakeDir(profile + "global.dat");
  Sandbox::MakeDir(profile + "cookies_dir.dat");
  Sandbox::MakeDir(profile + "sessions\\autosave.win");
  Sandbox::WriteFile(profile + "vlink4.dat");
  TOperaForm form;
  ASSERT_TRUE(form.Create());
  EXPECT_EQ(ShownPaths(form), (std::vector<std::string>{profile + "vlink4.dat"}));
}

TEST_F(OperaTest, MissingOrEmptyAppDataLooksNowhere) {
  ZARN_REQUIRE_THROWAWAY_PREFIX();
  // The same profile at the root of the current drive must never be taken instead.
  char previous[MAX_PATH];
  GetCurrentDirectoryA(MAX_PATH, previous);
  ASSERT_TRUE(SetCurrentDirectoryA("C:\\"));
  Sandbox::WriteFile("C:\\Opera\\Opera\\profile\\cookies4.dat");
  Sandbox::WriteFile("C:\\Opera\\Opera\\profile\\cache4\\page.tmp");
  Sandbox::WriteFile(profile + "global.dat");
  {
    Sandbox::SetString(Root::HKCU, kShellFolders, "AppData", "");
    TOperaForm form;
    ASSERT_TRUE(form.Create());
    EXPECT_EQ(form.FoundCount(), 0);
    Sandbox::DeleteValue(Root::HKCU, kShellFolders, "AppData");
    form.ClickScan();
    EXPECT_EQ(form.FoundCount(), 0);
    EXPECT_EQ(WindowText(form.StatusLabel()), "0 Files founds");
  }
  DeleteFileA("C:\\Opera\\Opera\\profile\\cookies4.dat");
  DeleteFileA("C:\\Opera\\Opera\\profile\\cache4\\page.tmp");
  for (const char* dir :
       {"C:\\Opera\\Opera\\profile\\cache4", "C:\\Opera\\Opera\\profile", "C:\\Opera\\Opera", "C:\\Opera"})
    RemoveDirectoryA(dir);
  SetCurrentDirectoryA(previous);
}

TEST_F(OperaTest, TodaysProfilesListCachesInUseButNotDatabasesInUse) {
  const std::string roaming = sandbox.appData + "\\Opera Software\\Opera Stable\\",
                    local = sandbox.localAppData + "\\Opera Software\\Opera Stable\\";
  const std::vector<std::pair<std::string, const char*>> traces = {
      {local + "Cache\\Cache_Data\\data_1", "Internet Cache"},
      {roaming + "Code Cache\\js\\index", "Internet Cache"},
      {roaming + "GPUCache\\data_0", "Internet Cache"},
      {roaming + "History", "History"},
      {roaming + "Visited Links", "History"}};
  for (const auto& [path, info] : traces) Sandbox::WriteFile(path);
  HeldOpen cache(roaming + "GPUCache\\data_0", GENERIC_READ | GENERIC_WRITE),
      history(roaming + "History", GENERIC_READ | GENERIC_WRITE);
  ASSERT_TRUE(cache.Held() && history.Held());

  TOperaForm form;
  ASSERT_TRUE(form.Create());
  std::vector<std::string> listed;
  for (const ShownRow& row : ReadList(form.Traces().Handle()))
    listed.push_back(row.Location() + row.Name() + " " + row.Info());
  auto expected = [&](bool withHistory) {
    std::vector<std::string> lines;
    for (const auto& [path, info] : traces)
      if (withHistory || path != roaming + "History") lines.push_back(path + " " + info);
    return lines;
  };
  EXPECT_EQ(listed, expected(false));
  history.Release();
  form.ClickScan();
  EXPECT_EQ(ShownPaths(form).size(), traces.size());
  EXPECT_EQ(ShownPaths(form)[3], roaming + "History");
}

TEST_F(OperaTest, CleanDeletesExactlyTheTickedFiles) {
  const std::vector<std::string> found = {profile + "cookies4.dat",    profile + "cache4\\a.tmp",
                                          profile + "cache4\\b c.tmp", profile + "global.dat",
                                          profile + "opera.dir",       profile + "download.dat",
                                          profile + "vlink4.dat",      profile + "sessions\\autosave.win"};
  const std::vector<std::string> neighbours = {profile + "opera6.ini", profile + "cache4\\sub\\deep.tmp",
                                               profile + "sessions\\other.win", profile + "cookies4.dat.bak",
                                               sandbox.appData + "\\Opera\\Opera\\global.dat"};
  for (const auto& p : found) Sandbox::WriteFile(p);
  for (const auto& p : neighbours) Sandbox::WriteFile(p);

  TOperaForm form;
  ASSERT_TRUE(form.Create());
  ASSERT_EQ(form.FoundCount(), static_cast<int>(found.size()));
  int kept = FindRow(form.Traces().Handle(), "opera.dir");
  ASSERT_GE(kept, 0);
  SetTick(form.Traces().Handle(), kept, false);
  form.ClickDelete();

  for (const auto& p : found) EXPECT_EQ(Sandbox::Exists(p), p == profile + "opera.dir") << p;
  for (const auto& p : neighbours) EXPECT_TRUE(Sandbox::Exists(p)) << p;
  EXPECT_TRUE(Sandbox::Exists(profile + "cache4\\sub"));
  // The list and the count stay as they were until the next scan.
  EXPECT_EQ(form.FoundCount(), static_cast<int>(found.size()));
  EXPECT_EQ(ReadList(form.Traces().Handle()).size(), found.size());
  EXPECT_FALSE(ReadList(form.Traces().Handle())[kept].ticked);
}

}  // namespace
