#pragma once
// A Firefox profile's sites: one item per site holding its cookies (cookies.sqlite) and its
// site data, each store cleaned as Firefox itself forgets a site: the origin folders under
// storage\default and storage\temporary (its IndexedDB, Local Storage, caches and files,
// one folder per origin and partition), renamed out of the way and deleted whole, with
// storage.sqlite's cache of them invalidated as Firefox does; and the rows of the legacy
// webappsstore.sqlite. Nothing of a profile that a running Firefox holds (parent.lock) is
// listed or touched, and the clean holds that lock itself from start to end, so that a
// Firefox starting meanwhile finds its profile in use. Extensions' folders (moz-extension)
// and the browser's own are never items.
#include "categories/site_items.h"

namespace zarn {

class FirefoxSites final : public ProfileSites {
 private:
  std::string ProfileOf(const std::string& location) const override;
  std::span<const SiteStore* const> Stores() const override;
  bool ProfileHeld(const StorePlace& profile) const override;
  bool TakeProfile(const StorePlace& profile, unique_file& hold) const override;
};

extern const FirefoxSites kFirefoxSites;

}  // namespace zarn
