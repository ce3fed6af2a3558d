#include "categories/safari.h"

#include "res/resource.h"
#include "traces/scan_engine.h"

namespace zarn {
namespace {

const FormTraits kTraits = {
    .caption = "Safari",
    .className = "TSafariForm",
    .title = "Zarn Cleaner - Safari",
    .scanButtonName = "safaribtn",
    .family = StatusFamily::A,
    .iconId = IDI_CAT_SAFARI,
};
const CleanRules kClean = {.everyItemIsFile = true};

// Five fixed files: the cache database under the local folder, history, downloads,
// cookies and saved form values under the roaming folder.
const FileLocation kFiles[] = {
    {BaseFolder::LocalAppData, "\\Apple Computer\\Safari\\", "Cache.db", 2, Listing::Names, Dots::Keep},
    {BaseFolder::AppData, "\\Apple Computer\\Safari\\", "History.plist", 3, Listing::Names, Dots::Keep},
    {BaseFolder::AppData, "\\Apple Computer\\Safari\\", "Downloads.plist", 4, Listing::Names, Dots::Keep},
    {BaseFolder::AppData, "\\Apple Computer\\Safari\\Cookies\\", "Cookies.plist", 5, Listing::Names, Dots::Keep},
    {BaseFolder::AppData, "\\Apple Computer\\Safari\\", "Form Values.plist", 6, Listing::Names, Dots::Keep},
};

const char kInfo[] = "Internet Cache";

}  // namespace

TSafariForm::TSafariForm() : TCategoryForm(kTraits, kClean) {}

CategoryTables TSafariForm::Tables() { return {.files = {{kFiles}}}; }

void TSafariForm::Probe() {
  FolderSnapshot folders;
  // The roaming folder is read before the local one, as both before any listing.
  folders.Get(BaseFolder::AppData);
  folders.Get(BaseFolder::LocalAppData);
  StageFiles(*this, kFiles, ListBox[1], folders);
  AddStagedFiles(*this, ListBox[1], FileFilter::ExistingUnlocked, kInfo);
}

std::span<const FileLocation> SafariFiles() { return kFiles; }

}  // namespace zarn
