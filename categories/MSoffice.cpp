#include "categories/MSoffice.h"

#include "res/resource.h"

namespace zarn {
namespace {

const FormTraits kTraits = {"Microsoft Office", "TMsofficeForm", "Zarn Cleaner - Microsoft Office", "LV", "msoffBtn", StatusFamily::B,
                        "No File Found", "File Name", 437, false, false, IDI_CAT_MSOFFICE};
const CleanRules kClean = {false, false, KeyDeletion::BothRootsAfter};

// The Office "Recent" folder: every entry but "." and "..", subfolders included.
const FileLocation kRecent[] = {
    {BaseFolder::AppData, "\\Microsoft\\Office\\Recent\\", "*.*", 2, Listing::Paths, Dots::Skip},
};

constexpr NameSource V = NameSource::Values;
constexpr NameRule AllButMRUList = NameRule::AllButMRUList, AllNamed = NameRule::AllNamed, Only = NameRule::Only;

const RegistryRow kRows[] = {
    {Root::HKCU, "\\Software\\Microsoft\\Office\\8.0\\Excel\\Recent File List", V, AllButMRUList},
    {Root::HKCU, "\\Software\\Microsoft\\Office\\8.0\\Project\\Recent File List", V, AllButMRUList},
    {Root::HKCU, "\\Software\\Microsoft\\Office\\8.0\\PowerPoint\\Recent File List", V, AllButMRUList},
    {Root::HKCU, "\\Software\\Microsoft\\Office\\8.0\\PowerPoint\\Recent Folder List", V, AllButMRUList},
    {Root::HKCU, "\\Software\\Microsoft\\Office\\8.0\\Common\\Internet\\LocationOfComponents", V, AllButMRUList},
    {Root::HKCU, "\\Software\\Microsoft\\Office\\8.0\\Access\\Settings", V, AllButMRUList},
    {Root::HKCU, "\\Software\\Microsoft\\Office\\10.0\\PowerPoint\\Recent File List", V, AllButMRUList},
    {Root::HKCU, "\\Software\\Microsoft\\Office\\10.0\\Excel\\Recent Files", V, AllButMRUList},
    {Root::HKCU, "\\Software\\Microsoft\\FrontPage\\Explorer\\FrontPage Explorer\\Recent File List", V, AllButMRUList},
    {Root::HKCU, "\\Software\\Microsoft\\FrontPage\\Explorer\\FrontPage Explorer\\Recent Page List", V, AllButMRUList},
    {Root::HKCU, "\\Software\\Microsoft\\FrontPage\\Explorer\\FrontPage Explorer\\Recent Web List", V, AllButMRUList},
    {Root::HKCU, "\\Software\\Microsoft\\Office\\10.0\\Word\\Recent Templates", V, AllButMRUList},
    {Root::HKCU, "\\Software\\Microsoft\\Office\\10.0\\Common\\Internet", V, Only, "UseRWHlinkNavigation"},
    {Root::HKCU, "\\Software\\Microsoft\\Office\\10.0\\Word\\Data", V, Only, "Settings"},
    {Root::HKCU, "\\Software\\Microsoft\\Office\\10.0\\Access\\Settings", V, AllNamed},
    {Root::HKCU, "\\Software\\Microsoft\\Office\\11.0\\Excel\\Recent Files", V, AllNamed},
    {Root::HKCU, "\\Software\\Microsoft\\Office\\11.0\\Common\\Open Find\\Microsoft Office Word\\Settings\\Save As\\File Name MRU", V, AllNamed},
    {Root::HKCU, "\\Software\\Microsoft\\Office\\11.0\\PowerPoint\\Recent File List", V, AllNamed},
    {Root::HKCU, "\\Software\\Microsoft\\Office\\11.0\\Publisher\\Recent File List", V, AllNamed},
    {Root::HKCU, "\\Software\\Microsoft\\Office\\11.0\\InfoPath\\Recent File List", V, AllNamed},
    {Root::HKCU, "\\Software\\Microsoft\\Office\\11.0\\Common\\Internet\\Server Cache", V, AllNamed},
    {Root::HKCU, "\\Software\\Microsoft\\Office\\11.0\\Common\\Internet", V, Only, "UseRWHlinkNavigation"},
    {Root::HKCU, "\\Software\\Microsoft\\MSPaper 11.0\\Persist File Name", V, AllNamed},
    {Root::HKCU, "\\Software\\Microsoft\\MSPaper 11.0\\Recent File List", V, AllNamed},
    {Root::HKCU, "\\Software\\Microsoft\\Office\\11.0\\Word\\Data", V, Only, "Settings"},
    {Root::HKCU, "\\Software\\Microsoft\\Office\\12.0\\Common\\Open Find\\Microsoft Office Word\\Settings\\Save As\\File Name MRU", V, AllNamed},
    {Root::HKCU, "\\Software\\Microsoft\\Office\\12.0\\Word\\File MRU", V, AllNamed},
    {Root::HKCU, "\\Software\\Microsoft\\Office\\12.0\\Excel\\File MRU", V, AllNamed},
    // Access 2007 keeps its recent files as MRU1 to MRU8: one probe per name, in this order.
    {Root::HKCU, "\\Software\\Microsoft\\Office\\12.0\\Access\\Settings", V, Only, "MRU1"},
    {Root::HKCU, "\\Software\\Microsoft\\Office\\12.0\\Access\\Settings", V, Only, "MRU2"},
    {Root::HKCU, "\\Software\\Microsoft\\Office\\12.0\\Access\\Settings", V, Only, "MRU3"},
    {Root::HKCU, "\\Software\\Microsoft\\Office\\12.0\\Access\\Settings", V, Only, "MRU4"},
    {Root::HKCU, "\\Software\\Microsoft\\Office\\12.0\\Access\\Settings", V, Only, "MRU5"},
    {Root::HKCU, "\\Software\\Microsoft\\Office\\12.0\\Access\\Settings", V, Only, "MRU6"},
    {Root::HKCU, "\\Software\\Microsoft\\Office\\12.0\\Access\\Settings", V, Only, "MRU7"},
    {Root::HKCU, "\\Software\\Microsoft\\Office\\12.0\\Access\\Settings", V, Only, "MRU8"},
    {Root::HKCU, "\\Software\\Microsoft\\Office\\12.0\\PowerPoint\\File MRU", V, AllNamed},
    {Root::HKCU, "\\Software\\Microsoft\\Office\\12.0\\Common\\Open Find\\Microsoft Office PowerPoint\\Settings\\Save As\\File Name MRU", V, AllNamed},
    {Root::HKCU, "\\Software\\Microsoft\\Office\\12.0\\Common\\Open Find\\Microsoft Office InfoPath\\Settings\\Open\\File Name MRU", V, AllNamed},
    {Root::HKCU, "\\Software\\Microsoft\\Office\\12.0\\Common\\Open Find\\Microsoft Office InfoPath\\Settings\\Save As\\File Name MRU", V, AllNamed},
    {Root::HKCU, "\\Software\\Microsoft\\Office\\12.0\\Common\\Open Find\\Microsoft Office Excel\\Settings\\Save As\\File Name MRU", V, AllNamed},
    {Root::HKCU, "\\Software\\Microsoft\\Office\\12.0\\Common\\Open Find\\Microsoft Office Publisher\\Settings\\Save As\\File Name MRU", V, AllNamed},
    {Root::HKCU, "\\Software\\Microsoft\\Office\\12.0\\Publisher\\Recent File List", V, AllNamed},
    {Root::HKCU, "\\Software\\Microsoft\\Office\\12.0\\InfoPath\\Recent File List", V, AllNamed},
};

}  // namespace

std::span<const FileLocation> MsofficeFiles() { return kRecent; }
std::span<const RegistryRow> MsofficeRows() { return kRows; }

TMsofficeForm::TMsofficeForm() : TCategoryForm(kTraits, kClean) {}

void TMsofficeForm::Probe() {
  FolderSnapshot folders;
  StageFiles(*this, kRecent, ListBox[1], folders);
  AddStagedFiles(*this, ListBox[1], FileFilter::None, "Microsoft Office Recentlist");
  ProbeRegistry(*this, kRows, Memo1);
}

}  // namespace zarn
