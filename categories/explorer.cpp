#include "categories/explorer.h"

#include "res/resource.h"
#include "traces/scan_engine.h"

namespace zarn {
namespace {

const FormTraits kTraits = {
    .caption = "Windows Explorer",
    .className = "TDetailsForm",
    .title = "Zarn Cleaner - Windows Explorer",
    .scanButtonName = "explorerbtn",
    .family = StatusFamily::A,
    .okIsButton1 = true,
    .statusHiddenUntilScan = true,
    .iconId = IDI_CAT_EXPLORER,
};
const CleanRules kClean = {.keys = KeyDeletion::CurrentUserBetween};

// The Recent Documents folder's shortcuts, every one listed.
const FileLocation kRecent[] = {
    {BaseFolder::Recent, "\\", "*.lnk", 3, Listing::Names, Dots::Keep},
};

const RegistryRow kRunMru[] = {
    EveryValue(Root::HKCU, "\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RunMRU"),
};

const char kAcMru[] = "\\Software\\Microsoft\\Search Assistant\\ACMru\\";

const RegistryRow kShellLists[] = {
    ValuesButMRUList(Root::HKCU, "\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ComDlg32\\OpenSaveMRU"),
    SubkeysButMRUList(Root::HKCU, "\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ComDlg32\\OpenSaveMRU"),
    ValuesButMRUList(Root::HKCU, "\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Map Network Drive MRU"),
    ValuesButMRUList(Root::HKCU, "\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ComputerDescriptions"),
    OneValue(Root::HKCU, "\\Software\\Microsoft\\Direct3D\\MostRecentApplication", "Name"),
    OneValue(Root::HKLM, "\\Software\\Microsoft\\Direct3D\\MostRecentApplication", "Name"),
    OneValue(Root::HKLM, "\\Software\\Microsoft\\DirectDraw\\MostRecentApplication", "Name"),
};

// Windows 7 and later keep a jump list per program beside the Recent Documents shortcuts.
// Explorer's own list holds the folders pinned to Quick Access, which the user keeps.
const FileLocation kJumpLists[] = {
    {BaseFolder::Recent, "\\AutomaticDestinations\\", "*.automaticDestinations-ms", 4, Listing::Names, Dots::Keep,
     nullptr, Depth::Flat, "f01b4d95cf55d32a.automaticDestinations-ms"},
    {BaseFolder::Recent, "\\CustomDestinations\\", "*.customDestinations-ms", 5, Listing::Names, Dots::Keep},
};

// The lists of later Windows versions. The file dialogs and the search box keep binary
// data (item lists, wide text), so these rows name their list instead of showing it.
const char kDialog[] = "All items listed in Open/Save Dialog";
const char kRecentDocs[] = "All items listed in Recent Documents";
const RegistryRow kTodaysLists[] = {
    ValuesButMRUListAs(Root::HKCU,
                       "\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ComDlg32\\OpenSavePidlMRU", kDialog),
    SubkeysButMRUList(Root::HKCU, "\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ComDlg32\\OpenSavePidlMRU",
                      kDialog),
    ValuesButMRUListAs(
        Root::HKCU, "\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ComDlg32\\LastVisitedPidlMRU", kDialog),
    ValuesButMRUListAs(Root::HKCU, "\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ComDlg32\\CIDSizeMRU",
                       kDialog),
    ValuesButMRUListAs(Root::HKCU, "\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\WordWheelQuery",
                       "All items listed in Search Box"),
    ValuesButMRUList(Root::HKCU, "\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\TypedPaths"),
    ValuesButMRUListAs(Root::HKCU, "\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RecentDocs", kRecentDocs),
    SubkeysButMRUList(Root::HKCU, "\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RecentDocs", kRecentDocs),
};

}  // namespace

TDetailsForm::TDetailsForm() : TCategoryForm(kTraits, kClean) {}

CategoryTables TDetailsForm::Tables() {
  return {.files = {{kRecent}, {kJumpLists}}, .rows = {kRunMru, kShellLists, kTodaysLists}};
}

void TDetailsForm::Probe() {
  SetCursor(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_WAIT)));
  FolderSnapshot folders;
  StageFiles(*this, kRecent, ListBox[1], folders);
  AddStagedFiles(*this, ListBox[1], FileFilter::None, "All items listed in Recent Documents");

  ProbeRegistry(*this, kRunMru, Memo1);

  // The search assistant keeps one subkey per search field, each with its own values.
  ListRegistryNames(Root::HKCU, kAcMru, NameSource::Subkeys, Memo1);
  for (size_t i = 0; i < Memo1.Count(); ++i) {
    const std::string key = kAcMru + std::string(Memo1.Text(i)) + "\\";
    const RegistryRow field[] = {EveryValue(Root::HKCU, key.c_str())};
    ProbeRegistry(*this, field, Memo2);
  }

  ProbeRegistry(*this, kShellLists, Memo1);

  ListBox[1].Clear();
  StageFiles(*this, kJumpLists, ListBox[1], folders);
  AddStagedFiles(*this, ListBox[1], FileFilter::None, "All items listed in Jump Lists");
  ProbeRegistry(*this, kTodaysLists, Memo1);
}

std::span<const FileLocation> ExplorerRecent() { return kRecent; }
std::span<const RegistryRow> ExplorerRunMru() { return kRunMru; }
std::span<const RegistryRow> ExplorerShellLists() { return kShellLists; }
const char* ExplorerAcMru() { return kAcMru; }
std::span<const FileLocation> ExplorerJumpLists() { return kJumpLists; }
std::span<const RegistryRow> ExplorerTodaysLists() { return kTodaysLists; }

}  // namespace zarn
