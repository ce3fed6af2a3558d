#include "categories/chromium_sites.h"

#include <windows.h>

#include <vector>

#include "categories/chromium_dom_storage.h"
#include "categories/chromium_dom_storage_sqlite.h"
#include "categories/chromium_quota_sites.h"
#include "categories/chromium_storage_key.h"
#include "categories/cookie_sites.h"
#include "traces/database.h"
#include "traces/database_shape.h"
#include "traces/folder_removal.h"
#include "traces/leveldb_store.h"
#include "traces/probes.h"
#include "traces/site_rule.h"
#include "traces/text_list.h"

namespace zarn {
namespace {

bool IsFile(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// A cookie database at `below` the profile, site by site as CookieSites has it.
class CookieStore final : public SiteStore {
 public:
  constexpr explicit CookieStore(const char* below) : below_(below) {}
  void List(const StorePlace& profile, SiteTallies& tallies) const override {
    const std::string path = profile.path + below_;
    if (!IsFile(path)) return;
    CookieTally sink(tallies, path);
    kChromiumCookies.ListItems({path, profile.base}, sink);
  }
  bool Delete(const StorePlace& profile, const std::set<std::string>& sites) const override {
    const std::string path = profile.path + below_;
    if (!IsFile(path)) return true;
    const std::vector<std::string> names(sites.begin(), sites.end());
    return kChromiumCookies.DeleteItems({path, profile.base}, names);
  }

 private:
  const char* below_;
};

// A LevelDB store of the DOM storages at `below` the profile.
class DomStorage final : public SiteStore {
 public:
  using Lister = std::optional<std::vector<StorageArea>> (*)(const LevelDbCopy&);
  constexpr DomStorage(const char* below, Lister list, bool local) : below_(below), list_(list), local_(local) {}
  void List(const StorePlace& profile, SiteTallies& tallies) const override {
    const std::string folder = profile.path + below_;
    if (!RealFolderBelow(profile.path, folder)) return;
    const LevelDbCopy copy(folder);
    if (!copy.Ok()) return;
    if (const auto areas = list_(copy))
      for (const StorageArea& area : *areas) tallies[area.site].data = true;
  }
  bool Delete(const StorePlace& profile, const std::set<std::string>& sites) const override {
    const std::string folder = profile.path + below_;
    if (!IsFile(folder + "CURRENT")) return true;
    if (!RealFolderBelow(profile.path, folder)) return false;
    if (local_) {
      LocalStorageClean clean(sites);
      return EditLevelDb(folder, clean);
    }
    SessionStorageClean clean(sites);
    return EditLevelDb(folder, clean);
  }

 private:
  const char* below_;
  Lister list_;
  bool local_;
};

// The SQLite form of the DOM storages, a file in the profile folder, which a running browser
// keeps locked.
class SqliteDomStorage final : public SiteStore {
 public:
  using Lister = std::optional<std::vector<StorageArea>> (*)(Database&);
  using Deleter = bool (*)(Database&, const std::set<std::string>&);
  constexpr SqliteDomStorage(const char* name, const char* areas, Lister list, Deleter remove)
      : name_(name), areas_(areas), list_(list), remove_(remove) {}
  void List(const StorePlace& profile, SiteTallies& tallies) const override {
    const std::string path = profile.path + name_;
    if (!IsFile(path)) return;
    Database db({path, profile.base}, Database::Mode::Read);
    if (!db.Ok() || !Usable(db)) return;
    if (const auto areas = list_(db))
      for (const StorageArea& area : *areas) tallies[area.site].data = true;
  }
  bool Delete(const StorePlace& profile, const std::set<std::string>& sites) const override {
    const std::string path = profile.path + name_;
    if (!IsFile(path)) return true;
    Database db({path, profile.base}, Database::Mode::Write);
    if (!db.Ok() || !db.Begin()) return false;
    // Of the right shape and version, checked inside the transaction.
    if (Usable(db) && list_(db) && remove_(db, sites) && db.Commit()) return true;
    db.Rollback();
    return false;
  }

 private:
  // No trigger or view may turn the delete of one site's rows into others'.
  bool Usable(Database& db) const {
    const TableShape tables[] = {{"main", areas_, {"storage_key"}}, {"main", "map_entries", {"map_id"}}};
    return HasShape(db, {tables}) && db.QuickCheck();
  }
  const char* name_;
  const char* areas_;
  Lister list_;
  Deleter remove_;
};

// IndexedDB: one folder per origin (the database, its large values, or the SQLite form).
class IndexedDbFolders final : public SiteStore {
 public:
  void List(const StorePlace& profile, SiteTallies& tallies) const override {
    ForEachOrigin(profile, [&](const std::string& root, const std::string& name, const std::string& site) {
      if (!Held(root, name)) tallies[site].data = true;
    });
  }
  bool Delete(const StorePlace& profile, const std::set<std::string>& sites) const override {
    bool whole = true;
    FolderRemoval removal(profile.path);
    ForEachOrigin(profile, [&](const std::string& root, const std::string& name, const std::string& site) {
      if (sites.count(site) && !Held(root, name)) whole &= removal.Remove(root + name);
    });
    return whole;
  }

 private:
  // The database a running browser has open, and its large values: neither listed nor
  // cleaned. Its LOCK lies in the database's folder.
  static bool Held(const std::string& root, const std::string& name) {
    constexpr std::string_view kBlob = ".indexeddb.blob";
    const std::string_view n(name);
    if (n.size() > kBlob.size() && n.substr(n.size() - kBlob.size()) == kBlob)
      return FileHeld(root + name.substr(0, name.size() - kBlob.size()) + ".indexeddb.leveldb\\LOCK");
    return FileHeld(root + name + "\\LOCK");
  }
  // Calls `visit` with the IndexedDB folder (checked: a real folder below the profile), the
  // name of an origin's folder in it, and the origin's site.
  template <typename Visit>
  static void ForEachOrigin(const StorePlace& profile, Visit visit) {
    const std::string root = profile.path + "IndexedDB\\";
    if (!RealFolderBelow(profile.path, root)) return;
    TextList listed;
    // Real folders only: a link in the place of an origin is never followed nor deleted.
    ListRealSubfolders(listed, root);
    for (size_t i = 0; i < listed.Count(); ++i) {
      const std::string name(listed.Text(i));
      const std::optional<WebOrigin> origin = IndexedDbOriginOf(name);
      if (!origin) continue;
      const std::string site = SiteOfHost(origin->host);
      if (!site.empty()) visit(root, name, site);
    }
  }
};

constexpr CookieStore kNetworkCookies("Network\\Cookies"), kOlderCookies("Cookies");
constexpr DomStorage kLocalStorage("Local Storage\\leveldb\\", ListLocalStorage, true),
    kSessionStorage("Session Storage\\", ListSessionStorage, false);
constexpr SqliteDomStorage kSqliteLocalStorage("LocalStorage", "maps", ListSqliteLocalStorage,
                                               DeleteSqliteLocalStorage),
    kSqliteSessionStorage("SessionStorage", "session_metadata", ListSqliteSessionStorage, DeleteSqliteSessionStorage);
const IndexedDbFolders kIndexedDb;
// The cookies first, then each store; the quota-managed stores last.
const SiteStore* const kStores[] = {
    &kNetworkCookies,       &kOlderCookies, &kLocalStorage,    &kSessionStorage,        &kSqliteLocalStorage,
    &kSqliteSessionStorage, &kIndexedDb,    &kChromiumBuckets, &kChromiumServiceWorkers, &kChromiumFileSystems};

bool EndsWith(const std::string& text, std::string_view end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

}  // namespace

std::string ChromiumSites::ProfileOf(const std::string& location) const {
  if (EndsWith(location, "\\")) return location;
  for (std::string_view file : {"\\Network\\Cookies", "\\Cookies"})
    if (EndsWith(location, file)) return location.substr(0, location.size() - file.size() + 1);
  return {};
}

std::span<const SiteStore* const> ChromiumSites::Stores() const { return kStores; }

constinit const ChromiumSites kChromiumSites;

}  // namespace zarn
