#pragma once
// A Chromium profile's sites: one item per site holding its cookies (Network\Cookies, and
// Cookies of older versions) and its site data, each store read and cleaned as the browser
// keeps it: Local Storage and Session Storage key by key (LevelDB, one synced batch; or rows
// of their SQLite form), IndexedDB by the site's origin folders, which are never edited
// (their key order is the browser's own) but renamed out of the way and deleted whole, and
// the quota-managed stores (categories/chromium_quota_sites.h). Extensions' and the
// browser's own data are never items and never touched; a store whose LOCK the browser
// holds, or that does not read as the browser writes it, gives no item and is not cleaned.
#include "categories/site_items.h"

namespace zarn {

class ChromiumSites final : public ProfileSites {
 private:
  std::string ProfileOf(const std::string& location) const override;
  std::span<const SiteStore* const> Stores() const override;
};

extern const ChromiumSites kChromiumSites;

}  // namespace zarn
