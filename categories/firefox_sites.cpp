#include "categories/firefox_sites.h"

#include <windows.h>

#include <vector>

#include "categories/cookie_sites.h"
#include "categories/firefox_storage.h"
#include "categories/mozilla_profile.h"
#include "traces/database.h"
#include "traces/database_rows.h"
#include "traces/database_shape.h"
#include "traces/folder_removal.h"
#include "traces/probes.h"
#include "traces/small_file.h"
#include "traces/text_list.h"

namespace zarn {
namespace {

bool IsFile(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Runs `change` in one transaction of the database at `path`, after the quick check; true
// when the file is not there.
template <typename Change>
bool InTransaction(const StorePlace& profile, const std::string& path, Change change) {
  if (!IsFile(path)) return true;
  Database db({path, profile.base}, Database::Mode::Write);
  if (!db.Ok() || !db.Begin()) return false;
  if (db.QuickCheck() && change(db) && db.Commit()) return true;
  db.Rollback();
  return false;
}

constexpr char kCookieFile[] = "cookies.sqlite";

class Cookies final : public SiteStore {
 public:
  void List(const StorePlace& profile, SiteTallies& tallies) const override {
    const std::string path = profile.path + kCookieFile;
    if (!IsFile(path)) return;
    CookieTally sink(tallies, path);
    kFirefoxCookies.ListItems({path, profile.base}, sink);
  }
  // The clean holds the profile already: the rows go in the clean's own transaction.
  bool Delete(const StorePlace& profile, const std::set<std::string>& sites) const override {
    const std::vector<std::string> names(sites.begin(), sites.end());
    return InTransaction(profile, profile.path + kCookieFile, [&](Database& db) {
      return HasCookieShape(db, kFirefoxCookieTable) && DeleteCookieSites(db, kFirefoxCookieTable, names);
    });
  }
};

// The origin folders of storage\default and storage\temporary, each read by its
// .metadata-v2; storage.sqlite's cache of them is invalidated once one has gone.
class OriginFolders final : public SiteStore {
 public:
  void List(const StorePlace& profile, SiteTallies& tallies) const override {
    ForEachOrigin(profile, [&](const std::string&, const std::string& site) { tallies[site].data = true; });
  }
  bool Delete(const StorePlace& profile, const std::set<std::string>& sites) const override {
    bool whole = true, removed = false;
    FolderRemoval removal(profile.path);
    ForEachOrigin(profile, [&](const std::string& folder, const std::string& site) {
      if (!sites.count(site)) return;
      const bool gone = removal.RemoveBelow(folder);
      whole &= gone;
      removed |= gone;
    });
    // Firefox rebuilds its cache from the folders when the cache says it is not valid.
    if (removed)
      whole &= InTransaction(profile, profile.path + "storage.sqlite", [](Database& db) {
        const TableShape tables[] = {{"main", "origin", {"origin"}}, {"main", "cache", {"valid"}}};
        return HasShape(db, {tables}) && db.Exec(kInvalidateStorageCacheSql);
      });
    return whole;
  }

 private:
  template <typename Visit>
  static void ForEachOrigin(const StorePlace& profile, Visit visit) {
    for (const char* repository : {"storage\\default\\", "storage\\temporary\\"}) {
      const std::string root = profile.path + repository;
      if (!RealFolderBelow(profile.path, root)) continue;
      TextList listed;
      // Real folders only: a link in the place of an origin is never followed nor deleted.
      ListRealSubfolders(listed, root);
      for (size_t i = 0; i < listed.Count(); ++i) {
        const std::string name(listed.Text(i)), folder = root + name;
        std::string bytes;
        if (!ReadSmallFile(folder + "\\.metadata-v2", bytes)) continue;
        const std::optional<OriginMetadata> metadata = ParseOriginMetadata(bytes);
        const std::string site = metadata ? SiteOfOriginFolder(name, *metadata) : std::string();
        if (!site.empty()) visit(folder, site);
      }
    }
  }
};

// The legacy webappsstore.sqlite, and the archive of it that Firefox keeps to bring its rows
// into the origin folders: rows by origin attributes and origin key.
class WebappsStore final : public SiteStore {
 public:
  explicit constexpr WebappsStore(const char* file) : file_(file) {}
  void List(const StorePlace& profile, SiteTallies& tallies) const override {
    const std::string path = profile.path + file_;
    if (!IsFile(path)) return;
    Database db({path, profile.base}, Database::Mode::Read);
    if (!db.Ok() || !db.QuickCheck()) return;
    ForEachOrigin(db, [&](const std::string&, const std::string&, const std::string& site) {
      tallies[site].data = true;
    });
  }
  bool Delete(const StorePlace& profile, const std::set<std::string>& sites) const override {
    return InTransaction(profile, profile.path + file_, [&](Database& db) {
      std::vector<std::pair<std::string, std::string>> doomed;
      if (!ForEachOrigin(db, [&](const std::string& attributes, const std::string& key, const std::string& site) {
            if (sites.count(site)) doomed.emplace_back(attributes, key);
          }))
        return false;
      Statement remove(db,
                       "DELETE FROM webappsstore2 WHERE originAttributes COLLATE BINARY = ?1 AND "
                       "originKey COLLATE BINARY = ?2");
      for (const auto& [attributes, key] : doomed) {
        remove.Reset();
        if (!remove.Bind(1, attributes) || !remove.Bind(2, key) || !remove.Run()) return false;
      }
      return remove.Ok();
    });
  }

 private:
  const char* file_;
  // False when the table is not of the shape Firefox makes or does not read.
  template <typename Visit>
  static bool ForEachOrigin(Database& db, Visit visit) {
    // No trigger or view may turn the delete of one site's rows into others'.
    const TableShape tables[] = {
        {"main", "webappsstore2", {"originAttributes", "originKey"}, {"originAttributes", "originKey"}}};
    if (!HasShape(db, {tables})) return false;
    Statement rows(db,
                   "SELECT DISTINCT originAttributes, originKey FROM webappsstore2 WHERE typeof(originAttributes) = "
                   "'text' AND typeof(originKey) = 'text'");
    while (rows.Step()) {
      const std::string attributes = rows.Text(0), key = rows.Text(1);
      const std::string site = SiteOfWebappsRow(attributes, key);
      if (!site.empty()) visit(attributes, key, site);
    }
    return rows.Done();
  }
};

// serviceworker.txt: a ticked site's registrations go by a rewrite of the file without them,
// put in its place at once; the others keep their bytes. A file that does not read gave no
// item, and stays as it is.
class ServiceWorkerRegistrations final : public SiteStore {
 public:
  void List(const StorePlace& profile, SiteTallies& tallies) const override {
    if (const auto registrar = Read(profile))
      for (const ServiceWorkerBlock& block : registrar->blocks)
        if (!block.site.empty()) tallies[block.site].data = true;
  }
  bool Delete(const StorePlace& profile, const std::set<std::string>& sites) const override {
    const auto registrar = Read(profile);
    if (!registrar) return true;
    std::string kept = registrar->head;
    bool changed = false;
    for (const ServiceWorkerBlock& block : registrar->blocks) {
      if (sites.count(block.site))
        changed = true;
      else
        kept += block.text;
    }
    return !changed || ReplaceSmallFile(profile.path + kFile, kept);
  }

 private:
  static constexpr char kFile[] = "serviceworker.txt";
  static std::optional<ServiceWorkerRegistrar> Read(const StorePlace& profile) {
    std::string bytes;
    if (!ReadSmallFile(profile.path + kFile, bytes)) return std::nullopt;
    return ParseServiceWorkerRegistrar(bytes);
  }
};

const Cookies kCookies;
const OriginFolders kOrigins;
const WebappsStore kWebapps("webappsstore.sqlite"), kWebappsArchive("storage\\ls-archive.sqlite");
const ServiceWorkerRegistrations kServiceWorkers;
// As Firefox clears a site: its service workers before its storage.
const SiteStore* const kStores[] = {&kCookies, &kServiceWorkers, &kOrigins, &kWebapps, &kWebappsArchive};

bool EndsWith(const std::string& text, std::string_view end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

}  // namespace

std::string FirefoxSites::ProfileOf(const std::string& location) const {
  if (EndsWith(location, "\\")) return location;
  if (EndsWith(location, std::string("\\") + kCookieFile)) return location.substr(0, location.size() - 14);
  return {};
}

std::span<const SiteStore* const> FirefoxSites::Stores() const { return kStores; }

bool FirefoxSites::ProfileHeld(const StorePlace& profile) const { return HeldBy(profile.path, kFirefoxProfileLock); }

bool FirefoxSites::TakeProfile(const StorePlace& profile, unique_file& hold) const {
  hold = Hold(profile.path, kFirefoxProfileLock);
  return static_cast<bool>(hold);
}

constinit const FirefoxSites kFirefoxSites;

}  // namespace zarn
