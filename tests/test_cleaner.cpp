// The cleaner's per-category rules, on traces built by hand in the sandbox.
#include <gtest/gtest.h>

#include "tests/support/app_fixture.h"
#include "tests/support/list_reader.h"

using namespace zarn;
using namespace zarn::test;

namespace {

class CleanerTest : public AppTest {
 protected:
  // Leaves only the given traces ticked on a form: whatever its own scan found is unticked.
  // Items a test adds to a live form go on the list of its first scan, which runs here.
  static void UntickAll(TCategoryForm& form) {
    form.Scanned();
    for (size_t i = 0; i < form.Traces().Count(); ++i) form.Traces().SetTicked(i, false);
  }
  std::string File(const std::string& name, DWORD attributes = FILE_ATTRIBUTE_NORMAL) {
    std::string path = sandbox.Dir() + "\\files\\" + name;
    Sandbox::WriteFile(path);
    SetFileAttributesA(path.c_str(), attributes);
    return path;
  }
};

TEST_F(CleanerTest, ReadOnlyFilesGoOnlyWhereAttributesAreCleared) {
  const std::string sys = File("sys.tmp", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
  const std::string opera = File("opera.dat", FILE_ATTRIBUTE_READONLY);
  UntickAll(*WindSysForm);
  WindSysForm->AddFileTrace(sys, nullptr, "All items listed in Temporary Folder");
  WindSysForm->ClickDelete();
  EXPECT_FALSE(Sandbox::Exists(sys));

  OperaForm->Scanned().AddFileTrace(opera, nullptr, "Internet Cache");
  OperaForm->ClickDelete();
  EXPECT_TRUE(Sandbox::Exists(opera));
  SetFileAttributesA(opera.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(CleanerTest, UntickedTracesAreNeverTouched) {
  const std::string a = File("a.dat"), b = File("b.dat");
  Sandbox::SetString(Root::HKCU, "Software\\T", "v1", "x");
  Sandbox::SetString(Root::HKCU, "Software\\T", "v2", "x");
  TCategoryForm& form = *mediaplayForm;
  UntickAll(form);
  size_t first = form.Traces().Count();
  form.AddFileTrace(a, nullptr, "i");
  form.AddFileTrace(b, nullptr, "i");
  form.AddRegistryTrace(Root::HKCU, "\\Software\\T", "v1");
  form.AddRegistryTrace(Root::HKCU, "\\Software\\T", "v2");
  form.Traces().SetTicked(first + 1, false);
  form.Traces().SetTicked(first + 3, false);
  form.ClickDelete();
  EXPECT_FALSE(Sandbox::Exists(a));
  EXPECT_TRUE(Sandbox::Exists(b));
  EXPECT_FALSE(Sandbox::ValueExists(Root::HKCU, "Software\\T", "v1"));
  EXPECT_TRUE(Sandbox::ValueExists(Root::HKCU, "Software\\T", "v2"));
}

TEST_F(CleanerTest, ALocationNamingOneRootNeverDeletesUnderTheOther) {
  for (Root root : {Root::HKCU, Root::HKLM}) {
    Sandbox::SetString(root, "Software\\Both", "Name", "x");
    Sandbox::CreateKey(root, "Software\\Both\\Sub");
  }
  TCategoryForm& form = *MsofficeForm;
  UntickAll(form);
  form.AddRegistryTrace(Root::HKLM, "\\Software\\Both", "Name");
  form.AddRegistryTrace(Root::HKCU, "\\Software\\Both", "Sub");
  form.ClickDelete();
  EXPECT_FALSE(Sandbox::ValueExists(Root::HKLM, "Software\\Both", "Name"));
  EXPECT_TRUE(Sandbox::ValueExists(Root::HKCU, "Software\\Both", "Name"));
  EXPECT_FALSE(Sandbox::KeyExists(Root::HKCU, "Software\\Both\\Sub"));
  EXPECT_TRUE(Sandbox::KeyExists(Root::HKLM, "Software\\Both\\Sub"));
}

TEST_F(CleanerTest, KeysGoOnlyForTheCategoriesThatDeleteKeys) {
  Sandbox::CreateKey(Root::HKCU, "Software\\K\\named");
  TCategoryForm& applets = *winappletForm;
  UntickAll(applets);
  applets.AddRegistryTrace(Root::HKCU, "\\Software\\K", "named");
  applets.ClickDelete();
  EXPECT_TRUE(Sandbox::KeyExists(Root::HKCU, "Software\\K\\named"));
  TCategoryForm& adobe = *adobeForm;
  UntickAll(adobe);
  adobe.AddRegistryTrace(Root::HKCU, "\\Software\\K", "named");
  adobe.ClickDelete();
  EXPECT_FALSE(Sandbox::KeyExists(Root::HKCU, "Software\\K\\named"));
}

TEST_F(CleanerTest, AnEmptyOrPathLikeNameNeverDeletesAKey) {
  const std::string key = "Software\\Macromedia\\Flash 5\\Recent File List";
  Sandbox::SetString(Root::HKCU, key, "", "default");
  Sandbox::SetString(Root::HKCU, key, "a", "keep me");
  Sandbox::CreateKey(Root::HKCU, key + "\\child\\grandchild");
  Sandbox::CreateKey(Root::HKCU, "Software\\Precious");
  TCategoryForm& form = *macromediaForm;
  UntickAll(form);
  form.AddRegistryTrace(Root::HKCU, "\\" + key, "");
  form.AddRegistryTrace(Root::HKCU, "\\" + key, "child\\grandchild");
  form.AddRegistryTrace(Root::HKCU, "\\" + key, "\\Software\\Precious");
  form.ClickDelete();
  EXPECT_FALSE(Sandbox::ValueExists(Root::HKCU, key, ""));
  EXPECT_TRUE(Sandbox::ValueExists(Root::HKCU, key, "a"));
  EXPECT_TRUE(Sandbox::KeyExists(Root::HKCU, key + "\\child\\grandchild"));
  EXPECT_TRUE(Sandbox::KeyExists(Root::HKCU, "Software\\Precious"));
}

TEST_F(CleanerTest, SafariTreatsEveryTickedItemAsAFile) {
  Sandbox::SetString(Root::HKCU, "Software\\S", "v", "x");
  TCategoryForm& form = *SafariForm;
  UntickAll(form);
  form.AddRegistryTrace(Root::HKCU, "\\Software\\S", "v");
  form.ClickDelete();
  EXPECT_TRUE(Sandbox::ValueExists(Root::HKCU, "Software\\S", "v"));
}

}  // namespace
