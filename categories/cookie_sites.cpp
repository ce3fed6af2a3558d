#include "categories/cookie_sites.h"

#include <map>
#include <set>

#include "categories/firefox_storage.h"
#include "categories/mozilla_profile.h"
#include "categories/web_origin.h"
#include "traces/database_shape.h"
#include "traces/site_rule.h"

namespace zarn {
namespace {

// The table and column names are the program's own constants, written as quoted names;
// every host goes in as a bound parameter.
std::string Quoted(const char* name) { return std::string("\"") + name + "\""; }

}  // namespace

std::string CookieCountText(int64_t count) { return std::to_string(count) + (count == 1 ? " cookie" : " cookies"); }

bool HasCookieShape(Database& db, const CookieTable& table) {
  const TableShape tables[] = {{"main", table.table, {table.hostColumn}, {table.hostColumn}}};
  return HasShape(db, {tables});
}

std::optional<std::string> ChromiumPartitionHost(std::string_view key) {
  if (key.empty()) return std::nullopt;
  const std::optional<WebOrigin> top = ParseWebOrigin(key);
  return top ? top->host : std::string();
}

std::optional<std::string> FirefoxPartitionHost(std::string_view attributes) {
  if (attributes.find("partitionKey=") == std::string_view::npos) return std::nullopt;
  return PartitionKeyHost(attributes).value_or(std::string());
}

namespace {

// The stored host and partition of every distinct pair of the table, with its number of
// cookies, and the site it belongs to; false on error. A file without the partition column
// has no partitioned cookies; a row whose host or partition is not text is no site's.
template <typename Visit>
bool ForEachHost(Database& db, const CookieTable& table, bool partitions, Visit visit) {
  const std::string host = Quoted(table.hostColumn);
  const std::string partition = partitions ? Quoted(table.partitionColumn) : std::string("''");
  // Grouped by the stored host and partition, which Chromium's index orders; the hosts of a
  // site are joined by the caller.
  const std::string sql = "SELECT " + host + ", " + partition + ", count(*) FROM " + Quoted(table.table) +
                          " WHERE typeof(" + host + ") = 'text' AND typeof(" + partition + ") = 'text' GROUP BY " +
                          host + ", " + partition;
  Statement hosts(db, sql.c_str());
  while (hosts.Step()) {
    const std::string stored = hosts.Text(0), storedPartition = hosts.Text(1);
    const std::optional<std::string> top = table.partitionHost(storedPartition);
    const std::string site = SiteOfHost(top ? *top : stored);
    if (!site.empty() && (!top || !top->empty())) visit(stored, storedPartition, site, hosts.Int(2));
  }
  return hosts.Done();
}

bool HasPartitions(Database& db, const CookieTable& table) {
  return db.HasColumns("main", table.table, {table.partitionColumn});
}

}  // namespace

std::vector<std::pair<std::string, int64_t>> ListCookieSites(Database& db, const CookieTable& table) {
  std::map<std::string, int64_t> sites;
  if (!ForEachHost(db, table, HasPartitions(db, table),
                   [&](const std::string&, const std::string&, const std::string& site, int64_t count) {
        sites[site] += count;
      }))
    return {};
  return {sites.begin(), sites.end()};
}

void CookieSites::List(Database& db, ItemSink& sink) const {
  for (auto& [site, count] : ListCookieSites(db, table_)) sink.Add(site, kCookiesInfo, CookieCountText(count));
}

bool DeleteCookieSites(Database& db, const CookieTable& table, std::span<const std::string> sites) {
  const std::set<std::string, std::less<>> doomed(sites.begin(), sites.end());
  // The stored hosts are read again inside the transaction, so that a cookie the browser
  // stored since the scan for a host of a ticked site goes too, and each goes by its exact
  // bytes, whatever collation a file declares.
  std::vector<std::pair<std::string, std::string>> rows;
  const bool partitions = HasPartitions(db, table);
  if (!ForEachHost(db, table, partitions,
                   [&](const std::string& host, const std::string& partition, const std::string& site, int64_t) {
                     if (doomed.count(site)) rows.emplace_back(host, partition);
                   }))
    return false;
  const std::string sql = "DELETE FROM " + Quoted(table.table) + " WHERE " + Quoted(table.hostColumn) +
                          " COLLATE BINARY = ?1" +
                          (partitions ? " AND " + Quoted(table.partitionColumn) + " COLLATE BINARY = ?2" : std::string());
  Statement remove(db, sql.c_str());
  for (const auto& [host, part] : rows) {
    remove.Reset();
    if (!remove.Bind(1, host) || (partitions && !remove.Bind(2, part)) || !remove.Run()) return false;
  }
  return remove.Ok();
}

constinit const CookieSites kChromiumCookies{kChromiumCookieTable};
constinit const CookieSites kFirefoxCookies{kFirefoxCookieTable, kFirefoxProfileLock};

}  // namespace zarn
