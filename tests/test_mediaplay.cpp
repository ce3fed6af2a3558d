// The Media Player scan: eleven file locations (the QuickTime downloads folder listed
// depth first, never through a folder link) before the seven registry rows, and a clean
// of exactly the ticked traces.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "categories/mediaplay.h"
#include "tests/support/category_test.h"

using namespace zarn;
using namespace zarn::test;

namespace {

const char kFileList[] = "Software\\Microsoft\\MediaPlayer\\Player\\RecentFileList";
const char kUrlList[] = "Software\\Microsoft\\MediaPlayer\\Player\\RecentURLList";
const char kPreferences[] = "Software\\Microsoft\\MediaPlayer\\Preferences";
const char kSettings[] = "Software\\Microsoft\\MediaPlayer\\Player\\Settings";
const char kMediaEdit[] = "Software\\Microsoft\\MediaPlayer\\AutoComplete\\MediaEdit";
const char kRadio[] = "Software\\Microsoft\\MediaPlayer\\Radio\\MRUList";

class MediaplayTest : public CategoryTest {
 protected:
  const std::string realOne = sandbox.appData + "\\Real\\RealOne Player\\";
  const std::string real = sandbox.appData + "\\Real\\RealPlayer\\";
  const std::string quickTime = sandbox.appData + "\\Apple Computer\\QuickTime\\";
  const std::string downloads = quickTime + "downloads\\";
  const std::string update = sandbox.programFiles + "\\Common Files\\Real\\Update_OB\\";
};

TEST_F(MediaplayTest, ElevenLocationsInOrderThenTheRegistry) {
  Sandbox::SetString(Root::HKCU, kFileList, "File0", "C:\\song.mp3");  // seeded first, listed after the files
  Sandbox::WriteFile(quickTime + "QTPlayerSession.xml");
  Sandbox::WriteFile(downloads + "trailer.mov");
  Sandbox::WriteFile(update + "RealPlayer-log.txt");
  Sandbox::WriteFile(real + "History\\h2.rpl");
  Sandbox::WriteFile(real + "realplayer.ste");
  Sandbox::WriteFile(real + "ctd.dat");
  Sandbox::WriteFile(real + "cookies.txt");
  Sandbox::WriteFile(realOne + "History\\h1.rpl");
  Sandbox::WriteFile(realOne + "History\\Old\\inner.rpl");
  Sandbox::WriteFile(realOne + "realplayer.ste");
  Sandbox::WriteFile(realOne + "ctd.dat");
  Sandbox::WriteFile(realOne + "cookies.txt", std::string(1536, 'c'));
  Sandbox::WriteFile(realOne + "Cookies.txt.bak");
  Sandbox::WriteFile(realOne + "prefs.txt");
  Sandbox::WriteFile(quickTime + "QuickTime.qtp");

  TmediaplayForm form;
  ASSERT_TRUE(form.Create());
  auto rows = ReadList(form.Traces().Handle());
  auto paths = Paths(rows);
  ASSERT_EQ(paths.size(), 13u);
  EXPECT_EQ(std::vector<std::string>(paths.begin(), paths.begin() + 3),
            (std::vector<std::string>{realOne + "cookies.txt", realOne + "ctd.dat", realOne + "realplayer.ste"}));
  EXPECT_EQ(Slice(paths, 3, 2), (std::set<std::string>{realOne + "History\\h1.rpl", realOne + "History\\Old"}));
  EXPECT_EQ(
      std::vector<std::string>(paths.begin() + 5, paths.end()),
      (std::vector<std::string>{real + "cookies.txt", real + "ctd.dat", real + "realplayer.ste",
                                real + "History\\h2.rpl", update + "RealPlayer-log.txt", downloads + "trailer.mov",
                                quickTime + "QTPlayerSession.xml", "HKCU\\" + std::string(kFileList) + "File0"}));
  for (size_t i = 0; i < 12; ++i) {
    EXPECT_EQ(rows[i].Info(), "Media Player Recentlist") << paths[i];
    EXPECT_TRUE(rows[i].ticked);
  }
  EXPECT_EQ(rows[0].Type(), ".txt");
  EXPECT_EQ(rows[0].Size(), "1.50 KB");
  EXPECT_EQ(rows[11].Type(), ".xml");
  // A subfolder of a History folder is an item of its own; its contents are not listed.
  const int old = FindRow(form.Traces().Handle(), "Old");
  ASSERT_GE(old, 0);
  EXPECT_EQ(rows[old].Size(), "0 bytes");
  EXPECT_EQ(rows[old].Type(), "");
  EXPECT_EQ(rows[12].Type(), "Registry Data");
  EXPECT_EQ(rows[12].Info(), "C:\\song.mp3");
  EXPECT_EQ(WindowText(form.StatusLabel()), "13 Files Found");
}

TEST_F(MediaplayTest, DownloadsAreListedDepthFirst) {
  Sandbox::WriteFile(downloads + "a.mov");
  Sandbox::WriteFile(downloads + "S1\\b.mov");
  Sandbox::WriteFile(downloads + "S1\\Deep\\c.mov");
  Sandbox::WriteFile(downloads + "S2\\d.mov");
  Sandbox::MakeDir(downloads + "S3");
  Sandbox::WriteFile(quickTime + "QTPlayerSession.xml");

  TmediaplayForm form;
  ASSERT_TRUE(form.Create());
  auto rows = ReadList(form.Traces().Handle());
  auto paths = Paths(rows);
  ASSERT_EQ(paths.size(), 9u);
  EXPECT_EQ(Slice(paths, 0, 4),
            (std::set<std::string>{downloads + "a.mov", downloads + "S1", downloads + "S2", downloads + "S3"}));
  const bool s1First =
      std::find(paths.begin(), paths.end(), downloads + "S1") < std::find(paths.begin(), paths.end(), downloads + "S2");
  std::vector<std::string> s1 = {downloads + "S1\\b.mov", downloads + "S1\\Deep"};
  std::vector<std::string> rest;
  if (!s1First) rest.push_back(downloads + "S2\\d.mov");
  rest.push_back(std::string());  // S1's own entries, in either order
  rest.push_back(downloads + "S1\\Deep\\c.mov");
  if (s1First) rest.push_back(downloads + "S2\\d.mov");
  rest.push_back(quickTime + "QTPlayerSession.xml");
  size_t at = 4;
  for (const std::string& expected : rest) {
    if (expected.empty()) {
      EXPECT_EQ(Slice(paths, at, 2), std::set<std::string>(s1.begin(), s1.end()));
      at += 2;
    } else {
      EXPECT_EQ(paths[at], expected) << "at " << at;
      ++at;
    }
  }
  EXPECT_EQ(rows[FindRow(form.Traces().Handle(), "c.mov")].Location(), downloads + "S1\\Deep\\");
  EXPECT_EQ(rows[FindRow(form.Traces().Handle(), "S3")].Size(), "0 bytes");
}

TEST_F(MediaplayTest, DownloadsNeverFollowAFolderLink) {
  const char* fixtures = std::getenv("ZARN_LINK_FIXTURES");
  if (!fixtures || !*fixtures) GTEST_SKIP() << "ZARN_LINK_FIXTURES is not set: no folder links to scan";
  const std::string appData = std::string(fixtures) + "\\appdata";
  const std::string dl = appData + "\\Apple Computer\\QuickTime\\downloads\\";
  if (!Sandbox::Exists(dl + "LINKED")) GTEST_SKIP() << "the link fixture is missing under " << dl;
  Sandbox::SetString(Root::HKCU, kShellFolders, "AppData", appData);

  TmediaplayForm form;
  ASSERT_TRUE(form.Create());
  auto paths = Paths(ReadList(form.Traces().Handle()));
  ASSERT_EQ(paths.size(), 4u);
  EXPECT_EQ(Slice(paths, 0, 3), (std::set<std::string>{dl + "movie.mov", dl + "sub", dl + "LINKED"}));
  EXPECT_EQ(paths[3], dl + "sub\\part.mov");
  for (const std::string& path : paths) {
    EXPECT_EQ(path.find("secret.dat"), std::string::npos);
    EXPECT_EQ(path.find("deep.dat"), std::string::npos);
  }
}

TEST_F(MediaplayTest, MissingBaseFoldersNeverListTheDriveRoot) {
  ZARN_REQUIRE_THROWAWAY_PREFIX();
  // A bait at the root of the current drive, where the locations would land without
  // their base folders.
  char oldDir[MAX_PATH] = "";
  GetCurrentDirectoryA(MAX_PATH, oldDir);
  ASSERT_TRUE(SetCurrentDirectoryA(sandbox.Dir().c_str()));
  const std::string drive = sandbox.Dir().substr(0, 2);
  const std::string baitDir =
      drive + "\\Apple Computer\\QuickTime\\downloads\\bait-" + std::to_string(GetCurrentProcessId());
  Sandbox::WriteFile(baitDir + "\\bait.mov");
  Sandbox::WriteFile(downloads + "real.mov");
  Sandbox::DeleteValue(Root::HKCU, kShellFolders, "AppData");
  Sandbox::SetString(Root::HKLM, "Software\\Microsoft\\Windows\\CurrentVersion", "ProgramFilesDir", "");

  TmediaplayForm form;
  form.Create();
  auto paths = Paths(ReadList(form.Traces().Handle()));
  DeleteFileA((baitDir + "\\bait.mov").c_str());
  RemoveDirectoryA(baitDir.c_str());
  for (const char* dir : {"\\Apple Computer\\QuickTime\\downloads", "\\Apple Computer\\QuickTime", "\\Apple Computer"})
    RemoveDirectoryA((drive + dir).c_str());  // only when empty: another run may still use them
  SetCurrentDirectoryA(oldDir);
  EXPECT_TRUE(paths.empty()) << paths.front();
}

TEST_F(MediaplayTest, RegistryRowsTheirRulesAndOrder) {
  Sandbox::SetString(Root::HKCU, kRadio, "mrulist", "other case");
  Sandbox::SetString(Root::HKCU, kRadio, "", "radio default");
  Sandbox::SetString(Root::HKCU, kMediaEdit, "MRUList", "a");
  Sandbox::SetString(Root::HKCU, kMediaEdit, "a", "edit");
  Sandbox::SetString(Root::HKCU, kSettings, "SaveAsDir", "C:\\saved");
  Sandbox::SetString(Root::HKCU, kSettings, "Volume", "50");
  Sandbox::SetString(Root::HKCU, kPreferences, "LastPlayListIndex", "3");
  Sandbox::SetString(Root::HKCU, kPreferences, "LastPlayList", "C:\\list.wpl");
  Sandbox::SetString(Root::HKCU, kPreferences, "Other", "x");
  Sandbox::SetString(Root::HKCU, kUrlList, "URL0", "http://example.com/stream");
  Sandbox::SetString(Root::HKCU, kUrlList, "MRUList", "a");
  Sandbox::SetString(Root::HKCU, kFileList, "File0", "C:\\a.mp3");

  TmediaplayForm form;
  ASSERT_TRUE(form.Create());
  auto rows = ReadList(form.Traces().Handle());
  std::vector<std::string> names = Names(rows);
  ASSERT_EQ(names.size(), 8u);
  EXPECT_EQ(std::vector<std::string>(names.begin(), names.begin() + 6),
            (std::vector<std::string>{"File0", "URL0", "LastPlayList", "LastPlayListIndex", "SaveAsDir", "a"}));
  EXPECT_EQ(Slice(names, 6, 2), (std::set<std::string>{"mrulist", ""}));
  EXPECT_EQ(rows[2].Location(), "HKCU\\" + std::string(kPreferences));
  EXPECT_EQ(rows[2].Info(), "C:\\list.wpl");
  EXPECT_EQ(rows[3].Info(), "3");
  EXPECT_EQ(rows[4].Location(), "HKCU\\" + std::string(kSettings));
  EXPECT_EQ(rows[7].Location(), "HKCU\\" + std::string(kRadio));
}

TEST_F(MediaplayTest, CleanDeletesExactlyTheTickedTraces) {
  Sandbox::WriteFile(real + "History\\gone.rpl");
  Sandbox::WriteFile(real + "History\\kept.rpl");
  Sandbox::WriteFile(real + "History\\Sub\\inner.rpl");
  Sandbox::WriteFile(real + "prefs.txt");
  Sandbox::WriteFile(downloads + "Deep\\gone.mov");
  Sandbox::WriteFile(downloads + "Deep\\kept.mov");
  Sandbox::SetString(Root::HKCU, kFileList, "File0", "a");
  Sandbox::SetString(Root::HKCU, kFileList, "File1", "b");
  Sandbox::SetString(Root::HKCU, kFileList, "MRUList", "ab");
  Sandbox::SetString(Root::HKCU, std::string(kFileList) + "\\File0", "inner", "v");
  Sandbox::SetString(Root::HKCU, kPreferences, "LastPlayList", "l");
  Sandbox::SetString(Root::HKCU, kPreferences, "Volume", "50");

  TmediaplayForm form;
  ASSERT_TRUE(form.Create());
  const HWND lv = form.Traces().Handle();
  ASSERT_EQ(form.FoundCount(), 9);
  SetTick(lv, FindRow(lv, "kept.rpl"), false);
  SetTick(lv, FindRow(lv, "kept.mov"), false);
  SetTick(lv, FindRow(lv, "File1"), false);
  form.ClickDelete();

  EXPECT_FALSE(Sandbox::Exists(real + "History\\gone.rpl"));
  EXPECT_TRUE(Sandbox::Exists(real + "History\\kept.rpl"));
  EXPECT_TRUE(Sandbox::Exists(real + "History\\Sub\\inner.rpl"));
  EXPECT_TRUE(Sandbox::Exists(real + "prefs.txt"));
  EXPECT_FALSE(Sandbox::Exists(downloads + "Deep\\gone.mov"));
  EXPECT_TRUE(Sandbox::Exists(downloads + "Deep\\kept.mov"));
  EXPECT_FALSE(Sandbox::ValueExists(Root::HKCU, kFileList, "File0"));
  EXPECT_TRUE(Sandbox::ValueExists(Root::HKCU, kFileList, "File1"));
  EXPECT_TRUE(Sandbox::ValueExists(Root::HKCU, kFileList, "MRUList"));
  EXPECT_TRUE(Sandbox::ValueExists(Root::HKCU, std::string(kFileList) + "\\File0", "inner"));
  EXPECT_FALSE(Sandbox::ValueExists(Root::HKCU, kPreferences, "LastPlayList"));
  EXPECT_TRUE(Sandbox::ValueExists(Root::HKCU, kPreferences, "Volume"));
}

}  // namespace
