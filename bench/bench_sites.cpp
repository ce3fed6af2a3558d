#include "bench/bench_sites.h"

#include <windows.h>

#include <leveldb/db.h>
#include <leveldb/write_batch.h>
#include <sqlite3.h>

#include <functional>
#include <memory>
#include <stdexcept>
#include <tuple>
#include <utility>
#include <vector>

#include "bench/bench_clock.h"
#include "categories/chromium_sites.h"
#include "tests/support/databases.h"
#include "tests/support/fixtures.h"
#include "tests/support/sandbox.h"
#include "traces/folder_removal.h"

namespace zarn::bench {
namespace {

constexpr int kSites = 1000, kCleaned = 500;

std::string Site(int i) { return "site" + std::to_string(i) + ".example"; }
std::string Origin(int i) { return "http://" + Site(i); }

void Check(bool ok, const char* what) {
  if (!ok) throw std::runtime_error(what);
}

void DeleteTree(const std::string& folder) {
  WIN32_FIND_DATAA data;
  HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &data);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      const std::string name = data.cFileName;
      if (name == "." || name == "..") continue;
      if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        DeleteTree(folder + "\\" + name);
      else
        DeleteFileA((folder + "\\" + name).c_str());
    } while (FindNextFileA(find, &data));
    FindClose(find);
  }
  RemoveDirectoryA(folder.c_str());
}

// The source profile: two cookies a site (on the site, or on its domain), one Local Storage
// area of two keys a site, and one IndexedDB origin folder of a small LevelDB a site.
void MakeProfile(const std::string& p) {
  CreateDirectoryA(p.c_str(), nullptr);
  test::MakeDatabase(p + "\\Cookies", test::kChromiumCookiesSchema);
  test::FillChromiumCookies(p + "\\Cookies", 2 * kSites, kSites);
  CreateDirectoryA((p + "\\Local Storage").c_str(), nullptr);
  leveldb::Options options;
  options.create_if_missing = true;
  leveldb::DB* opened = nullptr;
  Check(leveldb::DB::Open(options, p + "\\Local Storage\\leveldb", &opened).ok(), "cannot make Local Storage");
  {
    const std::unique_ptr<leveldb::DB> db(opened);
    leveldb::WriteBatch batch;
    batch.Put("VERSION", "1");
    for (int i = 0; i < kSites; ++i) {
      batch.Put("META:" + Origin(i), std::string("\x08\x01\x10\x20", 4));
      for (const char* key : {"\x01k1", "\x01k2"}) batch.Put("_" + Origin(i) + std::string(1, '\0') + key, "\x01value");
    }
    Check(db->Write(leveldb::WriteOptions(), &batch).ok(), "cannot write Local Storage");
  }
  CreateDirectoryA((p + "\\IndexedDB").c_str(), nullptr);
  for (int i = 0; i < kSites; ++i) {
    const std::string folder = p + "\\IndexedDB\\http_" + Site(i) + "_0.indexeddb.leveldb\\";
    for (const char* file : {"CURRENT", "MANIFEST-000001", "000003.log", "LOG"})
      test::Sandbox::WriteFile(folder + file, std::string(200, 'x'));
  }
}

// A counting sink.
class Count final : public ItemSink {
 public:
  void Add(const std::string&, const std::string&, std::string) override { ++items; }
  void AddAt(const std::string&, const std::string&, const std::string&, std::string) override { ++items; }
  size_t items = 0;
};

// The bare work and the program's, each timed `runs` times on a fresh copy of the profile, in
// turns (which goes first alternates), so that the machine's drift over the runs, and the disk
// still writing the last copy, weigh on both alike. The medians, bare first.
std::pair<double, double> Race(int runs, const std::string& source, const std::string& copy,
                               const std::function<void()>& bare, const std::function<void()>& program) {
  std::vector<double> times[2];
  for (int i = 0; i < 2 * runs; ++i) {
    const int side = (i / 2 + i) % 2;  // bare, program; program, bare; ...
    DeleteTree(copy);
    Check(test::CopyTree(source, copy), "cannot copy the profile");
    const double t0 = Now();
    (side == 0 ? bare : program)();
    times[side].push_back(Now() - t0);
  }
  return {MedianOf(times[0]), MedianOf(times[1])};
}

}  // namespace

SiteFigures MeasureSites(const std::string& folder, int runs) {
  CreateDirectoryA(folder.c_str(), nullptr);
  const std::string source = folder + "\\source", copy = folder + "\\Default", profile = copy + "\\";
  DeleteTree(source);
  MakeProfile(source);
  SiteFigures f;

  // Bare: SQLite's grouped query, LevelDB opened where it lies and read through, the
  // IndexedDB folder listed and each origin's lock tested: the least work that reads the same
  // stores (and writes to the LevelDB, which the program never does).
  const auto bareList = [&] {
    sqlite3* db = nullptr;
    Check(sqlite3_open_v2((profile + "Cookies").c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK, "open");
    sqlite3_stmt* query = nullptr;
    sqlite3_prepare_v2(db, "SELECT host_key, count(*) FROM cookies GROUP BY host_key", -1, &query, nullptr);
    size_t hosts = 0;
    while (sqlite3_step(query) == SQLITE_ROW) ++hosts;
    sqlite3_finalize(query);
    sqlite3_close(db);
    leveldb::DB* opened = nullptr;
    Check(leveldb::DB::Open(leveldb::Options(), profile + "Local Storage\\leveldb", &opened).ok(), "open");
    const std::unique_ptr<leveldb::DB> store(opened);
    const std::unique_ptr<leveldb::Iterator> it(store->NewIterator(leveldb::ReadOptions()));
    size_t keys = 0;
    for (it->SeekToFirst(); it->Valid(); it->Next()) ++keys;
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((profile + "IndexedDB\\*").c_str(), &data);
    size_t origins = 0;
    if (find != INVALID_HANDLE_VALUE) {
      do {
        ++origins;
        if (data.cFileName[0] != '.') FileHeld(profile + "IndexedDB\\" + data.cFileName + "\\LOCK");
      } while (FindNextFileA(find, &data));
      FindClose(find);
    }
    Check(hosts == kSites && keys == 3 * kSites + 1 && origins == kSites + 2, "the bare read missed data");
  };
  std::tie(f.bareList, f.list) = Race(runs, source, copy, bareList, [&] {
    Count count;
    kChromiumSites.ListItems({profile, folder}, count);
    f.sites = count.items;
  });
  Check(f.sites == kSites, "the program lists another number of sites");

  std::vector<std::string> names;
  for (int i = 0; i < kCleaned; ++i) names.push_back(Site(i));
  f.cleaned = names.size();
  // Bare: one DELETE of the sites' rows in a transaction, one synced batch of their keys and a
  // compaction, their folders' locks tested and the folders deleted file by file.
  const auto bareClean = [&] {
    sqlite3* db = nullptr;
    Check(sqlite3_open_v2((profile + "Cookies").c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK, "open");
    std::string in;
    for (const std::string& site : names) in += (in.empty() ? "'" : ",'") + site + "','." + site + "'";
    Check(sqlite3_exec(db, ("BEGIN IMMEDIATE; DELETE FROM cookies WHERE host_key IN (" + in + "); COMMIT").c_str(),
                       nullptr, nullptr, nullptr) == SQLITE_OK,
          "bare delete");
    sqlite3_close(db);
    leveldb::DB* opened = nullptr;
    Check(leveldb::DB::Open(leveldb::Options(), profile + "Local Storage\\leveldb", &opened).ok(), "open");
    const std::unique_ptr<leveldb::DB> store(opened);
    leveldb::WriteBatch batch;
    for (int i = 0; i < kCleaned; ++i) {
      batch.Delete("META:" + Origin(i));
      for (const char* key : {"\x01k1", "\x01k2"}) batch.Delete("_" + Origin(i) + std::string(1, '\0') + key);
    }
    leveldb::WriteOptions sync;
    sync.sync = true;
    Check(store->Write(sync, &batch).ok(), "bare batch");
    store->CompactRange(nullptr, nullptr);
    for (int i = 0; i < kCleaned; ++i) {
      const std::string origin = profile + "IndexedDB\\http_" + Site(i) + "_0.indexeddb.leveldb";
      FileHeld(origin + "\\LOCK");
      DeleteTree(origin);
    }
  };
  std::tie(f.bareClean, f.clean) = Race(runs, source, copy, bareClean, [&] {
    Check(kChromiumSites.DeleteItems({profile, folder}, names), "the clean failed");
  });
  Count left;
  kChromiumSites.ListItems({profile, folder}, left);
  Check(left.items == kSites - kCleaned, "the clean left another number of sites");
  return f;
}

}  // namespace zarn::bench
