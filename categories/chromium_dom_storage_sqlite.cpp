#include "categories/chromium_dom_storage_sqlite.h"

#include <algorithm>
#include <map>

#include "categories/chromium_storage_key.h"
#include "traces/database.h"

namespace zarn {
namespace {

bool VersionOne(Database& db) {
  if (!db.HasColumns("main", "meta", {"key", "value"})) return false;
  Statement version(db, "SELECT value FROM meta WHERE key = 'version'");
  return version.Step() && version.Text(0) == "1";
}

bool EntriesShape(Database& db) { return db.HasColumns("main", "map_entries", {"map_id", "key", "value"}); }

bool IsDoomed(const std::set<std::string>& sites, const std::string& storageKey) {
  const std::string site = SiteOfStorageKey(storageKey);
  return !site.empty() && sites.count(site) > 0;
}

// The areas of rows (storage key, entries), merged by storage key.
std::vector<StorageArea> Areas(const std::map<std::string, size_t>& byKey) {
  std::vector<StorageArea> areas;
  for (const auto& [storageKey, entries] : byKey) {
    std::string site = SiteOfStorageKey(storageKey);
    if (!site.empty()) areas.push_back({storageKey, std::move(site), entries});
  }
  return areas;
}

}  // namespace

std::optional<std::vector<StorageArea>> ListSqliteLocalStorage(Database& db) {
  if (!VersionOne(db) || !EntriesShape(db) || !db.HasColumns("main", "maps", {"row_id", "storage_key"}))
    return std::nullopt;
  Statement rows(db,
                 "SELECT storage_key, (SELECT count(*) FROM map_entries WHERE map_id = maps.row_id) FROM maps");
  std::map<std::string, size_t> byKey;
  while (rows.Step()) byKey[rows.Text(0)] += static_cast<size_t>(rows.Int(1));
  if (!rows.Done()) return std::nullopt;
  return Areas(byKey);
}

std::optional<std::vector<StorageArea>> ListSqliteSessionStorage(Database& db) {
  if (!VersionOne(db) || !EntriesShape(db) ||
      !db.HasColumns("main", "session_metadata", {"session_id", "storage_key", "map_id"}))
    return std::nullopt;
  // Each map counted once per storage key, however many tabs share it.
  Statement rows(db,
                 "SELECT storage_key, (SELECT count(*) FROM map_entries WHERE map_entries.map_id = m.map_id) "
                 "FROM (SELECT DISTINCT storage_key, map_id FROM session_metadata) AS m");
  std::map<std::string, size_t> byKey;
  while (rows.Step()) byKey[rows.Text(0)] += static_cast<size_t>(rows.Int(1));
  if (!rows.Done()) return std::nullopt;
  return Areas(byKey);
}

bool DeleteSqliteLocalStorage(Database& db, const std::set<std::string>& sites) {
  if (!VersionOne(db)) return false;
  std::vector<int64_t> doomed;
  {
    Statement rows(db, "SELECT row_id, storage_key FROM maps");
    while (rows.Step())
      if (IsDoomed(sites, rows.Text(1))) doomed.push_back(rows.Int(0));
    if (!rows.Done()) return false;
  }
  Statement entries(db, "DELETE FROM map_entries WHERE map_id = ?1"), maps(db, "DELETE FROM maps WHERE row_id = ?1");
  for (int64_t id : doomed) {
    if (!entries.Bind(1, id) || !entries.Run() || !maps.Bind(1, id) || !maps.Run()) return false;
    entries.Reset();
    maps.Reset();
  }
  return entries.Ok() && maps.Ok();
}

bool DeleteSqliteSessionStorage(Database& db, const std::set<std::string>& sites) {
  if (!VersionOne(db)) return false;
  std::vector<std::pair<std::string, std::string>> doomed;  // session id, storage key
  std::set<int64_t> maps;
  {
    Statement rows(db, "SELECT session_id, storage_key, map_id FROM session_metadata");
    while (rows.Step()) {
      if (!IsDoomed(sites, rows.Text(1))) continue;
      doomed.emplace_back(rows.Text(0), rows.Text(1));
      maps.insert(rows.Int(2));
    }
    if (!rows.Done()) return false;
  }
  // The storage key is a blob: the text bound is made one to compare.
  Statement area(db, "DELETE FROM session_metadata WHERE session_id = ?1 AND storage_key = CAST(?2 AS BLOB)");
  for (const auto& [session, storageKey] : doomed) {
    if (!area.Bind(1, session) || !area.Bind(2, storageKey) || !area.Run()) return false;
    area.Reset();
  }
  Statement entries(db,
                    "DELETE FROM map_entries WHERE map_id = ?1 AND NOT EXISTS "
                    "(SELECT 1 FROM session_metadata WHERE map_id = ?1)");
  for (int64_t map : maps) {
    if (!entries.Bind(1, map) || !entries.Run()) return false;
    entries.Reset();
  }
  return area.Ok() && entries.Ok();
}

}  // namespace zarn
