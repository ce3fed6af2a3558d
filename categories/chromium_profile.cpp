#include "categories/chromium_profile.h"

#include <algorithm>
#include <charconv>
#include <string_view>

#include "traces/category_form.h"
#include "traces/folder_walk.h"
#include "traces/probes.h"
#include "traces/scan_engine.h"

namespace zarn {
namespace {

constexpr int kStaging = 1;
constexpr int kProfileFolders = 2;
constexpr int kCaches = 3, kCookies = 4, kHistory = 5;

const char kCache[] = "Internet Cache";
const char kCookie[] = "Cookies";
const char kVisits[] = "History";

// Per profile: the disk caches, then the cookie databases, then history and sessions.
// Caches are rebuilt by the browser and may be listed while it runs; the databases are
// held open by a running browser and are only listed when it has let go of them. Cache
// files moved to Cache\Cache_Data\ and cookies to Network\ in 2021; older versions, and
// the builds for other systems, keep the old places.
const ProfileFile kProfileFiles[] = {
    {"Cache\\Cache_Data\\", "*", Walk::Flat, InUse::Listed, kCache, kCaches},
    {"Cache\\", "*", Walk::Flat, InUse::Listed, kCache, kCaches},
    {"Code Cache\\", "*", Walk::Recursive, InUse::Listed, kCache, kCaches},
    {"GPUCache\\", "*", Walk::Flat, InUse::Listed, kCache, kCaches},
    {"Network\\", "Cookies", Walk::Flat, InUse::LeftOut, kCookie, kCookies},
    {"Network\\", "Cookies-journal", Walk::Flat, InUse::LeftOut, kCookie, kCookies},
    {"", "Cookies", Walk::Flat, InUse::LeftOut, kCookie, kCookies},
    {"", "Cookies-journal", Walk::Flat, InUse::LeftOut, kCookie, kCookies},
    {"", "History", Walk::Flat, InUse::LeftOut, kVisits, kHistory},
    {"", "History-journal", Walk::Flat, InUse::LeftOut, kVisits, kHistory},
    {"", "Visited Links", Walk::Flat, InUse::LeftOut, kVisits, kHistory},
    {"", "Top Sites", Walk::Flat, InUse::LeftOut, kVisits, kHistory},
    {"", "Top Sites-journal", Walk::Flat, InUse::LeftOut, kVisits, kHistory},
    {"", "Shortcuts", Walk::Flat, InUse::LeftOut, kVisits, kHistory},
    {"", "Shortcuts-journal", Walk::Flat, InUse::LeftOut, kVisits, kHistory},
    {"Sessions\\", "*", Walk::Flat, InUse::LeftOut, kVisits, kHistory},
};

// The n of "Profile <n>", or nothing for any other name.
bool ProfileNumber(std::string_view name, unsigned long long& n) {
  constexpr std::string_view kPrefix = "Profile ";
  if (name.size() <= kPrefix.size() || name.substr(0, kPrefix.size()) != kPrefix) return false;
  const std::string_view digits = name.substr(kPrefix.size());
  if (!std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; })) return false;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), n);
  return error == std::errc() && end == digits.data() + digits.size();
}

bool Taken(const ProfileFile& row, const std::string& path, const FileFacts* facts) {
  if (row.inUse == InUse::LeftOut) return PassesFilter(path, facts, FileFilter::ExistingUnlocked);
  return facts ? FileExists(*facts) : FileExists(path);
}

// Lists one row of the reach in one profile, stages what it lists and adds the traces.
void ProbeRow(TCategoryForm& form, const std::string& profile, const ProfileFile& row) {
  TextList& work = form.ListBox[row.workingList];
  TextList& staging = form.ListBox[kStaging];
  if (!RealFoldersBelow(profile, row.inProfile)) {
    work.Clear();
    return;
  }
  const std::string folder = profile + row.inProfile;
  if (row.walk == Walk::Recursive)
    ListFilesBelow(work, folder);
  else
    ListFilesIn(work, folder, row.mask);
  const size_t first = staging.Count();
  for (size_t i = 0; i < work.Count(); ++i) {
    if (const FileFacts* facts = work.Facts(i))
      staging.Add(work.Text(i), *facts);
    else
      staging.Add(work.Text(i));
  }
  for (size_t i = first; i < staging.Count(); ++i) {
    const std::string path(staging.Text(i));
    const FileFacts* facts = staging.Facts(i);
    if (Taken(row, path, facts)) form.AddFileTrace(path, facts, row.info);
  }
}

}  // namespace

std::span<const ProfileFile> ChromiumProfileFiles() { return kProfileFiles; }

std::vector<std::string> ChromiumProfileOrder(std::vector<std::string> folderNames) {
  struct Ranked {
    unsigned long long rank;
    std::string name;
  };
  std::vector<Ranked> profiles;
  for (std::string& name : folderNames) {
    unsigned long long n = 0;
    if (name == "Default")
      profiles.push_back({0, std::move(name)});
    else if (ProfileNumber(name, n) && n < ~0ull)
      profiles.push_back({n + 1, std::move(name)});
  }
  std::stable_sort(profiles.begin(), profiles.end(), [](const Ranked& a, const Ranked& b) {
    return a.rank != b.rank ? a.rank < b.rank : a.name < b.name;
  });
  std::vector<std::string> order;
  for (Ranked& p : profiles) order.push_back(std::move(p.name));
  return order;
}

void ProbeChromiumProfiles(TCategoryForm& form, const ChromiumBrowser& browser) {
  form.ListBox[kStaging].Clear();
  form.ListBox[kProfileFolders].Clear();
  for (const ProfileFile& row : browser.reach) form.ListBox[row.workingList].Clear();

  // Without the base folder the User Data folder would be looked for at the drive root.
  const std::string base = ReadBaseFolder(browser.base);
  if (base.empty()) return;
  const std::string_view below = browser.userData;
  if (!RealFoldersBelow(base + "\\", below.substr(1))) return;
  const std::string userData = base + browser.userData;

  TextList& folders = form.ListBox[kProfileFolders];
  ListRealSubfolders(folders, userData);
  std::vector<std::string> names;
  for (size_t i = 0; i < folders.Count(); ++i) names.emplace_back(folders.Text(i));
  for (const std::string& profile : ChromiumProfileOrder(std::move(names))) {
    const std::string folder = userData + profile + "\\";
    for (const ProfileFile& row : browser.reach) ProbeRow(form, folder, row);
  }
}

}  // namespace zarn
