#include "categories/mediaplay.h"

#include <string_view>
#include <vector>

#include "res/resource.h"
#include "traces/probes.h"

namespace zarn {
namespace {

const FormTraits kTraits = {"Media Player", "TmediaplayForm", "Zarn Cleaner - Media Player ", "LV", "mediaBtn", StatusFamily::B,
                        "No File Found", "File Name", 437, false, false, IDI_CAT_MEDIAPLAYER};
const CleanRules kClean = {};

// A mask ending in this suffix lists its folder and every subfolder below it.
constexpr std::string_view kRecurse = "|RECURSE";

const FileLocation kFiles[] = {
    {BaseFolder::AppData, "\\Real\\RealOne Player\\", "cookies.txt", 2, Listing::Paths, Dots::Skip},
    {BaseFolder::AppData, "\\Real\\RealOne Player\\", "ctd.dat", 3, Listing::Paths, Dots::Skip},
    {BaseFolder::AppData, "\\Real\\RealOne Player\\", "realplayer.ste", 4, Listing::Paths, Dots::Skip},
    {BaseFolder::AppData, "\\Real\\RealOne Player\\History\\", "*.*", 5, Listing::Paths, Dots::Skip},
    {BaseFolder::AppData, "\\Real\\RealPlayer\\", "cookies.txt", 6, Listing::Paths, Dots::Skip},
    {BaseFolder::AppData, "\\Real\\RealPlayer\\", "ctd.dat", 7, Listing::Paths, Dots::Skip},
    {BaseFolder::AppData, "\\Real\\RealPlayer\\", "realplayer.ste", 8, Listing::Paths, Dots::Skip},
    {BaseFolder::AppData, "\\Real\\RealPlayer\\History\\", "*.*", 9, Listing::Paths, Dots::Skip},
    {BaseFolder::ProgramFiles, "\\Common Files\\Real\\Update_OB\\", "RealPlayer-log.txt", 10, Listing::Paths, Dots::Skip},
    {BaseFolder::AppData, "\\Apple Computer\\QuickTime\\downloads\\", "*.*|RECURSE", 11, Listing::Paths, Dots::Skip},
    {BaseFolder::AppData, "\\Apple Computer\\QuickTime\\", "QTPlayerSession.xml", 12, Listing::Paths, Dots::Skip},
};

const RegistryRow kRows[] = {
    {Root::HKCU, "\\Software\\Microsoft\\MediaPlayer\\Player\\RecentFileList", NameSource::Values, NameRule::AllButMRUList},
    {Root::HKCU, "\\Software\\Microsoft\\MediaPlayer\\Player\\RecentURLList", NameSource::Values, NameRule::AllButMRUList},
    {Root::HKCU, "\\Software\\Microsoft\\MediaPlayer\\Preferences", NameSource::Values, NameRule::Only, "LastPlayList"},
    {Root::HKCU, "\\Software\\Microsoft\\MediaPlayer\\Preferences", NameSource::Values, NameRule::Only, "LastPlayListIndex"},
    {Root::HKCU, "\\Software\\Microsoft\\MediaPlayer\\Player\\Settings", NameSource::Values, NameRule::Only, "SaveAsDir"},
    {Root::HKCU, "\\Software\\Microsoft\\MediaPlayer\\AutoComplete\\MediaEdit", NameSource::Values, NameRule::AllButMRUList},
    {Root::HKCU, "\\Software\\Microsoft\\MediaPlayer\\Radio\\MRUList", NameSource::Values, NameRule::AllButMRUList},
};

bool IsRecursive(const FileLocation& loc) {
  std::string_view mask = loc.mask;
  return mask.size() >= kRecurse.size() && mask.substr(mask.size() - kRecurse.size()) == kRecurse;
}

// Stages a folder's own entries, then each subfolder's, depth first. A folder link
// (junction or symbolic link) is staged as an entry but never entered, so the listing
// stays inside the folder. ANSI paths end at MAX_PATH, which bounds the depth.
void StageTree(const std::string& folder, const std::string& mask, TextList& work, TextList& staging) {
  ListFilesIn(work, folder, mask);
  std::vector<std::string> subfolders;
  for (size_t i = 0; i < work.Count(); ++i) {
    const std::string_view path = work.Text(i);
    const std::string_view name = path.substr(folder.size());
    if (name == "." || name == "..") continue;
    const FileFacts* facts = work.Facts(i);
    if (!facts) {
      staging.Add(path);
      continue;
    }
    staging.Add(path, *facts);
    if ((facts->attributes & FILE_ATTRIBUTE_DIRECTORY) && !(facts->attributes & FILE_ATTRIBUTE_REPARSE_POINT))
      subfolders.emplace_back(std::string(path) + "\\");
  }
  TextList below;
  for (const std::string& sub : subfolders) StageTree(sub, mask, below, staging);
}

void StageRecursive(TCategoryForm& form, const FileLocation& loc, TextList& staging, FolderSnapshot& folders) {
  TextList& work = form.ListBox[loc.workingList];
  work.Clear();
  const std::string& base = folders.Get(loc.base);
  if (base.empty()) return;
  std::string_view mask = loc.mask;
  mask.remove_suffix(kRecurse.size());
  StageTree(base + loc.folder, std::string(mask), work, staging);
}

}  // namespace

std::span<const FileLocation> MediaplayFiles() { return kFiles; }
std::span<const RegistryRow> MediaplayRows() { return kRows; }

TmediaplayForm::TmediaplayForm() : TCategoryForm(kTraits, kClean) {}

void TmediaplayForm::Probe() {
  FolderSnapshot folders;
  folders.Get(BaseFolder::AppData);
  folders.Get(BaseFolder::ProgramFiles);
  for (const FileLocation& loc : kFiles) {
    if (IsRecursive(loc))
      StageRecursive(*this, loc, ListBox[1], folders);
    else
      StageFiles(*this, std::span(&loc, 1), ListBox[1], folders);
  }
  AddStagedFiles(*this, ListBox[1], FileFilter::None, "Media Player Recentlist");
  ProbeRegistry(*this, kRows, Memo1);
}

}  // namespace zarn
