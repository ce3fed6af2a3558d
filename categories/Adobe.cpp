#include "categories/Adobe.h"

#include "res/resource.h"

namespace zarn {
namespace {

const FormTraits kTraits = {
    .caption = "Adobe",
    .className = "TadobeForm",
    .title = "Zarn Cleaner - Adobe",
    .scanButtonName = "adobeBtn",
    .iconId = IDI_CAT_ADOBE,
};
const CleanRules kClean = {.keys = KeyDeletion::BothRootsAfter};

// Each folder is listed flat, at its own level only; subfolders become items too.
const FileLocation kFiles[] = {
    {BaseFolder::AppData, "\\Adobe\\Acrobat\\7.0\\Cache\\Search70\\", "*.*", 2, Listing::Paths, Dots::Skip},
    {BaseFolder::ProgramFiles, "\\Adobe\\Acrobat 7.0\\Reader\\", "*.bak", 3, Listing::Paths, Dots::Skip},
    {BaseFolder::ProgramFiles, "\\Adobe\\Acrobat 7.0\\ActiveX\\", "*.bak", 4, Listing::Paths, Dots::Skip},
    {BaseFolder::ProgramFiles, "\\Adobe\\Acrobat 7.0\\Reader\\plug_ins\\", "*.bak", 5, Listing::Paths, Dots::Skip},
    {BaseFolder::ProgramFiles, "\\Adobe\\Acrobat 7.0\\Reader\\Updater\\", "*.bak", 6, Listing::Paths, Dots::Skip},
    {BaseFolder::ProgramFiles, "\\Adobe\\CameraRaw\\Cache\\", "*.*", 7, Listing::Paths, Dots::Skip},
};

// Acrobat Reader keeps one subkey per recent file; the cleaner removes such a subkey
// with its tree. The others are value lists.
const RegistryRow kRows[] = {
    SubkeysButMRUList(Root::HKCU, "\\Software\\Adobe\\Acrobat Reader\\5.0\\AVGeneral\\cRecentFiles", "Acrobat Reader 5.0 Recent Files"),
    SubkeysButMRUList(Root::HKCU, "\\Software\\Adobe\\Acrobat Reader\\6.0\\AVGeneral\\cRecentFiles", "Acrobat Reader 6.0 Recent Files"),
    SubkeysButMRUList(Root::HKCU, "\\Software\\Adobe\\Acrobat Reader\\7.0\\AVGeneral\\cRecentFiles"),
    ValuesButMRUList(Root::HKCU, "\\Software\\Adobe\\ImageReady 7.0\\Preferences\\URLHistory"),
    OneValue(Root::HKCU, "\\Software\\Adobe\\ImageReady 7.0\\Preferences", "SaveDir"),
    ValuesButMRUList(Root::HKCU, "\\Software\\Adobe\\ImageReady 7.0\\Preferences\\RecentFiles"),
    ValuesButMRUList(Root::HKCU, "\\Software\\Adobe\\Photoshop\\6.0\\VisitedDirs"),
    ValuesButMRUList(Root::HKCU, "\\Software\\Adobe\\Photoshop\\7.0\\VisitedDirs"),
    ValuesButMRUList(Root::HKCU, "\\Software\\Adobe\\Photoshop\\8.0\\VisitedDirs"),
    ValuesButMRUList(Root::HKCU, "\\Software\\Adobe\\Photoshop\\9.0\\VisitedDirs"),
    ValuesButMRUList(Root::HKCU, "\\Software\\Adobe\\MediaBrowser\\MRU\\Photoshop\\FileList"),
};

}  // namespace

std::span<const FileLocation> AdobeFiles() { return kFiles; }
std::span<const RegistryRow> AdobeRows() { return kRows; }

TadobeForm::TadobeForm() : TCategoryForm(kTraits, kClean) {}

CategoryTables TadobeForm::Tables() { return {.files = {{kFiles}}, .rows = {kRows}}; }

void TadobeForm::Probe() {
  FolderSnapshot folders;
  folders.Get(BaseFolder::AppData);
  folders.Get(BaseFolder::ProgramFiles);
  StageFiles(*this, kFiles, ListBox[1], folders);
  AddStagedFiles(*this, ListBox[1], FileFilter::None, "Adobe Application MRUs");
  ProbeRegistry(*this, kRows, Memo1);
}

}  // namespace zarn
