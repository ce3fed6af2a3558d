#pragma once
// Chromium's other form of Local and Session Storage, SQLite files in the profile folder
// (LocalStorage, SessionStorage: no space, no extension), which a profile has in place of
// the LevelDB stores when the browser chose it for a new profile:
//   LocalStorage:   maps(row_id, storage_key BLOB, ...), map_entries(map_id, key, value, ...)
//   SessionStorage: session_metadata(session_id, storage_key BLOB, map_id), map_entries
// and meta(key, value) with version 1 in both. Storage keys are in the form with the slash.
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "categories/chromium_dom_storage.h"

namespace zarn {

class Database;

// Every web area, in storage-key order; nothing when the database is not of this shape
// and version or does not read.
std::optional<std::vector<StorageArea>> ListSqliteLocalStorage(Database& db);
std::optional<std::vector<StorageArea>> ListSqliteSessionStorage(Database& db);

// Deletes every area of `sites`, inside the open transaction (Session Storage: the maps no
// other area uses with them); false on any error.
bool DeleteSqliteLocalStorage(Database& db, const std::set<std::string>& sites);
bool DeleteSqliteSessionStorage(Database& db, const std::set<std::string>& sites);

}  // namespace zarn
