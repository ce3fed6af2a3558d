#include "categories/mediaplay.h"

#include "res/resource.h"
#include "traces/probes.h"

namespace zarn {
namespace {

const FormTraits kTraits = {
    .caption = "Media Player",
    .className = "TmediaplayForm",
    .title = "Zarn Cleaner - Media Player ",
    .scanButtonName = "mediaBtn",
    .iconId = IDI_CAT_MEDIAPLAYER,
};
const CleanRules kClean = {};

const FileLocation kFiles[] = {
    {BaseFolder::AppData, "\\Real\\RealOne Player\\", "cookies.txt", 2, Listing::Paths, Dots::Skip},
    {BaseFolder::AppData, "\\Real\\RealOne Player\\", "ctd.dat", 3, Listing::Paths, Dots::Skip},
    {BaseFolder::AppData, "\\Real\\RealOne Player\\", "realplayer.ste", 4, Listing::Paths, Dots::Skip},
    {BaseFolder::AppData, "\\Real\\RealOne Player\\History\\", "*.*", 5, Listing::Paths, Dots::Skip},
    {BaseFolder::AppData, "\\Real\\RealPlayer\\", "cookies.txt", 6, Listing::Paths, Dots::Skip},
    {BaseFolder::AppData, "\\Real\\RealPlayer\\", "ctd.dat", 7, Listing::Paths, Dots::Skip},
    {BaseFolder::AppData, "\\Real\\RealPlayer\\", "realplayer.ste", 8, Listing::Paths, Dots::Skip},
    {BaseFolder::AppData, "\\Real\\RealPlayer\\History\\", "*.*", 9, Listing::Paths, Dots::Skip},
    {BaseFolder::ProgramFiles, "\\Common Files\\Real\\Update_OB\\", "RealPlayer-log.txt", 10, Listing::Paths,
     Dots::Skip},
    // QuickTime's downloads: the folder and every folder below it.
    {.base = BaseFolder::AppData,
     .folder = "\\Apple Computer\\QuickTime\\downloads\\",
     .mask = "*.*",
     .workingList = 11,
     .listing = Listing::Paths,
     .dots = Dots::Skip,
     .depth = Depth::Tree},
    {BaseFolder::AppData, "\\Apple Computer\\QuickTime\\", "QTPlayerSession.xml", 12, Listing::Paths, Dots::Skip},
};

const RegistryRow kRows[] = {
    ValuesButMRUList(Root::HKCU, "\\Software\\Microsoft\\MediaPlayer\\Player\\RecentFileList"),
    ValuesButMRUList(Root::HKCU, "\\Software\\Microsoft\\MediaPlayer\\Player\\RecentURLList"),
    OneValue(Root::HKCU, "\\Software\\Microsoft\\MediaPlayer\\Preferences", "LastPlayList"),
    OneValue(Root::HKCU, "\\Software\\Microsoft\\MediaPlayer\\Preferences", "LastPlayListIndex"),
    OneValue(Root::HKCU, "\\Software\\Microsoft\\MediaPlayer\\Player\\Settings", "SaveAsDir"),
    ValuesButMRUList(Root::HKCU, "\\Software\\Microsoft\\MediaPlayer\\AutoComplete\\MediaEdit"),
    ValuesButMRUList(Root::HKCU, "\\Software\\Microsoft\\MediaPlayer\\Radio\\MRUList"),
};

}  // namespace

std::span<const FileLocation> MediaplayFiles() { return kFiles; }
std::span<const RegistryRow> MediaplayRows() { return kRows; }

TmediaplayForm::TmediaplayForm() : TCategoryForm(kTraits, kClean) {}

CategoryTables TmediaplayForm::Tables() { return {.files = {{kFiles}}, .rows = {kRows}}; }

void TmediaplayForm::Probe() {
  FolderSnapshot folders;
  folders.Get(BaseFolder::AppData);
  folders.Get(BaseFolder::ProgramFiles);
  StageFiles(*this, kFiles, ListBox[1], folders);
  AddStagedFiles(*this, ListBox[1], FileFilter::None, "Media Player Recentlist");
  ProbeRegistry(*this, kRows, Memo1);
}

}  // namespace zarn
