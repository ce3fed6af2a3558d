// The Internet Explorer category's scan: cookies chosen by keyword, the cache walk,
// typed addresses and the download folder. Cleaning runs ClearUrlCache, so the clean
// tests are in test_machine_interexplor.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <thread>

#include "categories/interexplor.h"
#include "tests/support/category_test.h"
#include "traces/probes.h"

using namespace zarn;
using namespace zarn::test;

namespace {

const char kBrowserKey[] = "Software\\Microsoft\\Internet Explorer";

std::vector<std::string> PathsWithInfo(TCategoryForm& form, const std::string& info) {
  std::vector<std::string> paths;
  for (size_t i = 0; i < form.Traces().Count(); ++i) {
    const TraceItem& item = form.Traces().Item(i);
    if (item.info == info) paths.push_back(item.location + item.name);
  }
  return paths;
}

std::vector<std::string> Sorted(std::vector<std::string> v) {
  std::sort(v.begin(), v.end());
  return v;
}

TEST(CookieKeywordsTest, ListKeepsItsOrderAndCapitals) {
  auto keywords = CookieKeywords();
  ASSERT_EQ(keywords.size(), 192u);
  EXPECT_STREQ(keywords.front(), "yahoo");
  EXPECT_STREQ(keywords[11], "doubleclick");
  EXPECT_STREQ(keywords.back(), "unicast");
  for (const char* capital : {"adClutter", "adSwap", "deferAds"})
    EXPECT_NE(std::find_if(keywords.begin(), keywords.end(), [&](const char* k) { return std::string(k) == capital; }),
              keywords.end());
  EXPECT_TRUE(HasCookieKeyword("user@doubleclick[1].txt"));
  EXPECT_FALSE(HasCookieKeyword("user@DOUBLECLICK[1].txt"));
  EXPECT_TRUE(HasCookieKeyword("user@xadSwapx.txt"));
  EXPECT_FALSE(HasCookieKeyword("user@ADSWAP.txt"));
  EXPECT_TRUE(HasCookieKeyword("x@ago.txt"));  // "go" anywhere in the name
  EXPECT_FALSE(HasCookieKeyword(""));
}

class InterTest : public CategoryTest {
 protected:
  std::string C() const { return sandbox.cookies; }
  std::string R() const { return sandbox.cache + "\\Content.IE5"; }
};

TEST_F(InterTest, CookiesOfListedSitesOnlyAndKeywordsLookAtTheNameAlone) {
  const std::string high = "caf\xE9\xFF@google[1].txt";
  Sandbox::WriteFile(C() + "\\user@doubleclick[1].txt", "12345");
  Sandbox::WriteFile(C() + "\\user@DOUBLECLICK[2].txt");
  Sandbox::WriteFile(C() + "\\user@example[1].txt");
  Sandbox::WriteFile(C() + "\\" + high);
  Sandbox::WriteFile(C() + "\\user@\x80\x81unknown[1].txt");
  Sandbox::WriteFile(C() + "\\user@yahoo[1].dat");
  Sandbox::WriteFile(C() + "\\user@tracking[1].txt");
  HeldOpen held(C() + "\\user@tracking[1].txt");
  ASSERT_FALSE(HasCookieKeyword("user@example[1].txt"));
  ASSERT_FALSE(HasCookieKeyword("user@\x80\x81unknown[1].txt"));

  TInterForm form;
  ASSERT_TRUE(form.Create());
  EXPECT_EQ(Sorted(PathsWithInfo(form, "Internet Explorer Cookies")),
            Sorted({C() + "\\user@doubleclick[1].txt", C() + "\\" + high}));
  const int row = FindRow(form.Traces().Handle(), "user@doubleclick[1].txt");
  ASSERT_GE(row, 0);
  const TraceItem& item = form.Traces().Item(row);
  EXPECT_EQ(item.location, C() + "\\");
  EXPECT_EQ(item.type, ".txt");
  EXPECT_EQ(item.size, "5 bytes");
  EXPECT_EQ(WindowText(form.StatusLabel()), std::to_string(form.FoundCount()) + " Files founds");

  // A cookie folder whose own path holds a keyword selects nothing by that.
  const std::string googleFolder = sandbox.Dir() + "\\google";
  Sandbox::WriteFile(googleFolder + "\\user@example[1].txt");
  Sandbox::SetString(Root::HKCU, kShellFolders, "Cookies", googleFolder);
  form.ClickScan();
  EXPECT_TRUE(PathsWithInfo(form, "Internet Explorer Cookies").empty());
}

TEST_F(InterTest, CacheWalkKeepsDocumentsAndLeavesTheCachesOwnFiles) {
  Sandbox::WriteFile(R() + "\\index.dat");
  Sandbox::WriteFile(R() + "\\desktop.ini");
  Sandbox::WriteFile(R() + "\\root.htm", "abc");
  Sandbox::WriteFile(R() + "\\ABCD1234\\index.dat");
  Sandbox::WriteFile(R() + "\\ABCD1234\\desktop.ini");
  Sandbox::WriteFile(R() + "\\ABCD1234\\page[1].htm");
  Sandbox::WriteFile(R() + "\\ABCD1234\\noextension");
  Sandbox::WriteFile(R() + "\\ABCD1234\\DEEP\\index.dat");
  Sandbox::WriteFile(R() + "\\ABCD1234\\DEEP\\level3");
  Sandbox::MakeDir(R() + "\\ABCD1234\\DEEP\\FOLDER");
  Sandbox::WriteFile(R() + "\\ABCD1234\\DEEP\\FOLDER\\level4.htm");
  Sandbox::WriteFile(R() + "\\store.IE5\\kept.gif");
  Sandbox::WriteFile(R() + "\\ABCD1234\\held.js");
  HeldOpen held(R() + "\\ABCD1234\\held.js");

  TInterForm form;
  ASSERT_TRUE(form.Create());
  EXPECT_EQ(
      Sorted(PathsWithInfo(form, "Internet Explorer History")),
      Sorted({R() + "\\root.htm", R() + "\\ABCD1234\\desktop.ini", R() + "\\ABCD1234\\page[1].htm",
              R() + "\\ABCD1234\\DEEP\\level3", R() + "\\ABCD1234\\DEEP\\FOLDER", R() + "\\store.IE5\\kept.gif"}));
  const int folder = FindRow(form.Traces().Handle(), "FOLDER");
  ASSERT_GE(folder, 0);
  EXPECT_EQ(form.Traces().Item(folder).size, "0 bytes");
  EXPECT_EQ(form.Traces().Item(folder).type, "");
  const int root = FindRow(form.Traces().Handle(), "root.htm");
  ASSERT_GE(root, 0);
  EXPECT_EQ(form.Traces().Item(root).type, ".htm");
  EXPECT_EQ(form.Traces().Item(root).size, "3 bytes");
}

TEST_F(InterTest, NamesWithHighBytesInTheCacheAreKeptExactly) {
  const std::string name = "\xC4\xD6\xDC\xE4\xF6\xFC\x80[1].htm";
  Sandbox::WriteFile(R() + "\\F\xE9LDER\\" + name);
  TInterForm form;
  ASSERT_TRUE(form.Create());
  EXPECT_EQ(PathsWithInfo(form, "Internet Explorer History"), (std::vector<std::string>{R() + "\\F\xE9LDER\\" + name}));
}

// An empty folder value must not make "\" or "\Content.IE5" on the current drive the
// cookie folder or the cache: the cleaner would delete what lies there.
TEST_F(InterTest, MissingOrEmptyFolderValuesNeverReachTheDriveRoot) {
  ZARN_REQUIRE_THROWAWAY_PREFIX();
  const std::string tag = "zarn-" + std::to_string(GetCurrentProcessId());
  const std::vector<std::string> bait = {"\\" + tag + "@doubleclick.txt", "\\Content.IE5\\" + tag + ".htm",
                                         "\\Content.IE5\\" + tag + "\\page.htm"};
  for (const std::string& path : bait) Sandbox::WriteFile(path);
  for (bool empty : {true, false}) {
    SCOPED_TRACE(empty ? "empty values" : "missing values");
    if (empty) {
      Sandbox::SetString(Root::HKCU, kShellFolders, "Cookies", "");
      Sandbox::SetString(Root::HKCU, kShellFolders, "Cache", "");
    } else {
      Sandbox::DeleteValue(Root::HKCU, kShellFolders, "Cookies");
      Sandbox::DeleteValue(Root::HKCU, kShellFolders, "Cache");
    }
    TInterForm form;
    ASSERT_TRUE(form.Create());
    EXPECT_EQ(form.FoundCount(), 0);
    EXPECT_EQ(WindowText(form.StatusLabel()), "0 Files founds");
  }
  for (const std::string& path : bait) EXPECT_TRUE(Sandbox::Exists(path)) << path;
  DeleteFileA(bait[0].c_str());
  DeleteFileA(bait[1].c_str());
  DeleteFileA(bait[2].c_str());
  RemoveDirectoryA(("\\Content.IE5\\" + tag).c_str());
}

// The shared fixtures hold a cache whose folders include links to a folder outside it.
TEST_F(InterTest, CacheWalkDoesNotFollowLinksOutOfTheCache) {
  const char* fixtures = std::getenv("ZARN_LINK_FIXTURES");
  if (!fixtures || !*fixtures) GTEST_SKIP() << "ZARN_LINK_FIXTURES is not set";
  const std::string cache = std::string(fixtures) + "\\cache";
  WIN32_FIND_DATAA data;
  HANDLE find = FindFirstFileA((cache + "\\Content.IE5\\LINKED").c_str(), &data);
  ASSERT_NE(find, INVALID_HANDLE_VALUE);
  FindClose(find);
  ASSERT_TRUE(data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT);
  Sandbox::SetString(Root::HKCU, kShellFolders, "Cache", cache);

  TInterForm form;
  ASSERT_TRUE(form.Create());
  EXPECT_EQ(PathsWithInfo(form, "Internet Explorer History"),
            (std::vector<std::string>{cache + "\\Content.IE5\\ABCD1234\\page.htm"}));
}

TEST_F(InterTest, LargeCacheIsWalkedInOnePass) {
  constexpr int kFolders = 8, kPerFolder = 500;
  for (int f = 0; f < kFolders; ++f) {
    const std::string folder = R() + "\\F" + std::to_string(f) + "\\";
    Sandbox::MakeDir(folder);
    for (int i = 0; i < kPerFolder; ++i) Sandbox::WriteFile(folder + "doc" + std::to_string(i) + ".htm");
  }
  TInterForm form;
  const DWORD start = GetTickCount();
  ASSERT_TRUE(form.Create());
  const DWORD first = GetTickCount() - start;
  EXPECT_EQ(form.FoundCount(), kFolders * kPerFolder);
  EXPECT_EQ(WindowText(form.StatusLabel()), std::to_string(kFolders * kPerFolder) + " Files founds");
  // The times are printed for the record; the benchmark, not this test, judges them.
  for (int f = kFolders; f < 2 * kFolders; ++f) {
    const std::string folder = R() + "\\F" + std::to_string(f) + "\\";
    Sandbox::MakeDir(folder);
    for (int i = 0; i < kPerFolder; ++i) Sandbox::WriteFile(folder + "doc" + std::to_string(i) + ".htm");
  }
  const DWORD again = GetTickCount();
  form.ClickScan();
  const DWORD second = GetTickCount() - again;
  EXPECT_EQ(form.FoundCount(), 2 * kFolders * kPerFolder);
  std::printf("cache scan: %d files %lu ms, %d files %lu ms\n", kFolders * kPerFolder, first, 2 * kFolders * kPerFolder,
              second);
}

TEST_F(InterTest, CacheFoldersVanishingDuringTheWalkDoNotDerailTheScan) {
  constexpr int kFolders = 60;
  for (int f = 0; f < kFolders; ++f)
    for (int i = 0; i < 20; ++i)
      Sandbox::WriteFile(R() + "\\F" + std::to_string(f) + "\\doc" + std::to_string(i) + ".htm");
  TInterForm form;
  ASSERT_TRUE(form.Create());
  ASSERT_EQ(form.FoundCount(), kFolders * 20);

  std::thread remover([&] {
    for (int f = kFolders - 1; f >= 0; --f) {
      const std::string folder = R() + "\\F" + std::to_string(f);
      // The scan's lock test opens each file for a moment: retry a deletion it blocked.
      for (int i = 0; i < 20; ++i) {
        const std::string file = folder + "\\doc" + std::to_string(i) + ".htm";
        for (int tries = 0;
             tries < 200 && !DeleteFileA(file.c_str()) && GetFileAttributesA(file.c_str()) != INVALID_FILE_ATTRIBUTES;
             ++tries)
          Sleep(1);
      }
      RemoveDirectoryA(folder.c_str());
    }
  });
  form.ClickScan();
  remover.join();
  EXPECT_EQ(form.FoundCount(), static_cast<int>(form.Traces().Count()));
  EXPECT_LE(form.FoundCount(), kFolders * 20);
  for (const std::string& path : PathsWithInfo(form, "Internet Explorer History"))
    EXPECT_EQ(path.rfind(R() + "\\F", 0), 0u) << path;
  form.ClickScan();
  EXPECT_EQ(form.FoundCount(), 0);
}

TEST_F(InterTest, TypedAddressesAndTheDownloadFolder) {
  Sandbox::SetString(Root::HKCU, std::string(kBrowserKey) + "\\TypedURLs", "url1", "http://one.example/");
  Sandbox::SetString(Root::HKCU, std::string(kBrowserKey) + "\\TypedURLs", "url2", "http://two.example/");
  Sandbox::SetString(Root::HKCU, std::string(kBrowserKey) + "\\TypedURLs", "url3", "http://three.example/");
  Sandbox::SetString(Root::HKCU, kBrowserKey, "Download Directory", "C:\\Downloads");
  Sandbox::SetString(Root::HKCU, kBrowserKey, "Start Page", "http://home.example/");

  TInterForm form;
  ASSERT_TRUE(form.Create());
  auto rows = ReadList(form.Traces().Handle());
  ASSERT_EQ(rows.size(), 4u);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(rows[i].Name(), "url" + std::to_string(i + 1));
    EXPECT_EQ(rows[i].Location(), "HKCU\\Software\\Microsoft\\Internet Explorer\\TypedURLs");
    EXPECT_EQ(rows[i].Type(), "Registry Data");
    EXPECT_EQ(rows[i].Size(), "");
    EXPECT_TRUE(rows[i].ticked);
  }
  EXPECT_EQ(rows[1].Info(), "http://two.example/");
  EXPECT_EQ(rows[3].Name(), "Download Directory");
  EXPECT_EQ(rows[3].Location(), "HKCU\\Software\\Microsoft\\Internet Explorer");
  EXPECT_EQ(rows[3].Info(), "C:\\Downloads");

  // The registry keeps one value whatever the case; the name must read exactly so.
  Sandbox::DeleteValue(Root::HKCU, kBrowserKey, "Download Directory");
  Sandbox::SetString(Root::HKCU, kBrowserKey, "DOWNLOAD DIRECTORY", "C:\\Downloads");
  form.ClickScan();
  EXPECT_EQ(form.FoundCount(), 3);
}

}  // namespace
