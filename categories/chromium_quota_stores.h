#pragma once
// The Chromium stores that hold a site's databases, caches, service workers and files by
// storage key or origin, each read as the browser writes it:
//   - WebStorage\QuotaManager (SQLite), table buckets: one row per storage bucket, its id
//     the name of the bucket's folder WebStorage\<id> (partitioned and named buckets);
//   - Service Worker\Database (LevelDB): registrations by storage key
//     (INITDATA_UNIQUE_ORIGIN:<key>, REG:<key>\0<id>, REGID_TO_ORIGIN:<id>, REG_USER_DATA:
//     <id>\0<name>, REG_HAS_USER_DATA:<name>\0<id>, RES:<version>\0<resource>);
//   - Service Worker\CacheStorage\<SHA-1 of the origin identifier>\index.txt: the caches of
//     a first-party origin's default bucket, the index naming its origin and storage key;
//   - File System\Origins (LevelDB): ORIGIN:<origin identifier> -> the folder File System\<nnn>.
#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "traces/leveldb_store.h"

namespace zarn {

class Database;

// A storage bucket of QuotaManager and the site it belongs to.
struct Bucket {
  int64_t id = 0;  // its folder: WebStorage\<id>
  std::string storageKey, name, site;
};

// Every web bucket, by id. Nothing when the table lacks its columns or does not read.
std::optional<std::vector<Bucket>> ListBuckets(Database& db);
// Deletes the rows of `ids`, inside the open transaction; false on any error.
bool DeleteBuckets(Database& db, const std::vector<int64_t>& ids);

// A service worker registration.
struct ServiceWorkerRegistration {
  std::string storageKey, site;
  uint64_t id = 0, version = 0;
};

// Every web registration. Nothing when the database's version is not 2, a registration's
// record does not parse, or the store does not read to its end.
std::optional<std::vector<ServiceWorkerRegistration>> ListServiceWorkers(const LevelDbCopy& copy);

// The clean of `sites`' registrations: their keys and those of their scripts' resources,
// as the browser deletes a registration.
class ServiceWorkerClean : public LevelDbEdit {
 public:
  explicit ServiceWorkerClean(std::set<std::string> sites) : sites_(std::move(sites)) {}
  bool Visit(std::string_view key, std::string_view value) override;
  bool Finish(std::vector<std::string>& doomed) override;

 private:
  bool Doomed(std::string_view storageKey);
  std::set<std::string> sites_;
  std::unordered_map<std::string, bool> doomedKey_;
  std::set<std::string> doomedIds_, doomedVersions_;
  std::vector<std::string> doomed_;
  bool version_ = false, broken_ = false;
};

// What index.txt of a CacheStorage folder says: the origin and storage key of its caches.
struct CacheStorageIndex {
  std::string origin, storageKey;
};
std::optional<CacheStorageIndex> ParseCacheStorageIndex(std::string_view bytes);
// The site of the CacheStorage folder `folderName` with this index: empty unless the
// folder's name is the hash of the index's origin, as the browser itself checks.
std::string SiteOfCacheStorage(std::string_view folderName, const CacheStorageIndex& index);

// An origin's folder of the file system API.
struct FileSystemOrigin {
  std::string identifier, site, folder;  // folder: "000", below File System
};
std::optional<std::vector<FileSystemOrigin>> ListFileSystemOrigins(const LevelDbCopy& copy);

// The clean of `sites` in File System\Origins: their ORIGIN: keys (their folders go apart).
class FileSystemOriginsClean : public LevelDbEdit {
 public:
  explicit FileSystemOriginsClean(std::set<std::string> sites) : sites_(std::move(sites)) {}
  bool Visit(std::string_view key, std::string_view value) override;
  bool Finish(std::vector<std::string>& doomed) override;

 private:
  std::set<std::string> sites_;
  std::vector<std::string> doomed_;
  bool broken_ = false;
};

}  // namespace zarn
