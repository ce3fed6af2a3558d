#include "categories/opera.h"

#include "res/resource.h"
#include "traces/scan_engine.h"

namespace zarn {
namespace {

const FormTraits kTraits = {
    .caption = "Opera",
    .className = "TOperaForm",
    .title = "Zarn Cleaner - Opera",
    .traceListName = "lvbro",
    .scanButtonName = "operabtn",
    .family = StatusFamily::A,
    .iconId = IDI_CAT_OPERA,
};
const CleanRules kClean = {};

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

// Opera 15 and later are built on Chromium. The profile is the "Opera Stable" folder
// itself or its "Default" folder (versions differ), and Opera GX keeps its own the same
// way; the disk cache lies under the same path in the local folder.
const char* const kTodaysProfiles[] = {
    "\\Opera Software\\Opera Stable",
    "\\Opera Software\\Opera Stable\\Default",
    "\\Opera Software\\Opera GX Stable",
    "\\Opera Software\\Opera GX Stable\\Default",
};

// In each profile: the disk cache, the cookies (newer versions keep them in "Network"),
// the history with what is drawn from it, and the saved tabs. Bookmarks, passwords, form and card
// data, settings and extensions lie beside them in the same folder and are never named.
const FileLocation kTodaysProfile[] = {
    {BaseFolder::LocalAppData, "\\Cache\\", "*.*", 2, Listing::Names, Dots::Skip, nullptr, Depth::Tree},
    {BaseFolder::AppData, "\\Network\\", "Cookies", 3, Listing::Names, Dots::Skip},
    {BaseFolder::AppData, "\\Network\\", "Cookies-journal", 4, Listing::Names, Dots::Skip},
    {BaseFolder::AppData, "\\", "Cookies", 5, Listing::Names, Dots::Skip},
    {BaseFolder::AppData, "\\", "Cookies-journal", 6, Listing::Names, Dots::Skip},
    {BaseFolder::AppData, "\\", "History", 7, Listing::Names, Dots::Skip},
    {BaseFolder::AppData, "\\", "History-journal", 8, Listing::Names, Dots::Skip},
    {BaseFolder::AppData, "\\", "Visited Links", 9, Listing::Names, Dots::Skip},
    {BaseFolder::AppData, "\\", "Top Sites", 10, Listing::Names, Dots::Skip},
    {BaseFolder::AppData, "\\", "Shortcuts", 11, Listing::Names, Dots::Skip},
    {BaseFolder::AppData, "\\Sessions\\", "*.*", 12, Listing::Names, Dots::Skip},
};

const char kInfo[] = "Internet Cache";

}  // namespace

TOperaForm::TOperaForm() : TCategoryForm(kTraits, kClean) {}

CategoryTables TOperaForm::Tables() { return {.files = {{kProfile}, {kTodaysProfile}}}; }

void TOperaForm::Probe() {
  FolderSnapshot folders;
  StageFiles(*this, kProfile, ListBox[1], folders);
  // A running Opera holds its files open without sharing; those stay out of the list.
  AddStagedFiles(*this, ListBox[1], FileFilter::ExistingUnlocked, kInfo);

  ListBox[1].Clear();
  for (const char* profile : kTodaysProfiles)
    StageFiles(*this, LocationsBelow(kTodaysProfile, profile), ListBox[1], folders);
  // The cache's folders are listed too: the existence test leaves them out.
  AddStagedFiles(*this, ListBox[1], FileFilter::ExistingUnlocked, kInfo);
}

std::span<const FileLocation> OperaFiles() { return kProfile; }
std::span<const char* const> OperaTodaysProfileFolders() { return kTodaysProfiles; }
std::span<const FileLocation> OperaTodaysProfile() { return kTodaysProfile; }

}  // namespace zarn
