// The Macromedia scan: seven value lists, every value but "MRUList", a key with thousands
// of values, a key the user may read but not change, and a clean that deletes values only.
#include <windows.h>
#include <aclapi.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "categories/Macromed.h"
#include "tests/support/category_test.h"

using namespace zarn;
using namespace zarn::test;

namespace {

const char kFlash4[] = "Software\\Macromedia\\Flash 4\\Recent File List";
const char kFlash5[] = "Software\\Macromedia\\Flash 5\\Recent File List";
const char kHomeSite[] = "Software\\Macromedia\\HomeSite5\\RecentFiles";
const char kDreamweaver[] = "Software\\Macromedia\\Dreamweaver MX 2004\\Recent File List";

class MacromediaTest : public CategoryTest {};

// Replaces a key's access list: everyone may only read (`readOnly`), or do anything.
bool SetKeyAccess(const std::string& key, bool readOnly) {
  HKEY k = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, WRITE_DAC, &k) != ERROR_SUCCESS) return false;
  SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
  PSID everyone = nullptr;
  AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, &everyone);
  EXPLICIT_ACCESSA access{};
  access.grfAccessPermissions = readOnly ? KEY_READ : KEY_ALL_ACCESS;
  access.grfAccessMode = SET_ACCESS;
  access.grfInheritance = NO_INHERITANCE;
  access.Trustee.TrusteeForm = TRUSTEE_IS_SID;
  access.Trustee.TrusteeType = TRUSTEE_IS_WELL_KNOWN_GROUP;
  access.Trustee.ptstrName = static_cast<LPSTR>(everyone);
  PACL acl = nullptr;
  bool ok = SetEntriesInAclA(1, &access, nullptr, &acl) == ERROR_SUCCESS;
  SECURITY_DESCRIPTOR sd;
  ok = ok && InitializeSecurityDescriptor(&sd, SECURITY_DESCRIPTOR_REVISION) &&
       SetSecurityDescriptorDacl(&sd, TRUE, acl, FALSE) &&
       RegSetKeySecurity(k, DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION, &sd) == ERROR_SUCCESS;
  if (acl) LocalFree(acl);
  FreeSid(everyone);
  RegCloseKey(k);
  return ok;
}

TEST_F(MacromediaTest, EveryValueButMRUListInTableOrder) {
  Sandbox::SetString(Root::HKCU, kDreamweaver, "mrulist", "other case");
  Sandbox::SetString(Root::HKCU, kHomeSite, "", "homesite default");
  Sandbox::SetString(Root::HKCU, kFlash5, "MRUList", "ab");
  Sandbox::SetString(Root::HKCU, kFlash5, "a", "C:\\a.fla");
  Sandbox::SetString(Root::HKCU, kFlash5, "b", "C:\\b.fla");
  Sandbox::SetString(Root::HKCU, std::string(kFlash5) + "\\Subkey", "x", "y");
  Sandbox::SetString(Root::HKCU, kFlash4, "File1", "C:\\old.fla");

  TmacromediaForm form;
  ASSERT_TRUE(form.Create());
  auto rows = ReadList(form.Traces().Handle());
  EXPECT_EQ(Names(rows), (std::vector<std::string>{"File1", "a", "b", "", "mrulist"}));
  ASSERT_EQ(rows.size(), 5u);
  EXPECT_EQ(rows[1].Location(), "HKCU\\" + std::string(kFlash5));
  EXPECT_EQ(rows[1].Type(), "Registry Data");
  EXPECT_EQ(rows[1].Info(), "C:\\a.fla");
  EXPECT_EQ(rows[1].Size(), "");
  EXPECT_EQ(rows[3].Location(), "HKCU\\" + std::string(kHomeSite));
  EXPECT_EQ(rows[3].Info(), "homesite default");
  EXPECT_EQ(WindowText(form.StatusLabel()), "5 Files Found");
}

TEST_F(MacromediaTest, AKeyWithThousandsOfValuesListsThemAll) {
  HKEY k = nullptr;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kFlash5, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &k, nullptr),
            ERROR_SUCCESS);
  constexpr int kCount = 3000;
  for (int i = 0; i < kCount; ++i) {
    const std::string name = "File" + std::to_string(i);
    RegSetValueExA(k, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(name.c_str()),
                   static_cast<DWORD>(name.size() + 1));
  }
  RegSetValueExA(k, "MRUList", 0, REG_SZ, reinterpret_cast<const BYTE*>("a"), 2);
  RegCloseKey(k);

  TmacromediaForm form;
  DWORD start = GetTickCount();
  ASSERT_TRUE(form.Create());
  DWORD elapsed = GetTickCount() - start;
  EXPECT_EQ(form.FoundCount(), kCount);
  EXPECT_EQ(WindowText(form.StatusLabel()), "3000 Files Found");
  EXPECT_LT(elapsed, 20000u);
  const TraceList& list = form.Traces();
  ASSERT_EQ(list.Count(), static_cast<size_t>(kCount));
  for (size_t i = 0; i < list.Count(); i += 499) EXPECT_EQ(list.Item(i).info, list.Item(i).name);
}

TEST_F(MacromediaTest, AKeyThatCannotBeOpenedWithFullAccessAddsNothing) {
  Sandbox::SetString(Root::HKCU, kFlash4, "File1", "C:\\locked.fla");
  Sandbox::SetString(Root::HKCU, kFlash5, "File1", "C:\\open.fla");
  ASSERT_TRUE(SetKeyAccess(kFlash4, true));
  HKEY probe = nullptr;
  LONG full = RegOpenKeyExA(HKEY_CURRENT_USER, kFlash4, 0, KEY_ALL_ACCESS, &probe);
  if (full == ERROR_SUCCESS) RegCloseKey(probe);
  LONG read = RegOpenKeyExA(HKEY_CURRENT_USER, kFlash4, 0, KEY_READ, &probe);
  if (read == ERROR_SUCCESS) RegCloseKey(probe);
  if (full == ERROR_SUCCESS) {
    SetKeyAccess(kFlash4, false);
    GTEST_SKIP() << "this system grants full access to the key despite its read-only access list";
  }
  ASSERT_EQ(read, ERROR_SUCCESS);

  TmacromediaForm form;
  ASSERT_TRUE(form.Create());
  auto rows = ReadList(form.Traces().Handle());
  EXPECT_TRUE(SetKeyAccess(kFlash4, false));  // so that the sandbox can remove it
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].Location(), "HKCU\\" + std::string(kFlash5));
}

TEST_F(MacromediaTest, CleanDeletesTheTickedValuesAndNoKey) {
  const std::string sub = std::string(kFlash5) + "\\a";
  Sandbox::SetString(Root::HKCU, kFlash5, "", "default");
  Sandbox::SetString(Root::HKCU, kFlash5, "b", "C:\\b.fla");
  Sandbox::SetString(Root::HKCU, kFlash5, "c", "C:\\c.fla");
  Sandbox::SetString(Root::HKCU, kFlash5, "MRUList", "bc");
  Sandbox::SetString(Root::HKCU, sub, "inner", "survives");
  Sandbox::SetString(Root::HKCU, kFlash4, "File1", "C:\\old.fla");
  Sandbox::SetString(Root::HKCU, "Software\\Macromedia\\Flash 5", "Neighbour", "n");

  TmacromediaForm form;
  ASSERT_TRUE(form.Create());
  const HWND lv = form.Traces().Handle();
  ASSERT_EQ(form.FoundCount(), 4);
  SetTick(lv, FindRow(lv, "c"), false);
  form.ClickDelete();

  // The default value goes; its key, the key's subkey and its other values stay.
  EXPECT_FALSE(Sandbox::ValueExists(Root::HKCU, kFlash5, ""));
  EXPECT_TRUE(Sandbox::KeyExists(Root::HKCU, kFlash5));
  EXPECT_FALSE(Sandbox::ValueExists(Root::HKCU, kFlash5, "b"));
  EXPECT_TRUE(Sandbox::ValueExists(Root::HKCU, kFlash5, "c"));
  EXPECT_TRUE(Sandbox::ValueExists(Root::HKCU, kFlash5, "MRUList"));
  EXPECT_TRUE(Sandbox::ValueExists(Root::HKCU, sub, "inner"));
  EXPECT_FALSE(Sandbox::ValueExists(Root::HKCU, kFlash4, "File1"));
  EXPECT_TRUE(Sandbox::KeyExists(Root::HKCU, kFlash4));
  EXPECT_TRUE(Sandbox::ValueExists(Root::HKCU, "Software\\Macromedia\\Flash 5", "Neighbour"));
}

}  // namespace
