#include "categories/cookie_sites.h"

#include <map>
#include <set>

#include "categories/mozilla_profile.h"
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

std::vector<std::pair<std::string, int64_t>> ListCookieSites(Database& db, const CookieTable& table) {
  const std::string host = Quoted(table.hostColumn);
  // Grouped by the stored host, which the browsers index; the hosts of a site are joined
  // here.
  const std::string sql = "SELECT " + host + ", count(*) FROM " + Quoted(table.table) + " WHERE typeof(" + host +
                          ") = 'text' GROUP BY " + host;
  Statement hosts(db, sql.c_str());
  std::map<std::string, int64_t> sites;
  while (hosts.Step()) {
    std::string site = SiteOfHost(hosts.Text(0));
    if (!site.empty()) sites[std::move(site)] += hosts.Int(1);
  }
  if (!hosts.Done()) return {};
  return {sites.begin(), sites.end()};
}

void CookieSites::List(Database& db, ItemSink& sink) const {
  for (auto& [site, count] : ListCookieSites(db, table_)) sink.Add(site, kCookiesInfo, CookieCountText(count));
}

bool DeleteCookieSites(Database& db, const CookieTable& table, std::span<const std::string> sites) {
  const std::set<std::string, std::less<>> doomed(sites.begin(), sites.end());
  const std::string host = Quoted(table.hostColumn), name = Quoted(table.table);
  // The stored hosts are read again inside the transaction, so that a cookie the browser
  // stored since the scan for a host of a ticked site goes too, and each goes by its exact
  // bytes, whatever collation a file declares.
  std::vector<std::string> hosts;
  {
    const std::string sql = "SELECT DISTINCT " + host + " FROM " + name + " WHERE typeof(" + host + ") = 'text'";
    Statement read(db, sql.c_str());
    while (read.Step()) {
      std::string stored = read.Text(0);
      const std::string site = SiteOfHost(stored);
      if (!site.empty() && doomed.count(site)) hosts.push_back(std::move(stored));
    }
    if (!read.Done()) return false;
  }
  const std::string sql = "DELETE FROM " + name + " WHERE " + host + " COLLATE BINARY = ?1";
  Statement remove(db, sql.c_str());
  for (const std::string& stored : hosts) {
    remove.Reset();
    if (!remove.Bind(1, stored) || !remove.Run()) return false;
  }
  return remove.Ok();
}

constinit const CookieSites kChromiumCookies{kChromiumCookieTable};
constinit const CookieSites kFirefoxCookies{kFirefoxCookieTable, kFirefoxProfileLock};

}  // namespace zarn
