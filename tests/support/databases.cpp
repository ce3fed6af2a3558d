#include "tests/support/databases.h"

#include <windows.h>

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <fstream>
#include <sstream>

#include "traces/category_form.h"
#include "traces/database.h"

namespace zarn::test {

// Chromium's cookie store at version 20.
const char kChromiumCookiesSchema[] = R"(
CREATE TABLE meta(key LONGVARCHAR NOT NULL UNIQUE PRIMARY KEY, value LONGVARCHAR);
INSERT INTO meta VALUES('version', '20'), ('last_compatible_version', '20');
CREATE TABLE cookies(creation_utc INTEGER NOT NULL, host_key TEXT NOT NULL, top_frame_site_key TEXT NOT NULL,
  name TEXT NOT NULL, value TEXT NOT NULL, encrypted_value BLOB NOT NULL, path TEXT NOT NULL,
  expires_utc INTEGER NOT NULL, is_secure INTEGER NOT NULL, is_httponly INTEGER NOT NULL,
  last_access_utc INTEGER NOT NULL, has_expires INTEGER NOT NULL, is_persistent INTEGER NOT NULL,
  priority INTEGER NOT NULL, samesite INTEGER NOT NULL, source_scheme INTEGER NOT NULL,
  source_port INTEGER NOT NULL, is_same_party INTEGER NOT NULL, last_update_utc INTEGER NOT NULL);
CREATE UNIQUE INDEX cookies_unique_index ON cookies(host_key, top_frame_site_key, name, path, source_scheme,
  source_port);
)";

const char kFirefoxCookiesSchema[] = R"(
PRAGMA user_version = 17;
CREATE TABLE moz_cookies (id INTEGER PRIMARY KEY, originAttributes TEXT NOT NULL DEFAULT '', name TEXT,
  value TEXT, host TEXT, path TEXT, expiry INTEGER, lastAccessed INTEGER, creationTime INTEGER,
  isSecure INTEGER, isHttpOnly INTEGER, sameSite INTEGER DEFAULT 0,
  CONSTRAINT moz_uniqueid UNIQUE (name, host, path, originAttributes));
)";

const char kPlacesSchema[] = R"(
PRAGMA user_version = 82;
CREATE TABLE moz_origins (id INTEGER PRIMARY KEY, prefix TEXT NOT NULL, host TEXT NOT NULL,
  frecency INTEGER NOT NULL, recalc_frecency INTEGER NOT NULL DEFAULT 0, alt_frecency INTEGER,
  recalc_alt_frecency INTEGER NOT NULL DEFAULT 0, UNIQUE (prefix, host));
CREATE TABLE moz_places (id INTEGER PRIMARY KEY, url LONGVARCHAR, title LONGVARCHAR, rev_host LONGVARCHAR,
  visit_count INTEGER DEFAULT 0, hidden INTEGER DEFAULT 0 NOT NULL, typed INTEGER DEFAULT 0 NOT NULL,
  frecency INTEGER DEFAULT -1 NOT NULL, last_visit_date INTEGER, guid TEXT,
  foreign_count INTEGER DEFAULT 0 NOT NULL, url_hash INTEGER DEFAULT 0 NOT NULL, description TEXT,
  preview_image_url TEXT, site_name TEXT, origin_id INTEGER REFERENCES moz_origins(id),
  recalc_frecency INTEGER NOT NULL DEFAULT 0, alt_frecency INTEGER,
  recalc_alt_frecency INTEGER NOT NULL DEFAULT 0);
CREATE TABLE moz_historyvisits (id INTEGER PRIMARY KEY, from_visit INTEGER, place_id INTEGER,
  visit_date INTEGER, visit_type INTEGER, session INTEGER, source INTEGER DEFAULT 0 NOT NULL,
  triggeringPlaceId INTEGER);
CREATE TABLE moz_inputhistory (place_id INTEGER NOT NULL, input LONGVARCHAR NOT NULL, use_count INTEGER,
  PRIMARY KEY (place_id, input));
CREATE TABLE moz_bookmarks (id INTEGER PRIMARY KEY, type INTEGER, fk INTEGER DEFAULT NULL, parent INTEGER,
  position INTEGER, title LONGVARCHAR, keyword_id INTEGER, folder_type TEXT, dateAdded INTEGER,
  lastModified INTEGER, guid TEXT, syncStatus INTEGER NOT NULL DEFAULT 0,
  syncChangeCounter INTEGER NOT NULL DEFAULT 1);
CREATE TABLE moz_keywords (id INTEGER PRIMARY KEY AUTOINCREMENT, keyword TEXT UNIQUE, place_id INTEGER,
  post_data TEXT);
CREATE TABLE moz_anno_attributes (id INTEGER PRIMARY KEY, name VARCHAR(32) UNIQUE NOT NULL);
CREATE TABLE moz_annos (id INTEGER PRIMARY KEY, place_id INTEGER NOT NULL, anno_attribute_id INTEGER,
  content LONGVARCHAR, flags INTEGER DEFAULT 0, expiration INTEGER DEFAULT 0, type INTEGER DEFAULT 0,
  dateAdded INTEGER DEFAULT 0, lastModified INTEGER DEFAULT 0);
CREATE TABLE moz_meta (key TEXT PRIMARY KEY, value NOT NULL) WITHOUT ROWID;
CREATE TABLE moz_places_extra (place_id INTEGER PRIMARY KEY NOT NULL, sync_json TEXT,
  FOREIGN KEY (place_id) REFERENCES moz_places(id) ON DELETE CASCADE);
CREATE TABLE moz_historyvisits_extra (visit_id INTEGER PRIMARY KEY NOT NULL, sync_json TEXT,
  FOREIGN KEY (visit_id) REFERENCES moz_historyvisits(id) ON DELETE CASCADE);
CREATE TABLE moz_places_metadata_search_queries (id INTEGER PRIMARY KEY, terms TEXT NOT NULL UNIQUE);
CREATE TABLE moz_places_metadata (id INTEGER PRIMARY KEY, place_id INTEGER NOT NULL,
  referrer_place_id INTEGER, created_at INTEGER NOT NULL DEFAULT 0, updated_at INTEGER NOT NULL DEFAULT 0,
  total_view_time INTEGER NOT NULL DEFAULT 0, typing_time INTEGER NOT NULL DEFAULT 0,
  key_presses INTEGER NOT NULL DEFAULT 0, scrolling_time INTEGER NOT NULL DEFAULT 0,
  scrolling_distance INTEGER NOT NULL DEFAULT 0, document_type INTEGER NOT NULL DEFAULT 0,
  search_query_id INTEGER,
  FOREIGN KEY (place_id) REFERENCES moz_places(id) ON DELETE CASCADE,
  FOREIGN KEY (referrer_place_id) REFERENCES moz_places(id) ON DELETE CASCADE,
  FOREIGN KEY (search_query_id) REFERENCES moz_places_metadata_search_queries(id) ON DELETE CASCADE,
  CHECK (place_id != referrer_place_id));
)";

const char kFaviconsSchema[] = R"(
CREATE TABLE moz_icons (id INTEGER PRIMARY KEY, icon_url TEXT NOT NULL, fixed_icon_url_hash INTEGER NOT NULL,
  width INTEGER NOT NULL DEFAULT 0, root INTEGER NOT NULL DEFAULT 0, color INTEGER,
  expire_ms INTEGER NOT NULL DEFAULT 0, flags INTEGER NOT NULL DEFAULT 0, data BLOB);
CREATE TABLE moz_pages_w_icons (id INTEGER PRIMARY KEY, page_url TEXT NOT NULL, page_url_hash INTEGER NOT NULL);
CREATE TABLE moz_icons_to_pages (page_id INTEGER NOT NULL, icon_id INTEGER NOT NULL,
  expire_ms INTEGER NOT NULL DEFAULT 0, PRIMARY KEY (page_id, icon_id),
  FOREIGN KEY (page_id) REFERENCES moz_pages_w_icons ON DELETE CASCADE,
  FOREIGN KEY (icon_id) REFERENCES moz_icons ON DELETE CASCADE) WITHOUT ROWID;
)";

// The tables of Firefox 52 ESR's places.sqlite that the history touches or keeps.
const char kPlacesEsr52Schema[] = R"(
CREATE TABLE moz_places (id INTEGER PRIMARY KEY, url LONGVARCHAR, title LONGVARCHAR, rev_host LONGVARCHAR,
  visit_count INTEGER DEFAULT 0, hidden INTEGER DEFAULT 0 NOT NULL, typed INTEGER DEFAULT 0 NOT NULL,
  favicon_id INTEGER, frecency INTEGER DEFAULT -1 NOT NULL, last_visit_date INTEGER, guid TEXT,
  foreign_count INTEGER DEFAULT 0 NOT NULL, url_hash INTEGER DEFAULT 0 NOT NULL);
CREATE TABLE moz_historyvisits (id INTEGER PRIMARY KEY, from_visit INTEGER, place_id INTEGER,
  visit_date INTEGER, visit_type INTEGER, session INTEGER);
CREATE TABLE moz_inputhistory (place_id INTEGER NOT NULL, input LONGVARCHAR NOT NULL, use_count INTEGER,
  PRIMARY KEY (place_id, input));
CREATE TABLE moz_hosts (id INTEGER PRIMARY KEY, host TEXT NOT NULL UNIQUE, frecency INTEGER,
  typed INTEGER NOT NULL DEFAULT 0, prefix TEXT);
CREATE TABLE moz_bookmarks (id INTEGER PRIMARY KEY, type INTEGER, fk INTEGER DEFAULT NULL, parent INTEGER,
  position INTEGER, title LONGVARCHAR, keyword_id INTEGER, folder_type TEXT, dateAdded INTEGER,
  lastModified INTEGER, guid TEXT);
CREATE TABLE moz_keywords (id INTEGER PRIMARY KEY AUTOINCREMENT, keyword TEXT UNIQUE, place_id INTEGER,
  post_data TEXT);
CREATE TABLE moz_anno_attributes (id INTEGER PRIMARY KEY, name VARCHAR(32) UNIQUE NOT NULL);
CREATE TABLE moz_annos (id INTEGER PRIMARY KEY, place_id INTEGER NOT NULL, anno_attribute_id INTEGER,
  mime_type VARCHAR(32) DEFAULT NULL, content LONGVARCHAR, flags INTEGER DEFAULT 0,
  expiration INTEGER DEFAULT 0, type INTEGER DEFAULT 0, dateAdded INTEGER DEFAULT 0,
  lastModified INTEGER DEFAULT 0);
CREATE TABLE moz_items_annos (id INTEGER PRIMARY KEY, item_id INTEGER NOT NULL, anno_attribute_id INTEGER,
  mime_type VARCHAR(32) DEFAULT NULL, content LONGVARCHAR, flags INTEGER DEFAULT 0,
  expiration INTEGER DEFAULT 0, type INTEGER DEFAULT 0, dateAdded INTEGER DEFAULT 0,
  lastModified INTEGER DEFAULT 0);
CREATE TABLE moz_favicons (id INTEGER PRIMARY KEY, url LONGVARCHAR UNIQUE, data BLOB, mime_type VARCHAR(32),
  expiration LONG, guid TEXT);
)";

namespace {

struct Connection {
  explicit Connection(const std::string& path, int flags = SQLITE_OPEN_READWRITE) {
    EXPECT_EQ(sqlite3_open_v2(Utf8Path(path).c_str(), &db, flags, nullptr), SQLITE_OK) << path;
  }
  ~Connection() { sqlite3_close(db); }
  void Exec(const std::string& sql) {
    char* error = nullptr;
    EXPECT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error), SQLITE_OK) << (error ? error : "") << sql;
    sqlite3_free(error);
  }
  sqlite3* db = nullptr;
};

}  // namespace

void MakeDatabase(const std::string& path, const std::string& sql, bool wal) {
  Connection c(path, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
  c.Exec(sql);
  if (wal) c.Exec("PRAGMA journal_mode=WAL");
}

void RunSql(const std::string& path, const std::string& sql) { Connection(path).Exec(sql); }

void AddCookies(const std::string& path, bool firefox, const std::string& host, int count) {
  Connection c(path);
  const char* sql = firefox ? "INSERT INTO moz_cookies (name, value, host, path) VALUES ('n' || ?2, 'v', ?1, '/')"
                            : "INSERT INTO cookies VALUES (0, ?1, '', 'n' || ?2, 'v', x'00', '/', 0, 0, 0, 0, 0, 0, "
                              "1, 0, 2, 443, 0, 0)";
  sqlite3_stmt* insert = nullptr;
  ASSERT_EQ(sqlite3_prepare_v2(c.db, sql, -1, &insert, nullptr), SQLITE_OK);
  c.Exec("BEGIN");
  for (int i = 0; i < count; ++i) {
    sqlite3_bind_text64(insert, 1, host.data(), host.size(), SQLITE_TRANSIENT, SQLITE_UTF8);
    sqlite3_bind_int(insert, 2, i);
    EXPECT_EQ(sqlite3_step(insert), SQLITE_DONE);
    sqlite3_reset(insert);
  }
  c.Exec("COMMIT");
  sqlite3_finalize(insert);
}

void FillChromiumCookies(const std::string& path, int cookies, int sites) {
  const std::string n = std::to_string(cookies - 1), m = std::to_string(sites);
  RunSql(path, "WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < " + n +
                   ") INSERT INTO cookies SELECT 13350000000000000 + i, CASE WHEN i % 2 THEN '.' ELSE '' END || "
                   "'site' || (i % " + m + ") || '.example', '', 'name' || i, '', randomblob(80), '/', "
                   "13400000000000000, 1, 1, 13350000000000000, 1, 1, 1, 0, 2, 443, 0, 13350000000000000 FROM n");
}

std::vector<std::string> Rows(const std::string& path, const std::string& sql) {
  // Read-write, so that closing it takes away the -wal and -shm files a reader would leave.
  Connection c(path);
  std::vector<std::string> rows;
  sqlite3_stmt* query = nullptr;
  EXPECT_EQ(sqlite3_prepare_v2(c.db, sql.c_str(), -1, &query, nullptr), SQLITE_OK) << sql;
  while (query && sqlite3_step(query) == SQLITE_ROW) {
    std::string row;
    for (int i = 0; i < sqlite3_column_count(query); ++i) {
      if (i) row += '|';
      const unsigned char* text = sqlite3_column_text(query, i);
      row += text ? std::string(reinterpret_cast<const char*>(text), sqlite3_column_bytes(query, i)) : "NULL";
    }
    rows.push_back(std::move(row));
  }
  sqlite3_finalize(query);
  return rows;
}

int64_t Number(const std::string& path, const std::string& sql) {
  const auto rows = Rows(path, sql);
  return rows.size() == 1 ? std::stoll(rows[0]) : -1;
}

StorePlace PlaceOf(const std::string& path) { return {path, path.substr(0, path.find_last_of('\\') + 1)}; }

std::vector<const TraceItem*> DatabaseItems(TCategoryForm& form) {
  std::vector<const TraceItem*> items;
  for (size_t i = 0; i < form.Traces().Count(); ++i)
    if (form.Traces().Item(i).IsDatabaseRows()) items.push_back(&form.Traces().Item(i));
  return items;
}

std::string FileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

void MakeCrashLeftLog(const std::string& path, const std::string& schema, const std::string& sql) {
  MakeDatabase(path, schema, true);
  Connection c(path);
  // Without a checkpoint, at any time or on closing, the rows stay in the log and the log and
  // its index stay beside the file.
  int off = 0;
  ASSERT_EQ(sqlite3_db_config(c.db, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, &off), SQLITE_OK);
  c.Exec("PRAGMA wal_autocheckpoint=0");
  c.Exec(sql);
}

std::map<std::string, std::string> FolderBytes(const std::string& path) {
  const std::string folder = path.empty() || path.back() == '\\' ? path : path + "\\";
  std::map<std::string, std::string> files;
  WIN32_FIND_DATAA data;
  HANDLE find = FindFirstFileA((folder + "*").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return files;
  do {
    if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) files[data.cFileName] = FileBytes(folder + data.cFileName);
  } while (FindNextFileA(find, &data));
  FindClose(find);
  return files;
}

std::set<std::string> SubfolderNames(const std::string& folder) {
  std::set<std::string> names;
  WIN32_FIND_DATAA data;
  HANDLE find = FindFirstFileA((folder + "*").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return names;
  do {
    const std::string name = data.cFileName;
    if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && name != "." && name != "..") names.insert(name);
  } while (FindNextFileA(find, &data));
  FindClose(find);
  return names;
}

}  // namespace zarn::test
