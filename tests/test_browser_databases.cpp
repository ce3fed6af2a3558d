// Traces inside the browsers' databases: cookies site by site in Chromium's and Firefox's
// cookie stores, Firefox's history with its bookmarks kept, databases in use, and files that
// are no database of the expected shape, none of which may lose a byte.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "categories/chromium_form.h"
#include "categories/cookie_sites.h"
#include "categories/mozilla.h"
#include "categories/mozilla_history.h"
#include "tests/support/category_test.h"
#include "tests/support/databases.h"
#include "traces/database.h"
#include "traces/pulse.h"

using namespace zarn;
using namespace zarn::test;

namespace {

// A profile whose cookie database the scan reads, made by the test.
struct CookieStore {
  const char* name;
  bool firefox;
  const char* below;  // the database below the profile folder
  std::unique_ptr<TCategoryForm> (*make)();
  bool store = false;  // Firefox's Microsoft Store build
};

std::unique_ptr<TCategoryForm> MakeChrome() { return std::make_unique<TChromiumForm>(ChromiumBrowsers()[0]); }
std::unique_ptr<TCategoryForm> MakeFirefox() { return std::make_unique<TmozzForm>(); }

const CookieStore kStores[] = {
    {"ChromeNetwork", false, "Network\\Cookies", MakeChrome},
    {"ChromeOlder", false, "Cookies", MakeChrome},
    {"Firefox", true, "cookies.sqlite", MakeFirefox},
    {"FirefoxStore", true, "cookies.sqlite", MakeFirefox, true},
};

class DatabaseTest : public CategoryTest {
 protected:
  std::string FirefoxProfile() {
    Sandbox::WriteFile(sandbox.appData + "\\Mozilla\\Firefox\\profiles.ini", "[Profile0]\r\nPath=Profiles/t.default\r\n");
    const std::string profile = sandbox.appData + "\\Mozilla\\Firefox\\Profiles\\t.default\\";
    Sandbox::MakeDir(profile);
    return profile;
  }
  std::string ChromeProfile() { return sandbox.localAppData + "\\Google\\Chrome\\User Data\\Default\\"; }
  std::string StoreProfile() {
    const std::string firefox = sandbox.localAppData + "\\Packages\\Mozilla.Firefox_n80bbvh6b1yt2\\LocalCache\\"
                                                       "Roaming\\Mozilla\\Firefox\\";
    Sandbox::WriteFile(firefox + "profiles.ini", "[Profile0]\r\nPath=Profiles/s.default\r\n");
    Sandbox::MakeDir(firefox + "Profiles\\s.default");
    return firefox + "Profiles\\s.default\\";
  }
  std::string Profile(const CookieStore& s) {
    return s.store ? StoreProfile() : s.firefox ? FirefoxProfile() : ChromeProfile();
  }
  // A cookie database of the store's schema at its place, with `hosts` (host, cookies).
  std::string MakeCookies(const CookieStore& s, const std::vector<std::pair<std::string, int>>& hosts) {
    const std::string path = Profile(s) + s.below;
    Sandbox::MakeDir(path.substr(0, path.rfind('\\')));
    MakeDatabase(path, s.firefox ? kFirefoxCookiesSchema : kChromiumCookiesSchema, s.firefox);
    for (const auto& [host, count] : hosts) AddCookies(path, s.firefox, host, count);
    return path;
  }
  static std::string HostColumn(const CookieStore& s) { return s.firefox ? "host" : "host_key"; }
  static std::string CookieTable(const CookieStore& s) { return s.firefox ? "moz_cookies" : "cookies"; }
};

class CookieSitesTest : public DatabaseTest, public ::testing::WithParamInterface<CookieStore> {};

TEST_P(CookieSitesTest, OneItemPerSiteSortedAndAnUntickedSiteKeepsItsCookies) {
  const CookieStore& s = GetParam();
  const std::string nul("nul\0host.net", 12), huge(10000, 'h');
  const std::string quote = "o'ne\"il.com'); DELETE FROM cookies; --";
  const std::string path = MakeCookies(s, {{".example.com", 2}, {"example.com", 1}, {"b.org", 1}, {quote, 1},
                                           {"b\xC3\xBC" "cher.de", 1}, {nul, 1}, {huge, 1}, {"", 1}, {".", 1}});
  // A host stored as bytes rather than text names no site the clean could match.
  RunSql(path, "INSERT INTO " + CookieTable(s) + " (" + HostColumn(s) +
                   (s.firefox ? ", name) VALUES (x'626c6f622e636f6d', 'b')"
                              : ", creation_utc, top_frame_site_key, name, value, encrypted_value, path, expires_utc, "
                                "is_secure, is_httponly, last_access_utc, has_expires, is_persistent, priority, "
                                "samesite, source_scheme, source_port, is_same_party, last_update_utc) VALUES "
                                "(x'626c6f622e636f6d', 0, '', 'b', '', x'', '/', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0)"));
  const std::string before = FileBytes(path);

  auto form = s.make();
  ASSERT_TRUE(form->Create());
  EXPECT_TRUE(FileBytes(path) == before) << "the scan wrote to the database";
  const auto items = DatabaseItems(*form);
  const std::vector<std::pair<std::string, std::string>> expected = {
      {"b.org", "1 cookie"}, {"b\xC3\xBC" "cher.de", "1 cookie"}, {"example.com", "3 cookies"},
      {huge, "1 cookie"},    {nul, "1 cookie"},                   {quote, "1 cookie"}};
  ASSERT_EQ(items.size(), expected.size());
  for (size_t i = 0; i < items.size(); ++i) {
    EXPECT_EQ(items[i]->name, expected[i].first) << i;
    EXPECT_EQ(items[i]->size, expected[i].second) << i;
    EXPECT_EQ(items[i]->location, path);
    EXPECT_EQ(items[i]->type, "Database Rows");
    EXPECT_EQ(items[i]->info, "Cookies");
  }

  // The user stays signed in to example.com and to the long host.
  for (int row : {2, 3}) {
    const TraceItem* item = items[row];
    for (size_t i = 0; i < form->Traces().Count(); ++i)
      if (&form->Traces().Item(i) == item) SetTick(form->Traces().Handle(), static_cast<int>(i), false);
  }
  form->ClickDelete();
  EXPECT_EQ(Rows(path, "SELECT " + HostColumn(s) + ", count(*) FROM " + CookieTable(s) + " GROUP BY 1 ORDER BY 1"),
            (std::vector<std::string>{"|1", ".|1", ".example.com|2", "example.com|1", huge + "|1", "blob.com|1"}));
  EXPECT_EQ(Rows(path, "PRAGMA integrity_check"), std::vector<std::string>{"ok"});
  form->ClickScan();
  EXPECT_EQ(DatabaseItems(*form).size(), 2u);
}

// A sign-in spread over the hosts of one site is one item, as the browsers group it, and the
// clean takes every host the rule maps to a ticked site, one stored after the scan too.
TEST_P(CookieSitesTest, TheHostsOfASiteAreOneItemAndItsNewHostsGoWithIt) {
  const CookieStore& s = GetParam();
  const std::string path = MakeCookies(s, {{"www.shop.test", 2}, {".shop.test", 1}, {"accounts.shop.test", 1},
                                           {"alice.github.io", 1}, {".bob.github.io", 1}, {"WWW.News.CO.UK", 1},
                                           {"mail.news.co.uk", 1}, {"127.0.0.1", 1}, {"localhost", 1},
                                           {".tracker.test", 1}, {"co.uk", 1}});
  // A widget's cookie set under the shop's pages is the shop's, as the browsers group it.
  RunSql(path, s.firefox ? "INSERT INTO moz_cookies (name, host, path, originAttributes) VALUES ('p', 'widget.test', "
                           "'/', '^partitionKey=%28http%2Cshop.test%29')"
                         : "INSERT INTO cookies VALUES (0, 'widget.test', 'http://shop.test', 'p', 'v', x'00', '/', "
                           "0, 0, 0, 0, 0, 0, 1, 0, 2, 443, 0, 0)");
  auto form = s.make();
  ASSERT_TRUE(form->Create());
  const auto items = DatabaseItems(*form);
  const std::vector<std::pair<std::string, std::string>> expected = {
      {"127.0.0.1", "1 cookie"}, {"alice.github.io", "1 cookie"}, {"bob.github.io", "1 cookie"},
      {"co.uk", "1 cookie"},     {"localhost", "1 cookie"},       {"news.co.uk", "2 cookies"},
      {"shop.test", "5 cookies"}, {"tracker.test", "1 cookie"}};
  ASSERT_EQ(items.size(), expected.size());
  for (size_t i = 0; i < items.size(); ++i) {
    EXPECT_EQ(items[i]->name, expected[i].first) << i;
    EXPECT_EQ(items[i]->size, expected[i].second) << i;
  }
  for (size_t i = 0; i < form->Traces().Count(); ++i)
    if (form->Traces().Item(i).name == "shop.test") SetTick(form->Traces().Handle(), static_cast<int>(i), false);
  // Since the scan the sites have stored cookies on hosts the scan never saw.
  AddCookies(path, s.firefox, "pixel.tracker.test", 1);
  AddCookies(path, s.firefox, "mail.shop.test", 1);
  form->ClickDelete();
  EXPECT_EQ(Rows(path, "SELECT " + HostColumn(s) + ", count(*) FROM " + CookieTable(s) + " GROUP BY 1 ORDER BY 1"),
            (std::vector<std::string>{".shop.test|1", "accounts.shop.test|1", "mail.shop.test|1", "widget.test|1",
                                      "www.shop.test|2"}));
}

TEST_P(CookieSitesTest, ADatabaseInUseGivesNoItemAndOneThatComesIntoUseIsLeft) {
  const CookieStore& s = GetParam();
  const std::string path = MakeCookies(s, {{"a.com", 1}, {".b.com", 2}});
  // A running Chromium holds its database without sharing; Firefox holds its profile lock.
  const std::string held = s.firefox ? Profile(s) + "parent.lock" : path;
  if (s.firefox) Sandbox::WriteFile(held);
  auto form = s.make();
  {
    HeldOpen browser(held, GENERIC_READ | GENERIC_WRITE);
    ASSERT_TRUE(browser.Held());
    ASSERT_TRUE(form->Create());
    EXPECT_TRUE(DatabaseItems(*form).empty());
  }
  form->ClickScan();
  ASSERT_EQ(DatabaseItems(*form).size(), 2u);
  const std::string before = FileBytes(path);
  HeldOpen browser(held, GENERIC_READ | GENERIC_WRITE);
  form->ClickDelete();
  browser.Release();
  EXPECT_TRUE(FileBytes(path) == before);
  EXPECT_EQ(Number(path, "SELECT count(*) FROM " + CookieTable(s)), 3);
}

INSTANTIATE_TEST_SUITE_P(Stores, CookieSitesTest, ::testing::ValuesIn(kStores),
                         [](const auto& info) { return std::string(info.param.name); });

// Files at the place of a Chromium cookie database that must give no item, or items
// without harm, and never lose a byte unless an item was cleaned.
struct BadFile {
  const char* name;
  std::function<void(const std::string& path)> make;
  size_t items;
};

void WriteBytes(const std::string& path, const std::string& bytes) { Sandbox::WriteFile(path, bytes); }

std::string Replaced(std::string text, const std::string& what, const std::string& with) {
  const size_t at = text.find(what);
  EXPECT_NE(at, std::string::npos) << what;
  if (at != std::string::npos) text.replace(at, what.size(), with);
  return text;
}

const std::string kHotJournal = std::string("\xD9\xD5\x05\xF9\x20\xA1\x63\xD7", 8) + std::string(1024, '\x01');

std::string GoodCookies(const std::string& path) {
  MakeDatabase(path, kChromiumCookiesSchema);
  AddCookies(path, false, "a.com", 200);
  AddCookies(path, false, ".b.com", 200);
  return FileBytes(path);
}

const BadFile kBadFiles[] = {
    {"Zeros", [](const std::string& p) { WriteBytes(p, std::string(8192, '\0')); }, 0},
    {"Text", [](const std::string& p) { WriteBytes(p, "host_key,example.com\r\n"); }, 0},
    {"Empty", [](const std::string& p) { WriteBytes(p, ""); }, 0},
    {"Truncated",
     [](const std::string& p) {
       const std::string whole = GoodCookies(p);
       WriteBytes(p, whole.substr(0, whole.size() / 2));
     },
     0},
    {"MissingColumn", [](const std::string& p) { MakeDatabase(p, "CREATE TABLE cookies(host TEXT, name TEXT);"
                                                                  "INSERT INTO cookies VALUES ('a.com', 'n');"); },
     0},
    {"EmptyTable", [](const std::string& p) { MakeDatabase(p, kChromiumCookiesSchema); }, 0},
    {"NewerWithMoreColumns",
     [](const std::string& p) {
       GoodCookies(p);
       RunSql(p, "ALTER TABLE cookies ADD COLUMN has_cross_site_ancestor INTEGER NOT NULL DEFAULT 0");
     },
     2},
    // A journal that a crash left: SQLite would roll the database back with it, which a
    // reading scan cannot; the file gives no item until the browser has repaired it.
    {"HotJournal",
     [](const std::string& p) {
       GoodCookies(p);
       WriteBytes(p + "-journal", kHotJournal);
     },
     0},
    // ... also beside a file that keeps a log otherwise.
    {"HotJournalBesideALog",
     [](const std::string& p) {
       MakeDatabase(p, kChromiumCookiesSchema, true);
       AddCookies(p, false, "a.com", 2);
       WriteBytes(p + "-journal", kHotJournal);
     },
     0},
    // Shapes the browser never makes, each of which could let one ticked site take others: a
    // view, a trigger, a host column that compares otherwise than byte by byte, text that is
    // not UTF-8.
    {"CookiesAreAView",
     [](const std::string& p) {
       MakeDatabase(p,
                    Replaced(Replaced(kChromiumCookiesSchema, "TABLE cookies", "TABLE jar"), "ON cookies(", "ON jar(") +
                        "CREATE VIEW cookies AS SELECT * FROM jar; INSERT INTO jar VALUES (0, 'a.com', '', 'n', "
                        "'v', x'00', '/', 0, 0, 0, 0, 0, 0, 1, 0, 2, 443, 0, 0);");
     },
     0},
    {"TriggerEmptiesEverySite",
     [](const std::string& p) {
       GoodCookies(p);
       RunSql(p, "CREATE TRIGGER t AFTER DELETE ON cookies BEGIN DELETE FROM cookies; END;");
     },
     0},
    {"TriggerOnAnotherTable",
     [](const std::string& p) {
       GoodCookies(p);
       RunSql(p, "CREATE TABLE log(x); CREATE TRIGGER t AFTER INSERT ON log BEGIN DELETE FROM cookies; END;");
     },
     0},
    {"HostsWithoutLetterCase",
     [](const std::string& p) {
       MakeDatabase(p, Replaced(kChromiumCookiesSchema, "host_key TEXT", "host_key TEXT COLLATE NOCASE"));
       AddCookies(p, false, "A.com", 1);
     },
     0},
    {"HostsWithoutTrailingBlanks",
     [](const std::string& p) {
       MakeDatabase(p, Replaced(kChromiumCookiesSchema, "host_key TEXT", "host_key TEXT COLLATE RTRIM"));
       AddCookies(p, false, "a.com ", 1);
     },
     0},
    {"TextInAnotherEncoding",
     [](const std::string& p) {
       MakeDatabase(p, std::string("PRAGMA encoding = 'UTF-16le';") + kChromiumCookiesSchema);
       AddCookies(p, false, "a.com", 1);
     },
     0},
};

class BadCookieFileTest : public DatabaseTest, public ::testing::WithParamInterface<BadFile> {};

TEST_P(BadCookieFileTest, NoCrashNoHarmNoMoreThanTheItems) {
  const std::string path = ChromeProfile() + "Network\\Cookies";
  Sandbox::MakeDir(ChromeProfile() + "Network");
  GetParam().make(path);
  const std::string before = FileBytes(path);
  const std::string journal = Sandbox::Exists(path + "-journal") ? FileBytes(path + "-journal") : "";
  TChromiumForm form(ChromiumBrowsers()[0]);
  ASSERT_TRUE(form.Create());
  EXPECT_EQ(DatabaseItems(form).size(), GetParam().items);
  EXPECT_TRUE(FileBytes(path) == before);
  // A forged item of a file that gave none deletes nothing either.
  form.AddDatabaseTrace(kChromiumCookies, PlaceOf(path), "a.com", "Cookies", "1 cookie");
  const bool cleaned = GetParam().items > 0;
  form.ClickDelete();
  if (!cleaned) {
    EXPECT_TRUE(FileBytes(path) == before);
    if (!journal.empty()) {
      EXPECT_TRUE(FileBytes(path + "-journal") == journal);
    }
  } else {
    EXPECT_EQ(Number(path, "SELECT count(*) FROM cookies"), 0);
    EXPECT_EQ(Rows(path, "PRAGMA integrity_check"), std::vector<std::string>{"ok"});
  }
}

INSTANTIATE_TEST_SUITE_P(Files, BadCookieFileTest, ::testing::ValuesIn(kBadFiles),
                         [](const auto& info) { return std::string(info.param.name); });

// Firefox keeps a log beside its database; one left by a crash holds cookies the file
// does not have yet. They are listed and cleaned with the rest, and the log goes as SQLite
// folds it in, never by name.
TEST_F(DatabaseTest, FirefoxCookiesInALogLeftByACrash) {
  const std::string path = FirefoxProfile() + "cookies.sqlite";
  const std::string scratch = sandbox.appData + "\\crashed.sqlite";
  MakeDatabase(scratch, kFirefoxCookiesSchema, true);
  AddCookies(scratch, true, "a.com", 1);
  {
    // A connection that never checkpoints, copied while it is still open.
    Database writer(scratch, Database::Mode::Write);
    ASSERT_TRUE(writer.Exec("PRAGMA wal_autocheckpoint=0") &&
                writer.Exec("INSERT INTO moz_cookies (name, host, path) VALUES ('w', '.wal.org', '/')"));
    ASSERT_TRUE(CopyFileA(scratch.c_str(), path.c_str(), FALSE));
    ASSERT_TRUE(CopyFileA((scratch + "-wal").c_str(), (path + "-wal").c_str(), FALSE));
  }
  TmozzForm form;
  ASSERT_TRUE(form.Create());
  const auto items = DatabaseItems(form);
  ASSERT_EQ(items.size(), 2u);
  EXPECT_EQ(items[1]->name, "wal.org");
  form.ClickDelete();
  EXPECT_EQ(Number(path, "SELECT count(*) FROM moz_cookies"), 0);
  EXPECT_FALSE(Sandbox::Exists(path + "-wal"));
}

// History of a Firefox profile as Firefox lays it out: two pages visited, one bookmarked,
// one kept by a keyword, input history, page metadata with its search terms, annotations,
// origins and icons.
const char kHistory[] = R"(
INSERT INTO moz_origins (id, prefix, host, frecency) VALUES (1, 'https://', 'example.com', 10),
  (2, 'https://', 'gone.org', 10), (3, 'https://', 'kw.net', 10);
INSERT INTO moz_places (id, url, title, visit_count, frecency, last_visit_date, foreign_count, origin_id) VALUES
  (1, 'https://example.com/bm', 'Bookmarked', 5, 2000, 1700000000000000, 1, 1),
  (2, 'https://gone.org/page', 'Gone', 2, 100, 1700000000000001, 0, 2),
  (3, 'https://kw.net/search?q=%s', 'Keyword', 0, 50, NULL, 1, 3),
  (4, 'https://example.com/other', 'Other', 1, 10, 1700000000000002, 0, 1);
INSERT INTO moz_historyvisits (id, place_id, visit_date, visit_type) VALUES (1, 1, 1, 1), (2, 2, 2, 1),
  (3, 4, 3, 1);
INSERT INTO moz_historyvisits_extra VALUES (2, '{}');
INSERT INTO moz_places_extra VALUES (1, '{"kept":1}'), (2, '{}');
INSERT INTO moz_bookmarks (id, type, fk, parent, position, title, guid) VALUES
  (1, 2, NULL, 0, 0, '', 'root________'), (2, 1, 1, 1, 0, 'My bookmark', 'bookmarkGuid');
INSERT INTO moz_keywords (keyword, place_id) VALUES ('k', 3);
INSERT INTO moz_inputhistory VALUES (1, 'exa', 1), (2, 'gon', 1);
INSERT INTO moz_anno_attributes VALUES (1, 'downloads/destinationFileURI');
INSERT INTO moz_annos (place_id, anno_attribute_id, content) VALUES (1, 1, 'kept'), (2, 1, 'file:///secret');
INSERT INTO moz_places_metadata_search_queries VALUES (1, 'secret terms');
INSERT INTO moz_places_metadata (id, place_id, referrer_place_id, search_query_id) VALUES (1, 2, NULL, 1),
  (2, 1, 2, NULL);
INSERT INTO moz_meta VALUES ('sync/bookmarks/syncId', 'x');
)";

const char kIcons[] = R"(
INSERT INTO moz_pages_w_icons VALUES (1, 'https://example.com/bm', 1), (2, 'https://gone.org/page', 2);
INSERT INTO moz_icons (id, icon_url, fixed_icon_url_hash, root) VALUES (1, 'https://example.com/bm.png', 1, 0),
  (2, 'https://gone.org/favicon.ico', 2, 1), (3, 'https://example.com/favicon.ico', 3, 1),
  (4, 'https://gone.org/old.ico', 4, 0);
INSERT INTO moz_icons_to_pages (page_id, icon_id) VALUES (1, 1), (2, 2);
)";

TEST_F(DatabaseTest, FirefoxHistoryGoesAndEveryBookmarkWithItsPlaceKeywordAndIconStays) {
  const std::string profile = FirefoxProfile();
  const std::string places = profile + "places.sqlite", icons = profile + "favicons.sqlite";
  MakeDatabase(places, std::string(kPlacesSchema) + kHistory, true);
  MakeDatabase(icons, std::string(kFaviconsSchema) + kIcons, true);
  const char* kKeptTables[] = {"moz_bookmarks", "moz_keywords", "moz_meta", "moz_anno_attributes"};
  std::vector<std::vector<std::string>> kept;
  for (const char* table : kKeptTables) kept.push_back(Rows(places, std::string("SELECT * FROM ") + table));

  TmozzForm form;
  ASSERT_TRUE(form.Create());
  for (const char* side : {"-wal", "-shm"}) {
    EXPECT_FALSE(Sandbox::Exists(places + side)) << "the scan made " << side;
    EXPECT_FALSE(Sandbox::Exists(icons + side)) << "the scan made " << side;
  }
  const auto items = DatabaseItems(form);
  ASSERT_EQ(items.size(), 1u);
  EXPECT_EQ(items[0]->name, "History");
  EXPECT_EQ(items[0]->info, "History");
  EXPECT_EQ(items[0]->size, "3 visits");
  EXPECT_EQ(items[0]->location, places);
  form.ClickDelete();

  const std::pair<const char*, std::vector<std::string>> after[] = {
      {"SELECT count(*) FROM moz_historyvisits", {"0"}},
      {"SELECT count(*) FROM moz_historyvisits_extra", {"0"}},
      {"SELECT count(*) FROM moz_inputhistory", {"0"}},
      {"SELECT count(*) FROM moz_places_metadata", {"0"}},
      {"SELECT count(*) FROM moz_places_metadata_search_queries", {"0"}},
      {"SELECT id, url, visit_count, last_visit_date, frecency, recalc_frecency FROM moz_places ORDER BY id",
       {"1|https://example.com/bm|0|NULL|-1|1", "3|https://kw.net/search?q=%s|0|NULL|-1|1"}},
      // Where the bookmarked page's download was saved is history too.
      {"SELECT place_id, content FROM moz_annos", {}},
      {"SELECT id FROM moz_origins ORDER BY id", {"1", "3"}},
      {"SELECT place_id FROM moz_places_extra", {"1"}},
      {"PRAGMA integrity_check", {"ok"}},
      {"PRAGMA foreign_key_check", {}},
  };
  for (const auto& [sql, rows] : after) EXPECT_EQ(Rows(places, sql), rows) << sql;
  for (size_t i = 0; i < std::size(kKeptTables); ++i)
    EXPECT_EQ(Rows(places, std::string("SELECT * FROM ") + kKeptTables[i]), kept[i]) << kKeptTables[i];
  const std::pair<const char*, std::vector<std::string>> iconsAfter[] = {
      {"SELECT page_url FROM moz_pages_w_icons", {"https://example.com/bm"}},
      {"SELECT page_id, icon_id FROM moz_icons_to_pages", {"1|1"}},
      {"SELECT id FROM moz_icons ORDER BY id", {"1", "3"}},
      {"PRAGMA integrity_check", {"ok"}},
  };
  for (const auto& [sql, rows] : iconsAfter) EXPECT_EQ(Rows(icons, sql), rows) << sql;
  form.ClickScan();
  EXPECT_TRUE(DatabaseItems(form).empty()) << "nothing is left to clean";
}

// Each Places layout since Firefox 52 ESR, the last Firefox for XP and Vista: the visited
// hosts in moz_hosts (until Firefox 59) and the icons in places.sqlite's own moz_favicons
// (until 55) go like the rest of the history. The bookmarked page keeps its host and its
// icon, but neither its typed flag nor the annotation of its download.
struct PlacesLayout {
  const char* name;
  std::string schema;
  bool iconsFile, hosts, icons;
};

const PlacesLayout kLayouts[] = {
    {"Firefox52", kPlacesEsr52Schema, false, true, true},
    {"Firefox55To59", std::string(kPlacesEsr52Schema) + "DROP TABLE moz_favicons;", true, true, false},
    {"Today", kPlacesSchema, true, false, false},
};

const char kLayoutHistory[] = R"(
INSERT INTO moz_places (id, url, rev_host, visit_count, typed, frecency, last_visit_date, foreign_count) VALUES
  (1, 'https://www.example.com/bm', 'moc.elpmaxe.www.', 3, 1, 900, 3, 1),
  (2, 'https://gone.org/page', 'gro.enog.', 1, 1, 90, 2, 0),
  (3, 'https://www.example.com/other', 'moc.elpmaxe.www.', 1, 0, 9, 1, 0);
INSERT INTO moz_historyvisits (id, place_id, visit_date, visit_type) VALUES (1, 1, 1, 1), (2, 2, 2, 1),
  (3, 3, 3, 1);
INSERT INTO moz_bookmarks (id, type, fk, parent, position, title, guid) VALUES (1, 1, 1, 0, 0, 'bm', 'bookmarkGuid');
INSERT INTO moz_anno_attributes VALUES (1, 'downloads/destinationFileURI'), (2, 'downloads/metaData'),
  (3, 'URIProperties/characterSet');
INSERT INTO moz_annos (id, place_id, anno_attribute_id, content) VALUES (1, 1, 1, 'file:///bm.zip'),
  (2, 1, 2, '{}'), (3, 1, 3, 'UTF-8'), (4, 2, 1, 'file:///secret.zip');
)";

class PlacesLayoutTest : public DatabaseTest, public ::testing::WithParamInterface<PlacesLayout> {};

TEST_P(PlacesLayoutTest, TheWholeHistoryGoesAndTheBookmarkKeepsItsHostAndIcon) {
  const PlacesLayout& layout = GetParam();
  const std::string profile = FirefoxProfile();
  const std::string places = profile + "places.sqlite", icons = profile + "favicons.sqlite";
  std::string sql = std::string(layout.schema) + kLayoutHistory;
  if (layout.hosts)
    sql +=
        "INSERT INTO moz_hosts (id, host, frecency, typed) VALUES (1, 'example.com', 900, 1), "
        "(2, 'gone.org', 90, 1);";
  if (layout.icons)
    sql +=
        "INSERT INTO moz_favicons (id, url) VALUES (1, 'https://www.example.com/favicon.ico'), "
        "(2, 'https://gone.org/favicon.ico'); UPDATE moz_places SET favicon_id = id WHERE id < 3;";
  MakeDatabase(places, sql, true);
  if (layout.iconsFile)
    MakeDatabase(icons,
                 std::string(kFaviconsSchema) +
                     "INSERT INTO moz_pages_w_icons VALUES (1, 'https://www.example.com/bm', 1), "
                     "(2, 'https://gone.org/page', 2);",
                 true);

  TmozzForm form;
  ASSERT_TRUE(form.Create());
  const auto items = DatabaseItems(form);
  ASSERT_EQ(items.size(), 1u);
  EXPECT_EQ(items[0]->size, "3 visits");
  form.ClickDelete();

  std::vector<std::pair<std::string, std::vector<std::string>>> after = {
      {"SELECT count(*) FROM moz_historyvisits", {"0"}},
      {"SELECT id, typed, visit_count, last_visit_date, frecency FROM moz_places", {"1|0|0|NULL|-1"}},
      {"SELECT id FROM moz_annos", {"3"}},
      {"PRAGMA integrity_check", {"ok"}},
      {"PRAGMA foreign_key_check", {}},
  };
  if (layout.hosts) after.push_back({"SELECT host, typed, frecency FROM moz_hosts", {"example.com|0|-1"}});
  if (layout.icons) after.push_back({"SELECT id FROM moz_favicons", {"1"}});
  for (const auto& [query, rows] : after) EXPECT_EQ(Rows(places, query), rows) << query;
  if (layout.iconsFile)
    EXPECT_EQ(Rows(icons, "SELECT page_url FROM moz_pages_w_icons"),
              std::vector<std::string>{"https://www.example.com/bm"});
  else
    EXPECT_FALSE(Sandbox::Exists(icons));
  form.ClickScan();
  EXPECT_TRUE(DatabaseItems(form).empty()) << "nothing is left to clean";
}

INSTANTIATE_TEST_SUITE_P(Layouts, PlacesLayoutTest, ::testing::ValuesIn(kLayouts),
                         [](const auto& info) { return std::string(info.param.name); });

// A clean of a large database keeps looking at the window's messages; a stop meanwhile
// (the program is ending) rolls the whole transaction back.
TEST_F(DatabaseTest, AStopDuringTheCleanOfADatabaseLeavesItWhole) {
  const std::string path = ChromeProfile() + "Cookies";
  Sandbox::MakeDir(ChromeProfile());
  MakeDatabase(path, kChromiumCookiesSchema);
  FillChromiumCookies(path, 40000, 8000);
  TChromiumForm form(ChromiumBrowsers()[0]);
  ASSERT_TRUE(form.Create());
  ASSERT_EQ(DatabaseItems(form).size(), 8000u);
  int calls = 0;
  {
    PulseScope scope([](void* n) { return ++*static_cast<int*>(n), false; }, &calls);
    form.ClickDelete();
  }
  EXPECT_GE(calls, 1) << "no look at the messages during the clean";
  EXPECT_EQ(Number(path, "SELECT count(*) FROM cookies"), 40000);
  form.ClickDelete();
  EXPECT_EQ(Number(path, "SELECT count(*) FROM cookies"), 0);
}

// A places.sqlite of another shape, or beside an icons file that is none, gives no item.
TEST_F(DatabaseTest, FirefoxHistoryOfAnUnknownShapeIsLeftAlone) {
  const std::string profile = FirefoxProfile();
  const std::string places = profile + "places.sqlite", icons = profile + "favicons.sqlite";
  const std::pair<const char*, std::function<void()>> cases[] = {
      {"no moz_bookmarks",
       [&] { MakeDatabase(places, std::string(kPlacesSchema) + kHistory + "DROP TABLE moz_bookmarks;"); }},
      {"icons file that is none",
       [&] {
         MakeDatabase(places, std::string(kPlacesSchema) + kHistory);
         Sandbox::WriteFile(icons, std::string(4096, '\0'));
       }},
      // Shapes Firefox never makes, each of which would take bookmarks with the history.
      {"a trigger on the visits",
       [&] {
         MakeDatabase(places,
                      std::string(kPlacesSchema) + kHistory +
                          "CREATE TRIGGER t AFTER DELETE ON moz_historyvisits BEGIN DELETE FROM moz_bookmarks; END;");
       }},
      {"bookmarks that go with a visit",  // the bookmark's parent is the first visit's id
       [&] {
         MakeDatabase(places, Replaced(kPlacesSchema, "parent INTEGER,",
                                       "parent INTEGER REFERENCES moz_historyvisits(id) ON DELETE CASCADE,") +
                                  kHistory);
       }},
      {"bookmarks that are a view",
       [&] {
         MakeDatabase(places, Replaced(kPlacesSchema, "TABLE moz_bookmarks", "TABLE marks") +
                                  Replaced(kHistory, "INTO moz_bookmarks", "INTO marks") +
                                  "CREATE VIEW moz_bookmarks AS SELECT * FROM marks WHERE 0;");
       }},
      {"urls without letter case",
       [&] {
         MakeDatabase(places,
                      Replaced(kPlacesSchema, "url LONGVARCHAR,", "url LONGVARCHAR COLLATE NOCASE,") + kHistory);
       }},
  };
  for (const auto& [name, make] : cases) {
    DeleteFileA(places.c_str());
    DeleteFileA(icons.c_str());
    make();
    const std::string before = FileBytes(places);
    TmozzForm form;
    ASSERT_TRUE(form.Create());
    EXPECT_TRUE(DatabaseItems(form).empty()) << name;
    form.AddDatabaseTrace(kFirefoxHistory, PlaceOf(places), "History", "History", "1 visit");
    form.ClickDelete();
    EXPECT_TRUE(FileBytes(places) == before) << name;
  }
}

// Every byte that a URI reads as syntax is percent-encoded, so no file name can set an open
// mode of its own.
TEST(FileUriTest, NamesCannotCarryTheirOwnQuery) {
  const std::pair<const char*, const char*> cases[] = {
      {"C:\\Users\\a b\\Cookies", "file:///C:/Users/a%20b/Cookies?mode=ro"},
      {"C:\\x\\?mode=rw#%&.db", "file:///C:/x/%3Fmode%3Drw%23%25%26.db?mode=ro"},
      {"C:\\caf\xC3\xA9\\db", "file:///C:/caf%C3%A9/db?mode=ro"},
      // A share: the empty authority, then the share's own two slashes.
      {"\\\\server\\share\\a b\\Cookies", "file:////server/share/a%20b/Cookies?mode=ro"},
  };
  for (const auto& [path, uri] : cases) EXPECT_EQ(FileUri(path, "mode=ro"), uri) << path;
}

}  // namespace
