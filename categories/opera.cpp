#include "categories/opera.h"

#include "categories/chromium_profile.h"
#include "res/resource.h"
#include "traces/scan_engine.h"

namespace zarn {
namespace {

const FormTraits kTraits = {
    .caption = "Opera",
    .className = "TOperaForm",
    .title = "Zarn Cleaner - Opera",
    .scanButtonName = "operabtn",
    .family = StatusFamily::A,
    .iconId = IDI_CAT_OPERA,
};

// The profile folder of Opera 9: cookies, the plain files of the disk cache, four data
// files and the saved session, in this order. Every listing is flat.
const FileLocation kProfile[] = {
    {BaseFolder::AppData, "\\Opera\\Opera\\profile\\", "cookies*.dat", 2, Listing::Names, Dots::Keep},
    {BaseFolder::AppData, "\\Opera\\Opera\\profile\\cache4\\", "*.*", 3, Listing::Names, Dots::Skip},
    {BaseFolder::AppData, "\\Opera\\Opera\\profile\\", "global.dat", 4, Listing::Names, Dots::Keep},
    {BaseFolder::AppData, "\\Opera\\Opera\\profile\\", "opera.dir", 5, Listing::Names, Dots::Keep},
    {BaseFolder::AppData, "\\Opera\\Opera\\profile\\", "download.dat", 6, Listing::Names, Dots::Keep},
    {BaseFolder::AppData, "\\Opera\\Opera\\profile\\", "vlink4.dat", 7, Listing::Names, Dots::Keep},
    {BaseFolder::AppData, "\\Opera\\Opera\\profile\\sessions\\", "autosave.win", 8, Listing::Names, Dots::Keep},
};

// Opera 15 and later are built on Chromium and lay out each profile as Chrome does, below
// the roaming folder with the disk cache below the local one. The profile is the "Opera
// Stable" folder itself or its "Default" folder (versions differ), and Opera GX keeps its
// own the same way.
const char* const kTodaysProfiles[] = {
    "\\Opera Software\\Opera Stable",
    "\\Opera Software\\Opera Stable\\Default",
    "\\Opera Software\\Opera GX Stable",
    "\\Opera Software\\Opera GX Stable\\Default",
};

const char kInfo[] = "Internet Cache";

}  // namespace

TOperaForm::TOperaForm() : TCategoryForm(kTraits, ChromiumCleanRules()) {}

CategoryTables TOperaForm::Tables() {
  CategoryTables tables{.files = {{kProfile}}};
  for (const FileTable& table : ChromiumProfileTables()) tables.files.push_back(table);
  return tables;
}

void TOperaForm::Probe() {
  FolderSnapshot folders;
  StageFiles(*this, kProfile, ListBox[1], folders);
  // A running Opera holds its files open without sharing; those stay out of the list.
  AddStagedFiles(*this, ListBox[1], FileFilter::ExistingUnlocked, kInfo);
  for (const char* profile : kTodaysProfiles) ProbeChromiumProfile(*this, folders, profile);
}

std::span<const FileLocation> OperaFiles() { return kProfile; }
std::span<const char* const> OperaTodaysProfileFolders() { return kTodaysProfiles; }

}  // namespace zarn
