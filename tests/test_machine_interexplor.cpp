// The Internet Explorer category's cleaning: the files and values it names, and the
// machine's real URL cache, which every clean empties. Runs only in the throwaway prefix.
#include <windows.h>
#include <wininet.h>

#include <gtest/gtest.h>

#include "categories/interexplor.h"
#include "tests/support/category_test.h"

using namespace zarn;
using namespace zarn::test;

namespace {

const char kTyped[] = "Software\\Microsoft\\Internet Explorer\\TypedURLs";
const char kBrowserKey[] = "Software\\Microsoft\\Internet Explorer";

void AddCacheEntry(const std::string& url, DWORD type) {
  char file[MAX_PATH] = "";
  ASSERT_TRUE(CreateUrlCacheEntryA(url.c_str(), 0, "htm", file, 0)) << url;
  Sandbox::WriteFile(file, "cached " + url);
  FILETIME none{};
  ASSERT_TRUE(CommitUrlCacheEntryA(url.c_str(), file, none, none, type, nullptr, 0, nullptr, nullptr)) << url;
}

bool InCache(const std::string& url) {
  DWORD size = 0;
  GetUrlCacheEntryInfoA(url.c_str(), nullptr, &size);
  return GetLastError() == ERROR_INSUFFICIENT_BUFFER;
}

// Every source URL the cache enumerates without a pattern.
std::vector<std::string> CacheUrls() {
  std::vector<std::string> urls;
  std::vector<BYTE> buffer(65536);
  auto* info = reinterpret_cast<INTERNET_CACHE_ENTRY_INFOA*>(buffer.data());
  DWORD size = static_cast<DWORD>(buffer.size());
  HANDLE find = FindFirstUrlCacheEntryA(nullptr, info, &size);
  if (!find) return urls;
  do {
    urls.emplace_back(info->lpszSourceUrlName);
    size = static_cast<DWORD>(buffer.size());
  } while (FindNextUrlCacheEntryA(find, info, &size));
  FindCloseUrlCache(find);
  return urls;
}

class UrlCacheTest : public CategoryTest {
 protected:
  void SetUp() override {
    CategoryTest::SetUp();
    ZARN_REQUIRE_THROWAWAY_PREFIX();
  }
  const std::string tag = std::to_string(GetCurrentProcessId());
  std::string ContentUrl(int i) const { return "http://zarn-" + tag + ".example/page" + std::to_string(i) + ".htm"; }
};

TEST_F(UrlCacheTest, ClearUrlCacheDeletesEveryContentEntryAndLeavesCookiesAndHistory) {
  for (int i = 0; i < 5; ++i) AddCacheEntry(ContentUrl(i), NORMAL_CACHE_ENTRY);
  const std::string cookie = "Cookie:zarn" + tag + "@cookie.example/";
  const std::string visited = "Visited: zarn" + tag + "@http://visited.example/";
  AddCacheEntry(cookie, COOKIE_CACHE_ENTRY);
  AddCacheEntry(visited, URLHISTORY_CACHE_ENTRY);
  for (int i = 0; i < 5; ++i) ASSERT_TRUE(InCache(ContentUrl(i)));
  ASSERT_TRUE(InCache(cookie));

  ClearUrlCache();
  for (int i = 0; i < 5; ++i) EXPECT_FALSE(InCache(ContentUrl(i))) << ContentUrl(i);
  EXPECT_TRUE(InCache(cookie));
  EXPECT_TRUE(InCache(visited));
  for (const std::string& url : CacheUrls()) {
    const bool kept = _strnicmp(url.c_str(), "Cookie:", 7) == 0 || _strnicmp(url.c_str(), "Visited:", 8) == 0;
    EXPECT_TRUE(kept) << url;
  }

  // An empty cache ends the step quietly.
  ClearUrlCache();
  DeleteUrlCacheEntryA(cookie.c_str());
  DeleteUrlCacheEntryA(visited.c_str());
}

TEST_F(UrlCacheTest, EntriesWithLongUrlsAreSizedAndDeleted) {
  const std::string url = "http://zarn-" + tag + ".example/" + std::string(1500, 'q') + "\xE9.htm";
  AddCacheEntry(url, NORMAL_CACHE_ENTRY);
  ASSERT_TRUE(InCache(url));
  ClearUrlCache();
  EXPECT_FALSE(InCache(url));
}

TEST_F(UrlCacheTest, CleanDeletesTheTickedTracesThenEmptiesTheCache) {
  const std::string cookies = sandbox.cookies, cacheRoot = sandbox.cache + "\\Content.IE5";
  Sandbox::WriteFile(cookies + "\\user@doubleclick[1].txt");
  Sandbox::WriteFile(cookies + "\\user@google[1].txt");
  Sandbox::WriteFile(cookies + "\\user@example[1].txt");
  Sandbox::WriteFile(cacheRoot + "\\index.dat");
  Sandbox::WriteFile(cacheRoot + "\\ABCD1234\\page.htm");
  Sandbox::WriteFile(cacheRoot + "\\ABCD1234\\style.css");
  SetFileAttributesA((cacheRoot + "\\ABCD1234\\page.htm").c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
  Sandbox::SetString(Root::HKCU, kTyped, "url1", "http://one.example/");
  Sandbox::SetString(Root::HKCU, kTyped, "url2", "http://two.example/");
  Sandbox::SetString(Root::HKCU, kBrowserKey, "Download Directory", "C:\\Downloads");
  Sandbox::SetString(Root::HKCU, kBrowserKey, "Start Page", "http://home.example/");
  AddCacheEntry(ContentUrl(0), NORMAL_CACHE_ENTRY);

  TInterForm form;
  ASSERT_TRUE(form.Create());
  ASSERT_EQ(form.FoundCount(), 7);
  HWND list = form.Traces().Handle();
  SetTick(list, FindRow(list, "user@google[1].txt"), false);
  SetTick(list, FindRow(list, "style.css"), false);
  SetTick(list, FindRow(list, "url2"), false);
  form.ClickDelete();

  EXPECT_FALSE(Sandbox::Exists(cookies + "\\user@doubleclick[1].txt"));
  EXPECT_TRUE(Sandbox::Exists(cookies + "\\user@google[1].txt"));
  EXPECT_TRUE(Sandbox::Exists(cookies + "\\user@example[1].txt"));
  EXPECT_TRUE(Sandbox::Exists(cacheRoot + "\\index.dat"));
  EXPECT_FALSE(Sandbox::Exists(cacheRoot + "\\ABCD1234\\page.htm"));
  EXPECT_TRUE(Sandbox::Exists(cacheRoot + "\\ABCD1234\\style.css"));
  EXPECT_FALSE(Sandbox::ValueExists(Root::HKCU, kTyped, "url1"));
  EXPECT_TRUE(Sandbox::ValueExists(Root::HKCU, kTyped, "url2"));
  EXPECT_FALSE(Sandbox::ValueExists(Root::HKCU, kBrowserKey, "Download Directory"));
  EXPECT_TRUE(Sandbox::ValueExists(Root::HKCU, kBrowserKey, "Start Page"));
  EXPECT_FALSE(InCache(ContentUrl(0)));
  EXPECT_EQ(form.FoundCount(), 7);
  EXPECT_EQ(form.Traces().Count(), 7u);
}

TEST_F(UrlCacheTest, CleanWithNothingTickedStillEmptiesTheCache) {
  Sandbox::WriteFile(sandbox.cookies + "\\user@doubleclick[1].txt");
  Sandbox::SetString(Root::HKCU, kTyped, "url1", "http://one.example/");
  AddCacheEntry(ContentUrl(1), NORMAL_CACHE_ENTRY);
  TInterForm form;
  ASSERT_TRUE(form.Create());
  ASSERT_EQ(form.FoundCount(), 2);
  for (int i = 0; i < 2; ++i) SetTick(form.Traces().Handle(), i, false);
  form.ClickDelete();
  EXPECT_TRUE(Sandbox::Exists(sandbox.cookies + "\\user@doubleclick[1].txt"));
  EXPECT_TRUE(Sandbox::ValueExists(Root::HKCU, kTyped, "url1"));
  EXPECT_FALSE(InCache(ContentUrl(1)));
}

}  // namespace
