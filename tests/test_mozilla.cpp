// The Mozilla Firefox scan: the profile name from profiles.ini (line ends, bad content,
// names that would lead out of the Profiles folder, a file that cannot be read), the three
// locations without any filter, and a clean that deletes exactly the ticked files.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include "categories/mozilla.h"
#include "categories/mozilla_profile.h"
#include "tests/support/category_test.h"

using namespace zarn;
using namespace zarn::test;

namespace {

// profiles.ini as Firefox writes it, with two profiles; the second one is the scanned one.
std::string RealIni(const std::string& eol) {
  std::string ini;
  for (const char* line : {"[General]", "StartWithLastProfile=1", "", "[Profile0]", "Name=default", "IsRelative=1",
                           "Path=Profiles/abcd1234.default", "Default=1", "", "[Profile1]", "Name=work", "IsRelative=1",
                           "Path=Profiles/wxyz9876.work", ""})
    ini.append(line).append(eol);
  return ini;
}

class MozillaTest : public CategoryTest {
 protected:
  const std::string ini = sandbox.appData + "\\Mozilla\\Firefox\\profiles.ini";
  std::string Cache(const std::string& n) const {
    return sandbox.localAppData + "\\Mozilla\\Firefox\\Profiles\\" + n + "\\Cache\\";
  }
  std::string Roaming(const std::string& n) const {
    return sandbox.appData + "\\Mozilla\\Firefox\\Profiles\\" + n + "\\";
  }
  // A profile with three cache entries, both history files and two neighbours.
  void SeedProfile(const std::string& n) {
    for (const char* name : {"_CACHE_MAP_", "_CACHE_001_", "0A1B2C3Dd01"}) Sandbox::WriteFile(Cache(n) + name);
    Sandbox::WriteFile(Roaming(n) + "history.dat", std::string(1024, 'h'));
    Sandbox::WriteFile(Roaming(n) + "formhistory.dat");
    Sandbox::WriteFile(Roaming(n) + "prefs.js");
    Sandbox::WriteFile(Roaming(n) + "cookies.txt");
  }
  std::vector<std::string> Expected(const std::string& n) const {
    return {Cache(n) + "_CACHE_MAP_", Cache(n) + "_CACHE_001_", Cache(n) + "0A1B2C3Dd01", Roaming(n) + "history.dat",
            Roaming(n) + "formhistory.dat"};
  }
};

// The cache entries come in the file system's order, the history files after them.
void ExpectProfileFound(const std::vector<std::string>& shown, const std::vector<std::string>& expected) {
  ASSERT_EQ(shown.size(), expected.size());
  const size_t cache = expected.size() - 2;
  EXPECT_EQ(std::set<std::string>(shown.begin(), shown.begin() + cache),
            std::set<std::string>(expected.begin(), expected.begin() + cache));
  EXPECT_EQ(shown[cache], expected[cache]);
  EXPECT_EQ(shown[cache + 1], expected[cache + 1]);
}

TextList ListOf(std::initializer_list<std::string> lines) {
  TextList list;
  for (const auto& line : lines) list.Add(line);
  return list;
}

// Every profile is scanned, the last Path= line's first (as the scan has always read that
// one), then the others in the file's order: the profile in use need not be the last.
TEST_F(MozillaTest, RealProfilesIniWithWindowsUnixAndOldMacLineEndsScansEveryProfileTheLastFirst) {
  SeedProfile("abcd1234.default");
  SeedProfile("wxyz9876.work");
  for (const char* eol : {"\r\n", "\n", "\r"}) {
    SCOPED_TRACE(testing::PrintToString(std::string(eol)));
    Sandbox::WriteFile(ini, RealIni(eol));
    TmozzForm form;
    ASSERT_TRUE(form.Create());
    const std::vector<std::string> shown = ShownPaths(form);
    ASSERT_EQ(shown.size(), 10u);
    ExpectProfileFound({shown.begin(), shown.begin() + 5}, Expected("wxyz9876.work"));
    ExpectProfileFound({shown.begin() + 5, shown.end()}, Expected("abcd1234.default"));
    EXPECT_EQ(form.FoundCount(), 10);
    EXPECT_EQ(WindowText(form.StatusLabel()), "10 Files founds");
    auto rows = ReadList(form.Traces().Handle());
    ASSERT_EQ(rows.size(), 10u);
    EXPECT_EQ(rows[3].cells,
              (std::vector<std::string>{"history.dat", Roaming("wxyz9876.work"), ".dat", "Internet Cache", "1.00 KB"}));
    for (const ShownRow& row : rows) {
      EXPECT_TRUE(row.ticked);
      EXPECT_EQ(row.Info(), "Internet Cache");
    }
    EXPECT_EQ(rows[0].Type(), "");
  }
}

TEST_F(MozillaTest, LinesEndAtCrLfLfOrCrAlsoAcrossReadChunks) {
  const std::string path = sandbox.Dir() + "\\lines.txt";
  TextList lines;
  Sandbox::WriteFile(path, "a\r\nb\nc\rd\n\r\n\rlast");
  ASSERT_TRUE(ReadTextLines(path, lines));
  EXPECT_EQ(Texts(lines), (std::vector<std::string>{"a", "b", "c", "d", "", "", "last"}));

  lines.Clear();
  Sandbox::WriteFile(path, "");
  ASSERT_TRUE(ReadTextLines(path, lines));
  EXPECT_TRUE(lines.Empty());

  // A CR LF split between two reads is one line end, not two.
  const std::string longLine(64 * 1024 - 1, 'x');
  lines.Clear();
  Sandbox::WriteFile(path, longLine + "\r\nnext\r\n");
  ASSERT_TRUE(ReadTextLines(path, lines));
  EXPECT_EQ(Texts(lines), (std::vector<std::string>{longLine, "next"}));

  lines.Clear();
  EXPECT_FALSE(ReadTextLines(sandbox.Dir() + "\\missing.txt", lines));
}

TEST_F(MozillaTest, ProfileNameIsTheLastPathLineWithEveryPathProfilesRemoved) {
  EXPECT_EQ(ProfileNameFromLines(ListOf({"[General]", "Name=x"})), "");
  EXPECT_EQ(ProfileNameFromLines(ListOf({"Path=Profiles/a", "Path="})), "Path=");
  EXPECT_EQ(ProfileNameFromLines(ListOf({"Path=Profiles/a", "Path=Profiles/"})), "");
  EXPECT_EQ(ProfileNameFromLines(ListOf({"Path=Profiles/a", "Name=b", "Path=Profiles/c", "Default=1"})), "c");
  EXPECT_EQ(ProfileNameFromLines(ListOf({"Path=Profiles/a", "path=Profiles/b", "PATH=Profiles/c", " Path=Profiles/d",
                                         "\xEF\xBB\xBFPath=Profiles/e"})),
            "a");
  EXPECT_EQ(ProfileNameFromLines(ListOf({"Path=D:\\Firefox\\prof"})), "Path=D:\\Firefox\\prof");
  EXPECT_EQ(ProfileNameFromLines(ListOf({"Path=Profiles/Path=Profiles/x"})), "x");
  EXPECT_EQ(ProfileNameFromLines(ListOf({"Path=Profiles/.Path=Profiles/."})), "..");
}

TEST_F(MozillaTest, OnlyNamesInsideTheProfilesFolderAreTaken) {
  for (const char* name : {"abcd1234.default", "sub/dir.default", "sub\\dir", "a..b", ".hidden", "..x", "x.",
                           "Path=profiles/x", "caf\xE9 \xFC"})
    EXPECT_TRUE(StaysInProfiles(name)) << name;
  for (const std::string& name : {std::string(),
                                  std::string(".."),
                                  std::string("../x"),
                                  std::string("x/../../y"),
                                  std::string("x\\.."),
                                  std::string("..\\"),
                                  std::string("..."),
                                  std::string(". ."),
                                  std::string(".. /x"),
                                  std::string("C:\\x"),
                                  std::string("c:x"),
                                  std::string("Path=D:\\Firefox"),
                                  std::string("\\x"),
                                  std::string("/x"),
                                  std::string("\\\\server\\share"),
                                  std::string("\\\\?\\C:\\x"),
                                  std::string("x?"),
                                  std::string("x*"),
                                  std::string("x<"),
                                  std::string("x\"y"),
                                  std::string("a|b"),
                                  std::string("x\ty"),
                                  std::string("x\0y", 3)})
    EXPECT_FALSE(StaysInProfiles(name)) << testing::PrintToString(name);
}

TEST_F(MozillaTest, PathsLeadingOutOfProfilesFindAndDeleteNothing) {
  // Three folders up from either Profiles folder is the base folder itself.
  const std::string victimCache = sandbox.localAppData + "\\victim\\Cache\\secret.tmp";
  const std::string victimHistory = sandbox.appData + "\\victim\\history.dat";
  Sandbox::WriteFile(victimCache);
  Sandbox::WriteFile(victimHistory);
  for (const char* line : {"Path=Profiles/../../../victim", "Path=Profiles/..\\..\\..\\victim",
                           "Path=Profiles/.Path=Profiles/./../../victim", "Path=Profiles/x/../../../../victim"}) {
    SCOPED_TRACE(line);
    Sandbox::WriteFile(ini, RealIni("\r\n") + line + "\r\n");
    TmozzForm form;
    ASSERT_TRUE(form.Create());
    EXPECT_EQ(form.FoundCount(), 0);
    form.ClickDelete();
    EXPECT_TRUE(Sandbox::Exists(victimCache));
    EXPECT_TRUE(Sandbox::Exists(victimHistory));
  }
}

TEST_F(MozillaTest, WithoutAProfileNameNothingIsLookedUp) {
  // What an empty name would list: Profiles\\Cache\ and the history files in Profiles\.
  Sandbox::WriteFile(sandbox.localAppData + "\\Mozilla\\Firefox\\Profiles\\Cache\\stray.tmp");
  Sandbox::WriteFile(sandbox.appData + "\\Mozilla\\Firefox\\Profiles\\history.dat");
  Sandbox::WriteFile(sandbox.appData + "\\Mozilla\\Firefox\\Profiles\\formhistory.dat");
  SeedProfile("wxyz9876.work");
  const std::vector<std::string> inis = {
      "[General]\r\nStartWithLastProfile=1\r\n\r\n[Profile0]\r\nName=work\r\nIsRelative=1\r\n",
      RealIni("\r\n") + "Path=\r\n",
      RealIni("\n") + "Path=Profiles/\n",
      "",
      std::string("\0\0\0\0", 4),
  };
  // The profiles the file names besides are scanned; the folders of no profile never.
  for (const std::string& content : inis) {
    SCOPED_TRACE(testing::PrintToString(content));
    Sandbox::WriteFile(ini, content);
    TmozzForm form;
    ASSERT_TRUE(form.Create());
    if (content.find("wxyz9876.work") == std::string::npos) {
      EXPECT_EQ(form.FoundCount(), 0);
      EXPECT_EQ(WindowText(form.StatusLabel()), "0 Files founds");
    } else {
      ExpectProfileFound(ShownPaths(form), Expected("wxyz9876.work"));
    }
  }
}

TEST_F(MozillaTest, OddProfilesIniContentIsReadSoundly) {
  SeedProfile("wxyz9876.work");
  // A 100,000-character line and NUL bytes in other lines, a byte-order mark, keys in
  // other letter case after the real one.
  const std::string good = "Path=Profiles/wxyz9876.work\r\n";
  for (const std::string& content :
       {"[General]\r\n" + std::string(100000, 'q') + "\r\n" + good,
        std::string("[Profile0]\r\nName=wo\0rk\r\n", 24) + good + std::string("\0\0junk\0\r\n", 9),
        "\xEF\xBB\xBF" + RealIni("\r\n"), RealIni("\n") + "path=Profiles/abcd1234.default\nPATH=x\n"}) {
    SCOPED_TRACE(content.substr(0, 40));
    Sandbox::WriteFile(ini, content);
    TmozzForm form;
    ASSERT_TRUE(form.Create());
    ExpectProfileFound(ShownPaths(form), Expected("wxyz9876.work"));
  }
  // A NUL byte in a name, or a name far too long for a path, finds nothing; the file's other
  // profiles are found as ever.
  for (const std::string& content : {RealIni("\r\n") + std::string("Path=Profiles/wxyz9876.work\0x\r\n", 31),
                                     RealIni("\r\n") + "Path=Profiles/" + std::string(100000, 'a') + "\r\n"}) {
    for (const std::string& start : {std::string(), std::string("Path=Profiles/wxyz9876.work\r\n")}) {
      Sandbox::WriteFile(ini, start.empty() ? content.substr(content.rfind("Path=")) : content);
      TmozzForm form;
      ASSERT_TRUE(form.Create());
      if (start.empty())
        EXPECT_EQ(form.FoundCount(), 0);
      else
        ExpectProfileFound(ShownPaths(form), Expected("wxyz9876.work"));
    }
  }
}

TEST_F(MozillaTest, UnreadableProfilesIniCountsAsMissingAndTheScanGoesOn) {
  SeedProfile("wxyz9876.work");
  Sandbox::WriteFile(ini, RealIni("\r\n"));
  HeldOpen held(ini);
  ASSERT_TRUE(held.Held());
  TmozzForm form;
  ASSERT_TRUE(form.Create());
  EXPECT_EQ(form.FoundCount(), 0);
  EXPECT_EQ(WindowText(form.StatusLabel()), "0 Files founds");
  held.Release();
  form.ClickScan();
  ExpectProfileFound(ShownPaths(form), Expected("wxyz9876.work"));
  EXPECT_EQ(WindowText(form.StatusLabel()), "5 Files founds");

  // A folder named profiles.ini is no file to read.
  ASSERT_TRUE(DeleteFileA(ini.c_str()));
  Sandbox::MakeDir(ini);
  form.ClickScan();
  EXPECT_EQ(form.FoundCount(), 0);
}

TEST_F(MozillaTest, CacheEntriesAreListedWithoutAnyFilter) {
  const std::string n = "wxyz9876.work";
  Sandbox::WriteFile(ini, RealIni("\r\n"));
  const std::string cache = Cache(n);
  Sandbox::WriteFile(cache + "hidden");
  Sandbox::WriteFile(cache + "system");
  Sandbox::WriteFile(cache + "in use");
  Sandbox::WriteFile(cache + "caf\xE9 \xFC\xBF.bin", std::string(1536, 'b'));
  Sandbox::WriteFile(cache + "sub\\inner.tmp");
  SetFileAttributesA((cache + "hidden").c_str(), FILE_ATTRIBUTE_HIDDEN);
  SetFileAttributesA((cache + "system").c_str(), FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_HIDDEN);
  Sandbox::WriteFile(Roaming(n) + "formhistory.dat");
  HeldOpen held(cache + "in use", GENERIC_READ | GENERIC_WRITE);
  ASSERT_TRUE(held.Held());

  TmozzForm form;
  ASSERT_TRUE(form.Create());
  held.Release();
  auto paths = ShownPaths(form);
  ASSERT_EQ(paths.size(), 6u);
  EXPECT_EQ(std::set<std::string>(paths.begin(), paths.begin() + 5),
            (std::set<std::string>{cache + "hidden", cache + "system", cache + "in use", cache + "caf\xE9 \xFC\xBF.bin",
                                   cache + "sub"}));
  EXPECT_EQ(paths[5], Roaming(n) + "formhistory.dat");
  auto rows = ReadList(form.Traces().Handle());
  int subRow = FindRow(form.Traces().Handle(), "sub");
  int oddRow = FindRow(form.Traces().Handle(), "caf\xE9 \xFC\xBF.bin");
  ASSERT_GE(subRow, 0);
  ASSERT_GE(oddRow, 0);
  const ShownRow& sub = rows[subRow];
  EXPECT_EQ(sub[4], "0 bytes");
  EXPECT_EQ(sub[2], "");
  const ShownRow& odd = rows[oddRow];
  EXPECT_EQ(odd[2], ".bin");
  EXPECT_EQ(odd[4], "1.50 KB");
}

TEST_F(MozillaTest, EachMissingBaseFolderDropsOnlyItsOwnLocations) {
  const std::string n = "wxyz9876.work";
  SeedProfile(n);
  Sandbox::WriteFile(ini, RealIni("\r\n"));
  Sandbox::DeleteValue(Root::HKCU, kShellFolders, "Local AppData");
  TmozzForm form;
  ASSERT_TRUE(form.Create());
  EXPECT_EQ(ShownPaths(form), (std::vector<std::string>{Roaming(n) + "history.dat", Roaming(n) + "formhistory.dat"}));

  // Without the roaming folder there is no profiles.ini, so the cache is not found either.
  Sandbox::SetString(Root::HKCU, kShellFolders, "Local AppData", sandbox.localAppData);
  Sandbox::SetString(Root::HKCU, kShellFolders, "AppData", "");
  form.ClickScan();
  EXPECT_EQ(form.FoundCount(), 0);
}

TEST_F(MozillaTest, EmptyBaseFoldersNeverMeanTheDriveRoot) {
  ZARN_REQUIRE_THROWAWAY_PREFIX();
  char previous[MAX_PATH];
  GetCurrentDirectoryA(MAX_PATH, previous);
  ASSERT_TRUE(SetCurrentDirectoryA("C:\\"));
  const std::string n = "wxyz9876.work";
  const std::vector<std::string> atRoot = {"C:\\Mozilla\\Firefox\\profiles.ini",
                                           "C:\\Mozilla\\Firefox\\Profiles\\" + n + "\\Cache\\root.tmp",
                                           "C:\\Mozilla\\Firefox\\Profiles\\" + n + "\\history.dat"};
  Sandbox::WriteFile(atRoot[0], RealIni("\r\n"));
  Sandbox::WriteFile(atRoot[1]);
  Sandbox::WriteFile(atRoot[2]);
  SeedProfile(n);
  {
    // profiles.ini at the root must not lead to the profile under the local folder.
    Sandbox::SetString(Root::HKCU, kShellFolders, "AppData", "");
    TmozzForm form;
    ASSERT_TRUE(form.Create());
    EXPECT_EQ(form.FoundCount(), 0);
    // Nor the local folder's absence to the cache at the root.
    Sandbox::SetString(Root::HKCU, kShellFolders, "AppData", sandbox.appData);
    Sandbox::WriteFile(ini, RealIni("\r\n"));
    Sandbox::DeleteValue(Root::HKCU, kShellFolders, "Local AppData");
    form.ClickScan();
    EXPECT_EQ(ShownPaths(form), (std::vector<std::string>{Roaming(n) + "history.dat", Roaming(n) + "formhistory.dat"}));
  }
  for (const auto& p : atRoot) DeleteFileA(p.c_str());
  for (const std::string& dir :
       {"C:\\Mozilla\\Firefox\\Profiles\\" + n + "\\Cache", "C:\\Mozilla\\Firefox\\Profiles\\" + n,
        std::string("C:\\Mozilla\\Firefox\\Profiles"), std::string("C:\\Mozilla\\Firefox"), std::string("C:\\Mozilla")})
    RemoveDirectoryA(dir.c_str());
  SetCurrentDirectoryA(previous);
}

TEST_F(MozillaTest, CleanDeletesExactlyTheTickedFiles) {
  const std::string n = "wxyz9876.work";
  SeedProfile(n);
  SeedProfile("abcd1234.default");
  Sandbox::WriteFile(Cache(n) + "sub\\inner.tmp");
  Sandbox::WriteFile(ini, RealIni("\n"));

  TmozzForm form;
  ASSERT_TRUE(form.Create());
  // Both profiles are listed, the last line's first; the other one is unticked whole.
  ASSERT_EQ(form.FoundCount(), 11);
  HWND list = form.Traces().Handle();
  int kept = FindRow(list, "_CACHE_001_");
  ASSERT_GE(kept, 0);
  ASSERT_LT(kept, 6);
  SetTick(list, kept, false);
  for (int row = 6; row < 11; ++row) SetTick(list, row, false);
  form.ClickDelete();

  for (const std::string& p : Expected(n)) EXPECT_EQ(Sandbox::Exists(p), p == Cache(n) + "_CACHE_001_") << p;
  // The ticked subfolder is no file: it stays with its contents.
  EXPECT_TRUE(Sandbox::Exists(Cache(n) + "sub\\inner.tmp"));
  EXPECT_TRUE(Sandbox::Exists(Roaming(n) + "prefs.js"));
  EXPECT_TRUE(Sandbox::Exists(Roaming(n) + "cookies.txt"));
  for (const std::string& p : Expected("abcd1234.default")) EXPECT_TRUE(Sandbox::Exists(p)) << p;
  EXPECT_TRUE(Sandbox::Exists(ini));
  EXPECT_EQ(form.FoundCount(), 11);
  EXPECT_FALSE(ReadList(list)[kept].ticked);
}

TEST_F(MozillaTest, ALargeCacheIsListedWhole) {
  const std::string n = "wxyz9876.work";
  Sandbox::WriteFile(ini, RealIni("\r\n"));
  Sandbox::MakeDir(Cache(n));
  constexpr int kEntries = 3000;
  for (int i = 0; i < kEntries; ++i) {
    char name[32];
    snprintf(name, sizeof name, "%08Xd01", i);
    Sandbox::WriteFile(Cache(n) + name);
  }
  TmozzForm form;
  DWORD start = GetTickCount();
  ASSERT_TRUE(form.Create());
  DWORD took = GetTickCount() - start;
  EXPECT_EQ(form.FoundCount(), kEntries);
  EXPECT_EQ(WindowText(form.StatusLabel()), std::to_string(kEntries) + " Files founds");
  RecordProperty("scan_ms", static_cast<int>(took));
}

}  // namespace
