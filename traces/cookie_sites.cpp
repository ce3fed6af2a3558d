#include "traces/cookie_sites.h"

#include <map>

#include "traces/category_form.h"

namespace zarn {
namespace {

// The table and column names are the program's own constants, written as quoted names;
// every host goes in as a bound parameter.
std::string Quoted(const char* name) { return std::string("\"") + name + "\""; }

}  // namespace

std::string CookieCountText(int64_t count) {
  return std::to_string(count) + (count == 1 ? " cookie" : " cookies");
}

bool HasCookieShape(Database& db, const CookieTable& table) {
  return db.HasColumns("main", table.table, {table.hostColumn});
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
    std::string site = hosts.Text(0);
    if (!site.empty() && site[0] == '.') site.erase(0, 1);
    if (!site.empty()) sites[std::move(site)] += hosts.Int(1);
  }
  if (!hosts.Done()) return {};
  return {sites.begin(), sites.end()};
}

void AddCookieSites(Database& db, TCategoryForm& form, const std::string& path, const CookieTable& table) {
  for (auto& [site, count] : ListCookieSites(db, table))
    form.AddDatabaseTrace(path, site, kCookiesInfo, CookieCountText(count));
}

bool DeleteCookieSites(Database& db, const CookieTable& table, std::span<const std::string> sites) {
  const std::string sql =
      "DELETE FROM " + Quoted(table.table) + " WHERE " + Quoted(table.hostColumn) + " IN (?1, ?2)";
  Statement remove(db, sql.c_str());
  for (const std::string& site : sites) {
    remove.Reset();
    if (!remove.Bind(1, site) || !remove.Bind(2, "." + site) || !remove.Run()) return false;
  }
  return remove.Ok();
}

}  // namespace zarn
