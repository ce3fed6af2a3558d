#pragma once
// Browser databases made in the tests from the browsers' own schemas, and readers that
// look into them afterwards with SQLite itself.
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "traces/database_guard.h"

namespace zarn {
class TCategoryForm;
struct TraceItem;
}  // namespace zarn

namespace zarn::test {

// The schemas, as the browsers create them (the columns a cleaner reads and a few beside).
extern const char kChromiumCookiesSchema[];
extern const char kFirefoxCookiesSchema[];
extern const char kPlacesSchema[];
extern const char kFaviconsSchema[];
// places.sqlite of Firefox 52 ESR (the last Firefox for XP and Vista): the visited hosts in
// moz_hosts, the icons in moz_favicons of the same file.
extern const char kPlacesEsr52Schema[];

// Creates the database at `path` (in the code page) and runs `sql` in it; `wal` leaves it in
// write-ahead-log mode, as Firefox keeps its files.
void MakeDatabase(const std::string& path, const std::string& sql, bool wal = false);
// Runs `sql` in an existing database.
void RunSql(const std::string& path, const std::string& sql);
// Adds `count` cookies for `host` to a cookie database of either schema.
void AddCookies(const std::string& path, bool firefox, const std::string& host, int count);
// Fills a Chromium cookie database with `cookies` cookies over `sites` sites named
// "site<n>.example", every other one set for the whole domain, of a real cookie's size.
void FillChromiumCookies(const std::string& path, int cookies, int sites);
// Every row `sql` returns, its columns joined by "|", NULL as "NULL".
std::vector<std::string> Rows(const std::string& path, const std::string& sql);
int64_t Number(const std::string& path, const std::string& sql);
// A database file of its own: the checks start at its folder.
StorePlace PlaceOf(const std::string& path);
// The form's items that are rows of a database, in the form's order.
std::vector<const TraceItem*> DatabaseItems(TCategoryForm& form);
// The whole file, to show that it was not changed by one byte.
std::string FileBytes(const std::string& path);
// The names and bytes of the files of a folder (with or without its last backslash), its
// subfolders left out: what a scan must leave as it was.
std::map<std::string, std::string> FolderBytes(const std::string& folder);
// The names of a folder's subfolders.
std::set<std::string> SubfolderNames(const std::string& folder);
// A database at `path` in write-ahead-log mode whose last rows, `sql`, are only in its log,
// with the log and its index (-wal, -shm) beside it, as a browser that crashed leaves them.
void MakeCrashLeftLog(const std::string& path, const std::string& schema, const std::string& sql);

}  // namespace zarn::test
