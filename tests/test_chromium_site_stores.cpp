// Chromium's site data stores as Chromium 156 wrote them (tests/fixtures/sites): every store
// lists its areas under the sites they belong to, a partitioned frame's under the page's
// site, and the clean of one site takes out exactly that site's keys, rows and nothing else.
// The names the stores use (storage keys, origin identifiers) are checked on their own first,
// the odd and foreign ones included.
#include <windows.h>

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "categories/chromium_dom_storage.h"
#include "categories/chromium_form.h"
#include "categories/chromium_dom_storage_sqlite.h"
#include "categories/chromium_quota_stores.h"
#include "categories/chromium_storage_key.h"
#include "tests/support/category_test.h"
#include "tests/support/databases.h"
#include "tests/support/fixtures.h"
#include "tests/support/sandbox.h"
#include "traces/database.h"
#include "traces/folder_removal.h"
#include "traces/trace_list.h"

using namespace zarn;
using namespace zarn::test;

namespace {

constexpr char kProfile[] = "sites/chromium/Default/";
const std::set<std::string> kShop = {"shop.test"};

TEST(ChromiumStorageKeyTest, EachKeyAndIdentifierNamesItsSiteOrNone) {
  using Kind = StorageKey::Kind;
  const struct {
    const char* text;
    std::optional<Kind> kind;  // nothing: not a web storage key
    const char* site;
  } keys[] = {
      {"https://www.example.com/", Kind::FirstParty, "example.com"},
      {"https://www.example.com", Kind::FirstParty, "example.com"},
      {"http://127.0.0.1:8001", Kind::FirstParty, "127.0.0.1"},
      {"http://[::1]:8080/", Kind::FirstParty, "[::1]"},
      {"https://www.example.com:443/", Kind::FirstParty, "example.com"},
      {"http://tracker.test/^0http://shop.test", Kind::Partitioned, "shop.test"},
      {"http://localhost:8002/^0http://127.0.0.1", Kind::Partitioned, "127.0.0.1"},
      {"https://a.example.com/^31", Kind::CrossSiteAncestor, "example.com"},
      {"https://a.example.com/^11234^25678", Kind::Nonce, "example.com"},
      {"https://a.example.com/^41^52^6https://b.example", Kind::OpaqueTopLevel, ""},
      {"chrome-extension://abcdefghijklmnopabcdefghijklmnop/", std::nullopt, ""},
      {"chrome-extension://abcdefghijklmnopabcdefghijklmnop", std::nullopt, ""},
      {"chrome://settings/", std::nullopt, ""},
      {"isolated-app://aerugqztij5biqquuk3mfwpsaibuegaqcitgfchwuosuofdjabzqaaic/", std::nullopt, ""},
      {"file:///", std::nullopt, ""},
      {"", std::nullopt, ""},
      {"http://", std::nullopt, ""},
      {"http:///", std::nullopt, ""},
      {"http://a.com/path", std::nullopt, ""},
      {"http://a.com:99999/", std::nullopt, ""},
      {"http://a.com:/", std::nullopt, ""},
      {"http://tracker.test^0http://shop.test", std::nullopt, ""},
      {"http://tracker.test/^0http://shop.test:8080", std::nullopt, ""},
      {"http://tracker.test/^0chrome-extension://abc", std::nullopt, ""},
      {"http://tracker.test/^0", std::nullopt, ""},
      {"https://a.example.com/^2", std::nullopt, ""},
      {"https://a.example.com/^1^2", std::nullopt, ""},
      {"https://a.example.com/^41^52", std::nullopt, ""},
      {"https://a.example.com/^41^52^6", std::nullopt, ""},
  };
  for (const auto& c : keys) {
    const std::optional<StorageKey> key = ParseStorageKey(c.text);
    EXPECT_EQ(key.has_value(), c.kind.has_value()) << c.text;
    if (key && c.kind) {
      EXPECT_EQ(key->kind, *c.kind) << c.text;
    }
    EXPECT_EQ(SiteOfStorageKey(std::string_view(c.text)), c.site) << c.text;
  }

  const struct {
    const char* identifier;
    const char* host;  // nullptr: not a web origin
    int port;
  } identifiers[] = {
      {"https_www.example.com_0", "www.example.com", 0}, {"http_127.0.0.1_8001", "127.0.0.1", 8001},
      {"http_[__1]_8080", "[::1]", 8080},                {"http_my_host.test_0", "my_host.test", 0},
      {"file__0", nullptr, 0},                           {"__0", nullptr, 0},
      {"chrome-extension_abcdefgh_0", nullptr, 0},       {"http__0", nullptr, 0},
      {"http_a.com_x", nullptr, 0},                      {"http_a.com_", nullptr, 0},
      {"http_a.com", nullptr, 0},
  };
  // IndexedDB's folders: the database, its large values, the SQLite form.
  for (const char* folder : {"http_www.shop.test_0.indexeddb.leveldb", "http_www.shop.test_0.indexeddb.blob",
                             "http_www.shop.test_0"})
    EXPECT_EQ(IndexedDbOriginOf(folder).value_or(WebOrigin{}).host, "www.shop.test") << folder;
  for (const char* folder : {"chrome-extension_abcdefgh_0.indexeddb.leveldb", "file__0.indexeddb.leveldb",
                             "http_www.shop.test_0.indexeddb.leveldb.old", ".indexeddb.leveldb", "LOG"})
    EXPECT_FALSE(IndexedDbOriginOf(folder)) << folder;
  for (const auto& c : identifiers) {
    const std::optional<WebOrigin> origin = ParseOriginIdentifier(c.identifier);
    ASSERT_EQ(origin.has_value(), c.host != nullptr) << c.identifier;
    if (!origin) continue;
    EXPECT_EQ(origin->host, c.host);
    EXPECT_EQ(origin->port, c.port);
    EXPECT_EQ(OriginIdentifier(*origin), c.identifier);
  }
}

// "storage key -> site (entries)", one line per area.
template <typename Area>
std::vector<std::string> Lines(const std::optional<std::vector<Area>>& areas) {
  std::vector<std::string> lines;
  if (!areas) return {"(the store does not list)"};
  for (const Area& a : *areas) lines.push_back(a.storageKey + " -> " + a.site + " (" + std::to_string(a.entries) + ")");
  return lines;
}

// What every store of the profile keeps once shop.test is cleaned: the first lines less
// those of shop.test's areas.
std::vector<std::string> WithoutShop(const std::vector<std::string>& lines) {
  std::vector<std::string> kept;
  for (const std::string& line : lines)
    if (line.find("-> shop.test ") == std::string::npos) kept.push_back(line);
  return kept;
}

class ChromiumSiteStoresTest : public SandboxTest {
 protected:
  std::string Store(const std::string& fixture) {
    const std::string folder = sandbox.Dir() + "\\" + std::to_string(++copies_);
    EXPECT_TRUE(CopyFixture(fixture, folder)) << fixture;
    return folder + "\\";
  }

 private:
  int copies_ = 0;
};

TEST_F(ChromiumSiteStoresTest, TheDomStoragesListTheirAreasBySiteAndLoseOnlyTheCleanedOnes) {
  const std::vector<std::string> local = {
      "http://127.0.0.1:8001 -> 127.0.0.1 (2)",
      "http://accounts.shop.test -> shop.test (2)",
      "http://alice.github.io -> alice.github.io (2)",
      "http://bob.github.io -> bob.github.io (2)",
      "http://localhost:8001 -> localhost (2)",
      "http://mail.shop.test -> shop.test (2)",
      "http://tracker.test -> tracker.test (2)",
      "http://tracker.test/^0http://shop.test -> shop.test (2)",
      "http://www.news.co.uk -> news.co.uk (3)",
      "http://www.shop.test -> shop.test (2)",
  };
  // Session Storage keys carry the slash, and every page wrote one key.
  std::vector<std::string> session;
  for (std::string line : local) {
    const size_t arrow = line.find(" -> ");
    if (line.find('^') == std::string::npos) line.insert(arrow, 1, '/');
    line.replace(line.size() - 3, 3, "(1)");
    session.push_back(line);
  }
  std::sort(session.begin(), session.end());

  const std::string localFolder = Store(std::string(kProfile) + "Local Storage/leveldb");
  EXPECT_EQ(Lines(ListLocalStorage(LevelDbCopy(localFolder))), local);
  LocalStorageClean localClean(kShop);
  ASSERT_TRUE(EditLevelDb(localFolder, localClean));
  EXPECT_EQ(Lines(ListLocalStorage(LevelDbCopy(localFolder))), WithoutShop(local));

  const std::string sessionFolder = Store("sites/chromium/first session/Session Storage");
  EXPECT_EQ(Lines(ListSessionStorage(LevelDbCopy(sessionFolder))), session);
  SessionStorageClean sessionClean(kShop);
  ASSERT_TRUE(EditLevelDb(sessionFolder, sessionClean));
  EXPECT_EQ(Lines(ListSessionStorage(LevelDbCopy(sessionFolder))), WithoutShop(session));
  // The store of a later session: its tabs' areas are gone, the version stays.
  EXPECT_EQ(Lines(ListSessionStorage(LevelDbCopy(Store(std::string(kProfile) + "Session Storage")))),
            std::vector<std::string>{});
  // Local Storage is not Session Storage: each refuses the other's keys.
  EXPECT_FALSE(ListSessionStorage(LevelDbCopy(localFolder)));
  EXPECT_FALSE(ListLocalStorage(LevelDbCopy(sessionFolder)));

  // The SQLite form: the same areas, keys with their slash.
  auto withoutCounts = [](const std::vector<std::string>& lines) {
    std::vector<std::string> out;
    for (const std::string& line : lines) out.push_back(line.substr(0, line.rfind(" (")));
    return out;
  };
  for (const char* name : {"LocalStorage", "SessionStorage"}) {
    SCOPED_TRACE(name);
    const std::string path = Store("sites/chromium-sqlite/Default") + name;
    const bool isLocal = name == std::string("LocalStorage");
    auto list = [&] {
      Database db(path, Database::Mode::Read);
      return Lines(isLocal ? ListSqliteLocalStorage(db) : ListSqliteSessionStorage(db));
    };
    const std::vector<std::string> listed = list();
    EXPECT_EQ(withoutCounts(listed), withoutCounts(session));
    {
      Database db(path, Database::Mode::Write);
      ASSERT_TRUE(db.Begin());
      ASSERT_TRUE(isLocal ? DeleteSqliteLocalStorage(db, kShop) : DeleteSqliteSessionStorage(db, kShop));
      ASSERT_TRUE(db.Commit());
    }
    EXPECT_EQ(list(), WithoutShop(listed));
    EXPECT_EQ(Rows(path, "PRAGMA integrity_check"), std::vector<std::string>{"ok"});
    EXPECT_EQ(Number(path, "SELECT count(*) FROM map_entries WHERE map_id NOT IN (SELECT " +
                               std::string(isLocal ? "row_id FROM maps" : "map_id FROM session_metadata") + ")"),
              0);
  }
}

TEST_F(ChromiumSiteStoresTest, TheQuotaStoresNameTheirSitesAndLoseOnlyTheCleanedOnes) {
  // Service workers: www.shop.test's, the tracker's framed by it, its own, and 127.0.0.1's.
  const std::string workers = Store(std::string(kProfile) + "Service Worker/Database");
  std::vector<std::string> listed;
  const auto registrations = ListServiceWorkers(LevelDbCopy(workers));
  ASSERT_TRUE(registrations);
  for (const auto& r : *registrations)
    listed.push_back(r.storageKey + " -> " + r.site + " #" + std::to_string(r.id) + " v" + std::to_string(r.version));
  EXPECT_EQ(listed, (std::vector<std::string>{"http://127.0.0.1:8001/ -> 127.0.0.1 #3 v3",
                                              "http://tracker.test/ -> tracker.test #2 v2",
                                              "http://tracker.test/^0http://shop.test -> shop.test #1 v1",
                                              "http://www.shop.test/ -> shop.test #0 v0"}));
  ServiceWorkerClean workerClean(kShop);
  ASSERT_TRUE(EditLevelDb(workers, workerClean));
  std::vector<std::string> left;
  ASSERT_TRUE(LevelDbCopy(workers).ForEach({}, [&](std::string_view key, std::string_view) {
    left.emplace_back(key);
    return true;
  }));
  using namespace std::string_literals;
  EXPECT_EQ(left, (std::vector<std::string>{
                      "INITDATA_DB_VERSION", "INITDATA_NEXT_REGISTRATION_ID", "INITDATA_NEXT_RESOURCE_ID",
                      "INITDATA_NEXT_VERSION_ID", "INITDATA_UNIQUE_ORIGIN:http://127.0.0.1:8001/",
                      "INITDATA_UNIQUE_ORIGIN:http://tracker.test/", "REG:http://127.0.0.1:8001/\0003"s,
                      "REG:http://tracker.test/\0002"s, "REGID_TO_ORIGIN:2", "REGID_TO_ORIGIN:3", "RES:2\0002"s,
                      "RES:3\0003"s}));

  // The file system's origins, and their folders.
  const std::string origins = Store(std::string(kProfile) + "File System/Origins");
  listed.clear();
  const auto fileSystems = ListFileSystemOrigins(LevelDbCopy(origins));
  ASSERT_TRUE(fileSystems);
  for (const auto& o : *fileSystems)
    listed.push_back(o.identifier + " -> " + o.site + " in " + o.folder);
  EXPECT_EQ(listed, (std::vector<std::string>{"http_127.0.0.1_8001 -> 127.0.0.1 in 002",
                                              "http_tracker.test_0 -> tracker.test in 001",
                                              "http_www.shop.test_0 -> shop.test in 000"}));
  FileSystemOriginsClean originsClean(kShop);
  ASSERT_TRUE(EditLevelDb(origins, originsClean));
  EXPECT_EQ(ListFileSystemOrigins(LevelDbCopy(origins))->size(), 2u);
  EXPECT_EQ(LevelDbCopy(origins).Get("LAST_PATH"), std::optional<std::string>("002"));

  // Each cache folder is its origin's only under the name the origin hashes to.
  const std::string caches = FixturePath(std::string(kProfile) + "Service Worker/CacheStorage/");
  listed.clear();
  WIN32_FIND_DATAA data;
  HANDLE find = FindFirstFileA((caches + "*").c_str(), &data);
  ASSERT_NE(find, INVALID_HANDLE_VALUE);
  do {
    const std::string name = data.cFileName;
    if (name == "." || name == "..") continue;
    const auto index = ParseCacheStorageIndex(FileBytes(caches + name + "\\index.txt"));
    ASSERT_TRUE(index) << name;
    listed.push_back(name + " -> " + SiteOfCacheStorage(name, *index));
    std::string renamed = name;
    renamed[0] = renamed[0] == '0' ? '1' : '0';
    EXPECT_EQ(SiteOfCacheStorage(renamed, *index), "");
  } while (FindNextFileA(find, &data));
  FindClose(find);
  std::sort(listed.begin(), listed.end());
  EXPECT_EQ(listed, (std::vector<std::string>{"432065d04c31d140979250e7dc88b0e794b1660f -> tracker.test",
                                              "68ae2896c2c509ae9f178682bc515598f6bf54f4 -> shop.test",
                                              "c8e4d65a3b0af5476d60b153c044ee5ac78f4fa2 -> 127.0.0.1"}));
  EXPECT_FALSE(ParseCacheStorageIndex("\x0a\x37"));

  // QuotaManager's buckets: every origin's default one, the page's named one, and the frame's
  // partitioned one, under the page's site.
  const std::string quota = Store(std::string(kProfile) + "WebStorage") + "QuotaManager";
  std::vector<int64_t> doomed;
  listed.clear();
  {
    Database db(quota, Database::Mode::Read);
    const auto buckets = ListBuckets(db);
    ASSERT_TRUE(buckets);
    for (const Bucket& b : *buckets) {
      listed.push_back(std::to_string(b.id) + " " + b.storageKey + " " + b.name + " -> " + b.site);
      if (kShop.count(b.site)) doomed.push_back(b.id);
    }
  }
  EXPECT_EQ(listed, (std::vector<std::string>{
                        "1 http://www.shop.test/ _default -> shop.test", "2 http://www.shop.test/ bucket1 -> shop.test",
                        "3 http://tracker.test/^0http://shop.test _default -> shop.test",
                        "4 http://accounts.shop.test/ _default -> shop.test",
                        "5 http://mail.shop.test/ _default -> shop.test", "6 http://tracker.test/ _default -> tracker.test",
                        "7 http://alice.github.io/ _default -> alice.github.io",
                        "8 http://bob.github.io/ _default -> bob.github.io",
                        "9 http://www.news.co.uk/ _default -> news.co.uk",
                        "10 http://127.0.0.1:8001/ _default -> 127.0.0.1",
                        "11 http://localhost:8001/ _default -> localhost"}));
  {
    Database db(quota, Database::Mode::Write);
    ASSERT_TRUE(db.Begin());
    ASSERT_TRUE(DeleteBuckets(db, doomed));
    ASSERT_TRUE(db.Commit());
  }
  EXPECT_EQ(Rows(quota, "SELECT group_concat(id) FROM buckets"), std::vector<std::string>{"6,7,8,9,10,11"});
}

}  // namespace

// The profile Chromium wrote, as the Chrome scan finds it: one item per site with its cookies
// and site data, and a clean that leaves the unticked site everything, in every store, and
// the others nothing. Each case damages or holds one store, which then gives no item and
// keeps every byte, while the other stores are cleaned as ever.
struct ProfileCase {
  const char* name;
  void (*damage)(const std::string& profile);
  const char* held;       // a file below the profile that the browser holds through scan and clean
  const char* untouched;  // a store folder below the profile whose files must keep every byte
  bool cookies = true;
};

void NoCookies(const std::string& p) { DeleteFileA((p + "Cookies").c_str()); }
void TruncatedTable(const std::string& p) {
  const std::string table = p + "Local Storage\\leveldb\\000005.ldb";
  Sandbox::WriteFile(table, FileBytes(table).substr(0, 100));
}
// Takes the store's VERSION out: a store of no version the browser knows.
class DropVersion final : public LevelDbEdit {
 public:
  bool Visit(std::string_view, std::string_view) override { return true; }
  bool Finish(std::vector<std::string>& doomed) override {
    doomed = {"VERSION"};
    return true;
  }
};
void NoVersion(const std::string& p) {
  DropVersion edit;
  ASSERT_TRUE(EditLevelDb(p + "Local Storage\\leveldb\\", edit));
}
void Nothing(const std::string&) {}
// A profile that has the SQLite form of both DOM storages too.
void SqliteStorages(const std::string& p) { ASSERT_TRUE(CopyFixture("sites/chromium-sqlite/Default", p)); }

const ProfileCase kProfileCases[] = {
    {"Whole", Nothing, nullptr, nullptr},
    {"SiteDataWithoutCookies", NoCookies, nullptr, nullptr, false},
    {"SqliteDomStorages", SqliteStorages, nullptr, nullptr},
    {"LocalStorageHeld", Nothing, "Local Storage\\leveldb\\LOCK", "Local Storage\\leveldb\\"},
    {"LocalStorageTruncated", TruncatedTable, nullptr, "Local Storage\\leveldb\\"},
    {"LocalStorageWithoutVersion", NoVersion, nullptr, "Local Storage\\leveldb\\"},
    {"IndexedDbHeld", Nothing, "IndexedDB\\http_tracker.test_0.indexeddb.leveldb\\LOCK",
     "IndexedDB\\http_tracker.test_0.indexeddb.leveldb\\"},
};

class ChromiumProfileSitesTest : public CategoryTest, public ::testing::WithParamInterface<ProfileCase> {};

TEST_P(ChromiumProfileSitesTest, OneItemPerSiteAndAnUntickedSiteKeepsEverything) {
  const ProfileCase& c = GetParam();
  const std::string p = sandbox.localAppData + "\\Google\\Chrome\\User Data\\Default\\";
  ASSERT_TRUE(CopyFixture(kProfile, p));
  // An extension's database is never an item and never touched.
  const std::string extension = p + "IndexedDB\\chrome-extension_abcdefghijklmnopabcdefghijklmnop_0.indexeddb.leveldb\\";
  Sandbox::WriteFile(extension + "CURRENT", "MANIFEST-000001\n");
  c.damage(p);
  std::unique_ptr<HeldOpen> held;
  if (c.held) {
    held = std::make_unique<HeldOpen>(p + c.held, GENERIC_READ | GENERIC_WRITE);
    ASSERT_TRUE(held->Held());
  }
  const auto before = c.untouched ? FolderBytes(p + c.untouched) : std::map<std::string, std::string>{};

  TChromiumForm form(ChromiumBrowsers()[0]);
  ASSERT_TRUE(form.Create());
  const std::string two = c.cookies ? "2 cookies, site data" : "site data";
  const std::vector<std::pair<std::string, std::string>> expected = {
      {"127.0.0.1", two},    {"alice.github.io", two},                               {"bob.github.io", two},
      {"localhost", two},    {"news.co.uk", two},
      {"shop.test", c.cookies ? "8 cookies, site data" : "site data"},               {"tracker.test", two}};
  const auto items = DatabaseItems(form);
  ASSERT_EQ(items.size(), expected.size());
  for (size_t i = 0; i < items.size(); ++i) {
    EXPECT_EQ(items[i]->name, expected[i].first) << i;
    EXPECT_EQ(items[i]->size, expected[i].second) << i;
    EXPECT_EQ(items[i]->info, "Cookies");
    EXPECT_EQ(items[i]->location, c.cookies ? p + "Cookies" : p);
  }
  if (c.untouched) {
    EXPECT_EQ(FolderBytes(p + c.untouched), before) << "the scan wrote to the store";
  }

  for (size_t i = 0; i < form.Traces().Count(); ++i)
    if (form.Traces().Item(i).name == "shop.test") form.Traces().SetTicked(i, false);
  form.ClickDelete();
  EXPECT_FALSE(SubfolderNames(p).count(kRemovalFolder)) << "the clean left its own folder in the profile";

  if (c.cookies) {
    EXPECT_EQ(Rows(p + "Cookies", "SELECT DISTINCT host_key FROM cookies ORDER BY 1"),
              (std::vector<std::string>{".shop.test", "accounts.shop.test", "mail.shop.test", "www.shop.test"}));
  }
  if (c.untouched) {
    EXPECT_EQ(FolderBytes(p + c.untouched), before) << "the clean wrote to a store it could not read";
  }
  std::set<std::string> indexedDb = {"http_accounts.shop.test_0.indexeddb.leveldb",
                                     "http_mail.shop.test_0.indexeddb.leveldb", "http_www.shop.test_0.indexeddb.leveldb",
                                     "chrome-extension_abcdefghijklmnopabcdefghijklmnop_0.indexeddb.leveldb"};
  if (c.held && std::string(c.held).rfind("IndexedDB", 0) == 0) indexedDb.insert("http_tracker.test_0.indexeddb.leveldb");
  EXPECT_EQ(SubfolderNames(p + "IndexedDB\\"), indexedDb);
  if (!c.untouched || std::string(c.untouched).rfind("Local", 0) != 0) {
    held.reset();
    std::set<std::string> sites;
    const auto areas = ListLocalStorage(LevelDbCopy(p + "Local Storage\\leveldb\\"));
    ASSERT_TRUE(areas);
    for (const StorageArea& area : *areas) sites.insert(area.site);
    EXPECT_EQ(sites, kShop);
  }
  if (c.damage == SqliteStorages) {
    for (const char* name : {"LocalStorage", "SessionStorage"}) {
      Database db(p + name, Database::Mode::Read);
      const auto areas = name == std::string("LocalStorage") ? ListSqliteLocalStorage(db) : ListSqliteSessionStorage(db);
      ASSERT_TRUE(areas) << name;
      std::set<std::string> sites;
      for (const StorageArea& area : *areas) sites.insert(area.site);
      EXPECT_EQ(sites, kShop) << name;
    }
  }
  // The quota-managed stores keep shop.test's buckets, workers, caches and files alone.
  {
    Database quota(p + "WebStorage\\QuotaManager", Database::Mode::Read);
    std::set<std::string> sites;
    for (const Bucket& bucket : ListBuckets(quota).value_or(std::vector<Bucket>{})) sites.insert(bucket.site);
    EXPECT_EQ(sites, kShop);
  }
  EXPECT_EQ(SubfolderNames(p + "WebStorage\\"), (std::set<std::string>{"2", "3"}));
  std::set<std::string> workers;
  for (const auto& r : ListServiceWorkers(LevelDbCopy(p + "Service Worker\\Database\\")).value_or(
           std::vector<ServiceWorkerRegistration>{}))
    workers.insert(r.storageKey);
  EXPECT_EQ(workers, (std::set<std::string>{"http://tracker.test/^0http://shop.test", "http://www.shop.test/"}));
  EXPECT_EQ(SubfolderNames(p + "Service Worker\\CacheStorage\\"),
            std::set<std::string>{"68ae2896c2c509ae9f178682bc515598f6bf54f4"});
  EXPECT_EQ(SubfolderNames(p + "File System\\"), (std::set<std::string>{"000", "Origins"}));
  // The next scan finds the kept site alone; once the browser lets go, the rest of it too.
  held.reset();
  form.ClickScan();
  std::set<std::string> left;
  for (const TraceItem* item : DatabaseItems(form)) left.insert(item->name);
  EXPECT_TRUE(left.count("shop.test"));
  if (!c.untouched) {
    EXPECT_EQ(left.size(), 1u);
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, ChromiumProfileSitesTest, ::testing::ValuesIn(kProfileCases),
                         [](const auto& info) { return std::string(info.param.name); });
