#include "categories/mozilla_history.h"

#include <windows.h>

#include <set>
#include <string>
#include <vector>

#include "traces/category_form.h"
#include "traces/probes.h"

namespace zarn {
namespace {

constexpr char kHistoryName[] = "History";
constexpr char kIcons[] = "favicons";
constexpr char kIconsFile[] = "favicons.sqlite";

bool HasIcons(Database& db) {
  return QueryNumber(db, "SELECT count(*) FROM pragma_database_list WHERE name = 'favicons'") == 1;
}

// The icons are part of the history when Firefox keeps them; a file that is there but
// cannot be read is no part to leave out, so the item goes with it.
bool AttachIcons(Database& db, const std::string& path) {
  const std::string icons = LocationOf(path) + kIconsFile;  // beside places.sqlite
  if (GetFileAttributesA(icons.c_str()) == INVALID_FILE_ATTRIBUTES) return true;
  return db.Attach(icons, kIcons);
}

bool KnownShape(Database& db) {
  if (!db.HasColumns("main", "moz_places", {"id", "url", "visit_count", "last_visit_date", "frecency"}) ||
      !db.HasColumns("main", "moz_historyvisits", {"id", "place_id"}) ||
      !db.HasColumns("main", "moz_bookmarks", {"fk"}))
    return false;
  if (!HasIcons(db)) return true;
  return db.HasColumns(kIcons, "moz_icons", {"id", "icon_url"}) &&
         db.HasColumns(kIcons, "moz_pages_w_icons", {"id", "page_url"}) &&
         db.HasColumns(kIcons, "moz_icons_to_pages", {"page_id", "icon_id"}) && db.QuickCheck(kIcons);
}

// The places a bookmark or a keyword keeps (a tag is a bookmark too), and any place that
// Firefox counts as held by one.
std::string KeptPlaces(Database& db) {
  std::string kept = "id IN (SELECT fk FROM moz_bookmarks WHERE fk IS NOT NULL)";
  if (db.HasColumns("main", "moz_keywords", {"place_id"}))
    kept += " OR id IN (SELECT place_id FROM moz_keywords WHERE place_id IS NOT NULL)";
  if (db.HasColumns("main", "moz_places", {"foreign_count"})) kept += " OR foreign_count > 0";
  return kept;
}

constexpr char kBookmarkedUrls[] =
    "SELECT url FROM main.moz_places WHERE id IN (SELECT fk FROM main.moz_bookmarks WHERE fk IS NOT NULL)";

std::string VisitCountText(int64_t count) { return std::to_string(count) + (count == 1 ? " visit" : " visits"); }

void List(Database& db, TCategoryForm& form, const std::string& path) {
  const int64_t visits = QueryNumber(db, "SELECT count(*) FROM moz_historyvisits");
  const std::string places = "SELECT count(*) FROM moz_places WHERE NOT (" + KeptPlaces(db) + ")";
  const int64_t unkept = QueryNumber(db, places.c_str());
  int64_t typed = 0;
  if (db.HasTable("main", "moz_inputhistory")) typed = QueryNumber(db, "SELECT count(*) FROM moz_inputhistory");
  if (visits < 0 || unkept < 0 || typed < 0 || visits + unkept + typed == 0) return;
  form.AddDatabaseTrace(path, kHistoryName, kHistoryName, VisitCountText(visits));
}

// "https://example.com:8080" of "https://example.com:8080/a/b?c"; empty without a scheme.
std::string OriginOf(const std::string& url) {
  const size_t scheme = url.find("://");
  if (scheme == std::string::npos) return {};
  const size_t end = url.find_first_of("/?#", scheme + 3);
  return url.substr(0, end);
}

// Pages no bookmark points to lose their icons; an icon that no page uses any more goes
// too, but for one of a bookmarked site (its root icon serves every page of the site).
bool DeleteIcons(Database& db) {
  const std::string pages = std::string("DELETE FROM favicons.moz_pages_w_icons WHERE page_url NOT IN (") +
                            kBookmarkedUrls + ")";
  if (!db.Exec(pages.c_str()) ||
      !db.Exec("DELETE FROM favicons.moz_icons_to_pages WHERE page_id NOT IN "
               "(SELECT id FROM favicons.moz_pages_w_icons)"))
    return false;
  std::set<std::string> sites;
  Statement bookmarked(db, kBookmarkedUrls);
  while (bookmarked.Step())
    if (std::string origin = OriginOf(bookmarked.Text(0)); !origin.empty()) sites.insert(origin);
  if (!bookmarked.Done()) return false;
  std::vector<int64_t> unused;
  Statement icons(db,
                  "SELECT id, icon_url FROM favicons.moz_icons WHERE id NOT IN "
                  "(SELECT icon_id FROM favicons.moz_icons_to_pages)");
  while (icons.Step())
    if (!sites.count(OriginOf(icons.Text(1)))) unused.push_back(icons.Int(0));
  if (!icons.Done()) return false;
  Statement remove(db, "DELETE FROM favicons.moz_icons WHERE id = ?1");
  for (int64_t id : unused) {
    remove.Reset();
    if (!remove.Bind(1, id) || !remove.Run()) return false;
  }
  return remove.Ok();
}

bool DeleteRows(Database& db, std::span<const std::string> names) {
  if (names.size() != 1 || names[0] != kHistoryName) return false;
  const std::string kept = KeptPlaces(db);
  std::vector<std::string> steps = {"DELETE FROM moz_historyvisits"};
  // The side tables of newer versions, each where the file has it.
  for (const char* table : {"moz_inputhistory", "moz_places_metadata", "moz_places_metadata_search_queries"})
    if (db.HasTable("main", table)) steps.push_back(std::string("DELETE FROM ") + table);
  steps.push_back("DELETE FROM moz_places WHERE NOT (" + kept + ")");
  std::string reset = "UPDATE moz_places SET visit_count = 0, last_visit_date = NULL, frecency = -1";
  // Firefox works the frecency of a marked place out again.
  if (db.HasColumns("main", "moz_places", {"recalc_frecency"})) reset += ", recalc_frecency = 1";
  steps.push_back(reset);
  if (db.HasColumns("main", "moz_annos", {"place_id"}))
    steps.push_back("DELETE FROM moz_annos WHERE place_id NOT IN (SELECT id FROM moz_places)");
  if (db.HasColumns("main", "moz_origins", {"id"}) && db.HasColumns("main", "moz_places", {"origin_id"}))
    steps.push_back(
        "DELETE FROM moz_origins WHERE id NOT IN (SELECT origin_id FROM moz_places WHERE origin_id IS NOT NULL)");
  for (const std::string& step : steps)
    if (!db.Exec(step.c_str())) return false;
  return !HasIcons(db) || DeleteIcons(db);
}

}  // namespace

const RowsKind kFirefoxHistory = {.fileName = "places.sqlite",
                                  .heldBeside = kFirefoxProfileLock,
                                  .foreignKeys = true,
                                  .attach = AttachIcons,
                                  .knownShape = KnownShape,
                                  .list = List,
                                  .deleteRows = DeleteRows};

}  // namespace zarn
