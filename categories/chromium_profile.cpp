#include "categories/chromium_profile.h"

#include "categories/chromium_profile_order.h"
#include "categories/chromium_sites.h"
#include "categories/cookie_sites.h"
#include "traces/category_form.h"
#include "traces/probes.h"

namespace zarn {
namespace {

constexpr int kStaging = 1;

// Per profile: the disk caches, then the cookie databases, then history and sessions.
// Cache files moved to Cache\Cache_Data\ and cookies to Network\ in 2021; older versions,
// and the builds for other systems, keep the old places. A browser that keeps its profile
// in the roaming folder keeps the disk cache under the same path in the local one; the
// other caches and the databases lie in the profile itself. Bookmarks, passwords, form and
// card data, settings and extensions lie beside them and are never named.
constexpr BaseFolder kLocal = BaseFolder::LocalAppData, kProfile = BaseFolder::AppData;
const FileLocation kCaches[] = {
    {kLocal, "\\Cache\\Cache_Data\\", "*", 2, Listing::Paths, Dots::Skip},
    {kLocal, "\\Cache\\", "*", 3, Listing::Paths, Dots::Skip},
    {kProfile, "\\Code Cache\\", "*", 4, Listing::Paths, Dots::Skip, nullptr, Depth::Tree},
    {kProfile, "\\GPUCache\\", "*", 5, Listing::Paths, Dots::Skip},
};
// The cookies are rows of their database; the database itself stays. The profile's sites
// (kChromiumSites) read these databases with the site data, one item per site.
const FileLocation kCookies[] = {
    AsStore({kProfile, "\\Network\\", "Cookies", 2, Listing::Paths, Dots::Skip}, kChromiumCookies),
    AsStore({kProfile, "\\", "Cookies", 3, Listing::Paths, Dots::Skip}, kChromiumCookies),
};
const FileLocation kHistory[] = {
    {kProfile, "\\", "History", 2, Listing::Paths, Dots::Skip},
    {kProfile, "\\", "Visited Links", 3, Listing::Paths, Dots::Skip},
    {kProfile, "\\", "Top Sites", 4, Listing::Paths, Dots::Skip},
    {kProfile, "\\", "Shortcuts", 5, Listing::Paths, Dots::Skip},
    // The open windows and tabs; whatever else a browser keeps there (named sessions a user
    // saved, say) is not a trace.
    {kProfile, "\\Sessions\\", "Session_*", 6, Listing::Paths, Dots::Skip},
    {kProfile, "\\Sessions\\", "Tabs_*", 7, Listing::Paths, Dots::Skip},
};

// The SQLite databases among the files. A database's rollback journal is no trace of its
// own: it goes with its database, and stays with one the user keeps.
const char* const kDatabases[] = {"History", "Top Sites", "Shortcuts"};

const CleanRules kClean = {.databases = kDatabases};

// Caches are rebuilt by the browser and may be listed while it runs; the databases are
// held open by a running browser and are only listed when it has let go of them (the cookie
// database's own checks tell). The existence test leaves out the folders a listing returns.
const ProfilePart kParts[] = {
    {kCaches, FileFilter::Existing, "Internet Cache"},
    {kCookies, FileFilter::Existing, kCookiesInfo},
    {kHistory, FileFilter::ExistingUnlocked, "History"},
};

}  // namespace

std::span<const ProfilePart> ChromiumProfileParts() { return kParts; }

const CleanRules& ChromiumCleanRules() { return kClean; }

std::vector<FileTable> ChromiumProfileTables() {
  std::vector<FileTable> tables;
  for (const ProfilePart& part : kParts) tables.push_back({part.rows, kStaging});
  return tables;
}

void ProbeChromiumProfile(TCategoryForm& form, FolderSnapshot& folders, const std::string& below,
                          std::optional<BaseFolder> base) {
  TextList& staging = form.ListBox[kStaging];
  for (const ProfilePart& part : kParts) {
    if (part.rows.front().store) {
      // One item per site of the profile, its cookies and site data together.
      const BaseFolder on = base.value_or(kProfile);
      const std::string& root = folders.Get(on);
      if (!root.empty() && folders.NoLinkOnTheWay(root, below + "\\"))
        AddStoreTraces(form, kChromiumSites, {root + below + "\\", root});
      continue;
    }
    const LocationsBelow rows(part.rows, below, base);
    staging.Clear();
    StageFiles(form, rows, staging, folders);
    AddStagedFiles(form, staging, part.filter, part.info);
  }
}

void ProbeChromiumProfiles(TCategoryForm& form, const std::string& userData) {
  FolderSnapshot folders;
  // Without the base folder the User Data folder would be looked for at the drive root.
  const std::string& local = folders.Get(BaseFolder::LocalAppData);
  if (local.empty() || !folders.NoLinkOnTheWay(local, userData)) return;
  TextList& listed = form.Memo1;
  ListRealSubfolders(listed, local + userData);
  std::vector<std::string> names;
  for (size_t i = 0; i < listed.Count(); ++i) names.emplace_back(listed.Text(i));
  for (const std::string& profile : ChromiumProfileOrder(std::move(names)))
    ProbeChromiumProfile(form, folders, userData + profile, BaseFolder::LocalAppData);
}

}  // namespace zarn
