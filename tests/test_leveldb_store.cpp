// LevelDB stores as Chromium 156 wrote them (tests/fixtures/sites): read from a copy in
// memory, its Snappy-compressed table included, in a folder whose name has letters of no
// single code page; cleaned in one batch that leaves every other key and a store that opens;
// and every store that is not whole, not byte-wise or held gives nothing and keeps its bytes.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "tests/support/databases.h"
#include "tests/support/fixtures.h"
#include "tests/support/sandbox.h"
#include "traces/leveldb_store.h"

using namespace zarn;
using namespace zarn::test;

namespace {

constexpr char kLocalStorage[] = "sites/chromium/Default/Local Storage/leveldb";
// A key of Local Storage: "_", the storage key, NUL, then the script's key (0x01: Latin-1).
const std::string kFillerKey = std::string("_http://www.news.co.uk\0\x01" "filler", 30);

// Every file below `folder` (ending in a backslash) with its bytes.
std::map<std::string, std::string> Files(const std::string& folder) {
  std::map<std::string, std::string> files;
  WIN32_FIND_DATAA data;
  HANDLE find = FindFirstFileA((folder + "*").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return files;
  do {
    const std::string name = data.cFileName;
    if (name != "." && name != ".." && !(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
      files[name] = FileBytes(folder + name);
  } while (FindNextFileA(find, &data));
  FindClose(find);
  return files;
}

std::string TableOf(const std::string& folder) {
  for (const auto& [name, bytes] : Files(folder))
    if (name.size() > 4 && name.substr(name.size() - 4) == ".ldb") return name;
  return {};
}

// The storage keys that have a META: entry.
std::set<std::string> StorageKeys(const LevelDbCopy& copy) {
  std::set<std::string> keys;
  EXPECT_TRUE(copy.ForEach("META:", [&](std::string_view key, std::string_view) {
    keys.emplace(key.substr(5));
    return true;
  }));
  return keys;
}

// Deletes `keys` from a store whose VERSION is `version` (any store for nullptr).
class DeleteKeys : public LevelDbEdit {
 public:
  DeleteKeys(std::vector<std::string> keys, const char* version = "1") : keys_(std::move(keys)), version_(version) {}
  bool Visit(std::string_view key, std::string_view value) override {
    if (key == "VERSION") seen_ = value == version_;
    return true;
  }
  bool Finish(std::vector<std::string>& doomed) override {
    doomed = keys_;
    return seen_ || !version_;
  }

 private:
  std::vector<std::string> keys_;
  const char* version_;
  bool seen_ = false;
};

class LevelDbStoreTest : public SandboxTest {
 protected:
  // A copy of a fixture store in the sandbox, below a folder named in Greek and Chinese.
  std::string Store(const char* fixture = kLocalStorage, const std::string& name = "store") {
    const std::string folder = sandbox.Dir() + "\\Z\xC3\xBCrich \xCE\x95\xCE\xBB\xCE\xBB\xCE\xAC\xCE\xB4\xCE\xB1 "
                                               "\xE4\xBD\xA0\xE5\xA5\xBD\\" + name;
    EXPECT_TRUE(CopyFixture(fixture, folder)) << fixture;
    return folder + "\\";
  }
};

TEST_F(LevelDbStoreTest, ReadsTheCompressedStoreChromiumWroteFromACopyAndWritesNothing) {
  ASSERT_EQ(GetACP(), static_cast<UINT>(CP_UTF8)) << "the manifest's code page";
  const std::string folder = Store();
  const auto before = Files(folder);
  const std::string table = TableOf(folder);
  ASSERT_FALSE(table.empty());

  const LevelDbCopy copy(folder);
  ASSERT_TRUE(copy.Ok());
  EXPECT_EQ(copy.Get("VERSION"), std::optional<std::string>("1"));
  // The table holds two megabytes in a hundred kilobytes: only Snappy reads it back.
  const std::optional<std::string> filler = copy.Get(kFillerKey);
  ASSERT_TRUE(filler.has_value());
  std::string expected = "\x01";
  for (int i = 0; i < 130000; ++i) expected += "news of the day ";
  EXPECT_TRUE(*filler == expected);
  EXPECT_LT(before.at(table).size() * 10, filler->size());

  EXPECT_EQ(StorageKeys(copy),
            (std::set<std::string>{"http://127.0.0.1:8001", "http://accounts.shop.test", "http://alice.github.io",
                                   "http://bob.github.io", "http://localhost:8001", "http://mail.shop.test",
                                   "http://tracker.test", "http://tracker.test/^0http://shop.test",
                                   "http://www.news.co.uk", "http://www.shop.test"}));
  EXPECT_TRUE(Files(folder) == before) << "the scan wrote to the store";
}

TEST_F(LevelDbStoreTest, ADeleteTakesItsKeysOutOfEveryFileAndKeepsTheRest) {
  const std::string folder = Store();
  std::vector<std::string> keys;
  size_t others = 0;
  {
    const LevelDbCopy copy(folder);
    ASSERT_TRUE(copy.ForEach({}, [&](std::string_view key, std::string_view) {
      if (key.find("www.news.co.uk") != std::string_view::npos)
        keys.emplace_back(key);
      else
        ++others;
      return true;
    }));
  }
  ASSERT_EQ(keys.size(), 5u);  // META:, METAACCESS: and the page's three keys
  DeleteKeys edit(keys);
  ASSERT_TRUE(EditLevelDb(folder, edit));

  const LevelDbCopy after(folder);
  ASSERT_TRUE(after.Ok());
  size_t left = 0;
  EXPECT_TRUE(after.ForEach({}, [&](std::string_view key, std::string_view) {
    EXPECT_EQ(key.find("www.news.co.uk"), std::string_view::npos);
    return ++left, true;
  }));
  EXPECT_EQ(left, others);
  EXPECT_EQ(after.Get("VERSION"), std::optional<std::string>("1"));
  // Compacted: no file keeps the deleted page's text.
  for (const auto& [name, bytes] : Files(folder)) EXPECT_EQ(bytes.find("news of the day"), std::string::npos) << name;
}

TEST_F(LevelDbStoreTest, AStoreThatIsNotWholeOrIsHeldGivesNothingAndKeepsItsBytes) {
  auto cut = [](const std::string& path, double share) {
    const std::string bytes = FileBytes(path);
    Sandbox::WriteFile(path, bytes.substr(0, static_cast<size_t>(bytes.size() * share)));
  };
  const struct {
    const char* name;
    const char* fixture;
    std::function<void(const std::string& folder)> damage;
    const char* version;  // that the clean expects
  } cases[] = {
      {"IndexedDB's own key order", "sites/chromium/Default/IndexedDB/http_www.shop.test_0.indexeddb.leveldb",
       [](const std::string&) {}, nullptr},
      {"a table cut short", kLocalStorage, [&](const std::string& f) { cut(f + TableOf(f), 0.5); }, "1"},
      {"a table with a wrong byte", kLocalStorage,
       [](const std::string& f) {
         std::string bytes = FileBytes(f + TableOf(f));
         bytes[bytes.size() / 3] ^= 0x55;
         Sandbox::WriteFile(f + TableOf(f), bytes);
       },
       "1"},
      {"a manifest cut short", kLocalStorage, [&](const std::string& f) { cut(f + "MANIFEST-000001", 0.5); },
       "1"},
      {"a manifest that names no table", kLocalStorage,
       [](const std::string& f) {
         // The MANIFEST of a store that has written no table yet, Session Storage's.
         Sandbox::WriteFile(f + "MANIFEST-000001",
                            FileBytes(FixturePath("sites/chromium/Default/Session Storage/MANIFEST-000001")));
       },
       nullptr},
      {"no CURRENT", kLocalStorage, [](const std::string& f) { DeleteFileA((f + "CURRENT").c_str()); }, "1"},
      {"a version the clean does not know", kLocalStorage, [](const std::string&) {}, "2"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string folder = Store(c.fixture, c.name);
    c.damage(folder);
    const auto before = Files(folder);
    if (!c.version || c.version == std::string("1")) {
      const LevelDbCopy copy(folder);
      EXPECT_FALSE(copy.Ok() && copy.ForEach({}, [](std::string_view, std::string_view) { return true; }));
    }
    DeleteKeys edit({"VERSION", kFillerKey}, c.version);
    EXPECT_FALSE(EditLevelDb(folder, edit));
    EXPECT_TRUE(Files(folder) == before) << "the store was written";
  }

  // The browser holds the store: its LOCK is open.
  const std::string folder = Store();
  const auto before = Files(folder);
  HeldOpen lock(folder + "LOCK", GENERIC_READ | GENERIC_WRITE);
  ASSERT_TRUE(lock.Held());
  EXPECT_FALSE(LevelDbCopy(folder).Ok());
  DeleteKeys edit({kFillerKey});
  EXPECT_FALSE(EditLevelDb(folder, edit));
  lock.Release();
  EXPECT_TRUE(Files(folder) == before);
  EXPECT_FALSE(LevelDbCopy(sandbox.Dir() + "\\no such store\\").Ok());
}

}  // namespace
