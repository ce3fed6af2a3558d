#include "categories/mozilla_history.h"

#include <windows.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "categories/mozilla_profile.h"
#include "traces/database_shape.h"
#include "traces/probes.h"

namespace zarn {
namespace {

constexpr char kHistoryName[] = "History";
constexpr char kIcons[] = "favicons";
constexpr char kIconsFile[] = "favicons.sqlite";

// The tables the history reads and deletes from, in every Places layout since Firefox 52:
// moz_hosts and moz_favicons in the file until Firefox 55 and 59 moved them (to favicons.sqlite
// and moz_origins), the metadata tables since Firefox 86. The icons file's tables come last.
const TableShape kTables[] = {
    {"main", "moz_places", {"id", "url", "visit_count", "last_visit_date", "frecency"}, {"url"}},
    {"main", "moz_historyvisits", {"id", "place_id"}},
    {"main", "moz_bookmarks", {"fk"}},
    {"main", "moz_keywords", {"place_id"}, {}, true},
    {"main", "moz_inputhistory", {}, {}, true},
    {"main", "moz_places_metadata", {}, {}, true},
    {"main", "moz_places_metadata_search_queries", {}, {}, true},
    {"main", "moz_annos", {"place_id", "anno_attribute_id"}, {}, true},
    {"main", "moz_anno_attributes", {"id", "name"}, {"name"}, true},
    {"main", "moz_origins", {"id"}, {}, true},
    {"main", "moz_hosts", {"id", "host", "typed"}, {}, true},
    {"main", "moz_favicons", {"id"}, {}, true},
    {kIcons, "moz_icons", {"id", "icon_url"}},
    {kIcons, "moz_pages_w_icons", {"id", "page_url"}, {"page_url"}},
    {kIcons, "moz_icons_to_pages", {"page_id", "icon_id"}},
};
constexpr size_t kPlacesTables = 12;

// The side tables that Firefox's own foreign keys empty with the rows they belong to.
const Cascade kCascades[] = {
    {"main", "moz_places_extra", "moz_places"},
    {"main", "moz_historyvisits_extra", "moz_historyvisits"},
    {"main", "moz_places_metadata", "moz_places"},
    {"main", "moz_places_metadata", "moz_places_metadata_search_queries"},
    {kIcons, "moz_icons_to_pages", "moz_pages_w_icons"},
    {kIcons, "moz_icons_to_pages", "moz_icons"},
};

bool HasIcons(Database& db) {
  return QueryNumber(db, "SELECT count(*) FROM pragma_database_list WHERE name = 'favicons'") == 1;
}

bool Has(Database& db, const char* table) { return HasShapeTable(db, "main", table); }

// The icons are part of the history when Firefox keeps them; a file that is there but
// cannot be read is no part to leave out, so the item goes with it.
bool AttachIcons(Database& db, const std::string& path) {
  const std::string icons = LocationOf(path) + kIconsFile;  // beside places.sqlite
  if (GetFileAttributesA(icons.c_str()) == INVALID_FILE_ATTRIBUTES) return true;
  return db.Attach(icons, kIcons);
}

bool KnownShape(Database& db) {
  const bool icons = HasIcons(db);
  const std::span<const TableShape> tables = icons ? std::span(kTables) : std::span(kTables).first(kPlacesTables);
  if (!HasShape(db, {tables, kCascades})) return false;
  // An icon of the file is kept by the place that names it.
  if (Has(db, "moz_favicons") && !db.HasColumns("main", "moz_places", {"favicon_id"})) return false;
  return !icons || db.QuickCheck(kIcons);
}

// The places a bookmark or a keyword keeps (a tag is a bookmark too), and any place that
// Firefox counts as held by one.
std::string KeptPlaces(Database& db) {
  std::string kept = "id IN (SELECT fk FROM moz_bookmarks WHERE fk IS NOT NULL)";
  if (Has(db, "moz_keywords")) kept += " OR id IN (SELECT place_id FROM moz_keywords WHERE place_id IS NOT NULL)";
  if (db.HasColumns("main", "moz_places", {"foreign_count"})) kept += " OR foreign_count > 0";
  return kept;
}

constexpr char kBookmarkedUrls[] =
    "SELECT url FROM main.moz_places WHERE id IN (SELECT fk FROM main.moz_bookmarks WHERE fk IS NOT NULL)";

std::string VisitCountText(int64_t count) { return std::to_string(count) + (count == 1 ? " visit" : " visits"); }

// The hosts of the kept places as moz_hosts names them: the host of the reversed host Firefox
// stores ("moc.elpmaxe.www." for www.example.com), and the same without "www.", which
// Firefox leaves out there.
std::set<std::string> KeptHosts(Database& db) {
  std::set<std::string> hosts;
  if (!db.HasColumns("main", "moz_places", {"rev_host"})) return hosts;
  const std::string sql = "SELECT rev_host FROM moz_places WHERE rev_host IS NOT NULL AND (" + KeptPlaces(db) + ")";
  Statement kept(db, sql.c_str());
  while (kept.Step()) {
    std::string host = kept.Text(0);
    std::reverse(host.begin(), host.end());
    if (!host.empty() && host[0] == '.') host.erase(0, 1);
    hosts.insert(host);
    if (host.rfind("www.", 0) == 0) hosts.insert(host.substr(4));
  }
  return hosts;
}

// The rows of moz_hosts (Firefox before 59: every host visited) that no kept place is on.
std::vector<int64_t> UnkeptHosts(Database& db) {
  std::vector<int64_t> ids;
  if (!Has(db, "moz_hosts")) return ids;
  const std::set<std::string> kept = KeptHosts(db);
  Statement hosts(db, "SELECT id, host FROM moz_hosts");
  while (hosts.Step())
    if (!kept.count(hosts.Text(1))) ids.push_back(hosts.Int(0));
  if (!hosts.Done()) ids.assign(1, -1);
  return ids;
}

void ListHistory(Database& db, ItemSink& sink) {
  const int64_t visits = QueryNumber(db, "SELECT count(*) FROM moz_historyvisits");
  const std::string places = "SELECT count(*) FROM moz_places WHERE NOT (" + KeptPlaces(db) + ")";
  const int64_t unkept = QueryNumber(db, places.c_str());
  int64_t typed = 0;
  if (Has(db, "moz_inputhistory")) typed = QueryNumber(db, "SELECT count(*) FROM moz_inputhistory");
  if (db.HasColumns("main", "moz_places", {"typed"}) && typed >= 0) {
    const int64_t flagged = QueryNumber(db, "SELECT count(*) FROM moz_places WHERE typed != 0");
    typed = flagged < 0 ? -1 : typed + flagged;
  }
  const std::vector<int64_t> hosts = UnkeptHosts(db);
  if (visits < 0 || unkept < 0 || typed < 0 || (hosts.size() == 1 && hosts[0] < 0)) return;
  if (visits + unkept + typed + static_cast<int64_t>(hosts.size()) == 0) return;
  sink.Add(kHistoryName, kHistoryName, VisitCountText(visits));
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

// The hosts of older Firefox: those of no kept place go, the kept ones lose their typed flag
// and their frecency, as the kept places do.
bool DeleteHosts(Database& db) {
  if (!Has(db, "moz_hosts")) return true;
  const std::vector<int64_t> unkept = UnkeptHosts(db);
  Statement remove(db, "DELETE FROM moz_hosts WHERE id = ?1");
  for (int64_t id : unkept) {
    remove.Reset();
    if (id < 0 || !remove.Bind(1, id) || !remove.Run()) return false;
  }
  std::string reset = "UPDATE moz_hosts SET typed = 0";
  if (db.HasColumns("main", "moz_hosts", {"frecency"})) reset += ", frecency = -1";
  return remove.Ok() && db.Exec(reset.c_str());
}

bool DeleteHistory(Database& db, std::span<const std::string> names) {
  if (names.size() != 1 || names[0] != kHistoryName) return false;
  const std::string kept = KeptPlaces(db);
  std::vector<std::string> steps = {"DELETE FROM moz_historyvisits"};
  // The side tables of newer versions, each where the file has it.
  for (const char* table : {"moz_inputhistory", "moz_places_metadata", "moz_places_metadata_search_queries"})
    if (Has(db, table)) steps.push_back(std::string("DELETE FROM ") + table);
  steps.push_back("DELETE FROM moz_places WHERE NOT (" + kept + ")");
  std::string reset = "UPDATE moz_places SET visit_count = 0, last_visit_date = NULL, frecency = -1";
  // A kept place was typed no more than visited.
  if (db.HasColumns("main", "moz_places", {"typed"})) reset += ", typed = 0";
  // Firefox works the frecency of a marked place out again.
  if (db.HasColumns("main", "moz_places", {"recalc_frecency"})) reset += ", recalc_frecency = 1";
  steps.push_back(reset);
  if (Has(db, "moz_annos")) {
    steps.push_back("DELETE FROM moz_annos WHERE place_id NOT IN (SELECT id FROM moz_places)");
    // Where a download was saved is history of the page, kept or not.
    if (Has(db, "moz_anno_attributes"))
      steps.push_back(
          "DELETE FROM moz_annos WHERE anno_attribute_id IN (SELECT id FROM moz_anno_attributes "
          "WHERE substr(name, 1, 10) = 'downloads/')");
  }
  if (Has(db, "moz_origins") && db.HasColumns("main", "moz_places", {"origin_id"}))
    steps.push_back(
        "DELETE FROM moz_origins WHERE id NOT IN (SELECT origin_id FROM moz_places WHERE origin_id IS NOT NULL)");
  // The icons of Firefox before 55, in this file: those of no kept place.
  if (Has(db, "moz_favicons"))
    steps.push_back(
        "DELETE FROM moz_favicons WHERE id NOT IN (SELECT favicon_id FROM moz_places WHERE favicon_id IS NOT NULL)");
  for (const std::string& step : steps)
    if (!db.Exec(step.c_str())) return false;
  return DeleteHosts(db) && (!HasIcons(db) || DeleteIcons(db));
}

}  // namespace

const char* FirefoxHistory::HeldBeside() const { return kFirefoxProfileLock; }
bool FirefoxHistory::Attach(Database& db, const std::string& path) const { return AttachIcons(db, path); }
bool FirefoxHistory::Usable(Database& db) const { return KnownShape(db); }
void FirefoxHistory::List(Database& db, ItemSink& sink) const { ListHistory(db, sink); }
bool FirefoxHistory::Delete(Database& db, std::span<const std::string> names) const { return DeleteHistory(db, names); }

constinit const FirefoxHistory kFirefoxHistory{};

}  // namespace zarn
