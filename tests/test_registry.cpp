// Registry reads and the registry accessor, in the sandbox's scratch keys.
#include <gtest/gtest.h>

#include "tests/support/sandbox.h"
#include "traces/registry.h"

using namespace zarn;
using zarn::test::Sandbox;

namespace {

class RegistryTest : public zarn::test::SandboxTest {};

const char kKey[] = "Software\\ZarnProbe";

TEST_F(RegistryTest, ReadRegStringOfStringsUpToTheBuffer) {
  Sandbox::SetString(Root::HKCU, kKey, "s255", std::string(255, 'a'));
  Sandbox::SetString(Root::HKCU, kKey, "s256", std::string(256, 'b'));
  Sandbox::SetString(Root::HKCU, kKey, "s300", std::string(300, 'c'));
  Sandbox::SetString(Root::HKCU, kKey, "empty", "");
  Sandbox::SetString(Root::HKCU, kKey, "", "default data");
  EXPECT_EQ(ReadRegString(kKey, "s255", HKEY_CURRENT_USER), std::string(255, 'a'));
  EXPECT_EQ(ReadRegString(kKey, "s256", HKEY_CURRENT_USER), "");
  EXPECT_EQ(ReadRegString(kKey, "s300", HKEY_CURRENT_USER), "");
  EXPECT_EQ(ReadRegString(kKey, "empty", HKEY_CURRENT_USER), "");
  EXPECT_EQ(ReadRegString(kKey, "", HKEY_CURRENT_USER), "default data");
  EXPECT_EQ(ReadRegString(kKey, "missing", HKEY_CURRENT_USER), "");
  EXPECT_EQ(ReadRegString("Software\\NoSuchKey", "x", HKEY_CURRENT_USER), "");
}

TEST_F(RegistryTest, ReadRegStringOfOtherTypesNeverReadsPastTheData) {
  DWORD dword = 0x00434241;  // "ABC\0"
  Sandbox::SetValue(Root::HKCU, kKey, "dword", REG_DWORD, &dword, sizeof dword);
  const unsigned char binary[] = {'x', 'y', 'z'};
  Sandbox::SetValue(Root::HKCU, kKey, "binary", REG_BINARY, binary, sizeof binary);
  Sandbox::SetValue(Root::HKCU, kKey, "zero", REG_BINARY, binary, 0);
  const char multi[] = "one\0two\0";
  Sandbox::SetValue(Root::HKCU, kKey, "multi", REG_MULTI_SZ, multi, sizeof multi);
  const char unterminated[] = {'a', 'b', 'c'};
  Sandbox::SetValue(Root::HKCU, kKey, "unterminated", REG_SZ, unterminated, sizeof unterminated);
  EXPECT_EQ(ReadRegString(kKey, "dword", HKEY_CURRENT_USER), "ABC");
  EXPECT_EQ(ReadRegString(kKey, "binary", HKEY_CURRENT_USER), "xy");
  EXPECT_EQ(ReadRegString(kKey, "zero", HKEY_CURRENT_USER), "");
  EXPECT_EQ(ReadRegString(kKey, "multi", HKEY_CURRENT_USER), "one");
  std::string text = ReadRegString(kKey, "unterminated", HKEY_CURRENT_USER);
  EXPECT_LE(text.size(), 3u);
  EXPECT_EQ(text.find('\0'), std::string::npos);
}

TEST_F(RegistryTest, HighBytesInNamesAndData) {
  const std::string name = "Datei \xE4\xF6\xFC";
  Sandbox::SetString(Root::HKCU, kKey, name, "C:\\d\xE9j\xE0.txt");
  EXPECT_EQ(ReadRegString(kKey, name, HKEY_CURRENT_USER), "C:\\d\xE9j\xE0.txt");
  TRegistry reg;
  ASSERT_TRUE(reg.OpenRegKey(std::string("\\") + kKey));
  TextList names;
  reg.ListValueNames(names);
  ASSERT_EQ(names.Count(), 1u);
  EXPECT_EQ(names.Text(0), name);
}

TEST_F(RegistryTest, OpenRegKeyNeverCreatesAndTakesRelativePaths) {
  Sandbox::CreateKey(Root::HKCU, "Software\\A\\B\\C");
  TRegistry reg(HKEY_CURRENT_USER);
  EXPECT_FALSE(reg.OpenRegKey("\\Software\\Missing"));
  EXPECT_FALSE(Sandbox::KeyExists(Root::HKCU, "Software\\Missing"));
  ASSERT_TRUE(reg.OpenRegKey("\\Software\\A"));
  EXPECT_EQ(reg.CurrentPath(), "Software\\A");
  ASSERT_TRUE(reg.OpenRegKey("B"));  // relative to the open key
  EXPECT_EQ(reg.CurrentPath(), "Software\\A\\B");
  EXPECT_FALSE(reg.OpenRegKey("Nope"));
  EXPECT_EQ(reg.CurrentPath(), "Software\\A\\B");  // a failed open changes nothing
  EXPECT_TRUE(reg.RegKeyExists("C"));
  EXPECT_TRUE(reg.RegKeyExists("\\Software\\A\\B\\C"));
  EXPECT_FALSE(reg.RegKeyExists("\\Software\\A\\C"));
  EXPECT_EQ(reg.CurrentPath(), "Software\\A\\B");
  ASSERT_TRUE(reg.OpenRegKey("\\Software\\A\\B\\C\\"));  // a trailing backslash is passed on
  reg.SetRootKey(HKEY_LOCAL_MACHINE);
  EXPECT_EQ(reg.CurrentKey(), nullptr);
  EXPECT_FALSE(reg.OpenRegKey("\\Software\\A"));
}

TEST_F(RegistryTest, ListsNamesInEnumerationOrderIncludingTheDefaultValue) {
  Sandbox::SetString(Root::HKCU, kKey, "b", "1");
  Sandbox::SetString(Root::HKCU, kKey, "a", "2");
  Sandbox::SetString(Root::HKCU, kKey, "", "default");
  Sandbox::CreateKey(Root::HKCU, std::string(kKey) + "\\sub1");
  Sandbox::CreateKey(Root::HKCU, std::string(kKey) + "\\sub2");
  TRegistry reg;
  TextList values, subkeys;
  values.Add("stale");
  reg.ListValueNames(values);  // no open key: nothing
  EXPECT_TRUE(values.Empty());
  ASSERT_TRUE(reg.OpenRegKey(std::string("\\") + kKey));
  reg.ListValueNames(values);
  reg.ListSubkeyNames(subkeys);

  ASSERT_TRUE(Sandbox::KeyExists(Root::HKCU, kKey));
  const std::vector<std::string> expected = zarn::test::EnumeratedValues(kKey);
  ASSERT_EQ(values.Count(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(values.Text(i), expected[i]);
  EXPECT_EQ(values.Count(), 3u);
  ASSERT_EQ(subkeys.Count(), 2u);
  EXPECT_EQ(subkeys.Stored(0), " sub1");
  EXPECT_EQ(subkeys.Text(1), "sub2");
}

TEST_F(RegistryTest, ThousandsOfValuesAndLongNames) {
  HKEY key;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  for (int i = 0; i < 3000; ++i) {
    std::string name = "v" + std::to_string(i);
    RegSetValueExA(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>("x"), 2);
  }
  const std::string longName(255, 'n');
  RegSetValueExA(key, longName.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>("y"), 2);
  RegCloseKey(key);
  TRegistry reg;
  ASSERT_TRUE(reg.OpenRegKey(std::string("\\") + kKey));
  TextList values;
  reg.ListValueNames(values);
  EXPECT_EQ(values.Count(), 3001u);
  bool sawLong = false;
  for (size_t i = 0; i < values.Count(); ++i) sawLong |= values.Text(i) == longName;
  EXPECT_TRUE(sawLong);
}

TEST_F(RegistryTest, DeleteRegValueAndKeyTree) {
  const std::string tree = std::string(kKey) + "\\Tree";
  Sandbox::SetString(Root::HKCU, tree, "v", "1");
  Sandbox::SetString(Root::HKCU, tree + "\\a\\deep\\deeper", "x", "1");
  Sandbox::CreateKey(Root::HKCU, tree + "\\b");
  Sandbox::SetString(Root::HKCU, kKey, "keep", "1");
  Sandbox::CreateKey(Root::HKCU, std::string(kKey) + "\\Sibling");

  TRegistry reg;
  ASSERT_TRUE(reg.OpenRegKey(std::string("\\") + kKey));
  EXPECT_FALSE(reg.DeleteRegValue("missing"));
  EXPECT_FALSE(reg.DeleteRegKeyTree("Missing"));
  EXPECT_TRUE(reg.DeleteRegKeyTree("Tree"));
  EXPECT_FALSE(Sandbox::KeyExists(Root::HKCU, tree));
  EXPECT_TRUE(Sandbox::KeyExists(Root::HKCU, std::string(kKey) + "\\Sibling"));
  EXPECT_TRUE(Sandbox::ValueExists(Root::HKCU, kKey, "keep"));
  EXPECT_TRUE(reg.DeleteRegValue("keep"));
  EXPECT_FALSE(Sandbox::ValueExists(Root::HKCU, kKey, "keep"));

  // An empty name would address the open key itself: it is never deleted that way.
  EXPECT_FALSE(reg.DeleteRegKeyTree(""));
  EXPECT_TRUE(Sandbox::KeyExists(Root::HKCU, kKey));

  Sandbox::CreateKey(Root::HKCU, "Software\\Absolute\\X");
  EXPECT_TRUE(reg.DeleteRegKeyTree("\\Software\\Absolute"));
  EXPECT_FALSE(Sandbox::KeyExists(Root::HKCU, "Software\\Absolute"));
}

TEST_F(RegistryTest, RootsStayApart) {
  Sandbox::SetString(Root::HKLM, "Software\\Shared", "Name", "machine");
  Sandbox::SetString(Root::HKCU, "Software\\Shared", "Name", "user");
  EXPECT_EQ(ReadRegString("Software\\Shared", "Name", HKEY_LOCAL_MACHINE), "machine");
  EXPECT_EQ(ReadRegString("Software\\Shared", "Name", HKEY_CURRENT_USER), "user");
  TRegistry reg(HKEY_LOCAL_MACHINE);
  ASSERT_TRUE(reg.OpenRegKey("\\Software\\Shared"));
  EXPECT_TRUE(reg.DeleteRegValue("Name"));
  EXPECT_TRUE(Sandbox::ValueExists(Root::HKCU, "Software\\Shared", "Name"));
}

}  // namespace
