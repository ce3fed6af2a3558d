#include "categories/site_items.h"

#include <charconv>

#include "categories/cookie_sites.h"
#include "traces/folder_removal.h"

namespace zarn {

void CookieTally::Add(const std::string& name, const std::string&, std::string size) {
  // The size is the kind's "3 cookies": its number leads.
  int64_t count = 0;
  std::from_chars(size.data(), size.data() + size.size(), count);
  SiteTally& tally = tallies_[name];
  tally.cookies += count;
  if (tally.cookieFile.empty()) tally.cookieFile = file_;
}

std::string SiteSizeText(const SiteTally& tally) {
  if (tally.cookies == 0) return "site data";
  return CookieCountText(tally.cookies) + (tally.data ? ", site data" : "");
}

void ProfileSites::ListItems(const StorePlace& profile, ItemSink& sink) const {
  if (ProfileHeld(profile)) return;
  SiteTallies tallies;
  for (const SiteStore* store : Stores()) store->List(profile, tallies);
  for (const auto& [site, tally] : tallies)
    sink.AddAt(tally.cookies ? tally.cookieFile : profile.path, site, kCookiesInfo, SiteSizeText(tally));
}

bool ProfileSites::DeleteItems(const StorePlace& place, std::span<const std::string> names) const {
  if (names.empty()) return false;
  const StorePlace profile{ProfileOf(place.path), place.base};
  unique_file hold;
  // The profile is looked at again: no link may have taken its place since the scan. Each
  // store looks for links below it.
  if (profile.path.empty() || !RealFolderBelow(profile.base, profile.path) || !TakeProfile(profile, hold))
    return false;
  const std::set<std::string> sites(names.begin(), names.end());
  bool whole = true;
  for (const SiteStore* store : Stores()) whole &= store->Delete(profile, sites);
  return whole;
}

}  // namespace zarn
