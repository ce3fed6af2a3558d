#include "categories/mozilla.h"

#include <iterator>
#include <string>

#include "categories/mozilla_profile.h"
#include "res/resource.h"
#include "traces/scan_engine.h"

namespace zarn {
namespace {

const FormTraits kTraits = {
    .caption = "Mozilla Firefox",
    .className = "TmozzForm",
    .title = "Zarn Cleaner - Mozilla",
    .traceListName = "lvbro",
    .scanButtonName = "mozzbtn",
    .family = StatusFamily::A,
    .iconId = IDI_CAT_FIREFOX,
};
const CleanRules kClean = {};

// Every folder lies in one profile, base + kProfiles + the profile name + the part below.
const char kProfiles[] = "\\Mozilla\\Firefox\\Profiles\\";

// The disk cache under the local folder, the two history files under the roaming one.
// Each folder is below the profile folder; the scan puts that in front of it.
const FileLocation kProfile[] = {
    {BaseFolder::LocalAppData, "\\Cache\\", "*.*", 2, Listing::Names, Dots::Skip},
    {BaseFolder::AppData, "\\", "history.dat", 3, Listing::Names, Dots::Skip},
    {BaseFolder::AppData, "\\", "formhistory.dat", 4, Listing::Names, Dots::Skip},
};

const char kInfo[] = "Internet Cache";

}  // namespace

TmozzForm::TmozzForm() : TCategoryForm(kTraits, kClean) {}

CategoryTables TmozzForm::Tables() { return {.files = {{kProfile}}}; }

void TmozzForm::Probe() {
  FolderSnapshot folders;
  folders.Get(BaseFolder::LocalAppData);
  const std::string& roaming = folders.Get(BaseFolder::AppData);

  ListBox[1].Clear();
  const std::string profile = ReadProfileName(roaming, ListBox[1]);
  ListBox[1].Clear();
  for (const FileLocation& loc : kProfile) ListBox[loc.workingList].Clear();
  // Without a profile name the folders would be Profiles\\Cache\ and Profiles\\, which
  // are no profile's: nothing is looked up at all.
  if (profile.empty()) return;

  std::string folder[std::size(kProfile)];
  FileLocation locations[std::size(kProfile)];
  for (size_t i = 0; i < std::size(kProfile); ++i) {
    folder[i] = kProfiles + profile + kProfile[i].folder;
    locations[i] = kProfile[i];
    locations[i].folder = folder[i].c_str();
  }
  StageFiles(*this, locations, ListBox[1], folders);
  // No existence or lock test here: a file that a running Firefox holds open is listed,
  // and a subfolder of the cache is a trace of its own.
  AddStagedFiles(*this, ListBox[1], FileFilter::None, kInfo);
}

}  // namespace zarn
