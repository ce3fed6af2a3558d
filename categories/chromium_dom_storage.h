#pragma once
// Local Storage and Session Storage of the Chromium browsers, kept in LevelDB
// ("Local Storage\leveldb", "Session Storage"): which storage key each key of the store
// belongs to, the areas a store holds site by site, and the clean that takes sites' areas
// out and leaves every other key, the store's version above all (a store whose version the
// browser does not know is one it deletes whole).
//
// Local Storage: VERSION ("1"), META:<key> and METAACCESS:<key> (an area's size and times),
// _<key>\0<script key> (its entries); the key is the first-party origin without its slash.
// Session Storage: version ("1"), next-map-id, namespace-<36-character id>-<key> (a tab's
// area, its value the number of the map that holds the entries), map-<number>-<script key>;
// a map may serve several tabs' areas and goes only with the last of them.
#include <cstddef>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "traces/leveldb_store.h"

namespace zarn {

// The storage key a key of Local Storage belongs to; nothing for VERSION and other keys.
std::optional<std::string_view> LocalStorageKeyOf(std::string_view key);

// One storage key's data in a store, with the site it belongs to.
struct StorageArea {
  std::string storageKey;
  std::string site;
  size_t entries = 0;  // the script's keys
};

// Every web area of a copy of Local Storage or Session Storage, in storage-key order. Nothing
// when the store's version is not 1 or it does not read to its end. Areas of extensions
// and of the browser itself are left out.
std::optional<std::vector<StorageArea>> ListLocalStorage(const LevelDbCopy& copy);
std::optional<std::vector<StorageArea>> ListSessionStorage(const LevelDbCopy& copy);

// The clean of `sites` in Local Storage: every key of every area of those sites.
class LocalStorageClean : public LevelDbEdit {
 public:
  explicit LocalStorageClean(std::set<std::string> sites) : sites_(std::move(sites)) {}
  bool Visit(std::string_view key, std::string_view value) override;
  bool Finish(std::vector<std::string>& doomed) override;

 private:
  std::set<std::string> sites_;
  // Storage key -> of a doomed site. A store's keys come in runs of one storage key: the
  // run's key is kept apart, so most keys need no lookup.
  std::map<std::string, bool, std::less<>> doomedKey_;
  std::string runKey_;
  bool runDoomed_ = false;
  std::vector<std::string> doomed_;
  bool version_ = false;
};

// The clean of `sites` in Session Storage: their tabs' areas, and each map no other area uses.
class SessionStorageClean : public LevelDbEdit {
 public:
  explicit SessionStorageClean(std::set<std::string> sites) : sites_(std::move(sites)) {}
  bool Visit(std::string_view key, std::string_view value) override;
  bool Finish(std::vector<std::string>& doomed) override;

 private:
  std::set<std::string> sites_;
  std::unordered_map<std::string, std::vector<std::string>> mapKeys_;  // map number -> its keys
  std::vector<std::string> doomedAreas_;
  std::set<std::string> doomedMaps_, keptMaps_;
  bool version_ = false;
};

}  // namespace zarn
