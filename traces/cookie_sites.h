#pragma once
// A browser's cookies as traces site by site: one item per site of a cookie database, so a
// user who wants to stay signed in to one site unticks that site alone. A site is a host
// without its leading dot: ".example.com" (the cookies of the domain) and "example.com"
// (those of the host alone) are one item. One rule (SiteOfHost) says which item a stored
// host belongs to; the listing builds the items with it and the clean deletes exactly the
// rows whose host it maps to a ticked item.
#include <cstdint>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "traces/database_rows.h"

namespace zarn {

// The table that holds one row per cookie, and its column with the cookie's host.
struct CookieTable {
  const char* table;
  const char* hostColumn;
};

inline constexpr CookieTable kChromiumCookieTable = {"cookies", "host_key"};
inline constexpr CookieTable kFirefoxCookieTable = {"moz_cookies", "host"};

// The Info text of a cookie site.
inline constexpr char kCookiesInfo[] = "Cookies";

// "1 cookie", "3 cookies".
std::string CookieCountText(int64_t count);

// The site a stored host belongs to: the host without one leading dot; empty (no site) for
// "" and ".".
std::string SiteOfHost(const std::string& host);

// Every site of the open database with the number of its cookies, sorted by site, byte by
// byte. A host that is not text, or no site at all ("" or "."), is left out. Empty on error.
std::vector<std::pair<std::string, int64_t>> ListCookieSites(Database& db, const CookieTable& table);

// Deletes every cookie whose host belongs to one of the sites, inside the open transaction;
// false on any error.
bool DeleteCookieSites(Database& db, const CookieTable& table, std::span<const std::string> sites);

bool HasCookieShape(Database& db, const CookieTable& table);
void AddCookieSites(Database& db, RowsSink& sink, const CookieTable& table);

// The kind of a cookie database whose file is `fileName`.
template <const CookieTable& table>
constexpr RowsKind CookieSitesKind(const char* fileName, const char* heldBeside = nullptr) {
  return {.fileName = fileName,
          .heldBeside = heldBeside,
          .knownShape = [](Database& db) { return HasCookieShape(db, table); },
          .list = [](Database& db, RowsSink& sink) { AddCookieSites(db, sink, table); },
          .deleteRows = [](Database& db, std::span<const std::string> sites) {
            return DeleteCookieSites(db, table, sites);
          }};
}

}  // namespace zarn
