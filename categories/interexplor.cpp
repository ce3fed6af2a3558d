#include "categories/interexplor.h"

#include "res/resource.h"
#include "traces/probes.h"
#include "traces/scan_engine.h"

namespace zarn {
namespace {

const FormTraits kTraits = {"Internet Explorer", "TInterForm", "Zarn Cleaner - Internet Explorer", "lvbro", "interbtn", StatusFamily::A,
                        "", "File Name", 437, false, false, IDI_CAT_IE};
const CleanRules kClean = {true, false, KeyDeletion::None};

// Only the cookies of the listed sites: the keyword is looked for in the file name alone,
// never in the folder it lies in.
bool CookieOfListedSite(const std::string& path, const std::string& cookies) {
  return HasCookieKeyword(std::string_view(path).substr(cookies.size() + 1));
}

const FileLocation kCookies[] = {
    {BaseFolder::Cookies, "\\", "*.txt", 3, Listing::Names, Dots::Keep, CookieOfListedSite},
};
constexpr int kCookieStaging = 1;

// The cache's working lists: the root's listing, the staging list, then one folder of
// the root and one folder below that.
constexpr int kCacheLevel1 = 1, kCacheStaging = 2, kCacheLevel2 = 3, kCacheLevel3 = 4;

const RegistryRow kBrowserKeys[] = {
    {Root::HKCU, "\\Software\\Microsoft\\Internet Explorer\\TypedURLs", NameSource::Values, NameRule::All},
    {Root::HKCU, "\\Software\\Microsoft\\Internet Explorer", NameSource::Values, NameRule::Only, "Download Directory"},
};

// An entry with an extension other than the cache folders' own ".IE5" is taken as a
// document; everything else as a folder to look into. "." and ".." have the extension
// ".", so they come out as documents and are dropped by name.
bool TakenAsDocument(const std::string& path) {
  const std::string extension = ExtensionOf(path);
  return !extension.empty() && extension != ".IE5";
}

bool IsDotOrIndex(std::string_view name) { return name == "." || name == ".." || name == "index.dat"; }

// Whether the walk looks into an entry taken as a folder. A junction or symbolic link
// would pull in files from outside the cache; an entry the listing reports as a file holds
// nothing to list.
bool WalkInto(const FileFacts* facts) {
  if (!facts) return true;
  if (facts->attributes & FILE_ATTRIBUTE_REPARSE_POINT) return false;
  return (facts->attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

void Stage(TextList& staging, const std::string& path, const FileFacts* facts) {
  if (facts)
    staging.Add(path, *facts);
  else
    staging.Add(path);
}

}  // namespace

TInterForm::TInterForm() : TCategoryForm(kTraits, kClean) {}

void TInterForm::Probe() {
  FolderSnapshot folders;
  ListBox[1].Clear();
  ListBox[3].Clear();
  StageFiles(*this, kCookies, ListBox[kCookieStaging], folders);
  AddStagedFiles(*this, ListBox[kCookieStaging], FileFilter::Unlocked, "Internet Explorer Cookies");

  ProbeCache();

  ProbeRegistry(*this, kBrowserKeys, Memo1);
}

// The cache keeps its documents in the root "Content.IE5" and two levels of folders below
// it; the root's "index.dat" and "desktop.ini" are the cache's own, and so is every
// "index.dat" further down. A third level is taken whole, without the extension test.
void TInterForm::ProbeCache() {
  for (int i = 1; i <= 4; ++i) ListBox[i].Clear();
  const std::string cache = ReadBaseFolder(BaseFolder::Cache);
  if (cache.empty()) return;  // never "\Content.IE5" on the current drive
  const std::string root = cache + "\\Content.IE5";
  TextList& level1 = ListBox[kCacheLevel1];
  TextList& level2 = ListBox[kCacheLevel2];
  TextList& level3 = ListBox[kCacheLevel3];
  TextList& staging = ListBox[kCacheStaging];

  ListFilesIn(level1, root + "\\", "*.*");
  for (size_t i = 0; i < level1.Count(); ++i) {
    const std::string e1(level1.Text(i));
    const FileFacts* f1 = level1.Facts(i);
    if (TakenAsDocument(e1)) {
      const std::string_view name = std::string_view(e1).substr(root.size() + 1);
      if (!IsDotOrIndex(name) && name != "desktop.ini") Stage(staging, e1, f1);
      continue;
    }
    if (!WalkInto(f1)) continue;
    ListFilesIn(level2, e1 + "\\", "*.*");
    for (size_t j = 0; j < level2.Count(); ++j) {
      const std::string e2(level2.Text(j));
      const FileFacts* f2 = level2.Facts(j);
      if (TakenAsDocument(e2)) {
        if (!IsDotOrIndex(std::string_view(e2).substr(e1.size() + 1))) Stage(staging, e2, f2);
        continue;
      }
      if (!WalkInto(f2)) continue;
      ListFilesIn(level3, e2 + "\\", "*.*");
      for (size_t k = 0; k < level3.Count(); ++k) {
        const std::string_view e3 = level3.Text(k);
        if (!IsDotOrIndex(e3.substr(e2.size() + 1))) Stage(staging, std::string(e3), level3.Facts(k));
      }
    }
  }
  AddStagedFiles(*this, staging, FileFilter::Unlocked, "Internet Explorer History");
}

void TInterForm::AfterClean() { ClearUrlCache(); }

std::span<const FileLocation> InterCookies() { return kCookies; }
std::span<const RegistryRow> InterBrowserKeys() { return kBrowserKeys; }

}  // namespace zarn
