#include "categories/chromium_quota_sites.h"

#include <windows.h>

#include "categories/chromium_quota_stores.h"
#include "traces/database.h"
#include "traces/database_shape.h"
#include "traces/folder_removal.h"
#include "traces/leveldb_store.h"
#include "traces/probes.h"
#include "traces/small_file.h"
#include "traces/text_list.h"

namespace zarn {
namespace {

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// WebStorage\QuotaManager's buckets, each with its folder WebStorage\<id>.
class Buckets final : public SiteStore {
 public:
  void List(const StorePlace& profile, SiteTallies& tallies) const override {
    const std::string path = profile.path + kQuota;
    if (!Exists(path)) return;
    Database db({path, profile.base}, Database::Mode::Read);
    if (!db.Ok() || !Usable(db)) return;
    if (const auto buckets = ListBuckets(db))
      for (const Bucket& bucket : *buckets) tallies[bucket.site].data = true;
  }
  bool Delete(const StorePlace& profile, const std::set<std::string>& sites) const override {
    const std::string path = profile.path + kQuota;
    if (!Exists(path)) return true;
    Database db({path, profile.base}, Database::Mode::Write);
    if (!db.Ok() || !db.Begin()) return false;
    const auto buckets = Usable(db) ? ListBuckets(db) : std::nullopt;
    if (!buckets) {
      db.Rollback();
      return false;
    }
    // A bucket's row goes only with its folder: one whose folder a running browser keeps
    // stays whole.
    std::vector<int64_t> gone;
    bool whole = true;
    FolderRemoval removal(profile.path);
    for (const Bucket& bucket : *buckets) {
      if (!sites.count(bucket.site)) continue;
      const std::string folder = profile.path + "WebStorage\\" + std::to_string(bucket.id);
      if (!Exists(folder) || removal.RemoveBelow(folder))
        gone.push_back(bucket.id);
      else
        whole = false;
    }
    if (gone.empty()) {
      db.Rollback();
      return whole;
    }
    if (DeleteBuckets(db, gone) && db.Commit()) return whole;
    db.Rollback();
    return false;
  }

 private:
  static constexpr char kQuota[] = "WebStorage\\QuotaManager";
  // No trigger or view may turn the delete of one bucket's row into others'.
  static bool Usable(Database& db) {
    const TableShape tables[] = {{"main", "buckets", {"id", "storage_key", "name"}}};
    return HasShape(db, {tables}) && db.QuickCheck();
  }
};

// Service Worker\Database's registrations, and Service Worker\CacheStorage's folders, each
// named by the hash of its origin and holding its index.
class ServiceWorkers final : public SiteStore {
 public:
  void List(const StorePlace& profile, SiteTallies& tallies) const override {
    const std::string database = profile.path + kDatabase;
    if (RealFolderBelow(profile.path, database)) {
      const LevelDbCopy copy(database);
      if (copy.Ok())
        if (const auto registrations = ListServiceWorkers(copy))
          for (const ServiceWorkerRegistration& r : *registrations) tallies[r.site].data = true;
    }
    ForEachCache(profile, [&](const std::string&, const std::string& site) { tallies[site].data = true; });
  }
  bool Delete(const StorePlace& profile, const std::set<std::string>& sites) const override {
    bool whole = true;
    const std::string database = profile.path + kDatabase;
    if (Exists(database + "CURRENT")) {
      ServiceWorkerClean clean(sites);
      whole = RealFolderBelow(profile.path, database) && EditLevelDb(database, clean);
    }
    FolderRemoval removal(profile.path);
    ForEachCache(profile, [&](const std::string& folder, const std::string& site) {
      if (sites.count(site)) whole &= removal.RemoveBelow(folder);
    });
    return whole;
  }

 private:
  static constexpr char kDatabase[] = "Service Worker\\Database\\";
  template <typename Visit>
  static void ForEachCache(const StorePlace& profile, Visit visit) {
    const std::string root = profile.path + "Service Worker\\CacheStorage\\";
    if (!RealFolderBelow(profile.path, root)) return;
    TextList listed;
    ListRealSubfolders(listed, root);
    for (size_t i = 0; i < listed.Count(); ++i) {
      const std::string name(listed.Text(i)), folder = root + name;
      std::string bytes;
      if (!ReadSmallFile(folder + "\\index.txt", bytes)) continue;
      const std::optional<CacheStorageIndex> index = ParseCacheStorageIndex(bytes);
      const std::string site = index ? SiteOfCacheStorage(name, *index) : std::string();
      if (!site.empty()) visit(folder, site);
    }
  }
};

// File System\Origins, naming each origin's folder File System\<nnn>.
class FileSystems final : public SiteStore {
 public:
  void List(const StorePlace& profile, SiteTallies& tallies) const override {
    if (const auto origins = Read(profile))
      for (const FileSystemOrigin& o : *origins) tallies[o.site].data = true;
  }
  bool Delete(const StorePlace& profile, const std::set<std::string>& sites) const override {
    const std::string database = profile.path + kOrigins;
    if (!Exists(database + "CURRENT")) return true;
    const auto origins = Read(profile);
    if (!origins) return false;
    FileSystemOriginsClean clean(sites);
    if (!EditLevelDb(database, clean)) return false;
    // The origins' keys are gone: their folders are nobody's now.
    bool whole = true;
    FolderRemoval removal(profile.path);
    for (const FileSystemOrigin& o : *origins) {
      const std::string folder = profile.path + "File System\\" + o.folder;
      if (sites.count(o.site) && Exists(folder)) whole &= removal.RemoveBelow(folder);
    }
    return whole;
  }

 private:
  static constexpr char kOrigins[] = "File System\\Origins\\";
  static std::optional<std::vector<FileSystemOrigin>> Read(const StorePlace& profile) {
    const std::string database = profile.path + kOrigins;
    if (!RealFolderBelow(profile.path, database)) return std::nullopt;
    const LevelDbCopy copy(database);
    return copy.Ok() ? ListFileSystemOrigins(copy) : std::nullopt;
  }
};

const Buckets kBuckets;
const ServiceWorkers kServiceWorkers;
const FileSystems kFileSystems;

}  // namespace

const SiteStore& kChromiumBuckets = kBuckets;
const SiteStore& kChromiumServiceWorkers = kServiceWorkers;
const SiteStore& kChromiumFileSystems = kFileSystems;

}  // namespace zarn
