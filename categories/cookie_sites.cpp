#include "categories/cookie_sites.h"

#include <map>

#include "categories/mozilla_profile.h"
#include "traces/database_shape.h"

namespace zarn {
namespace {

// The table and column names are the program's own constants, written as quoted names;
// every host goes in as a bound parameter.
std::string Quoted(const char* name) { return std::string("\"") + name + "\""; }

}  // namespace

std::string CookieCountText(int64_t count) { return std::to_string(count) + (count == 1 ? " cookie" : " cookies"); }

std::string SiteOfHost(const std::string& host) { return !host.empty() && host[0] == '.' ? host.substr(1) : host; }

bool HasCookieShape(Database& db, const CookieTable& table) {
  const TableShape tables[] = {{"main", table.table, {table.hostColumn}, {table.hostColumn}}};
  return HasShape(db, {tables});
}

std::vector<std::pair<std::string, int64_t>> ListCookieSites(Database& db, const CookieTable& table) {
  const std::string host = Quoted(table.hostColumn);
  // Grouped by the stored host, which the browsers index; the two hosts of a site are
  // joined here.
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
  // The hosts SiteOfHost maps to a site: the site with a dot before it, and the site itself
  // unless it begins with a dot (then it is the site of a host with one dot less). Compared
  // byte by byte, whatever collation a file declares.
  const std::string sql =
      "DELETE FROM " + Quoted(table.table) + " WHERE " + Quoted(table.hostColumn) + " COLLATE BINARY IN (?1, ?2)";
  Statement remove(db, sql.c_str());
  for (const std::string& site : sites) {
    if (site.empty()) continue;
    remove.Reset();
    const std::string dotted = "." + site;
    if (!remove.Bind(1, dotted) || !remove.Bind(2, site[0] == '.' ? dotted : site) || !remove.Run()) return false;
  }
  return remove.Ok();
}

constinit const CookieSites kChromiumCookies{kChromiumCookieTable};
constinit const CookieSites kFirefoxCookies{kFirefoxCookieTable, kFirefoxProfileLock};

}  // namespace zarn
