// Today's Windows and today's versions of the programs, in the sandbox: each category lists
// their traces in order with its own texts, and a clean of every category deletes exactly
// the ticked traces and never what users keep, which lies beside them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "tests/support/app_fixture.h"
#include "tests/support/category_test.h"
#include "tests/support/databases.h"
#include "traces/scan_engine.h"

using namespace zarn;
using namespace zarn::test;

namespace {

// Where a thing lies: a folder of the profile, or a registry value ("key|name") that holds
// text, binary data, or a subkey of that name.
enum At { Home, Roaming, Local, Recent, Cache, Text, Binary, Key, MachineText };

// A trace names the caption of the category that lists it and its Info text ("=": the
// value's text); a thing users keep has neither, and may name several files of one folder
// (";" between the names). Each category's traces are in the order its scan lists them.
struct Thing {
  const char* caption;
  At at;
  const char* path;
  const char* info = "";
};

#define EXPLORER "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\"
#define OFFICE "Software\\Microsoft\\Office\\"
#define READER "Software\\Adobe\\Acrobat Reader\\"
#define OPERA "Opera Software\\Opera Stable\\"
#define GX "Opera Software\\Opera GX Stable\\"
#define FOX "Mozilla\\Firefox\\Profiles\\ab12cd34.default-release\\"
#define STORE "Packages\\Mozilla.Firefox_n80bbvh6b1yt2\\LocalCache\\"
#define STORE_FOX "Mozilla\\Firefox\\Profiles\\st56ef78.default-release\\"
const char kE[] = "Windows Explorer", kS[] = "System", kIE[] = "Internet Explorer", kO[] = "Opera",
           kF[] = "Mozilla Firefox", kMs[] = "Microsoft Office", kA[] = "Adobe";
const char kJump[] = "All items listed in Jump Lists", kDialog[] = "All items listed in Open/Save Dialog",
           kDocs[] = "All items listed in Recent Documents", kCache[] = "Internet Cache",
           kHistory[] = "History";
// A file that no item names and that the clean deletes with the database before it.
const char kGoesWithItsDatabase[] = "goes with its database";

const Thing kThings[] = {
    {kE, Recent, "AutomaticDestinations\\1b4dd67f29cb1962.automaticDestinations-ms", kJump},
    {nullptr, Recent, "AutomaticDestinations\\f01b4d95cf55d32a.automaticDestinations-ms"},
    {kE, Recent, "CustomDestinations\\28c8b86deab549a1.customDestinations-ms", kJump},
    {kE, Binary, EXPLORER "ComDlg32\\OpenSavePidlMRU|0", kDialog},
    {kE, Binary, EXPLORER "ComDlg32\\OpenSavePidlMRU|MRUListEx", kDialog},
    {kE, Key, EXPLORER "ComDlg32\\OpenSavePidlMRU|docx", kDialog},
    {kE, Binary, EXPLORER "ComDlg32\\LastVisitedPidlMRU|0", kDialog},
    {kE, Binary, EXPLORER "ComDlg32\\CIDSizeMRU|0", kDialog},
    {kE, Binary, EXPLORER "WordWheelQuery|0", "All items listed in Search Box"},
    {kE, Text, EXPLORER "TypedPaths|url1", "="},
    {kE, Binary, EXPLORER "RecentDocs|0", kDocs},
    {kE, Key, EXPLORER "RecentDocs|.docx", kDocs},
    {nullptr, Binary, EXPLORER "Taskband|Favorites"},
    {nullptr, Binary, "Software\\Microsoft\\Windows\\Shell\\Bags\\1\\Desktop|IconLayouts"},
    {nullptr, Binary,
     "Software\\Classes\\Local Settings\\Software\\Microsoft\\Windows\\Shell\\Bags\\AllFolders\\Shell|Mode"},
    {nullptr, Text, "Software\\Microsoft\\Windows\\CurrentVersion\\Applets\\Regedit\\Favorites|Run"},
    {nullptr, Home, "Searches\\Everywhere.search-ms"},
    {nullptr, Home, "Favorites\\Example.url"},

    {kS, Local, "CrashDumps\\explorer.exe.4242.dmp", "Memory Dump"},
    {kS, Local, "Microsoft\\Windows\\WER\\ReportArchive\\AppCrash_app.exe_5e1d\\Report.wer", "Error Report"},
    {kS, Local, "Microsoft\\Windows\\WER\\ReportQueue\\AppHang_app.exe_77af\\Report.wer", "Error Report"},
    {nullptr, MachineText, "Software\\Microsoft\\Windows\\Windows Error Reporting\\LocalDumps|DumpFolder"},

    {kIE, Cache, "IE\\3S18VYG4\\logo[1].png", "Internet Explorer History"},
    {nullptr, Cache, "IE\\container.dat"},
    {kIE, Text, "Software\\Microsoft\\Internet Explorer\\TypedURLs|url1", "="},
    {kIE, Binary, "Software\\Microsoft\\Internet Explorer\\TypedURLsTime|url1", "Internet Explorer Typed URLs Time"},
    {nullptr, Binary, "Software\\Microsoft\\Internet Explorer\\IntelliForms\\Storage2|6A0A3E4B"},

    {kO, Local, OPERA "Cache\\Cache_Data\\data_1", kCache},
    {kO, Roaming, OPERA "GPUCache\\data_0", kCache},
    {nullptr, Roaming, OPERA "Network\\Cookies"},
    {kO, Roaming, OPERA "History", kHistory},
    {kO, Roaming, OPERA "History-journal", kGoesWithItsDatabase},
    {kO, Roaming, OPERA "Sessions\\Session_13350000000000000", kHistory},
    {nullptr, Roaming, OPERA "Default\\Cookies"},
    {kO, Roaming, OPERA "Default\\Visited Links", kHistory},
    {kO, Local, GX "Cache\\Cache_Data\\f_000001", kCache},
    {kO, Roaming, GX "Top Sites", kHistory},
    {kO, Roaming, GX "Shortcuts", kHistory},
    {nullptr, Roaming, OPERA "Bookmarks;Bookmarks.bak;Login Data;Login Data For Account;Web Data;Preferences"},
    {nullptr, Roaming, OPERA "Secure Preferences;Local State;Favicons"},
    {nullptr, Roaming, OPERA "Default\\Bookmarks"},
    {nullptr, Roaming, OPERA "Extensions\\abcdefgh\\1.0_0\\manifest.json"},
    {nullptr, Roaming, OPERA "Web Applications\\Manifest Resources\\icon.png"},
    {nullptr, Roaming, GX "Login Data"},

    {kF, Local, FOX "cache2\\entries\\0A1B2C3D4E5F60718293A4B5C6D7E8F901234567", kCache},
    {kF, Local, FOX "cache2\\doomed\\1234567", kCache},
    {kF, Roaming, FOX "formhistory.sqlite", kCache},
    {kF, Local, STORE "Local\\" STORE_FOX "cache2\\entries\\9F8E7D6C5B4A39281706F5E4D3C2B1A098765432", kCache},
    {kF, Local, STORE "Roaming\\" STORE_FOX "formhistory.sqlite", kCache},
    {nullptr, Roaming, FOX "places.sqlite;favicons.sqlite;logins.json;key4.db;cert9.db;prefs.js;extensions.json"},
    {nullptr, Roaming, FOX "extensions\\uBlock0@raymondhill.net.xpi"},
    {nullptr, Roaming, FOX "bookmarkbackups\\bookmarks-2026-12-01.jsonlz4"},
    {nullptr, Roaming, FOX "autofill-profiles.json"},
    {nullptr, Local, STORE "Roaming\\" STORE_FOX "places.sqlite"},

    {kMs, Text, OFFICE "14.0\\Excel\\File MRU|Item 1", "="},
    {kMs, Text, OFFICE "15.0\\PowerPoint\\Place MRU|Item 1", "="},
    {kMs, Text, OFFICE "16.0\\Word\\File MRU|Item 1", "="},
    {nullptr, Text, OFFICE "16.0\\Word\\File MRU|Max Display"},
    {kMs, Text, OFFICE "16.0\\Word\\File MRU|Item 2", "="},
    {nullptr, Text, OFFICE "16.0\\Word\\File MRU|Item Metadata 1"},
    {kMs, Text, OFFICE "16.0\\Word\\User MRU\\AD_FEDCBA9876543210\\File MRU|Item 1", "="},
    {kMs, Text, OFFICE "16.0\\Word\\User MRU\\LiveId_0123456789ABCDEF\\File MRU|Item 1", "="},
    {kMs, Text, OFFICE "16.0\\Word\\User MRU\\AD_FEDCBA9876543210\\Place MRU|Item 1", "="},
    {kMs, Key, OFFICE "16.0\\Word\\Reading Locations|Document 0"},
    {kMs, Text, OFFICE "16.0\\Publisher\\File MRU|Item 1", "="},
    {nullptr, Binary,
     OFFICE "16.0\\Word\\Security\\Trusted Documents\\TrustRecords|%USERPROFILE%/Documents/macro.docm"},
    {nullptr, Text, OFFICE "16.0\\Common\\Identity|ADUserName"},
    {nullptr, Roaming, "Microsoft\\Templates\\Normal.dotm"},

    {kA, Key, READER "11.0\\AVGeneral\\cRecentFiles|c1", "Acrobat Reader 11.0 Recent Files"},
    {kA, Key, READER "DC\\AVGeneral\\cRecentFiles|c1", "Acrobat Reader DC Recent Files"},
    {kA, Key, READER "DC\\AVGeneral\\cRecentFiles|c2", "Acrobat Reader DC Recent Files"},
    {kA, Key, READER "DC\\AVGeneral\\cRecentFolders|c1", "Acrobat Reader DC Recent Folders"},
    {kA, Key, READER "2020\\AVGeneral\\cRecentFiles|c1", "Acrobat Reader 2020 Recent Files"},
    {kA, Key, "Software\\Adobe\\Adobe Acrobat\\DC\\AVGeneral\\cRecentFiles|c1", "Adobe Acrobat DC Recent Files"},
    {nullptr, Binary, READER "DC\\AVGeneral|bShowMenuBar"},

    // No rows at all: these files hold the recent lists together with every setting.
    {nullptr, Roaming, "LibreOffice\\4\\user\\registrymodifications.xcu"},
    {nullptr, Roaming, "OpenOffice\\4\\user\\registrymodifications.xcu"},
    {nullptr, Local, "Microsoft\\Media Player\\CurrentDatabase_400.wmdb"},
};

const char kData[] = "C:\\Users\\u\\Documents\\report.docx";

class CurrentProfileTest : public AppTest {
 protected:
  // Points the Shell Folders at the layout of Windows Vista and later (which has no
  // "Local Settings" value) and writes every thing.
  void Seed() override {
    const std::string home = sandbox.Dir() + "\\Users\\u", roaming = home + "\\AppData\\Roaming",
                      local = home + "\\AppData\\Local", windows = local + "\\Microsoft\\Windows\\";
    Sandbox::SetString(Root::HKCU, kShellFolders, "AppData", roaming);
    Sandbox::SetString(Root::HKCU, kShellFolders, "Local AppData", local);
    Sandbox::DeleteValue(Root::HKCU, kShellFolders, "Local Settings");
    Sandbox::SetString(Root::HKCU, kShellFolders, "Recent", roaming + "\\Microsoft\\Windows\\Recent");
    Sandbox::SetString(Root::HKCU, kShellFolders, "Cookies", windows + "INetCookies");
    Sandbox::SetString(Root::HKCU, kShellFolders, "Cache", windows + "INetCache");
    Sandbox::WriteFile(
        roaming + "\\Mozilla\\Firefox\\profiles.ini",
        "[Profile1]\r\nName=work\r\nPath=Profiles/zz99ab00.work\r\n[Profile0]\r\nName=default-release\r\n"
        "Path=Profiles/ab12cd34.default-release\r\nDefault=1\r\n[Install308046B0AF4A39CB]\r\n"
        "Default=Profiles/ab12cd34.default-release\r\nLocked=1\r\n");
    Sandbox::WriteFile(local + "\\" STORE "Roaming\\Mozilla\\Firefox\\profiles.ini",
                       "[Profile0]\r\nPath=Profiles/st56ef78.default-release\r\n");
    home_ = home;
    const std::string folders[] = {home, roaming, local, roaming + "\\Microsoft\\Windows\\Recent",
                                   windows + "INetCache"};
    for (const Thing& t : kThings) {
      const std::string_view all = t.path;
      const size_t names = all.rfind('\\', all.find(';')) + 1;
      for (size_t at = names, end = 0; at < all.size(); at = end + 1) {
        end = std::min(all.find(';', at), all.size());
        Write(t, std::string(all.substr(0, names)).append(all.substr(at, end - at)), folders);
      }
    }
  }

  void Write(const Thing& t, const std::string& path, const std::string (&folders)[5]) {
    static const unsigned char kBytes[] = {0x14, 0x00, 0x1F, 0x50, 0xE0, 0x4F};
    const size_t split = path.find_last_of(t.at <= Cache ? '\\' : '|');
    ExpectedTrace e{t.caption ? t.caption : "", path.substr(split + 1), path.substr(0, split + 1), "Registry Data",
                    std::string(t.info) == "=" ? kData : t.info};
    const Root root = t.at == MachineText ? Root::HKLM : Root::HKCU;
    const std::string key = path.substr(0, split);
    if (t.at <= Cache) {
      e.location = folders[t.at] + "\\" + e.location;
      e.type = e.name.find('.') == std::string::npos ? "" : e.name.substr(e.name.rfind('.'));
      Sandbox::WriteFile(e.location + e.name, "x");
    } else {
      e.location = std::string(RootText(root)) + "\\" + key;
      if (t.at == Binary) Sandbox::SetValue(root, key, e.name, REG_BINARY, kBytes, sizeof kBytes);
      if (t.at == Text || t.at == MachineText) Sandbox::SetString(root, key, e.name, kData);
      if (t.at == Key) Sandbox::SetString(root, key + "\\" + e.name, "0", kData);
    }
    (t.info == kGoesWithItsDatabase ? followers_ : t.caption ? traces_ : kept_).push_back(e);
  }

  struct ExpectedTrace {
    std::string caption, name, location, type, info;
    std::string Line() const { return name + " | " + location + " | " + type + " | " + info; }
  };

  bool Ours(const TraceItem& item) const { return item.IsRegistry() || item.location.starts_with(home_); }

  static bool Present(const ExpectedTrace& t) {
    if (t.type != "Registry Data") return Sandbox::Exists(t.location + t.name);
    const Root root = t.location.starts_with("HKLM") ? Root::HKLM : Root::HKCU;
    const std::string key = t.location.substr(5);
    return Sandbox::ValueExists(root, key, t.name) || Sandbox::KeyExists(root, key + "\\" + t.name);
  }

  std::string home_;
  std::vector<ExpectedTrace> traces_, kept_, followers_;
};

TEST_F(CurrentProfileTest, EachCategoryListsTodaysTracesInOrderWithItsOwnTexts) {
  for (const char* caption : {kE, kS, kIE, kO, kF, kMs, kA}) {
    SCOPED_TRACE(caption);
    std::vector<std::string> want, shown;
    for (const ExpectedTrace& t : traces_)
      if (t.caption == caption) want.push_back(t.Line());
    const TraceList& list = FindCategoryForm(caption)->Traces();
    for (size_t i = 0; i < list.Count(); ++i) {
      const TraceItem& item = list.Item(i);
      if (!Ours(item)) continue;  // the recycle bin, the clipboard, the machine's temporary folder
      shown.push_back(ExpectedTrace{"", item.name, item.location, item.type, item.info}.Line());
      EXPECT_TRUE(list.IsTicked(i)) << shown.back();
    }
    EXPECT_EQ(shown, want);
  }
}

TEST_F(CurrentProfileTest, ACleanOfEveryCategoryDeletesTheTickedAndKeepsWhatUsersKeep) {
  // The first trace of each category stays unticked, and so does all that is not the profile's.
  std::vector<std::string> unticked;
  for (TCategoryForm* each : CategoryForms()) {
    TCategoryForm& form = *each;
    bool first = true;
    for (size_t i = 0; i < form.Traces().Count(); ++i) {
      const TraceItem& item = form.Traces().Item(i);
      if (Ours(item) && first) unticked.push_back(item.location + item.name);
      if (!Ours(item) || first) form.Traces().SetTicked(i, false);
      first = first && !Ours(item);
    }
    form.ClickDelete();
  }
  for (const ExpectedTrace& t : traces_) {
    const bool left = std::find(unticked.begin(), unticked.end(), t.location + t.name) != unticked.end();
    EXPECT_EQ(Present(t), left) << t.caption << ": " << t.Line();
  }
  for (const ExpectedTrace& k : kept_) EXPECT_TRUE(Present(k)) << k.Line();
  for (const ExpectedTrace& f : followers_) EXPECT_FALSE(Present(f)) << f.Line();
}

class LinkedProfileTest : public CategoryTest {};

// A profile that a file of the browser names, or a folder on the way to one that a link
// stands in for, must not lead the scan outside: every browser whose profile the scan
// works out gets the one rule (Chrome and Edge have their own test with their layout).
TEST_F(LinkedProfileTest, FoldersOnTheWayToAProfileThatAreLinksAreNeverEntered) {
  const char* fixtures = std::getenv("ZARN_LINK_FIXTURES");
  if (!fixtures || !*fixtures) GTEST_SKIP() << "ZARN_LINK_FIXTURES is not set";
  // Cache, cache2 and cookies.sqlite of the Firefox profile, Network, Cache and Default of
  // Opera Stable and Opera GX Stable itself lead to a folder that holds what each would list.
  const std::string profiles = std::string(fixtures) + "\\profiles";
  for (const char* folder : {"AppData", "Local AppData"})
    Sandbox::SetString(Root::HKCU, kShellFolders, folder, profiles);
  // The profile's cookies.sqlite is a link to a real cookie database outside.
  const std::string outside = profiles + "-outside\\cookies.sqlite";
  DeleteFileA(outside.c_str());
  MakeDatabase(outside, kFirefoxCookiesSchema);
  AddCookies(outside, true, ".outside.com", 1);
  const struct {
    std::unique_ptr<TCategoryForm> form;
    std::vector<std::string> shown;
  } cases[] = {
      {std::make_unique<TmozzForm>(), {profiles + "\\Mozilla\\Firefox\\Profiles\\real.default\\formhistory.sqlite"}},
      {std::make_unique<TOperaForm>(), {profiles + "\\Opera Software\\Opera Stable\\History"}},
  };
  for (const auto& c : cases) {
    ASSERT_TRUE(c.form->Create());
    EXPECT_EQ(ShownPaths(*c.form), c.shown) << c.form->Traits().caption;
  }
}

TEST(NumberedNames, OnlyTheTextFollowedByDigitsIsTaken) {
  const RegistryRow row = NumberedValues(Root::HKCU, "\\Software\\x", "Item ");
  for (const char* name : {"Item 1", "Item 25", "Item 0"}) EXPECT_TRUE(NameTaken(row, name)) << name;
  for (const char* name : {"Item ", "Item", "item 1", "Item 1 ", "Item -1", "Item 1a", " Item 1", ""})
    EXPECT_FALSE(NameTaken(row, name)) << "\"" << name << "\"";
}

}  // namespace
