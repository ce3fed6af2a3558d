// Firefox's site data as Firefox 153 wrote it (tests/fixtures/sites): each origin folder of
// storage\default belongs to the site its .metadata-v2 gives, a partitioned frame's to the
// page's site, and the sites agree with Firefox's own grouping in storage.sqlite; what does
// not parse or does not match its folder's name belongs to no site. The legacy
// webappsstore keys, the cache invalidation and every profile of profiles.ini besides.
#include <windows.h>

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "categories/firefox_profiles.h"
#include "categories/mozilla.h"
#include "categories/firefox_storage.h"
#include "categories/web_origin.h"
#include "tests/support/category_test.h"
#include "tests/support/databases.h"
#include "tests/support/fixtures.h"
#include "tests/support/sandbox.h"
#include "traces/database.h"
#include "traces/folder_removal.h"
#include "traces/site_rule.h"
#include "traces/trace_list.h"

using namespace zarn;
using namespace zarn::test;

namespace {

// The fixture's profile folder (its name is Firefox's own random one).
std::string FirefoxProfile() {
  WIN32_FIND_DATAA data;
  const std::string root = FixturePath("sites/firefox/");
  HANDLE find = FindFirstFileA((root + "*.main").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return {};
  FindClose(find);
  return root + data.cFileName + "\\";
}

TEST(FirefoxSiteStoresTest, EachOriginFolderBelongsToTheSiteItsMetadataGives) {
  const std::string storage = FirefoxProfile() + "storage\\default\\";
  std::vector<std::string> listed;
  std::string shopMetadata;
  WIN32_FIND_DATAA data;
  HANDLE find = FindFirstFileA((storage + "*").c_str(), &data);
  ASSERT_NE(find, INVALID_HANDLE_VALUE);
  do {
    const std::string name = data.cFileName;
    if (name == "." || name == "..") continue;
    const std::string bytes = FileBytes(storage + name + "\\.metadata-v2");
    const std::optional<OriginMetadata> metadata = ParseOriginMetadata(bytes);
    ASSERT_TRUE(metadata) << name;
    listed.push_back(name + " -> " + SiteOfOriginFolder(name, *metadata));
    if (name == "http+++www.shop.test") shopMetadata = bytes;
    // Cut anywhere inside its strings, the metadata gives nothing.
    for (size_t size : {size_t{0}, size_t{16}, size_t{21}, bytes.size() / 2})
      EXPECT_FALSE(ParseOriginMetadata(bytes.substr(0, size))) << name << " cut at " << size;
  } while (FindNextFileA(find, &data));
  FindClose(find);
  std::sort(listed.begin(), listed.end());
  EXPECT_EQ(listed, (std::vector<std::string>{
                        "http+++127.0.0.1+8001 -> 127.0.0.1", "http+++accounts.shop.test -> shop.test",
                        "http+++alice.github.io -> alice.github.io", "http+++bob.github.io -> bob.github.io",
                        "http+++localhost+8001 -> localhost", "http+++mail.shop.test -> shop.test",
                        "http+++tracker.test -> tracker.test",
                        "http+++tracker.test^partitionKey=%28http%2Cshop.test%29 -> shop.test",
                        "http+++www.news.co.uk -> news.co.uk", "http+++www.shop.test -> shop.test"}));

  // Under another folder's name, or as an origin that is not a web page's, no site.
  const OriginMetadata shop = ParseOriginMetadata(shopMetadata).value();
  EXPECT_EQ(shop.origin, "http://www.shop.test");
  EXPECT_EQ(SiteOfOriginFolder("http+++www.shop.test2", shop), "");
  EXPECT_EQ(SiteOfOriginFolder("http+++mail.shop.test", shop), "");
  for (const char* origin : {"moz-extension://0d1e8b5c-3a4f-4e8e-9f1a-2b3c4d5e6f70", "file://", "about:home",
                             "chrome://browser", "indexeddb://"}) {
    const OriginMetadata other{origin, ""};
    EXPECT_EQ(SiteOfOriginFolder(OriginFolderName(origin), other), "") << origin;
  }

  // Firefox's own grouping of the origins it has not partitioned is the site rule's.
  size_t compared = 0;
  for (const std::string& row : Rows(FirefoxProfile() + "storage.sqlite",
                                     "SELECT origin || ' ' || group_ FROM origin WHERE suffix IS NULL OR suffix = ''")) {
    const std::string origin = row.substr(0, row.find(' ')), group = row.substr(row.find(' ') + 1);
    EXPECT_EQ(SiteOfHost(ParseWebOrigin(origin).value().host), group) << origin;
    ++compared;
  }
  EXPECT_EQ(compared, 9u);
}

TEST(FirefoxSiteStoresTest, PartitionKeysAndLegacyOriginKeysNameTheirSites) {
  const struct {
    const char* suffix;
    const char* host;  // of the partitionKey; nullptr for none
  } suffixes[] = {
      {"^partitionKey=%28http%2Cshop.test%29", "shop.test"},
      {"^userContextId=1&partitionKey=%28https%2Cexample.com%2C8443%29", "example.com"},
      {"^partitionKey=%28https%2Cexample.com%2Cf%29", "example.com"},
      {"^partitionKey=%28http%2C%5B%2B%2B1%5D%29", "[::1]"},
      {"^partitionKey=%28moz-extension%2Cabc%29", nullptr},
      {"^partitionKey=shop.test", nullptr},
      {"^partitionKey=%28http%2Cshop.test", nullptr},
      {"^partitionKey=%28http%29", nullptr},
      {"^partitionKey=%2", nullptr},
      {"^userContextId=2", nullptr},
      {"partitionKey=%28http%2Cshop.test%29", nullptr},
      {"", nullptr},
  };
  for (const auto& c : suffixes) {
    const std::optional<std::string> host = PartitionKeyHost(c.suffix);
    EXPECT_EQ(host.value_or("(none)"), c.host ? c.host : "(none)") << c.suffix;
  }

  const struct {
    const char* attributes;
    const char* originKey;
    const char* site;
  } rows[] = {
      {"", "moc.elpmaxe.www.:https:443", "example.com"},
      {"", "1.0.0.721.:http:8001", "127.0.0.1"},
      {"^userContextId=1", "ku.oc.swen.www.:http:80", "news.co.uk"},
      {"^partitionKey=%28http%2Cshop.test%29", "tset.rekcart.:http:80", "shop.test"},
      {"^partitionKey=%28http%29", "tset.rekcart.:http:80", ""},
      {"", "moc.elpmaxe.:moz-extension:0", ""},
      {"", "moc.elpmaxe.www:https:443", ""},
      {"", "moc.elpmaxe.www.:https:", ""},
      {"", "moc.elpmaxe.www.", ""},
      {"", "", ""},
  };
  for (const auto& r : rows) EXPECT_EQ(SiteOfWebappsRow(r.attributes, r.originKey), r.site) << r.originKey;
}

// Firefox's own invalidation leaves storage.sqlite whole, with no origin to trust.
TEST_F(SandboxTest, TheStorageCacheIsInvalidatedAsFirefoxDoesIt) {
  const std::string path = sandbox.Dir() + "\\storage.sqlite";
  ASSERT_TRUE(CopyFileA((FirefoxProfile() + "storage.sqlite").c_str(), path.c_str(), FALSE));
  {
    Database db(path, Database::Mode::Write);
    ASSERT_TRUE(db.Begin());
    ASSERT_TRUE(db.Exec(kInvalidateStorageCacheSql));
    ASSERT_TRUE(db.Commit());
  }
  EXPECT_EQ(Rows(path, "SELECT (SELECT count(*) FROM origin) || ' ' || group_concat(valid) FROM cache"),
            std::vector<std::string>{"0 0"});
  EXPECT_EQ(Number(path, "SELECT count(*) FROM repository"), 4);
  EXPECT_EQ(Rows(path, "PRAGMA integrity_check"), std::vector<std::string>{"ok"});
}

// serviceworker.txt as Firefox 153 wrote it, and the same with each fault: a registration's
// site, and its bytes kept exactly for a rewrite without others.
TEST(FirefoxSiteStoresTest, EachServiceWorkerRegistrationBelongsToItsSite) {
  const std::string written = FileBytes(FirefoxProfile() + "serviceworker.txt");
  auto crlf = [](std::string text) {
    for (size_t at = 0; (at = text.find('\n', at)) != std::string::npos; at += 2) text.insert(at, "\r");
    return text;
  };
  auto block = [](const char* suffix, const char* scope) {
    return std::string(suffix) + "\n" + scope + "\n" + scope + "sw.js\ntrue\n#\n";
  };
  using Sites = std::vector<std::string>;
  const struct {
    std::string bytes;
    std::optional<Sites> sites;  // nothing: the file does not read
  } cases[] = {
      {written, Sites{"shop.test", "shop.test", "tracker.test", "127.0.0.1"}},
      {crlf(written), Sites{"shop.test", "shop.test", "tracker.test", "127.0.0.1"}},
      {"12\n" + block("^userContextId=1", "https://a.example.com/app/") + block("", "moz-extension://abc/") +
           block("^partitionKey=%28https%2Cnews.co.uk%29", "https://cdn.test/") + block("", "http://[::1]:8080/"),
       Sites{"example.com", "", "news.co.uk", "[::1]"}},
      {"12\n", Sites{}},
      {"11\n" + block("", "https://a.test/"), std::nullopt},
      {written.substr(0, written.size() - 2), std::nullopt},
      {"12\n" + block("", "https://a.test/") + "\n#\n", std::nullopt},
      {"", std::nullopt},
  };
  for (const auto& c : cases) {
    const auto registrar = ParseServiceWorkerRegistrar(c.bytes);
    ASSERT_EQ(registrar.has_value(), c.sites.has_value()) << c.bytes;
    if (!registrar) continue;
    Sites sites;
    std::string whole = registrar->head;
    for (const ServiceWorkerBlock& b : registrar->blocks) {
      sites.push_back(b.site);
      whole += b.text;
    }
    EXPECT_EQ(sites, *c.sites) << c.bytes;
    EXPECT_EQ(whole, c.bytes);
  }
}

TEST(FirefoxProfilesTest, EveryProfileTheLastPathLineFirst) {
  auto names = [](const std::vector<std::string>& lines) {
    TextList list;
    for (const std::string& line : lines) list.Add(line);
    return ProfileNamesFromLines(list);
  };
  using Names = std::vector<std::string>;
  // As Firefox writes it (two profiles, the one in use named by its installation's section).
  const Names written = {"[Profile1]",      "Name=default",           "IsRelative=1",
                         "Path=Profiles/a1b2c3d4.default", "",           "[Profile0]",
                         "Name=default-release", "IsRelative=1",      "Path=Profiles/e5f6g7h8.default-release",
                         "Default=1",       "",                       "[Install308046B0AF4A39CB]",
                         "Default=Profiles/e5f6g7h8.default-release", "Locked=1",
                         "",                "[General]",              "StartWithLastProfile=1",
                         "Version=2"};
  EXPECT_EQ(names(written), (Names{"e5f6g7h8.default-release", "a1b2c3d4.default"}));
  // Each profile once; a path outside Profiles or absolute is none.
  EXPECT_EQ(names({"Path=Profiles/b.x", "Path=Profiles/a.x", "Path=C:\\Users\\u\\elsewhere", "Path=Profiles/b.x",
                   "Path=Profiles/../../Windows", "Path=Profiles/c.x"}),
            (Names{"c.x", "b.x", "a.x"}));
  // The last line names no profile of Profiles: the others in order.
  EXPECT_EQ(names({"Path=Profiles/a.x", "Path=Profiles/b.x", "Path=D:\\p"}), (Names{"a.x", "b.x"}));
  EXPECT_EQ(names({"[General]", "StartWithLastProfile=1", "path=Profiles/lower.case"}), Names{});
  // Names that lead to one folder are one profile, scanned under the last line's name.
  EXPECT_EQ(names({"Path=Profiles/A.x", "Path=Profiles/b.x/", "Path=Profiles/a.X", "Path=Profiles/./b.x.",
                   "Path=Profiles/b.x\\sub", "Path=Profiles/b.x//sub", "Path=Profiles/.", "Path=Profiles/c.x"}),
            (Names{"c.x", "A.x", "b.x/", "b.x\\sub"}));
  EXPECT_EQ(names({"Path=Profiles/A.x", "Path=Profiles/b.x", "Path=Profiles/a.X"}), (Names{"a.X", "b.x"}));
}


// The profile Firefox wrote, as the Mozilla Firefox scan finds it: one item per site with its
// cookies and site data; a clean leaves the unticked site everything and the others nothing,
// and Firefox's cache of its origins is marked for rebuilding. Each case holds or damages a
// part of the profile, which then gives no item and keeps every byte.
struct FirefoxCase {
  const char* name;
  void (*damage)(const std::string& profile);
  bool profileHeld = false;
};

const char kTrackerFolder[] = "storage\\default\\http+++tracker.test\\";
void Nothing(const std::string&) {}
void BadMetadata(const std::string& p) {
  const std::string metadata = p + kTrackerFolder + ".metadata-v2";
  Sandbox::WriteFile(metadata, FileBytes(metadata).substr(0, 20));
}

// Cut inside its last registration: a file that does not read.
void CutWorkers(const std::string& p) {
  const std::string workers = FileBytes(p + "serviceworker.txt");
  Sandbox::WriteFile(p + "serviceworker.txt", workers.substr(0, workers.size() - 10));
}

const FirefoxCase kFirefoxCases[] = {
    {"Whole", Nothing},
    {"ProfileInUse", Nothing, true},
    {"TruncatedOriginMetadata", BadMetadata},
    {"CutServiceWorkerList", CutWorkers},
};

class FirefoxProfileSitesTest : public CategoryTest, public ::testing::WithParamInterface<FirefoxCase> {};

TEST_P(FirefoxProfileSitesTest, OneItemPerSiteAndAnUntickedSiteKeepsEverything) {
  const FirefoxCase& c = GetParam();
  const std::string firefox = sandbox.appData + "\\Mozilla\\Firefox\\";
  Sandbox::WriteFile(firefox + "profiles.ini", "[Profile0]\r\nPath=Profiles/t.default\r\n");
  const std::string p = firefox + "Profiles\\t.default\\";
  ASSERT_TRUE(CopyFixture(FirefoxProfile().substr(FixturePath("").size()), p));
  // Legacy local storage of a kept site, a cleaned one and an extension, which is no site.
  RunSql(p + "webappsstore.sqlite",
         "INSERT INTO webappsstore2 (originAttributes, originKey, scope, key, value) VALUES "
         "('', 'tset.pohs.www.:http:80', '', 'k', 'v'), ('', 'tset.rekcart.:http:80', '', 'k', 'v'), "
         "('', 'cba.:moz-extension:0', '', 'k', 'v')");
  // Its archive, of the same table, with the same rows.
  ASSERT_TRUE(CopyFileA((p + "webappsstore.sqlite").c_str(), (p + "storage\\ls-archive.sqlite").c_str(), FALSE));
  c.damage(p);
  std::unique_ptr<HeldOpen> held;
  if (c.profileHeld) {
    Sandbox::WriteFile(p + "parent.lock");
    held = std::make_unique<HeldOpen>(p + "parent.lock", GENERIC_READ | GENERIC_WRITE);
    ASSERT_TRUE(held->Held());
  }
  const auto folders = SubfolderNames(p + "storage\\default\\");
  const std::string cookies = FileBytes(p + "cookies.sqlite"), storage = FileBytes(p + "storage.sqlite"),
                    archive = FileBytes(p + "storage\\ls-archive.sqlite"), workers = FileBytes(p + "serviceworker.txt");

  TmozzForm form;
  ASSERT_TRUE(form.Create());
  const auto items = DatabaseItems(form);
  if (c.profileHeld) {
    EXPECT_TRUE(items.empty());
    form.ClickDelete();
    EXPECT_EQ(SubfolderNames(p + "storage\\default\\"), folders);
    EXPECT_TRUE(FileBytes(p + "cookies.sqlite") == cookies && FileBytes(p + "storage.sqlite") == storage &&
                FileBytes(p + "storage\\ls-archive.sqlite") == archive &&
                FileBytes(p + "serviceworker.txt") == workers);
    return;
  }
  const std::string two = "2 cookies, site data";
  const std::vector<std::pair<std::string, std::string>> expected = {
      {"127.0.0.1", two},  {"alice.github.io", two},           {"bob.github.io", two},
      {"localhost", two},  {"news.co.uk", two},                {"shop.test", "9 cookies, site data"},
      {"tracker.test", two}};
  ASSERT_EQ(items.size(), expected.size());
  for (size_t i = 0; i < items.size(); ++i) {
    EXPECT_EQ(items[i]->name, expected[i].first) << i;
    EXPECT_EQ(items[i]->size, expected[i].second) << i;
    EXPECT_EQ(items[i]->location, p + "cookies.sqlite");
  }
  for (size_t i = 0; i < form.Traces().Count(); ++i)
    if (form.Traces().Item(i).name == "shop.test") form.Traces().SetTicked(i, false);
  form.ClickDelete();
  EXPECT_FALSE(SubfolderNames(p).count(kRemovalFolder)) << "the clean left its own folder in the profile";

  EXPECT_EQ(Rows(p + "cookies.sqlite", "SELECT DISTINCT host FROM moz_cookies ORDER BY 1"),
            (std::vector<std::string>{".shop.test", "accounts.shop.test", "mail.shop.test", "tracker.test",
                                      "www.shop.test"}));
  // The tracker's cookie under the shop's pages is the shop's; its own went.
  EXPECT_EQ(Number(p + "cookies.sqlite", "SELECT count(*) FROM moz_cookies WHERE host = 'tracker.test'"), 1);
  std::set<std::string> kept = {"http+++accounts.shop.test", "http+++mail.shop.test", "http+++www.shop.test",
                                "http+++tracker.test^partitionKey=%28http%2Cshop.test%29"};
  // A folder whose metadata does not read is nobody's: it stays.
  if (c.damage == BadMetadata) kept.insert("http+++tracker.test");
  EXPECT_EQ(SubfolderNames(p + "storage\\default\\"), kept);
  // Firefox rebuilds its cache of the origins from the folders.
  EXPECT_EQ(Rows(p + "storage.sqlite", "SELECT (SELECT count(*) FROM origin), valid FROM cache"),
            std::vector<std::string>{"0|0"});
  // The shop's own registration and the tracker's under the shop's pages stay, byte for byte.
  // A list that does not read stays as it was.
  const auto registrar = ParseServiceWorkerRegistrar(workers);
  ASSERT_EQ(registrar.has_value(), c.damage != CutWorkers);
  std::string keptWorkers = registrar ? registrar->head : workers;
  for (const ServiceWorkerBlock& b : registrar ? registrar->blocks : std::vector<ServiceWorkerBlock>{})
    if (b.site == "shop.test") keptWorkers += b.text;
  EXPECT_EQ(FileBytes(p + "serviceworker.txt"), keptWorkers);
  EXPECT_EQ(GetFileAttributesA((p + "serviceworker.txt.zarn-new").c_str()), INVALID_FILE_ATTRIBUTES);
  for (const char* file : {"webappsstore.sqlite", "storage\\ls-archive.sqlite"})
    EXPECT_EQ(Rows(p + file, "SELECT originKey FROM webappsstore2 ORDER BY 1"),
              (std::vector<std::string>{"cba.:moz-extension:0", "tset.pohs.www.:http:80"}))
        << file;
  form.ClickScan();
  std::set<std::string> left;
  for (const TraceItem* item : DatabaseItems(form)) left.insert(item->name);
  EXPECT_EQ(left, std::set<std::string>{"shop.test"});
}

INSTANTIATE_TEST_SUITE_P(Cases, FirefoxProfileSitesTest, ::testing::ValuesIn(kFirefoxCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
