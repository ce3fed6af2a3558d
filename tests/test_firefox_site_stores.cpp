// Firefox's site data as Firefox 153 wrote it (tests/fixtures/sites): each origin folder of
// storage\default belongs to the site its .metadata-v2 gives, a partitioned frame's to the
// page's site, and the sites agree with Firefox's own grouping in storage.sqlite; what does
// not parse or does not match its folder's name belongs to no site. The legacy
// webappsstore keys, the cache invalidation and every profile of profiles.ini besides.
#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "categories/firefox_profiles.h"
#include "categories/firefox_storage.h"
#include "categories/web_origin.h"
#include "tests/support/databases.h"
#include "tests/support/fixtures.h"
#include "tests/support/sandbox.h"
#include "traces/database.h"
#include "traces/site_rule.h"

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

}  // namespace
