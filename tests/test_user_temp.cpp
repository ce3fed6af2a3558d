// The System scan's user temporary folder on a profile of Vista and later, whose Shell
// Folders key has no "Local Settings" value: the folder the user's environment names.
#include <windows.h>

#include <gtest/gtest.h>

#include "categories/windsys.h"
#include "tests/support/category_test.h"

using namespace zarn;
using namespace zarn::test;

namespace {

const char kShellFolders[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

std::vector<std::string> TempPaths(TCategoryForm& form) {
  std::vector<std::string> paths;
  for (const ShownRow& row : ReadList(form.Traces().Handle()))
    if (row[3] == "All items listed in Temporary Folder") paths.push_back(row[1] + row[0]);
  return paths;
}

class UserTempTest : public CategoryTest {
 protected:
  void SetUp() override {
    CategoryTest::SetUp();
    user = sandbox.Dir() + "\\Profile\\AppData\\Local\\Temp";
    SetEnvironmentVariableA("ZARN_TEST_PROFILE", (sandbox.Dir() + "\\Profile").c_str());
    Sandbox::WriteFile(sandbox.systemRoot + "\\Temp\\win.tmp");
    Sandbox::WriteFile(sandbox.localSettings + "\\Temp\\xp.tmp");
    Sandbox::WriteFile(user + "\\user.tmp", "1234");
    Sandbox::WriteFile(user + "\\notes.txt");
    Sandbox::MakeDir(user + "\\folder.tmp");
    Sandbox::WriteFile(user + "\\held.tmp");
  }
  void TearDown() override { SetEnvironmentVariableA("ZARN_TEST_PROFILE", nullptr); }
  static void SetTemp(const char* name, const std::string& value) {
    Sandbox::SetValue(Root::HKCU, "Environment", name, REG_EXPAND_SZ, value.c_str(),
                      static_cast<DWORD>(value.size() + 1));
  }
  std::string user;
};

TEST_F(UserTempTest, WithoutLocalSettingsTheEnvironmentsTempFolderIsListed) {
  Sandbox::DeleteValue(Root::HKCU, kShellFolders, "Local Settings");
  HeldOpen held(user + "\\held.tmp");
  ASSERT_TRUE(held.Held());
  const std::string w = sandbox.systemRoot + "\\Temp\\";
  struct Case {
    const char* what;
    const char* tmp;   // HKCU\Environment "TMP", or none
    std::string temp;  // "TEMP"
    std::vector<std::string> expected;
  };
  const Case cases[] = {
      {"TEMP as Vista writes it",
       nullptr,
       "%ZARN_TEST_PROFILE%\\AppData\\Local\\Temp",
       {w + "win.tmp", user + "\\user.tmp"}},
      {"TMP before TEMP",
       "%ZARN_TEST_PROFILE%\\AppData\\Local\\Temp\\",
       "C:\\zarn-elsewhere",
       {w + "win.tmp", user + "\\user.tmp"}},
      {"the Windows folder's temp is listed once", nullptr, sandbox.systemRoot + "\\TEMP\\", {w + "win.tmp"}},
      {"a drive root is never listed", nullptr, "C:\\", {w + "win.tmp"}},
      {"an unknown variable is never a folder", nullptr, "%ZARN_NO_SUCH_VARIABLE%\\Temp", {w + "win.tmp"}},
      {"a relative path is never a folder", nullptr, "Temp", {w + "win.tmp"}},
      {"no value at all", nullptr, "", {w + "win.tmp"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Sandbox::DeleteValue(Root::HKCU, "Environment", "TMP");
    Sandbox::DeleteValue(Root::HKCU, "Environment", "TEMP");
    if (c.tmp) SetTemp("TMP", c.tmp);
    if (!c.temp.empty()) SetTemp("TEMP", c.temp);
    TWindSysForm form;
    ASSERT_TRUE(form.Create());
    EXPECT_EQ(TempPaths(form), c.expected);
  }
  const std::vector<ShownRow> rows = [&] {
    SetTemp("TEMP", "%ZARN_TEST_PROFILE%\\AppData\\Local\\Temp");
    TWindSysForm form;
    form.Create();
    return ReadList(form.Traces().Handle());
  }();
  const auto row = std::find_if(rows.begin(), rows.end(), [](const ShownRow& r) { return r[0] == "user.tmp"; });
  ASSERT_NE(row, rows.end());
  EXPECT_EQ((*row)[2], ".tmp");
  EXPECT_EQ((*row)[4], "4 bytes");
}

TEST_F(UserTempTest, WithLocalSettingsTheEnvironmentIsNotRead) {
  SetTemp("TEMP", "%ZARN_TEST_PROFILE%\\AppData\\Local\\Temp");
  TWindSysForm form;
  ASSERT_TRUE(form.Create());
  EXPECT_EQ(TempPaths(form), (std::vector<std::string>{sandbox.systemRoot + "\\Temp\\win.tmp",
                                                       sandbox.localSettings + "\\Temp\\xp.tmp"}));
}

}  // namespace
