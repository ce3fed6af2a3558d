// A browser's database as bad input: side files that are links (there before the scan, or
// coming alive after the checks), hosts that only one rule maps to their item, a log left by a
// crash, profiles on a share, a drive letter or behind a link above the base folder, the
// profile lock, and a clean that reports what it left.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <map>
#include <memory>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "categories/chromium_form.h"
#include "categories/cookie_sites.h"
#include "categories/mozilla.h"
#include "categories/mozilla_history.h"
#include "tests/support/app_fixture.h"
#include "tests/support/category_test.h"
#include "tests/support/databases.h"
#include "tests/support/fixtures.h"
#include "traces/database.h"
#include "traces/folder_removal.h"
#include "traces/pulse.h"
#include "traces/site_rule.h"

using namespace zarn;
using namespace zarn::test;

namespace {

std::string Fixtures() {
  const char* fixtures = std::getenv("ZARN_LINK_FIXTURES");
  return fixtures ? fixtures : "";
}

#define REQUIRE_LINK_FIXTURES()                                              \
  do {                                                                       \
    if (Fixtures().empty()) GTEST_SKIP() << "ZARN_LINK_FIXTURES is not set"; \
  } while (0)

// The Firefox profile `name` below `base`, which becomes the roaming and the local folder.
std::string FirefoxProfileAt(const std::string& base, const std::string& name) {
  for (const char* folder : {"AppData", "Local AppData"}) Sandbox::SetString(Root::HKCU, kShellFolders, folder, base);
  Sandbox::WriteFile(base + "\\Mozilla\\Firefox\\profiles.ini", "[Profile0]\r\nPath=Profiles/" + name + "\r\n");
  const std::string profile = base + "\\Mozilla\\Firefox\\Profiles\\" + name + "\\";
  Sandbox::MakeDir(profile);
  return profile;
}

// A bookmarked page and one that goes; cookies of three sites, one host in two letter cases.
const char kTwoPages[] = R"(
INSERT INTO moz_places (id, url, rev_host, visit_count, frecency, foreign_count) VALUES
  (1, 'https://example.com/bm', 'moc.elpmaxe.', 1, 100, 1), (2, 'https://gone.org/', 'gro.enog.', 1, 100, 0);
INSERT INTO moz_historyvisits (id, place_id, visit_date, visit_type) VALUES (1, 1, 1, 1), (2, 2, 2, 1);
INSERT INTO moz_bookmarks (id, type, fk, parent, position, title, guid) VALUES (1, 1, 1, 0, 0, 'bm', 'bookmarkGuid');
)";
const char kSomeCookies[] = R"(
INSERT INTO moz_cookies (name, host, path) VALUES ('a', '.example.com', '/'), ('b', 'Example.com', '/'),
  ('c', 'other.org', '/');
)";
const char kWalCookie[] = "INSERT INTO moz_cookies (name, host, path) VALUES ('w', '.wal.org', '/')";
// Zeros first: a journal that begins so is no transaction that was cut off.
const std::string kBait = std::string(512, '\0') + "outside the profile";

// Each profile below the fixture's databases\Mozilla\Firefox\Profiles has a side file that is
// a link to databases-outside\<profile>. The databases are made in the sandbox and copied in,
// so that making them opens no link.
struct LinkedSide {
  const char* profile;
  const char* database;  // its item's name is the database's first item
  std::function<void(const std::string& scratch)> make;
  std::vector<std::string> copies;
};

const LinkedSide kLinkedSides[] = {
    {"shm",
     "cookies.sqlite",
     [](const std::string& s) { MakeCrashLeftLog(s + "cookies.sqlite", kFirefoxCookiesSchema, kWalCookie); },
     {"cookies.sqlite", "cookies.sqlite-wal"}},
    {"wal",
     "cookies.sqlite",
     [](const std::string& s) {
       MakeDatabase(s + "cookies.sqlite", std::string(kFirefoxCookiesSchema) + kSomeCookies, true);
     },
     {"cookies.sqlite"}},
    {"journal",
     "cookies.sqlite",
     [](const std::string& s) {
       MakeDatabase(s + "cookies.sqlite", std::string(kFirefoxCookiesSchema) + kSomeCookies);
     },
     {"cookies.sqlite"}},
    {"icons",
     "places.sqlite",
     [](const std::string& s) {
       MakeDatabase(s + "places.sqlite", std::string(kPlacesSchema) + kTwoPages, true);
       MakeDatabase(s + "favicons.sqlite", kFaviconsSchema, true);
     },
     {"places.sqlite", "favicons.sqlite"}},
};

class SideFileTest : public CategoryTest, public ::testing::WithParamInterface<LinkedSide> {};

TEST_P(SideFileTest, TheDatabaseGivesNoItemAndNothingIsReadOrWrittenThroughTheLink) {
  REQUIRE_LINK_FIXTURES();
  const LinkedSide& s = GetParam();
  const std::string profile = FirefoxProfileAt(Fixtures() + "\\databases", s.profile);
  const std::string outside = Fixtures() + "\\databases-outside\\" + s.profile;
  Sandbox::WriteFile(outside, kBait);
  s.make(sandbox.Dir() + "\\");
  for (const std::string& name : s.copies)
    ASSERT_TRUE(CopyFileA((sandbox.Dir() + "\\" + name).c_str(), (profile + name).c_str(), FALSE)) << name;
  const std::string database = profile + s.database, before = FileBytes(database);
  TmozzForm form;
  ASSERT_TRUE(form.Create());
  EXPECT_TRUE(DatabaseItems(form).empty());
  EXPECT_TRUE(FileBytes(outside) == kBait) << "the scan went through the link";
  // An item of the file, as though the scan had given one, changes nothing either.
  const bool history = std::string(s.database) == "places.sqlite";
  if (history)
    form.AddDatabaseTrace(kFirefoxHistory, PlaceOf(database), "History", "History", "1 visit");
  else
    form.AddDatabaseTrace(kFirefoxCookies, PlaceOf(database), "example.com", "Cookies", "1 cookie");
  form.ClickDelete();
  ASSERT_TRUE(Sandbox::Exists(outside)) << "the clean deleted the link's target";
  EXPECT_TRUE(FileBytes(outside) == kBait) << "the clean went through the link";
  EXPECT_TRUE(FileBytes(database) == before);
}

INSTANTIATE_TEST_SUITE_P(Links, SideFileTest, ::testing::ValuesIn(kLinkedSides),
                         [](const auto& info) { return std::string(info.param.profile); });

// A journal link that leads nowhere passes for a missing journal. Its target, made after the
// checks and before SQLite looks for a journal, is found by the handle SQLite opens or
// deletes it with: the write fails whole, and the target keeps every byte.
TEST_F(CategoryTest, AJournalLinkThatComesAliveAfterTheChecksIsNeverFollowed) {
  REQUIRE_LINK_FIXTURES();
  const std::string path = FirefoxProfileAt(Fixtures() + "\\databases", "race") + "cookies.sqlite";
  const std::string outside = Fixtures() + "\\databases-outside\\race", scratch = sandbox.Dir() + "\\c.sqlite";
  DeleteFileA(outside.c_str());
  MakeDatabase(scratch, std::string(kFirefoxCookiesSchema) + kSomeCookies);
  ASSERT_TRUE(CopyFileA(scratch.c_str(), path.c_str(), FALSE));
  {
    Database db(path, Database::Mode::Write);
    ASSERT_TRUE(db.Ok());
    Sandbox::WriteFile(outside, kBait);
    EXPECT_TRUE(db.Begin());
    EXPECT_FALSE(db.Exec("DELETE FROM moz_cookies"));
    db.Rollback();
  }
  ASSERT_TRUE(Sandbox::Exists(outside)) << "the clean deleted the link's target";
  EXPECT_TRUE(FileBytes(outside) == kBait) << "the clean wrote through the link";
  DeleteFileA(outside.c_str());
  EXPECT_TRUE(FileBytes(path) == FileBytes(scratch));
}

// The item a stored host belongs to: its site by the one rule (test_site_rule checks the rule
// itself); none for "", "." and "..".
std::string ItemOf(const std::string& host) { return SiteOfHost(host); }

class HostRuleTest : public CategoryTest, public ::testing::WithParamInterface<bool> {};

// Random sets of hosts (dots, empty, ".", "..", letter case, non-ASCII bytes, NULs, very long
// labels), each round a random subset of the items ticked: exactly the rows of the ticked
// items go; every row of an unticked item, or of no item, stays.
TEST_P(HostRuleTest, TickingAnySubsetDeletesExactlyTheRowsOfThatSubset) {
  const bool firefox = GetParam();
  // Few bodies behind up to three dots, so that hosts meet: "..a", ".a" and "a" in one file.
  const std::string bodies[] = {"",
                                ".",
                                "a",
                                "A",
                                "example.com",
                                "Example.COM",
                                "b.org",
                                "\xC3\xBC",
                                std::string("n\0ul", 4),
                                std::string(300, 'x'),
                                "%_ "};
  std::mt19937 random(29);
  const auto pick = [&](size_t n) { return static_cast<size_t>(random() % n); };
  for (int round = 0; round < 12; ++round) {
    SCOPED_TRACE(round);
    std::map<std::string, int> hosts;  // each with its number of cookies
    for (size_t i = 0, n = 4 + pick(12); i < n; ++i)
      hosts[std::string(pick(4), '.') + bodies[pick(std::size(bodies))]] = 1 + static_cast<int>(pick(2));
    const std::string chromium = sandbox.localAppData + "\\Google\\Chrome\\User Data\\Default\\";
    Sandbox::MakeDir(chromium);
    const std::string path =
        firefox ? FirefoxProfileAt(sandbox.appData, std::to_string(round)) + "cookies.sqlite" : chromium + "Cookies";
    DeleteFileA(path.c_str());
    MakeDatabase(path, firefox ? kFirefoxCookiesSchema : kChromiumCookiesSchema);
    for (const auto& [host, count] : hosts) AddCookies(path, firefox, host, count);
    std::unique_ptr<TCategoryForm> form;
    if (firefox)
      form = std::make_unique<TmozzForm>();
    else
      form = std::make_unique<TChromiumForm>(ChromiumBrowsers()[0]);
    ASSERT_TRUE(form->Create());
    std::set<std::string> listed, ticked, items;
    for (size_t i = 0; i < form->Traces().Count(); ++i) {
      if (!form->Traces().Item(i).IsDatabaseRows()) continue;
      listed.insert(form->Traces().Item(i).name);
      if (pick(2))
        form->Traces().SetTicked(i, false);
      else
        ticked.insert(form->Traces().Item(i).name);
    }
    std::vector<std::string> left;  // the host in hex, with its number of rows
    for (const auto& [host, count] : hosts) {
      if (!ItemOf(host).empty()) items.insert(ItemOf(host));
      if (ticked.count(ItemOf(host))) continue;
      std::string row;
      for (unsigned char c : host) row += {"0123456789ABCDEF"[c >> 4], "0123456789ABCDEF"[c & 15]};
      left.push_back(row + "|" + std::to_string(count));
    }
    EXPECT_EQ(listed, items);
    form->ClickDelete();
    const std::string column = firefox ? "host" : "host_key", table = firefox ? "moz_cookies" : "cookies";
    std::vector<std::string> rows = Rows(path, "SELECT hex(" + column + "), count(*) FROM " + table + " GROUP BY 1");
    std::sort(rows.begin(), rows.end());
    std::sort(left.begin(), left.end());
    EXPECT_EQ(rows, left);
  }
}

INSTANTIATE_TEST_SUITE_P(Stores, HostRuleTest, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "Firefox" : "Chromium"; });

// A log a crash left holds rows the files do not have yet: they are listed, and neither the
// log, nor its index (there or not), nor anything else of the profile changes by one byte.
TEST_F(CategoryTest, AScanBesideALogWritesNothing) {
  for (const bool withIndex : {true, false}) {
    SCOPED_TRACE(withIndex ? "with its index" : "without its index");
    const std::string profile = FirefoxProfileAt(sandbox.appData, withIndex ? "index" : "bare");
    MakeCrashLeftLog(profile + "cookies.sqlite", kFirefoxCookiesSchema, kWalCookie);
    MakeCrashLeftLog(profile + "places.sqlite", kPlacesSchema, kTwoPages);
    MakeCrashLeftLog(profile + "favicons.sqlite", kFaviconsSchema, "INSERT INTO moz_pages_w_icons VALUES (1, 'x', 1)");
    for (const char* name : {"cookies.sqlite", "places.sqlite", "favicons.sqlite"}) {
      ASSERT_TRUE(Sandbox::Exists(profile + name + "-wal") && Sandbox::Exists(profile + name + "-shm"));
      if (!withIndex) {
        ASSERT_TRUE(DeleteFileA((profile + name + "-shm").c_str()));
      }
    }
    const auto before = FolderBytes(profile);
    TmozzForm form;
    ASSERT_TRUE(form.Create());
    const auto items = DatabaseItems(form);
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0]->name, "wal.org");
    EXPECT_EQ(items[1]->size, "2 visits");
    EXPECT_TRUE(FolderBytes(profile) == before) << "the scan changed the profile";
  }
}

class ProfilePlaceTest : public CategoryTest, public ::testing::WithParamInterface<const char*> {};

// A share, a drive letter that names another folder (as a mapped or a substituted drive
// does) and a folder reached through a link above the roaming folder: each as good as a
// local profile.
TEST_P(ProfilePlaceTest, CookiesAndHistoryAreListedAndCleanedAsInALocalProfile) {
  REQUIRE_LINK_FIXTURES();
  std::string base = GetParam();
  if (base.rfind("C:", 0) == 0) base = Fixtures() + base.substr(2);
  const std::string profile = FirefoxProfileAt(base, "far");
  for (const char* name : {"cookies.sqlite", "places.sqlite"}) DeleteFileA((profile + name).c_str());
  MakeDatabase(profile + "cookies.sqlite", std::string(kFirefoxCookiesSchema) + kSomeCookies);
  MakeDatabase(profile + "places.sqlite", std::string(kPlacesSchema) + kTwoPages, true);
  TmozzForm form;
  ASSERT_TRUE(form.Create());
  const auto items = DatabaseItems(form);
  // ".example.com" and "Example.com" are one site; then other.org and the two pages.
  ASSERT_EQ(items.size(), 3u);
  EXPECT_EQ(items[0]->location, profile + "cookies.sqlite");
  form.ClickDelete();
  EXPECT_EQ(Number(profile + "cookies.sqlite", "SELECT count(*) FROM moz_cookies"), 0);
  EXPECT_EQ(Rows(profile + "places.sqlite", "SELECT url FROM moz_places"),
            std::vector<std::string>{"https://example.com/bm"});
  // A site's folder goes from there as from a local profile.
  const std::string origin = profile + "storage\\default\\https+++example.com";
  Sandbox::WriteFile(origin + "\\idb\\1.sqlite", "x");
  EXPECT_TRUE(FolderRemoval(profile).RemoveBelow(origin));
  EXPECT_EQ(GetFileAttributesA(origin.c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(SubfolderNames(profile + "storage\\default\\"), std::set<std::string>{});
  EXPECT_FALSE(SubfolderNames(profile).count(kRemovalFolder));
}

INSTANTIATE_TEST_SUITE_P(Places, ProfilePlaceTest,
                         ::testing::Values("\\\\zarnserver\\profiles\\Roaming", "X:\\Roaming", "C:\\above\\Roaming"),
                         [](const auto& info) { return std::to_string(info.index); });

// A Firefox that starts during the clean finds its profile taken, so it never writes the
// file meanwhile; afterwards the lock is as it was, there or not.
TEST_F(CategoryTest, TheFirefoxProfileLockIsHeldThroughTheClean) {
  for (const bool lockThere : {true, false}) {
    SCOPED_TRACE(lockThere ? "parent.lock there" : "no parent.lock");
    const std::string profile = FirefoxProfileAt(sandbox.appData, lockThere ? "lock" : "nolock");
    const std::string lock = profile + "parent.lock";
    if (lockThere) Sandbox::WriteFile(lock, "");
    MakeDatabase(profile + "cookies.sqlite", kFirefoxCookiesSchema);
    AddCookies(profile + "cookies.sqlite", true, ".a.com", 40000);
    TmozzForm form;
    ASSERT_TRUE(form.Create());
    struct Watch {
      const std::string& lock;
      int held = 0;
    } watch{lock};
    {
      // SQLite looks at the messages during the clean; a Firefox opens its lock so.
      PulseScope scope(
          [](void* w) {
            auto* watch = static_cast<Watch*>(w);
            HANDLE h = CreateFileA(watch->lock.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
            watch->held += h == INVALID_HANDLE_VALUE && GetLastError() == ERROR_SHARING_VIOLATION;
            if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
            return true;
          },
          &watch);
      form.ClickDelete();
    }
    EXPECT_GE(watch.held, 1) << "a Firefox starting meanwhile could have taken the profile";
    EXPECT_EQ(Number(profile + "cookies.sqlite", "SELECT count(*) FROM moz_cookies"), 0);
    EXPECT_EQ(Sandbox::Exists(lock), lockThere);
  }
}

// Pages are mapped into memory only from a fixed local disk: a share that goes away while a
// mapped page is read would fault where SQLite can return no error.
TEST(MappedPagesTest, OnlyAFixedLocalDiskIsMapped) {
  char windows[MAX_PATH] = "";
  ASSERT_GT(GetWindowsDirectoryA(windows, MAX_PATH), 2u);
  const std::wstring fixed = std::wstring(1, static_cast<wchar_t>(windows[0])) + L":\\profile\\places.sqlite";
  for (const auto& [path, mapped] :
       {std::pair{fixed, true}, {L"\\\\server\\share\\places.sqlite", false}, {L"places.sqlite", false}, {L"", false}})
    EXPECT_EQ(MapsPagesOf(path), mapped);
}

// Form history goes as a whole file; its log and the log's index hold form entries too and
// go with it, as a journal goes with its database, but never through a link.
TEST_F(CategoryTest, AWholeFileDatabaseGoesWithItsLogAndItsIndex) {
  const std::string profile = FirefoxProfileAt(sandbox.appData, "forms");
  MakeCrashLeftLog(profile + "formhistory.sqlite", "CREATE TABLE moz_formhistory (id INTEGER PRIMARY KEY, value TEXT);",
                   "INSERT INTO moz_formhistory (value) VALUES ('secret')");
  Sandbox::WriteFile(profile + "formhistory.sqlite-journal", std::string(512, '\0'));
  TmozzForm form;
  ASSERT_TRUE(form.Create());
  form.ClickDelete();
  for (const char* side : {"", "-wal", "-shm", "-journal"})
    EXPECT_FALSE(Sandbox::Exists(profile + "formhistory.sqlite" + side)) << side;
  if (Fixtures().empty()) return;
  const std::string linked = FirefoxProfileAt(Fixtures() + "\\databases", "whole") + "formhistory.sqlite";
  const std::string outside = Fixtures() + "\\databases-outside\\whole";
  Sandbox::WriteFile(outside, kBait);
  Sandbox::WriteFile(linked, "x");
  TmozzForm again;
  ASSERT_TRUE(again.Create());
  again.ClickDelete();
  EXPECT_FALSE(Sandbox::Exists(linked));
  EXPECT_TRUE(Sandbox::Exists(outside) && FileBytes(outside) == kBait) << "the clean went through the link";
}

class CleanResultTest : public AppTest {
 protected:
  void Seed() override {
    Sandbox::CreateKey(Root::HKLM, "SOFTWARE\\Mozilla");
    profile_ = FirefoxProfileAt(sandbox.appData, "wizard");
    MakeDatabase(profile_ + "cookies.sqlite", kFirefoxCookiesSchema);
    Sandbox::WriteFile(profile_ + "parent.lock", "");
  }
  std::string profile_;
};

// After each category's clean, page 4 counts its ticked items that are still there: the
// cookie sites of a profile that Firefox took meanwhile, a file another program holds. The
// detail dialog still shows them ticked.
TEST_F(CleanResultTest, PageFourCountsWhatTheCleanLeft) {
  for (const auto& [held, left] : {std::pair{"", "0"}, {"parent.lock", "2"}, {"formhistory.sqlite", "1"}}) {
    SCOPED_TRACE(held);
    Sandbox::WriteFile(profile_ + "formhistory.sqlite", "x");
    if (Number(profile_ + "cookies.sqlite", "SELECT count(*) FROM moz_cookies") == 0)
      RunSql(profile_ + "cookies.sqlite", "INSERT INTO moz_cookies (host) VALUES ('.a.com'), ('b.org')");
    MainForm->backbtnClick();
    HWND lvall = Main(TMainForm::kLvall);
    const auto rows = ReadList(lvall);
    for (size_t i = 0; i < rows.size(); ++i) SetTick(lvall, static_cast<int>(i), rows[i][0] == "Mozilla Firefox");
    MainForm->nextbtnClick();
    MainForm->nextbtnClick();
    ASSERT_EQ(ReadList(Main(TMainForm::kLv3)).at(0).cells, (std::vector<std::string>{"Mozilla Firefox", "3", "0 %"}));
    TCategoryForm* form = FindCategoryForm("Mozilla Firefox");
    ASSERT_NE(form, nullptr);
    form->ShowDetail();
    std::unique_ptr<HeldOpen> holder;
    if (*held) holder = std::make_unique<HeldOpen>(profile_ + held, GENERIC_READ | GENERIC_WRITE);
    MainForm->nextbtnClick();
    holder.reset();
    ASSERT_EQ(MainForm->State(), 4);
    EXPECT_EQ(ReadList(Main(TMainForm::kLvclean)).at(0).cells,
              (std::vector<std::string>{"Mozilla Firefox", left, "100 %"}));
    const auto shown = ReadList(form->Traces().Handle());
    ASSERT_EQ(shown.size(), 3u);
    for (const ShownRow& row : shown) EXPECT_TRUE(row.ticked) << row.Name();
    ShowWindow(form->Handle(), SW_HIDE);
  }
}

// Site data behind links (made by scripts/test.sh): an IndexedDB origin that is a link and a
// Local Storage folder that is one give no item; a real origin with a link inside is deleted
// with the link itself, never through it. Nothing outside the profile loses a byte.
TEST_F(CategoryTest, SiteDataBehindALinkIsNeverAnItemNorDeletedThroughTheLink) {
  REQUIRE_LINK_FIXTURES();
  const std::string local = Fixtures() + "\\chromium-sites";
  const std::string indexedDb = local + "\\Google\\Chrome\\User Data\\Default\\IndexedDB\\";
  const std::string real = indexedDb + "https_real.test_0.indexeddb.leveldb";
  const std::string outside = Fixtures() + "\\sites-outside\\origin\\000003.log";
  if (GetFileAttributesA((real + "\\LINKED").c_str()) == INVALID_FILE_ATTRIBUTES)
    GTEST_SKIP() << "an earlier run in this prefix has cleaned the fixture's real origin";
  Sandbox::SetString(Root::HKCU, kShellFolders, "Local AppData", local);
  TChromiumForm form(ChromiumBrowsers()[0]);
  ASSERT_TRUE(form.Create());
  const auto items = DatabaseItems(form);
  ASSERT_EQ(items.size(), 1u);
  EXPECT_EQ(items[0]->name, "real.test");
  EXPECT_EQ(items[0]->size, "site data");

  form.ClickDelete();
  EXPECT_EQ(GetFileAttributesA(real.c_str()), INVALID_FILE_ATTRIBUTES) << "the browser still finds the real origin";
  EXPECT_EQ(FileBytes(outside), "x\n");
  const DWORD linked = GetFileAttributesA((indexedDb + "https_linked.test_0.indexeddb.leveldb").c_str());
  EXPECT_TRUE(linked != INVALID_FILE_ATTRIBUTES && (linked & FILE_ATTRIBUTE_REPARSE_POINT));
  const DWORD storage = GetFileAttributesA((local + "\\Google\\Chrome\\User Data\\Default\\Local Storage").c_str());
  EXPECT_TRUE(storage != INVALID_FILE_ATTRIBUTES && (storage & FILE_ATTRIBUTE_REPARSE_POINT));
  // Windows removes the link inside as a folder; Wine cannot remove its Unix link by any
  // call that would not follow it, so there the renamed origin stays, and page 4 says so.
  const bool leftover = GetFileAttributesA((local + "\\Google\\Chrome\\User Data\\Default\\" + kRemovalFolder +
                                            "\\https_real.test_0.indexeddb.leveldb")
                                               .c_str()) != INVALID_FILE_ATTRIBUTES;
  EXPECT_EQ(form.LeftAfterClean(), leftover ? 1 : 0);
}

// The same for Firefox: an origin folder that is a link, with a real origin's metadata behind
// it, gives no item, and the clean of the real origin beside it leaves it and what is behind it.
TEST_F(CategoryTest, AFirefoxOriginThatIsALinkIsNeverAnItemNorDeletedThroughTheLink) {
  REQUIRE_LINK_FIXTURES();
  const std::string fixture = "sites/firefox/1ccbwfpv.main/storage/default/";
  const std::string outside = Fixtures() + "\\sites-outside\\firefox-origin\\";
  Sandbox::WriteFile(outside + ".metadata-v2", FileBytes(FixturePath(fixture + "http+++tracker.test/.metadata-v2")));
  Sandbox::WriteFile(outside + "ls\\data.sqlite", "x");
  const std::string storage = FirefoxProfileAt(Fixtures() + "\\firefox-sites", "linked") + "storage\\default\\";
  if (GetFileAttributesA((storage + "http+++tracker.test").c_str()) == INVALID_FILE_ATTRIBUTES)
    GTEST_SKIP() << "the fixtures of this prefix were made without the link";
  ASSERT_TRUE(CopyFixture(fixture + "http+++www.shop.test", storage + "http+++www.shop.test"));
  const auto before = FolderBytes(outside);
  TmozzForm form;
  ASSERT_TRUE(form.Create());
  const auto items = DatabaseItems(form);
  ASSERT_EQ(items.size(), 1u);
  EXPECT_EQ(items[0]->name, "shop.test");
  form.ClickDelete();
  EXPECT_EQ(SubfolderNames(storage), std::set<std::string>{"http+++tracker.test"});
  const DWORD linked = GetFileAttributesA((storage + "http+++tracker.test").c_str());
  EXPECT_TRUE(linked != INVALID_FILE_ATTRIBUTES && (linked & FILE_ATTRIBUTE_REPARSE_POINT));
  EXPECT_EQ(FolderBytes(outside), before);
  EXPECT_EQ(FileBytes(outside + "ls\\data.sqlite"), "x");
}

// Ten thousand origins, each of a site of its own (made by scripts/test.sh): ten thousand
// items, and a clean of two of them takes those two alone.
TEST_F(CategoryTest, TenThousandOriginsAreAsManyItemsAndTheCleanTakesTheTickedOnes) {
  REQUIRE_LINK_FIXTURES();
  const std::string local = Fixtures() + "\\many-origins";
  const std::string indexedDb = local + "\\Google\\Chrome\\User Data\\Default\\IndexedDB\\";
  const std::set<std::string> ticked = {"site42.test", "site10000.test"};
  auto folder = [&](const std::string& site) { return indexedDb + "http_" + site + "_0.indexeddb.leveldb"; };
  if (GetFileAttributesA(folder("site42.test").c_str()) == INVALID_FILE_ATTRIBUTES)
    GTEST_SKIP() << "an earlier run in this prefix has cleaned the fixture";
  Sandbox::SetString(Root::HKCU, kShellFolders, "Local AppData", local);
  TChromiumForm form(ChromiumBrowsers()[0]);
  ASSERT_TRUE(form.Create());
  std::set<std::string> expected, listed;
  for (int i = 1; i <= 10000; ++i) expected.insert("site" + std::to_string(i) + ".test");
  for (const TraceItem* item : DatabaseItems(form)) listed.insert(item->name);
  ASSERT_EQ(listed, expected);
  for (size_t i = 0; i < form.Traces().Count(); ++i)
    form.Traces().SetTicked(i, ticked.count(form.Traces().Item(i).name) > 0);
  form.ClickDelete();
  EXPECT_EQ(form.LeftAfterClean(), 0);
  EXPECT_EQ(SubfolderNames(indexedDb).size(), 9998u);
  for (const std::string& site : ticked) EXPECT_EQ(GetFileAttributesA(folder(site).c_str()), INVALID_FILE_ATTRIBUTES);
}

// One site's folder leaves the profile whole or not at all: moved into the program's own
// folder, then emptied there. Each case lays out the folder and what lies around it; the
// folder beside it never loses a byte.
struct RemovalCase {
  const char* name;
  void (*layout)(const std::string& profile, const std::string& origin);
  bool removed;            // what the removal reports: the folder is gone
  bool asideStays;         // the program's folder stays, holding what was there before
  const char* held = nullptr;  // a file of the folder that a program keeps open without sharing
};

void NestedReadOnly(const std::string&, const std::string& origin) {
  Sandbox::WriteFile(origin + "\\CURRENT", "MANIFEST-000001\n");
  Sandbox::WriteFile(origin + "\\blob\\1\\0a\\1", "large value");
  SetFileAttributesA((origin + "\\blob\\1\\0a\\1").c_str(), FILE_ATTRIBUTE_READONLY);
  SetFileAttributesA((origin + "\\blob").c_str(), FILE_ATTRIBUTE_READONLY);
}
void LeftOverByAStoppedClean(const std::string& profile, const std::string& origin) {
  NestedReadOnly(profile, origin);
  Sandbox::WriteFile(profile + kRemovalFolder + "\\origin\\kept", "what an earlier clean left");
}
void LockFile(const std::string& profile, const std::string& origin) {
  NestedReadOnly(profile, origin);
  Sandbox::WriteFile(origin + "\\LOCK", "");
}
void AFile(const std::string&, const std::string& origin) { Sandbox::WriteFile(origin, "a file, no folder"); }

const RemovalCase kRemovalCases[] = {
    {"NestedReadOnly", NestedReadOnly, true, false},
    {"LeftOverByAStoppedClean", LeftOverByAStoppedClean, true, true},
    {"HeldByABrowser", LockFile, false, false, "LOCK"},
    {"AFileInItsPlace", AFile, false, false},
};

class FolderRemovalTest : public SandboxTest, public ::testing::WithParamInterface<RemovalCase> {};

TEST_P(FolderRemovalTest, TheFolderGoesWholeOrStaysWhole) {
  const RemovalCase& c = GetParam();
  if (c.held && UnderWine())
    GTEST_SKIP() << "Wine moves a folder while a program holds a file of it without sharing; Windows refuses";
  const std::string profile = sandbox.localAppData + "\\Profile\\", origin = profile + "IndexedDB\\origin";
  const std::string beside = profile + "IndexedDB\\beside\\", aside = profile + kRemovalFolder;
  Sandbox::WriteFile(beside + "CURRENT", "kept");
  c.layout(profile, origin);
  const auto before = FolderBytes(origin + "\\");
  const auto leftover = FolderBytes(aside + "\\origin\\");
  std::unique_ptr<HeldOpen> held;
  if (c.held) {
    held = std::make_unique<HeldOpen>(origin + "\\" + c.held, GENERIC_READ | GENERIC_WRITE);
    ASSERT_TRUE(held->Held());
  }
  {
    FolderRemoval removal(profile);
    EXPECT_FALSE(removal.RemoveBelow(sandbox.localAppData + "\\Elsewhere")) << "outside the profile";
    EXPECT_EQ(removal.RemoveBelow(origin), c.removed);
  }
  held.reset();
  const DWORD attributes = GetFileAttributesA(origin.c_str());
  if (c.removed) {
    EXPECT_EQ(attributes, INVALID_FILE_ATTRIBUTES);
  } else {
    EXPECT_NE(attributes, INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(FolderBytes(origin + "\\"), before);
    if (c.layout != AFile) {
      EXPECT_EQ(FileBytes(origin + "\\blob\\1\\0a\\1"), "large value");
    }
  }
  EXPECT_EQ(FolderBytes(beside), (std::map<std::string, std::string>{{"CURRENT", "kept"}}));
  EXPECT_EQ(GetFileAttributesA(aside.c_str()) != INVALID_FILE_ATTRIBUTES, c.asideStays);
  EXPECT_EQ(FolderBytes(aside + "\\origin\\"), leftover);
}

INSTANTIATE_TEST_SUITE_P(Cases, FolderRemovalTest, ::testing::ValuesIn(kRemovalCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
