#include "categories/explorer.h"

#include "res/resource.h"
#include "traces/scan_engine.h"

namespace zarn {
namespace {

const FormTraits kTraits = {"Windows Explorer", "TDetailsForm", "Zarn Cleaner - Windows Explorer", "lvpc",
                        "explorerbtn", StatusFamily::A, "", "File Name", 437, true, true, IDI_CAT_EXPLORER};
const CleanRules kClean = {false, false, KeyDeletion::CurrentUserBetween};

// The Recent Documents folder's shortcuts, every one listed.
const FileLocation kRecent[] = {
    {BaseFolder::Recent, "\\", "*.lnk", 3, Listing::Names, Dots::Keep},
};

const RegistryRow kRunMru[] = {
    {Root::HKCU, "\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RunMRU", NameSource::Values, NameRule::All},
};

const char kAcMru[] = "\\Software\\Microsoft\\Search Assistant\\ACMru\\";

const RegistryRow kShellLists[] = {
    {Root::HKCU, "\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ComDlg32\\OpenSaveMRU", NameSource::Values, NameRule::AllButMRUList},
    {Root::HKCU, "\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ComDlg32\\OpenSaveMRU", NameSource::Subkeys, NameRule::AllButMRUList},
    {Root::HKCU, "\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Map Network Drive MRU", NameSource::Values, NameRule::AllButMRUList},
    {Root::HKCU, "\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ComputerDescriptions", NameSource::Values, NameRule::AllButMRUList},
    {Root::HKCU, "\\Software\\Microsoft\\Direct3D\\MostRecentApplication", NameSource::Values, NameRule::Only, "Name"},
    {Root::HKLM, "\\Software\\Microsoft\\Direct3D\\MostRecentApplication", NameSource::Values, NameRule::Only, "Name"},
    {Root::HKLM, "\\Software\\Microsoft\\DirectDraw\\MostRecentApplication", NameSource::Values, NameRule::Only, "Name"},
};

}  // namespace

TDetailsForm::TDetailsForm() : TCategoryForm(kTraits, kClean) {}

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
    const RegistryRow field[] = {{Root::HKCU, key.c_str(), NameSource::Values, NameRule::All}};
    ProbeRegistry(*this, field, Memo2);
  }

  ProbeRegistry(*this, kShellLists, Memo1);
}

std::span<const FileLocation> ExplorerRecent() { return kRecent; }
std::span<const RegistryRow> ExplorerRunMru() { return kRunMru; }
std::span<const RegistryRow> ExplorerShellLists() { return kShellLists; }
const char* ExplorerAcMru() { return kAcMru; }

}  // namespace zarn
