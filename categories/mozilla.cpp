#include "categories/mozilla.h"

#include <optional>
#include <string>
#include <vector>

#include "categories/cookie_sites.h"
#include "categories/firefox_profiles.h"
#include "categories/firefox_sites.h"
#include "categories/mozilla_history.h"
#include "categories/mozilla_profile.h"
#include "res/resource.h"
#include "traces/scan_engine.h"

namespace zarn {
namespace {

const FormTraits kTraits = {
    .caption = "Mozilla Firefox",
    .className = "TmozzForm",
    .title = "Zarn Cleaner - Mozilla",
    .scanButtonName = "mozzbtn",
    .family = StatusFamily::A,
    .iconId = IDI_CAT_FIREFOX,
};

// The form history is a database of its own, deleted whole with its journal and log.
const char* const kWholeDatabases[] = {"formhistory.sqlite"};
const CleanRules kClean = {.databases = kWholeDatabases};

// Every folder lies in one profile, base + kProfiles + the profile name + the part below.
const std::string kProfiles = "\\Mozilla\\Firefox\\Profiles\\";

// The disk cache under the local folder, the two history files under the roaming one.
// Each folder is below the profile folder; the scan puts that in front of it.
const FileLocation kProfile[] = {
    {BaseFolder::LocalAppData, "\\Cache\\", "*.*", 2, Listing::Names, Dots::Skip},
    {BaseFolder::AppData, "\\", "history.dat", 3, Listing::Names, Dots::Skip},
    {BaseFolder::AppData, "\\", "formhistory.dat", 4, Listing::Names, Dots::Skip},
};

// Later versions keep the disk cache in "cache2", its entries and the entries being
// removed, and the form history in a database; in the same profile.
const FileLocation kTodaysLocal[] = {
    {BaseFolder::LocalAppData, "\\cache2\\entries\\", "*.*", 5, Listing::Names, Dots::Skip},
    {BaseFolder::LocalAppData, "\\cache2\\doomed\\", "*.*", 6, Listing::Names, Dots::Skip},
};
const FileLocation kTodaysRoaming[] = {
    {BaseFolder::AppData, "\\", "formhistory.sqlite", 7, Listing::Names, Dots::Skip},
};
// The databases whose traces are rows, in the order their items follow the files': the
// cookies site by site, then the history. The files stay, for places.sqlite also holds the
// bookmarks; neither is touched while Firefox uses the profile. The profile's sites
// (kFirefoxSites) read the cookies with the site data, one item per site.
const FileLocation kDatabases[] = {
    AsStore({BaseFolder::AppData, "\\", "cookies.sqlite", 8, Listing::Paths, Dots::Skip}, kFirefoxCookies),
    AsStore({BaseFolder::AppData, "\\", "places.sqlite", 9, Listing::Paths, Dots::Skip}, kFirefoxHistory),
};
constexpr int kDatabaseStaging = 10;

// The Microsoft Store build keeps its roaming and local folders, profiles.ini and
// profiles included, inside its package in the local folder.
const char kStoreRoaming[] = "\\Packages\\Mozilla.Firefox_n80bbvh6b1yt2\\LocalCache\\Roaming";
const char kStoreLocal[] = "\\Packages\\Mozilla.Firefox_n80bbvh6b1yt2\\LocalCache\\Local";

const char kInfo[] = "Internet Cache";

}  // namespace

TmozzForm::TmozzForm() : TCategoryForm(kTraits, kClean) {}

CategoryTables TmozzForm::Tables() {
  return {.files = {{kProfile}, {kTodaysLocal}, {kTodaysRoaming}, {kDatabases, kDatabaseStaging}}};
}

void TmozzForm::Probe() {
  FolderSnapshot folders;
  folders.Get(BaseFolder::LocalAppData);
  const std::string& roaming = folders.Get(BaseFolder::AppData);

  ListBox[1].Clear();
  const std::vector<std::string> names = ReadProfileNames(roaming, ListBox[1]);
  ListBox[1].Clear();
  for (const FileLocation& loc : kProfile) ListBox[loc.workingList].Clear();
  const std::string& local = folders.Get(BaseFolder::LocalAppData);
  const std::vector<std::string> storeNames =
      local.empty() ? std::vector<std::string>() : ReadProfileNames(local + kStoreRoaming, Memo1);
  Memo1.Clear();

  // Each profile's folders below the roaming and the local part, once: the installed
  // build's on each row's own base folder, the store build's inside its package. Every
  // profile that profiles.ini names, the one of its last Path= line first: the one in use
  // need not be the last. Without a profile name the folders would be Profiles\Cache\ and
  // Profiles\, which are no profile's: nothing is looked up at all.
  struct Profile {
    std::string roaming, local;
    std::optional<BaseFolder> base;
    bool olderVersions;  // the installed build also keeps the files of the 2008 versions
  };
  std::vector<Profile> profiles;
  for (const std::string& name : names) profiles.push_back({kProfiles + name, kProfiles + name, std::nullopt, true});
  for (const std::string& name : storeNames)
    profiles.push_back(
        {kStoreRoaming + (kProfiles + name), kStoreLocal + (kProfiles + name), BaseFolder::LocalAppData, false});

  for (const Profile& p : profiles) {
    if (p.olderVersions) StageFiles(*this, LocationsBelow(kProfile, p.local), ListBox[1], folders);
    StageFiles(*this, LocationsBelow(kTodaysLocal, p.local, p.base), ListBox[1], folders);
    StageFiles(*this, LocationsBelow(kTodaysRoaming, p.roaming, p.base), ListBox[1], folders);
  }
  // No existence or lock test here: a file that a running Firefox holds open is listed,
  // and a subfolder of the cache is a trace of its own.
  AddStagedFiles(*this, ListBox[1], FileFilter::None, kInfo);

  // The rows of each profile's databases, in the same order: its sites, then its history.
  for (const Profile& p : profiles) {
    const std::string& root = folders.Get(p.base.value_or(BaseFolder::AppData));
    if (!root.empty() && folders.NoLinkOnTheWay(root, p.roaming + "\\"))
      AddStoreTraces(*this, kFirefoxSites, {root + p.roaming + "\\", root});
    AddStoreItems(*this, LocationsBelow(std::span(kDatabases).subspan(1), p.roaming, p.base),
                  ListBox[kDatabaseStaging], folders, FileFilter::Existing);
  }
}

}  // namespace zarn
