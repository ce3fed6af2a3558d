// Names on Windows before version 1903, which ignores the manifest's UTF-8 setting: a name
// with a character outside the user's code page comes back from the ANSI functions with a
// '?' in it. Such a name is never listed, as a file or as a registry name; a registry name
// whose '?' is its own is. Runs with the user's single-byte code page.
#include <windows.h>

#include <gtest/gtest.h>

#include <sqlite3.h>

#include <algorithm>

#include "tests/support/list_reader.h"
#include "tests/support/sandbox.h"
#include "traces/database.h"
#include "traces/probes.h"
#include "traces/registry.h"

using namespace zarn;
using namespace zarn::test;

namespace {

TEST(LegacyCodePageNamesTest, NamesWithCharactersOutsideTheCodePageAreNeverListed) {
  ASSERT_NE(GetACP(), static_cast<UINT>(CP_UTF8));
  Sandbox sandbox;
  const std::wstring dir = std::wstring(sandbox.Dir().begin(), sandbox.Dir().end()) + L"\\names\\";
  CreateDirectoryW(dir.c_str(), nullptr);
  HKEY k = nullptr;
  ASSERT_EQ(
      RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Zarn Names", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &k, nullptr),
      ERROR_SUCCESS);
  for (const wchar_t* name : {L"plain", L"Привет", L"你好", L"caf\u00E9"}) {
    HANDLE h = CreateFileW((dir + name + L".tmp").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    CloseHandle(h);
    RegSetValueExW(k, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(L""), sizeof(wchar_t));
    HKEY sub = nullptr;
    if (RegCreateKeyW(k, name, &sub) == ERROR_SUCCESS) RegCloseKey(sub);
  }
  RegSetValueExW(k, L"what?", 0, REG_SZ, reinterpret_cast<const BYTE*>(L""), sizeof(wchar_t));
  RegCloseKey(k);

  // "café" is in every Western code page; where it is not, it is left out like the others.
  std::vector<std::string> kept = {"plain"};
  char cafe[8] = "";
  BOOL lost = FALSE;
  if (WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, L"caf\u00E9", -1, cafe, sizeof cafe, nullptr, &lost) && !lost)
    kept.push_back(cafe);
  std::sort(kept.begin(), kept.end());

  TextList list;
  ListFiles(list, sandbox.Dir() + "\\names\\", "*.tmp");
  std::vector<std::string> files = Texts(list);
  std::sort(files.begin(), files.end());
  std::vector<std::string> keptFiles;
  for (const std::string& name : kept) keptFiles.push_back(name + ".tmp");
  EXPECT_EQ(files, keptFiles);

  TRegistry reg(HKEY_CURRENT_USER);
  ASSERT_TRUE(reg.OpenRegKey("\\Software\\Zarn Names"));
  reg.ListValueNames(list);
  std::vector<std::string> values = Texts(list);
  std::sort(values.begin(), values.end());
  std::vector<std::string> keptValues = kept;
  keptValues.push_back("what?");
  std::sort(keptValues.begin(), keptValues.end());
  EXPECT_EQ(values, keptValues);
  reg.ListSubkeyNames(list);
  std::vector<std::string> keys = Texts(list);
  std::sort(keys.begin(), keys.end());
  EXPECT_EQ(keys, kept);
}

}  // namespace

namespace {

// SQLite takes file names in UTF-8: a database in a folder whose name is in the code page
// (as the user's profile folder of an older Windows may be) opens all the same.
TEST(LegacyCodePageNamesTest, ADatabaseInAFolderNamedInTheCodePageOpens) {
  ASSERT_EQ(GetACP(), 1252u);
  Sandbox sandbox;
  const std::string folder = sandbox.Dir() + "\\caf\xE9";
  ASSERT_EQ(Utf8Path(folder), sandbox.Dir() + "\\caf\xC3\xA9");
  CreateDirectoryA(folder.c_str(), nullptr);
  const std::wstring wide = std::wstring(sandbox.Dir().begin(), sandbox.Dir().end()) + L"\\caf\u00E9\\Cookies";
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open16(wide.c_str(), &db), SQLITE_OK);
  EXPECT_EQ(sqlite3_exec(db, "CREATE TABLE cookies(host_key TEXT)", nullptr, nullptr, nullptr), SQLITE_OK);
  sqlite3_close(db);
  Database opened(folder + "\\Cookies", Database::Mode::Read);
  ASSERT_TRUE(opened.Ok());
  EXPECT_TRUE(opened.HasColumns("main", "cookies", {"host_key"}));
}

}  // namespace
