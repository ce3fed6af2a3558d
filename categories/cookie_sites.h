#pragma once
// A browser's cookies as traces site by site: one item per site of a cookie database, so a
// user who wants to stay signed in to one site unticks that site alone. A site is what the
// browsers group a user's data by (traces/site_rule.h): ".example.com", "example.com" and
// "mail.example.com" are one item. That one rule says which item a stored host belongs to;
// the listing builds the items with it and the clean deletes exactly the rows whose host it
// maps to a ticked item, read again inside the clean's transaction. Chromium's and Firefox's
// cookie databases differ in their table alone.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "traces/database_rows.h"

namespace zarn {

// The table that holds one row per cookie, its column with the cookie's host, and the column
// that names the top-level site a partitioned cookie was set under (a browser of the years
// before partitioning has none): such a cookie is the top-level site's.
struct CookieTable {
  const char* table;
  const char* hostColumn;
  const char* partitionColumn;
  // The host of the top-level site the stored partition names; nothing for "" (no
  // partition), empty for a partition that does not parse (the cookie is no site's).
  std::optional<std::string> (*partitionHost)(std::string_view stored);
};

std::optional<std::string> ChromiumPartitionHost(std::string_view topFrameSiteKey);
std::optional<std::string> FirefoxPartitionHost(std::string_view originAttributes);

inline constexpr CookieTable kChromiumCookieTable = {"cookies", "host_key", "top_frame_site_key",
                                                     ChromiumPartitionHost};
inline constexpr CookieTable kFirefoxCookieTable = {"moz_cookies", "host", "originAttributes", FirefoxPartitionHost};

// The Info text of a cookie site.
inline constexpr char kCookiesInfo[] = "Cookies";

// "1 cookie", "3 cookies".
std::string CookieCountText(int64_t count);

// Every site of the open database with the number of its cookies, sorted by site, byte by
// byte. A host that is not text, or of no site at all ("" or "."), is left out. Empty on error.
std::vector<std::pair<std::string, int64_t>> ListCookieSites(Database& db, const CookieTable& table);

// Deletes every cookie whose host belongs to one of the sites, inside the open transaction,
// the cookies stored since the scan included; false on any error.
bool DeleteCookieSites(Database& db, const CookieTable& table, std::span<const std::string> sites);

bool HasCookieShape(Database& db, const CookieTable& table);

// A cookie database: one item per site, its Info "Cookies", its size the number of cookies.
class CookieSites final : public DatabaseKind {
 public:
  // `heldBeside`: what the browser holds without sharing beside the file while it runs, when
  // it does not hold the file itself.
  constexpr CookieSites(CookieTable table, const char* heldBeside = nullptr) : table_(table), heldBeside_(heldBeside) {}

 private:
  const char* HeldBeside() const override { return heldBeside_; }
  bool Usable(Database& db) const override { return HasCookieShape(db, table_); }
  void List(Database& db, ItemSink& sink) const override;
  bool Delete(Database& db, std::span<const std::string> sites) const override {
    return DeleteCookieSites(db, table_, sites);
  }

  CookieTable table_;
  const char* heldBeside_;
};

// Chromium's cookie store (Cookies, and Network\Cookies since 2021), which a running browser
// holds without sharing; Firefox's cookies.sqlite, whose profile a running Firefox holds.
extern const CookieSites kChromiumCookies;
extern const CookieSites kFirefoxCookies;

}  // namespace zarn
