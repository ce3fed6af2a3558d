// Page 1's category catalogue: which categories are offered, in which order, all ticked.
#include <gtest/gtest.h>

#include "app/catalogue.h"
#include "tests/support/app_fixture.h"
#include "tests/support/list_reader.h"

using namespace zarn;
using namespace zarn::test;

namespace {

std::vector<std::string> Captions() {
  std::vector<std::string> captions;
  for (const CatalogueRow& row : BuildCatalogue()) captions.push_back(row.caption);
  return captions;
}

class CatalogueTest : public SandboxTest {};

TEST_F(CatalogueTest, NoOptionalProgramOffersTheThreeFixedCategories) {
  EXPECT_EQ(Captions(), (std::vector<std::string>{"Windows Explorer", "Windows Applets", "System"}));
}

TEST_F(CatalogueTest, OperaAloneBecomesRowFour) {
  Sandbox::CreateKey(Root::HKCU, "Software\\Opera Software");
  auto rows = BuildCatalogue();
  ASSERT_EQ(rows.size(), 4u);
  EXPECT_EQ(rows[3].caption, "Opera");
  EXPECT_EQ(rows[3].description, "Cookies, Internet Cache, History");
}

TEST_F(CatalogueTest, EveryProbeInTableOrder) {
  Sandbox::CreateKey(Root::HKCU, "Software\\Microsoft\\Internet Explorer");
  Sandbox::CreateKey(Root::HKCU, "Software\\Opera Software");
  Sandbox::CreateKey(Root::HKLM, "Software\\Mozilla");
  Sandbox::WriteFile(sandbox.programFiles + "\\Safari\\Safari.exe");
  Sandbox::CreateKey(Root::HKCU, "Software\\Microsoft\\Office");
  Sandbox::CreateKey(Root::HKLM, "Software\\OpenOffice.org\\OpenOffice.org");
  Sandbox::CreateKey(Root::HKCU, "Software\\Adobe");
  Sandbox::CreateKey(Root::HKCU, "Software\\Macromedia");
  Sandbox::CreateKey(Root::HKCU, "Software\\Microsoft\\MediaPlayer\\Player");
  auto rows = BuildCatalogue();
  std::vector<std::string> captions;
  for (auto& r : rows) captions.push_back(r.caption);
  EXPECT_EQ(captions, (std::vector<std::string>{"Windows Explorer", "Windows Applets", "System", "Internet Explorer",
                                                "Opera", "Mozilla Firefox", "Safari", "Microsoft Office", "Open Office",
                                                "Adobe", "Macromedia", "Media Player"}));
  EXPECT_EQ(rows[3].description, "Cookies,Temp IE, Type URLs, Last Download");
  EXPECT_EQ(rows[11].description, "Recentlist in Windows Media Player");
}

TEST_F(CatalogueTest, KeysUnderTheOtherRootDoNotCount) {
  Sandbox::CreateKey(Root::HKLM, "Software\\Opera Software");
  Sandbox::CreateKey(Root::HKCU, "Software\\Mozilla");
  EXPECT_EQ(Captions().size(), 3u);
}

TEST_F(CatalogueTest, SafariNeedsItsProgramFile) {
  Sandbox::MakeDir(sandbox.programFiles + "\\Safari\\Safari.exe");  // a folder of that name
  Sandbox::WriteFile(sandbox.programFiles + "\\Safari\\readme.txt");
  EXPECT_EQ(Captions().size(), 3u);
}

TEST_F(CatalogueTest, WithoutAProgramsFolderSafariIsNotLookedForAtTheDriveRoot) {
  Sandbox::DeleteValue(Root::HKLM, "Software\\Microsoft\\Windows\\CurrentVersion", "ProgramFilesDir");
  EXPECT_EQ(Captions().size(), 3u);
}

TEST_F(CatalogueTest, AKeyThatOpensOnlyForReadingCounts) {
  // A key whose security descriptor grants only read access to everyone, as a standard
  // user meets the local machine's SOFTWARE key: the program is installed all the same.
  Sandbox::CreateKey(Root::HKCU, "Software\\Adobe");
  HKEY key;
  ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Adobe", 0, KEY_ALL_ACCESS, &key), ERROR_SUCCESS);
  SECURITY_DESCRIPTOR sd;
  InitializeSecurityDescriptor(&sd, SECURITY_DESCRIPTOR_REVISION);
  char aclBuffer[256];
  auto* acl = reinterpret_cast<ACL*>(aclBuffer);
  InitializeAcl(acl, sizeof aclBuffer, ACL_REVISION);
  SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
  PSID everyone = nullptr;
  AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, &everyone);
  AddAccessAllowedAce(acl, ACL_REVISION, KEY_READ, everyone);
  SetSecurityDescriptorDacl(&sd, TRUE, acl, FALSE);
  LONG rc = RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, &sd);
  RegCloseKey(key);
  FreeSid(everyone);
  HKEY probe = nullptr;
  bool restricted = rc == ERROR_SUCCESS &&
                    RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Adobe", 0, KEY_ALL_ACCESS, &probe) != ERROR_SUCCESS;
  if (probe) RegCloseKey(probe);
  size_t offered = Captions().size();
  // Give the key back its full access so the sandbox can remove it.
  if (RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Adobe", 0, WRITE_DAC, &key) == ERROR_SUCCESS) {
    SetSecurityDescriptorDacl(&sd, TRUE, nullptr, FALSE);
    RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, &sd);
    RegCloseKey(key);
  }
  if (!restricted) GTEST_SKIP() << "this registry does not restrict key access for the owner";
  EXPECT_EQ(offered, 4u);
}

class MainWindowCatalogueTest : public AppTest {
  void Seed() override { Sandbox::CreateKey(Root::HKCU, "Software\\Macromedia"); }
};

TEST_F(MainWindowCatalogueTest, LvallShowsTheRowsTicked) {
  HWND lvall = Main(TMainForm::kLvall);
  EXPECT_EQ(ColumnCaptions(lvall), (std::vector<std::string>{"  Category", "Description"}));
  auto rows = ReadList(lvall);
  ASSERT_EQ(rows.size(), 4u);
  EXPECT_EQ(rows[0].cells,
            (std::vector<std::string>{"Windows Explorer", "Recent Documents, Explorer MRUs, Search Autocomplete"}));
  EXPECT_EQ(rows[1][1], "Recentlist in Paint, Wordpad, Regedit");
  EXPECT_EQ(rows[2][1], "Recycle Bin, Temporary Files, Log Files, Clipboard");
  EXPECT_EQ(rows[3].cells, (std::vector<std::string>{"Macromedia", "Recentlist in Macromedia Applications"}));
  for (auto& r : rows) EXPECT_TRUE(r.ticked);
}

}  // namespace
