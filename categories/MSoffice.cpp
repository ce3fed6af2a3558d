#include "categories/MSoffice.h"

#include <deque>
#include <string>
#include <string_view>
#include <vector>

#include "res/resource.h"

namespace zarn {
namespace {

const FormTraits kTraits = {
    .caption = "Microsoft Office",
    .className = "TMsofficeForm",
    .title = "Zarn Cleaner - Microsoft Office",
    .scanButtonName = "msoffBtn",
    .iconId = IDI_CAT_MSOFFICE,
};
const CleanRules kClean = {.keys = KeyDeletion::BothRootsAfter};

// The Office "Recent" folder: every entry but "." and "..", subfolders included.
const FileLocation kRecent[] = {
    {BaseFolder::AppData, "\\Microsoft\\Office\\Recent\\", "*.*", 2, Listing::Paths, Dots::Skip},
};

const RegistryRow kRows[] = {
    ValuesButMRUList(Root::HKCU, "\\Software\\Microsoft\\Office\\8.0\\Excel\\Recent File List"),
    ValuesButMRUList(Root::HKCU, "\\Software\\Microsoft\\Office\\8.0\\Project\\Recent File List"),
    ValuesButMRUList(Root::HKCU, "\\Software\\Microsoft\\Office\\8.0\\PowerPoint\\Recent File List"),
    ValuesButMRUList(Root::HKCU, "\\Software\\Microsoft\\Office\\8.0\\PowerPoint\\Recent Folder List"),
    ValuesButMRUList(Root::HKCU, "\\Software\\Microsoft\\Office\\8.0\\Common\\Internet\\LocationOfComponents"),
    ValuesButMRUList(Root::HKCU, "\\Software\\Microsoft\\Office\\8.0\\Access\\Settings"),
    ValuesButMRUList(Root::HKCU, "\\Software\\Microsoft\\Office\\10.0\\PowerPoint\\Recent File List"),
    ValuesButMRUList(Root::HKCU, "\\Software\\Microsoft\\Office\\10.0\\Excel\\Recent Files"),
    ValuesButMRUList(Root::HKCU, "\\Software\\Microsoft\\FrontPage\\Explorer\\FrontPage Explorer\\Recent File List"),
    ValuesButMRUList(Root::HKCU, "\\Software\\Microsoft\\FrontPage\\Explorer\\FrontPage Explorer\\Recent Page List"),
    ValuesButMRUList(Root::HKCU, "\\Software\\Microsoft\\FrontPage\\Explorer\\FrontPage Explorer\\Recent Web List"),
    ValuesButMRUList(Root::HKCU, "\\Software\\Microsoft\\Office\\10.0\\Word\\Recent Templates"),
    OneValue(Root::HKCU, "\\Software\\Microsoft\\Office\\10.0\\Common\\Internet", "UseRWHlinkNavigation"),
    OneValue(Root::HKCU, "\\Software\\Microsoft\\Office\\10.0\\Word\\Data", "Settings"),
    NamedValues(Root::HKCU, "\\Software\\Microsoft\\Office\\10.0\\Access\\Settings"),
    NamedValues(Root::HKCU, "\\Software\\Microsoft\\Office\\11.0\\Excel\\Recent Files"),
    NamedValues(Root::HKCU,
                "\\Software\\Microsoft\\Office\\11.0\\Common\\Open Find\\Microsoft Office Word\\Settings\\Save "
                "As\\File Name MRU"),
    NamedValues(Root::HKCU, "\\Software\\Microsoft\\Office\\11.0\\PowerPoint\\Recent File List"),
    NamedValues(Root::HKCU, "\\Software\\Microsoft\\Office\\11.0\\Publisher\\Recent File List"),
    NamedValues(Root::HKCU, "\\Software\\Microsoft\\Office\\11.0\\InfoPath\\Recent File List"),
    NamedValues(Root::HKCU, "\\Software\\Microsoft\\Office\\11.0\\Common\\Internet\\Server Cache"),
    OneValue(Root::HKCU, "\\Software\\Microsoft\\Office\\11.0\\Common\\Internet", "UseRWHlinkNavigation"),
    NamedValues(Root::HKCU, "\\Software\\Microsoft\\MSPaper 11.0\\Persist File Name"),
    NamedValues(Root::HKCU, "\\Software\\Microsoft\\MSPaper 11.0\\Recent File List"),
    OneValue(Root::HKCU, "\\Software\\Microsoft\\Office\\11.0\\Word\\Data", "Settings"),
    NamedValues(Root::HKCU,
                "\\Software\\Microsoft\\Office\\12.0\\Common\\Open Find\\Microsoft Office Word\\Settings\\Save "
                "As\\File Name MRU"),
    NamedValues(Root::HKCU, "\\Software\\Microsoft\\Office\\12.0\\Word\\File MRU"),
    NamedValues(Root::HKCU, "\\Software\\Microsoft\\Office\\12.0\\Excel\\File MRU"),
    // Access 2007 keeps its recent files as MRU1 to MRU8: one probe per name, in this order.
    OneValue(Root::HKCU, "\\Software\\Microsoft\\Office\\12.0\\Access\\Settings", "MRU1"),
    OneValue(Root::HKCU, "\\Software\\Microsoft\\Office\\12.0\\Access\\Settings", "MRU2"),
    OneValue(Root::HKCU, "\\Software\\Microsoft\\Office\\12.0\\Access\\Settings", "MRU3"),
    OneValue(Root::HKCU, "\\Software\\Microsoft\\Office\\12.0\\Access\\Settings", "MRU4"),
    OneValue(Root::HKCU, "\\Software\\Microsoft\\Office\\12.0\\Access\\Settings", "MRU5"),
    OneValue(Root::HKCU, "\\Software\\Microsoft\\Office\\12.0\\Access\\Settings", "MRU6"),
    OneValue(Root::HKCU, "\\Software\\Microsoft\\Office\\12.0\\Access\\Settings", "MRU7"),
    OneValue(Root::HKCU, "\\Software\\Microsoft\\Office\\12.0\\Access\\Settings", "MRU8"),
    NamedValues(Root::HKCU, "\\Software\\Microsoft\\Office\\12.0\\PowerPoint\\File MRU"),
    NamedValues(Root::HKCU,
                "\\Software\\Microsoft\\Office\\12.0\\Common\\Open Find\\Microsoft Office PowerPoint\\Settings\\Save "
                "As\\File Name MRU"),
    NamedValues(Root::HKCU,
                "\\Software\\Microsoft\\Office\\12.0\\Common\\Open Find\\Microsoft Office "
                "InfoPath\\Settings\\Open\\File Name MRU"),
    NamedValues(Root::HKCU,
                "\\Software\\Microsoft\\Office\\12.0\\Common\\Open Find\\Microsoft Office InfoPath\\Settings\\Save "
                "As\\File Name MRU"),
    NamedValues(Root::HKCU,
                "\\Software\\Microsoft\\Office\\12.0\\Common\\Open Find\\Microsoft Office Excel\\Settings\\Save "
                "As\\File Name MRU"),
    NamedValues(Root::HKCU,
                "\\Software\\Microsoft\\Office\\12.0\\Common\\Open Find\\Microsoft Office Publisher\\Settings\\Save "
                "As\\File Name MRU"),
    NamedValues(Root::HKCU, "\\Software\\Microsoft\\Office\\12.0\\Publisher\\Recent File List"),
    NamedValues(Root::HKCU, "\\Software\\Microsoft\\Office\\12.0\\InfoPath\\Recent File List"),
};

// Office 2010, 2013 and 2016 on (14.0, 15.0, 16.0) keep each program's recent files and
// folders as values "Item 1", "Item 2" and so on, beside settings such as "Max Display";
// a signed-in account has lists of its own under "User MRU". Word also remembers where
// the reader of each document stopped, one subkey per document.
const char* const kTodaysVersions[] = {"14.0", "15.0", "16.0"};
const char* const kTodaysPrograms[] = {"Word", "Excel", "PowerPoint", "Access", "Publisher"};
const char kItem[] = "Item ";

// The rows of every version and program in that order: recent files, recent places, the same
// of each signed-in account, and Word's reading locations. Made once; the texts of their keys
// stay where they are for as long as the program runs.
std::span<const RegistryRow> TodaysRows() {
  static const std::vector<RegistryRow> rows = [] {
    static std::deque<std::string> keys;
    auto keep = [](std::string key) { return keys.emplace_back(std::move(key)).c_str(); };
    std::vector<RegistryRow> made;
    for (const char* version : kTodaysVersions)
      for (const char* program : kTodaysPrograms) {
        const std::string base = std::string("\\Software\\Microsoft\\Office\\") + version + "\\" + program;
        made.push_back(NumberedValues(Root::HKCU, keep(base + "\\File MRU"), kItem));
        made.push_back(NumberedValues(Root::HKCU, keep(base + "\\Place MRU"), kItem));
        const char* accounts = keep(base + "\\User MRU");
        made.push_back(InEachSubkey(NumberedValues(Root::HKCU, accounts, kItem), "File MRU"));
        made.push_back(InEachSubkey(NumberedValues(Root::HKCU, accounts, kItem), "Place MRU"));
        if (std::string_view(program) == "Word")
          made.push_back(EverySubkey(Root::HKCU, keep(base + "\\Reading Locations")));
      }
    return made;
  }();
  return rows;
}

}  // namespace

std::span<const FileLocation> MsofficeFiles() { return kRecent; }
std::span<const RegistryRow> MsofficeRows() { return kRows; }
std::span<const RegistryRow> MsofficeTodaysRows() { return TodaysRows(); }

TMsofficeForm::TMsofficeForm() : TCategoryForm(kTraits, kClean) {}

CategoryTables TMsofficeForm::Tables() { return {.files = {{kRecent}}, .rows = {kRows, TodaysRows()}}; }

void TMsofficeForm::Probe() {
  FolderSnapshot folders;
  StageFiles(*this, kRecent, ListBox[1], folders);
  AddStagedFiles(*this, ListBox[1], FileFilter::None, "Microsoft Office Recentlist");
  ProbeRegistry(*this, kRows, Memo1);
  ProbeRegistry(*this, TodaysRows(), Memo1);
}

}  // namespace zarn
