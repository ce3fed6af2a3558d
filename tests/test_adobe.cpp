// The Adobe scan: six flat file locations on two base folders, Acrobat Reader's subkey
// lists with their fixed texts, the value lists, and a clean that removes a recent-file
// subkey with its tree while every neighbour stays.
#include <windows.h>

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "categories/Adobe.h"
#include "tests/support/category_test.h"

using namespace zarn;
using namespace zarn::test;

namespace {

const char kReader5[] = "Software\\Adobe\\Acrobat Reader\\5.0\\AVGeneral\\cRecentFiles";
const char kReader6[] = "Software\\Adobe\\Acrobat Reader\\6.0\\AVGeneral\\cRecentFiles";
const char kReader7[] = "Software\\Adobe\\Acrobat Reader\\7.0\\AVGeneral\\cRecentFiles";
const char kPreferences[] = "Software\\Adobe\\ImageReady 7.0\\Preferences";
const char kPhotoshop9[] = "Software\\Adobe\\Photoshop\\9.0\\VisitedDirs";
const char kMediaBrowser[] = "Software\\Adobe\\MediaBrowser\\MRU\\Photoshop\\FileList";

class AdobeTest : public CategoryTest {
 protected:
  const std::string acrobat = sandbox.programFiles + "\\Adobe\\Acrobat 7.0\\";
  const std::string search = sandbox.appData + "\\Adobe\\Acrobat\\7.0\\Cache\\Search70\\";
  const std::string cameraRaw = sandbox.programFiles + "\\Adobe\\CameraRaw\\Cache\\";
};

TEST_F(AdobeTest, FileLocationsInTableOrderEachAtItsOwnLevel) {
  Sandbox::WriteFile(cameraRaw + "raw.dat");
  Sandbox::MakeDir(cameraRaw + "Sub");
  Sandbox::WriteFile(cameraRaw + "Sub\\deeper.dat");
  Sandbox::WriteFile(acrobat + "Reader\\Updater\\u.bak");
  Sandbox::WriteFile(acrobat + "Reader\\plug_ins\\p.bak");
  Sandbox::WriteFile(acrobat + "ActiveX\\x.bak");
  Sandbox::WriteFile(acrobat + "Reader\\r.bak", std::string(2048, 'b'));
  Sandbox::WriteFile(acrobat + "Reader\\AcroRd32.exe");
  Sandbox::WriteFile(search + "index.idx");
  Sandbox::SetString(Root::HKCU, kPhotoshop9, "Dir1", "C:\\pics");

  TadobeForm form;
  ASSERT_TRUE(form.Create());
  auto rows = ReadList(form.Traces().Handle());
  ASSERT_EQ(rows.size(), 8u);
  std::vector<std::string> names = Names(rows);
  EXPECT_EQ(std::vector<std::string>(names.begin(), names.begin() + 5),
            (std::vector<std::string>{"index.idx", "r.bak", "x.bak", "p.bak", "u.bak"}));
  EXPECT_EQ(std::set<std::string>(names.begin() + 5, names.begin() + 7), (std::set<std::string>{"raw.dat", "Sub"}));
  EXPECT_EQ(names[7], "Dir1");
  EXPECT_EQ(rows[1].Location(), acrobat + "Reader\\");
  EXPECT_EQ(rows[1].Type(), ".bak");
  EXPECT_EQ(rows[1].Size(), "2.00 KB");
  EXPECT_EQ(rows[3].Location(), acrobat + "Reader\\plug_ins\\");
  for (size_t i = 0; i < 7; ++i) EXPECT_EQ(rows[i].Info(), "Adobe Application MRUs") << rows[i].Name();
  EXPECT_EQ(rows[FindRow(form.Traces().Handle(), "Sub")].Size(), "0 bytes");
  EXPECT_EQ(WindowText(form.StatusLabel()), "8 Files Found");
}

TEST_F(AdobeTest, MissingProgramFilesDirKeepsOnlyTheAppDataLocation) {
  Sandbox::WriteFile(search + "index.idx");
  Sandbox::WriteFile(acrobat + "Reader\\r.bak");
  Sandbox::DeleteValue(Root::HKLM, "Software\\Microsoft\\Windows\\CurrentVersion", "ProgramFilesDir");
  TadobeForm form;
  ASSERT_TRUE(form.Create());
  EXPECT_EQ(Names(ReadList(form.Traces().Handle())), (std::vector<std::string>{"index.idx"}));
}

TEST_F(AdobeTest, AcrobatReaderListsSubkeysWithTheirInfoTexts) {
  Sandbox::SetString(Root::HKCU, std::string(kReader5) + "\\c1", "tDIText", "/C/a.pdf");
  Sandbox::CreateKey(Root::HKCU, std::string(kReader5) + "\\c2");
  Sandbox::CreateKey(Root::HKCU, std::string(kReader5) + "\\MRUList");
  Sandbox::SetString(Root::HKCU, kReader5, "value5", "not listed");
  Sandbox::CreateKey(Root::HKCU, std::string(kReader6) + "\\c1");
  Sandbox::CreateKey(Root::HKCU, std::string(kReader7) + "\\c1");
  Sandbox::CreateKey(Root::HKCU, std::string(kReader7) + "\\c2");
  Sandbox::SetString(Root::HKCU, kReader7, "c2", "a value named like the subkey");

  TadobeForm form;
  ASSERT_TRUE(form.Create());
  auto rows = ReadList(form.Traces().Handle());
  EXPECT_EQ(Names(rows), (std::vector<std::string>{"c1", "c2", "c1", "c1", "c2"}));
  ASSERT_EQ(rows.size(), 5u);
  EXPECT_EQ(rows[0].Location(), "HKCU\\" + std::string(kReader5));
  EXPECT_EQ(rows[0].Type(), "Registry Data");
  EXPECT_EQ(rows[0].Info(), "Acrobat Reader 5.0 Recent Files");
  EXPECT_EQ(rows[1].Info(), "Acrobat Reader 5.0 Recent Files");
  EXPECT_EQ(rows[2].Info(), "Acrobat Reader 6.0 Recent Files");
  EXPECT_EQ(rows[3].Location(), "HKCU\\" + std::string(kReader7));
  EXPECT_EQ(rows[3].Info(), "");
  EXPECT_EQ(rows[4].Info(), "a value named like the subkey");
}

TEST_F(AdobeTest, PreferencesGiveOnlySaveDir) {
  Sandbox::SetString(Root::HKCU, kPreferences, "savedir", "other case");
  Sandbox::SetString(Root::HKCU, kPreferences, "Units", "px");
  Sandbox::SetString(Root::HKCU, kPreferences, "", "default");
  {
    TadobeForm form;
    ASSERT_TRUE(form.Create());
    EXPECT_EQ(form.FoundCount(), 0);
  }
  Sandbox::DeleteValue(Root::HKCU, kPreferences, "savedir");
  Sandbox::SetString(Root::HKCU, kPreferences, "SaveDir", "C:\\out");
  Sandbox::SetString(Root::HKCU, kMediaBrowser, "MRUList", "a");
  Sandbox::SetString(Root::HKCU, kMediaBrowser, "", "browser default");
  TadobeForm form;
  ASSERT_TRUE(form.Create());
  auto rows = ReadList(form.Traces().Handle());
  EXPECT_EQ(Names(rows), (std::vector<std::string>{"SaveDir", ""}));
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0].Info(), "C:\\out");
  EXPECT_EQ(rows[1].Info(), "browser default");
}

TEST_F(AdobeTest, CleanRemovesTickedSubkeyTreesValuesAndFilesOnly) {
  const std::string c1 = std::string(kReader7) + "\\c1";
  Sandbox::SetString(Root::HKCU, c1, "tDIText", "/C/a.pdf");
  Sandbox::SetString(Root::HKCU, c1 + "\\Nested", "deep", "x");
  Sandbox::SetString(Root::HKCU, std::string(kReader7) + "\\c2", "tDIText", "/C/b.pdf");
  Sandbox::SetString(Root::HKCU, kReader7, "Setting", "stays");
  Sandbox::SetString(Root::HKCU, kPhotoshop9, "", "default dir");
  Sandbox::SetString(Root::HKCU, kPhotoshop9, "Dir1", "C:\\one");
  Sandbox::SetString(Root::HKCU, kPhotoshop9, "Dir2", "C:\\two");
  Sandbox::SetString(Root::HKCU, std::string(kPhotoshop9) + "\\Other", "v", "stays");
  Sandbox::WriteFile(acrobat + "Reader\\gone.bak");
  Sandbox::WriteFile(acrobat + "Reader\\kept.bak");
  Sandbox::WriteFile(acrobat + "Reader\\AcroRd32.dll");

  TadobeForm form;
  ASSERT_TRUE(form.Create());
  const HWND lv = form.Traces().Handle();
  ASSERT_EQ(form.FoundCount(), 7);
  SetTick(lv, FindRow(lv, "c2"), false);
  SetTick(lv, FindRow(lv, "Dir2"), false);
  SetTick(lv, FindRow(lv, "kept.bak"), false);
  form.ClickDelete();

  EXPECT_FALSE(Sandbox::KeyExists(Root::HKCU, c1));
  EXPECT_TRUE(Sandbox::ValueExists(Root::HKCU, std::string(kReader7) + "\\c2", "tDIText"));
  EXPECT_TRUE(Sandbox::ValueExists(Root::HKCU, kReader7, "Setting"));
  // A default value trace deletes that value only, never its key.
  EXPECT_FALSE(Sandbox::ValueExists(Root::HKCU, kPhotoshop9, ""));
  EXPECT_TRUE(Sandbox::KeyExists(Root::HKCU, kPhotoshop9));
  EXPECT_FALSE(Sandbox::ValueExists(Root::HKCU, kPhotoshop9, "Dir1"));
  EXPECT_TRUE(Sandbox::ValueExists(Root::HKCU, kPhotoshop9, "Dir2"));
  EXPECT_TRUE(Sandbox::ValueExists(Root::HKCU, std::string(kPhotoshop9) + "\\Other", "v"));
  EXPECT_FALSE(Sandbox::Exists(acrobat + "Reader\\gone.bak"));
  EXPECT_TRUE(Sandbox::Exists(acrobat + "Reader\\kept.bak"));
  EXPECT_TRUE(Sandbox::Exists(acrobat + "Reader\\AcroRd32.dll"));
}

}  // namespace
