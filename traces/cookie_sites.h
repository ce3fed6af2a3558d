#pragma once
// A browser's cookies as traces site by site: one item per site of a cookie database, so a
// user who wants to stay signed in to one site unticks that site alone. A site is a host
// without its leading dot: ".example.com" (the cookies of the domain) and "example.com"
// (those of the host alone) are one item.
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

// Every site of the open database with the number of its cookies, sorted by site, byte by
// byte. A host that is not text, or no site at all ("" or "."), is left out. Empty on error.
std::vector<std::pair<std::string, int64_t>> ListCookieSites(Database& db, const CookieTable& table);

// Deletes every cookie of each site, inside the open transaction; false on any error.
bool DeleteCookieSites(Database& db, const CookieTable& table, std::span<const std::string> sites);

bool HasCookieShape(Database& db, const CookieTable& table);
void AddCookieSites(Database& db, TCategoryForm& form, const std::string& path, const CookieTable& table);

// The kind of a cookie database whose file is `fileName`.
template <const CookieTable& table>
constexpr RowsKind CookieSitesKind(const char* fileName, const char* heldBeside = nullptr) {
  return {.fileName = fileName,
          .heldBeside = heldBeside,
          .knownShape = [](Database& db) { return HasCookieShape(db, table); },
          .list = [](Database& db, TCategoryForm& form,
                     const std::string& path) { AddCookieSites(db, form, path, table); },
          .deleteRows = [](Database& db, std::span<const std::string> sites) {
            return DeleteCookieSites(db, table, sites);
          }};
}

}  // namespace zarn
