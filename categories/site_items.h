#pragma once
// A browser profile's sites as items: one per site, holding the site's cookies and its site
// data from every store of the profile. Each store is a small class that says which sites it
// holds and deletes some sites' data by the store's own method; a browser's kind of item
// (categories/chromium_sites.h, categories/firefox_sites.h) is its list of stores.
#include <cstdint>
#include <map>
#include <set>
#include <span>
#include <string>
#include <utility>

#include "traces/database_guard.h"
#include "traces/handles.h"
#include "traces/store_kind.h"

namespace zarn {

// What one site holds in a profile.
struct SiteTally {
  int64_t cookies = 0;
  std::string cookieFile;  // the cookie database that holds the first of them
  bool data = false;       // site data in any other store
};
using SiteTallies = std::map<std::string, SiteTally>;

// One store of a profile's site data. `profile` is the profile folder (ending in a backslash)
// and the base folder its scan started from; the profile has been found a real folder below
// that base, with no link on the way, and each store looks for links below the profile.
class SiteStore {
 public:
  // Marks the sites whose data the store holds; none when the store is not there, cannot be
  // read as the browser writes it, lies behind a link or is held by a running browser.
  // Writes nothing.
  virtual void List(const StorePlace& profile, SiteTallies& tallies) const = 0;
  // Deletes the sites' data from the store, whole or not at all per store; true when nothing
  // of it was left behind (a store that is not there has nothing to delete).
  virtual bool Delete(const StorePlace& profile, const std::set<std::string>& sites) const = 0;

 protected:
  ~SiteStore() = default;
};

// The sites of one cookie database, as its kind (CookieSites) lists them into a sink: each
// site's cookies added to its tally, the first database that holds any its cookie file.
class CookieTally final : public ItemSink {
 public:
  CookieTally(SiteTallies& tallies, const std::string& file) : tallies_(tallies), file_(file) {}
  void Add(const std::string& name, const std::string& info, std::string size) override;
  void AddAt(const std::string&, const std::string& name, const std::string& info, std::string size) override {
    Add(name, info, std::move(size));
  }

 private:
  SiteTallies& tallies_;
  const std::string& file_;
};

// "3 cookies", "3 cookies, site data", "site data".
std::string SiteSizeText(const SiteTally& tally);

// A browser's sites of one profile: the kind lists the cookie databases and every store into
// one tally, and gives each site one item, sorted by site: its Location is the cookie database
// when it has cookies, or else the profile folder. A clean deletes the ticked sites from every
// store of the profile the item's Location belongs to.
class ProfileSites : public StoreKind {
 public:
  void ListItems(const StorePlace& profile, ItemSink& sink) const final;
  bool DeleteItems(const StorePlace& place, std::span<const std::string> names) const final;

 protected:
  ~ProfileSites() = default;
  // The profile folder of an item's Location: itself, or the folder a cookie database lies in.
  virtual std::string ProfileOf(const std::string& location) const = 0;
  // The cookie databases first, then the other stores, in the order a clean takes them.
  virtual std::span<const SiteStore* const> Stores() const = 0;
  // True when the profile is in use as a whole (Firefox's parent.lock): no store of it is
  // listed or cleaned.
  virtual bool ProfileHeld(const StorePlace&) const { return false; }
  // Takes the profile for the clean, as the browser takes it when it starts, so that one
  // starting meanwhile finds it in use; false when the browser holds it.
  virtual bool TakeProfile(const StorePlace&, unique_file&) const { return true; }
};

}  // namespace zarn
