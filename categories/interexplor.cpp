#include "categories/interexplor.h"

#include "res/resource.h"
#include "traces/probes.h"
#include "traces/pulse.h"
#include "traces/scan_engine.h"

namespace zarn {
namespace {

const FormTraits kTraits = {
    .caption = "Internet Explorer",
    .className = "TInterForm",
    .title = "Zarn Cleaner - Internet Explorer",
    .scanButtonName = "interbtn",
    .family = StatusFamily::A,
    .iconId = IDI_CAT_IE,
};
const CleanRules kClean = {.clearAttributes = true};

// Only the cookies of the listed sites: the keyword is looked for in the file name alone,
// never in the folder it lies in.
bool CookieOfListedSite(const std::string& path, const std::string& cookies) {
  return HasCookieKeyword(std::string_view(path).substr(cookies.size() + 1));
}

const FileLocation kCookies[] = {
    {BaseFolder::Cookies, "\\", "*.txt", 3, Listing::Names, Dots::Keep, CookieOfListedSite},
};
constexpr int kCookieStaging = 1;

// The cache's working lists: the staging list, and the listing of each level, the root's
// first. The last level is taken whole, without the extension test.
constexpr int kCacheStaging = 2;
constexpr int kCacheLevels[] = {1, 3, 4};
constexpr int kLastCacheLevel = 2;

const RegistryRow kBrowserKeys[] = {
    EveryValue(Root::HKCU, "\\Software\\Microsoft\\Internet Explorer\\TypedURLs"),
    OneValue(Root::HKCU, "\\Software\\Microsoft\\Internet Explorer", "Download Directory"),
};

// Internet Explorer 10 and 11 keep their cache in the cache folder's "IE" folder, whose
// randomly named folders are laid out as those of "Content.IE5"; the files beside them
// are the cache's own. The listing of that folder has a list of its own.
constexpr int kTodaysCacheRoot = 5;

// Beside the typed addresses, Internet Explorer 10 and 11 keep when each was typed, as
// binary data.
const RegistryRow kTodaysBrowserKeys[] = {
    EveryValueAs(Root::HKCU, "\\Software\\Microsoft\\Internet Explorer\\TypedURLsTime",
                 "Internet Explorer Typed URLs Time"),
};

// An entry with an extension other than the cache folders' own ".IE5" is taken as a
// document; everything else as a folder to look into. "." and ".." have the extension
// ".", so they come out as documents and are dropped by name.
bool TakenAsDocument(std::string_view path) {
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

void Stage(TextList& staging, std::string_view path, const FileFacts* facts) {
  if (facts)
    staging.Add(path, *facts);
  else
    staging.Add(path);
}

}  // namespace

TInterForm::TInterForm() : TCategoryForm(kTraits, kClean) {}

CategoryTables TInterForm::Tables() {
  return {.files = {{kCookies, kCookieStaging}}, .rows = {kBrowserKeys, kTodaysBrowserKeys}};
}

void TInterForm::Probe() {
  FolderSnapshot folders;
  ListBox[1].Clear();
  ListBox[3].Clear();
  StageFiles(*this, kCookies, ListBox[kCookieStaging], folders);
  AddStagedFiles(*this, ListBox[kCookieStaging], FileFilter::Unlocked, "Internet Explorer Cookies");

  ProbeCache();

  ProbeRegistry(*this, kBrowserKeys, Memo1);
  ProbeRegistry(*this, kTodaysBrowserKeys, Memo1);
}

// The cache keeps its documents in the root "Content.IE5" and two levels of folders below
// it; the root's "index.dat" and "desktop.ini" are the cache's own, and so is every
// "index.dat" further down.
void TInterForm::ProbeCache() {
  for (int i = 1; i <= kTodaysCacheRoot; ++i) ListBox[i].Clear();
  const std::string cache = ReadBaseFolder(BaseFolder::Cache);
  if (cache.empty()) return;  // never "\Content.IE5" on the current drive
  WalkCache(cache + "\\Content.IE5", 0);
  TextList& today = ListBox[kTodaysCacheRoot];
  ListFilesIn(today, cache + "\\IE\\", "*.*");
  for (size_t i = 0; i < today.Count(); ++i)
    if (!TakenAsDocument(today.Text(i)) && WalkInto(today.Facts(i))) WalkCache(std::string(today.Text(i)), 1);
  AddStagedFiles(*this, ListBox[kCacheStaging], FileFilter::Unlocked, "Internet Explorer History");
}

// Stages the documents of one cache folder, entering each folder among them before the
// next entry: each level lists into its own working list.
void TInterForm::WalkCache(const std::string& folder, int level) {
  TextList& list = ListBox[kCacheLevels[level]];
  TextList& staging = ListBox[kCacheStaging];
  ListFilesIn(list, folder + "\\", "*.*");
  for (size_t i = 0; i < list.Count(); ++i) {
    const std::string_view entry = list.Text(i);
    const std::string_view name = entry.substr(folder.size() + 1);
    const FileFacts* facts = list.Facts(i);
    if (level == kLastCacheLevel || TakenAsDocument(entry)) {
      if (!IsDotOrIndex(name) && !(level == 0 && name == "desktop.ini")) Stage(staging, entry, facts);
    } else if (WalkInto(facts)) {
      WalkCache(std::string(entry), level + 1);
    }
  }
}

void TInterForm::AfterClean() { RunWhilePulsing(ClearUrlCache); }

std::span<const FileLocation> InterCookies() { return kCookies; }
std::span<const RegistryRow> InterBrowserKeys() { return kBrowserKeys; }
std::span<const RegistryRow> InterTodaysBrowserKeys() { return kTodaysBrowserKeys; }

}  // namespace zarn
