// Names outside any one ANSI code page (Cyrillic, Greek, Chinese) in a temporary folder,
// the Recent folder and an MRU key: listed and shown with their own letters and cleaned,
// long ones included, and nothing else is deleted. These tests run with the program's
// manifest, which asks for the UTF-8 code page.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <set>

#include "categories/explorer.h"
#include "categories/windsys.h"
#include "tests/support/category_test.h"

using namespace zarn;
using namespace zarn::test;

namespace {

// The last name is long: 200 letters, twice as many bytes in UTF-8. A file name takes at
// most 255 bytes on the Unix file systems Wine runs on, so files get a shorter long name.
const std::wstring kNames[] = {L"Привет мир", L"Γειά σου", L"你好世界", std::wstring(200, L'Ж')};
std::wstring FileName(const std::wstring& name, const wchar_t* extension) {
  return (name.size() > 125 ? name.substr(0, 125) : name) + extension;
}
const char kRunMru[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RunMRU";

std::string Utf8(const std::wstring& text) {
  const int n =
      WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
  return out;
}

std::wstring Wide(const std::string& ascii) { return std::wstring(ascii.begin(), ascii.end()); }

// Files and values are made through the wide functions, so they bear their true names
// whatever code page this program runs with.
void WriteFileW(const std::wstring& path) {
  HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  CloseHandle(h);
}
bool ExistsW(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

void SetValueW(const std::string& key, const std::wstring& name) {
  HKEY k = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, Wide(key).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &k, nullptr),
            ERROR_SUCCESS);
  RegSetValueExW(k, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(L"x"), 2 * sizeof(wchar_t));
  RegCloseKey(k);
}
bool ValueExistsW(const std::string& key, const std::wstring& name) {
  HKEY k = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, Wide(key).c_str(), 0, KEY_READ, &k) != ERROR_SUCCESS) return false;
  const bool found = RegQueryValueExW(k, name.c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
  RegCloseKey(k);
  return found;
}

// What the detail dialog shows for a row, read back as Unicode.
std::wstring ShownName(HWND list, int row) {
  std::vector<wchar_t> text(1024);
  LVITEMW item{};
  item.iSubItem = 0;
  item.pszText = text.data();
  item.cchTextMax = static_cast<int>(text.size());
  SendMessageW(list, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
  return text.data();
}

// The names the form lists at `location`, as items and as shown.
struct Listed {
  std::set<std::string> names;
  std::set<std::wstring> shown;
};
Listed ListedAt(TCategoryForm& form, const std::string& location) {
  Listed listed;
  for (size_t i = 0; i < form.Traces().Count(); ++i) {
    const TraceItem& item = form.Traces().Item(i);
    if (item.location != location) continue;
    listed.names.insert(item.name);
    listed.shown.insert(ShownName(form.Traces().Handle(), static_cast<int>(i)));
  }
  return listed;
}

// Unticks every row found elsewhere: the machine's clipboard, recycle bin and folders stay.
void UntickAllBut(TCategoryForm& form, const std::set<std::string>& locations) {
  for (size_t i = 0; i < form.Traces().Count(); ++i)
    if (!locations.count(form.Traces().Item(i).location)) SetTick(form.Traces().Handle(), static_cast<int>(i), false);
}

class NamesTest : public CategoryTest {};

TEST_F(NamesTest, TemporaryFilesInAnyLanguageAreListedShownAndCleaned) {
  const std::wstring temp = Wide(sandbox.localSettings) + L"\\Temp\\";
  Sandbox::MakeDir(sandbox.localSettings + "\\Temp");
  std::set<std::string> expected;
  std::set<std::wstring> expectedShown;
  for (const std::wstring& name : kNames) {
    WriteFileW(temp + FileName(name, L".tmp"));
    expected.insert(Utf8(FileName(name, L".tmp")));
    expectedShown.insert(FileName(name, L".tmp"));
  }
  WriteFileW(temp + L"Привет.txt");

  TWindSysForm form;
  ASSERT_TRUE(form.Create());
  const std::string location = sandbox.localSettings + "\\Temp\\";
  const Listed listed = ListedAt(form, location);
  EXPECT_EQ(listed.names, expected);
  EXPECT_EQ(listed.shown, expectedShown);

  UntickAllBut(form, {location});
  form.ClickDelete();
  for (const std::wstring& name : kNames) EXPECT_FALSE(ExistsW(temp + FileName(name, L".tmp")));
  EXPECT_TRUE(ExistsW(temp + L"Привет.txt"));
}

TEST_F(NamesTest, RecentShortcutsAndMruValuesInAnyLanguageAreListedShownAndCleaned) {
  const std::wstring recent = Wide(sandbox.recent) + L"\\";
  std::set<std::string> expectedFiles, expectedValues;
  std::set<std::wstring> shownFiles, shownValues;
  for (const std::wstring& name : kNames) {
    WriteFileW(recent + FileName(name, L".lnk"));
    SetValueW(kRunMru, name);
    SetValueW("Software\\Zarn Elsewhere", name);
    expectedFiles.insert(Utf8(FileName(name, L".lnk")));
    shownFiles.insert(FileName(name, L".lnk"));
    expectedValues.insert(Utf8(name));
    shownValues.insert(name);
  }

  TDetailsForm form;
  ASSERT_TRUE(form.Create());
  const std::string files = sandbox.recent + "\\", values = std::string("HKCU\\") + kRunMru;
  EXPECT_EQ(ListedAt(form, files).names, expectedFiles);
  EXPECT_EQ(ListedAt(form, files).shown, shownFiles);
  EXPECT_EQ(ListedAt(form, values).names, expectedValues);
  EXPECT_EQ(ListedAt(form, values).shown, shownValues);

  UntickAllBut(form, {files, values});
  form.ClickDelete();
  for (const std::wstring& name : kNames) {
    EXPECT_FALSE(ExistsW(recent + FileName(name, L".lnk")));
    EXPECT_FALSE(ValueExistsW(kRunMru, name));
    EXPECT_TRUE(ValueExistsW("Software\\Zarn Elsewhere", name));
  }
}

}  // namespace

namespace {

// Data is read into a buffer of 256 characters: in UTF-8 a Cyrillic letter takes two bytes,
// so text of 200 letters still fits, and text of 300 is too long as it always was.
TEST(NamesDataTest, RegistryTextFitsByCharactersNotBytes) {
  Sandbox sandbox;
  const struct {
    size_t letters;
    bool read;
  } cases[] = {{200, true}, {255, true}, {256, false}, {300, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.letters);
    const std::wstring text(c.letters, L'Ж');
    HKEY k = nullptr;
    ASSERT_EQ(
        RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Zarn Data", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &k, nullptr),
        ERROR_SUCCESS);
    RegSetValueExW(k, L"v", 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                   static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(k);
    EXPECT_EQ(ReadRegString("Software\\Zarn Data", "v", HKEY_CURRENT_USER), c.read ? Utf8(text) : std::string());
  }
}

}  // namespace
