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
    SubkeysButMRUList(Root::HKCU, "\\Software\\Adobe\\Acrobat Reader\\5.0\\AVGeneral\\cRecentFiles",
                      "Acrobat Reader 5.0 Recent Files"),
    SubkeysButMRUList(Root::HKCU, "\\Software\\Adobe\\Acrobat Reader\\6.0\\AVGeneral\\cRecentFiles",
                      "Acrobat Reader 6.0 Recent Files"),
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

// The later Readers and Acrobat (Standard and Pro) keep their recent files and folders the
// same way, one subkey per entry, in a key per version or track; the AVGeneral key that
// holds them also holds the program's preferences and stays.
const RegistryRow kTodaysRows[] = {
    SubkeysButMRUList(Root::HKCU, "\\Software\\Adobe\\Acrobat Reader\\8.0\\AVGeneral\\cRecentFiles",
                      "Acrobat Reader 8.0 Recent Files"),
    SubkeysButMRUList(Root::HKCU, "\\Software\\Adobe\\Acrobat Reader\\9.0\\AVGeneral\\cRecentFiles",
                      "Acrobat Reader 9.0 Recent Files"),
    SubkeysButMRUList(Root::HKCU, "\\Software\\Adobe\\Acrobat Reader\\10.0\\AVGeneral\\cRecentFiles",
                      "Acrobat Reader 10.0 Recent Files"),
    SubkeysButMRUList(Root::HKCU, "\\Software\\Adobe\\Acrobat Reader\\11.0\\AVGeneral\\cRecentFiles",
                      "Acrobat Reader 11.0 Recent Files"),
    SubkeysButMRUList(Root::HKCU, "\\Software\\Adobe\\Acrobat Reader\\11.0\\AVGeneral\\cRecentFolders",
                      "Acrobat Reader 11.0 Recent Folders"),
    SubkeysButMRUList(Root::HKCU, "\\Software\\Adobe\\Acrobat Reader\\DC\\AVGeneral\\cRecentFiles",
                      "Acrobat Reader DC Recent Files"),
    SubkeysButMRUList(Root::HKCU, "\\Software\\Adobe\\Acrobat Reader\\DC\\AVGeneral\\cRecentFolders",
                      "Acrobat Reader DC Recent Folders"),
    SubkeysButMRUList(Root::HKCU, "\\Software\\Adobe\\Acrobat Reader\\2015\\AVGeneral\\cRecentFiles",
                      "Acrobat Reader 2015 Recent Files"),
    SubkeysButMRUList(Root::HKCU, "\\Software\\Adobe\\Acrobat Reader\\2015\\AVGeneral\\cRecentFolders",
                      "Acrobat Reader 2015 Recent Folders"),
    SubkeysButMRUList(Root::HKCU, "\\Software\\Adobe\\Acrobat Reader\\2017\\AVGeneral\\cRecentFiles",
                      "Acrobat Reader 2017 Recent Files"),
    SubkeysButMRUList(Root::HKCU, "\\Software\\Adobe\\Acrobat Reader\\2017\\AVGeneral\\cRecentFolders",
                      "Acrobat Reader 2017 Recent Folders"),
    SubkeysButMRUList(Root::HKCU, "\\Software\\Adobe\\Acrobat Reader\\2020\\AVGeneral\\cRecentFiles",
                      "Acrobat Reader 2020 Recent Files"),
    SubkeysButMRUList(Root::HKCU, "\\Software\\Adobe\\Acrobat Reader\\2020\\AVGeneral\\cRecentFolders",
                      "Acrobat Reader 2020 Recent Folders"),
    SubkeysButMRUList(Root::HKCU, "\\Software\\Adobe\\Adobe Acrobat\\DC\\AVGeneral\\cRecentFiles",
                      "Adobe Acrobat DC Recent Files"),
    SubkeysButMRUList(Root::HKCU, "\\Software\\Adobe\\Adobe Acrobat\\DC\\AVGeneral\\cRecentFolders",
                      "Adobe Acrobat DC Recent Folders"),
    SubkeysButMRUList(Root::HKCU, "\\Software\\Adobe\\Adobe Acrobat\\2015\\AVGeneral\\cRecentFiles",
                      "Adobe Acrobat 2015 Recent Files"),
    SubkeysButMRUList(Root::HKCU, "\\Software\\Adobe\\Adobe Acrobat\\2015\\AVGeneral\\cRecentFolders",
                      "Adobe Acrobat 2015 Recent Folders"),
    SubkeysButMRUList(Root::HKCU, "\\Software\\Adobe\\Adobe Acrobat\\2017\\AVGeneral\\cRecentFiles",
                      "Adobe Acrobat 2017 Recent Files"),
    SubkeysButMRUList(Root::HKCU, "\\Software\\Adobe\\Adobe Acrobat\\2017\\AVGeneral\\cRecentFolders",
                      "Adobe Acrobat 2017 Recent Folders"),
    SubkeysButMRUList(Root::HKCU, "\\Software\\Adobe\\Adobe Acrobat\\2020\\AVGeneral\\cRecentFiles",
                      "Adobe Acrobat 2020 Recent Files"),
    SubkeysButMRUList(Root::HKCU, "\\Software\\Adobe\\Adobe Acrobat\\2020\\AVGeneral\\cRecentFolders",
                      "Adobe Acrobat 2020 Recent Folders"),
    SubkeysButMRUList(Root::HKCU, "\\Software\\Adobe\\Adobe Acrobat\\11.0\\AVGeneral\\cRecentFiles",
                      "Adobe Acrobat 11.0 Recent Files"),
    SubkeysButMRUList(Root::HKCU, "\\Software\\Adobe\\Adobe Acrobat\\11.0\\AVGeneral\\cRecentFolders",
                      "Adobe Acrobat 11.0 Recent Folders"),
};

}  // namespace

std::span<const FileLocation> AdobeFiles() { return kFiles; }
std::span<const RegistryRow> AdobeRows() { return kRows; }
std::span<const RegistryRow> AdobeTodaysRows() { return kTodaysRows; }

TadobeForm::TadobeForm() : TCategoryForm(kTraits, kClean) {}

CategoryTables TadobeForm::Tables() { return {.files = {{kFiles}}, .rows = {kRows, kTodaysRows}}; }

void TadobeForm::Probe() {
  FolderSnapshot folders;
  folders.Get(BaseFolder::AppData);
  folders.Get(BaseFolder::ProgramFiles);
  StageFiles(*this, kFiles, ListBox[1], folders);
  AddStagedFiles(*this, ListBox[1], FileFilter::None, "Adobe Application MRUs");
  ProbeRegistry(*this, kRows, Memo1);
  ProbeRegistry(*this, kTodaysRows, Memo1);
}

}  // namespace zarn
