#include "traces/scan_engine.h"

#include "traces/category_form.h"
#include "traces/probes.h"

namespace zarn {

const std::string& FolderSnapshot::Get(BaseFolder folder) {
  auto& slot = folders_[static_cast<size_t>(folder)];
  if (!slot) slot = ReadBaseFolder(folder);
  return *slot;
}

namespace {

bool IsDotName(std::string_view name) { return name == "." || name == ".."; }

// Lists folder + mask into `work` and stages every kept entry. `subfolders`, when given,
// collects the kept entries that are real folders, links excluded.
void StageListing(const FileLocation& loc, const std::string& base, const std::string& folder, TextList& work,
                  TextList& staging, std::vector<std::string>* subfolders) {
  if (loc.listing == Listing::Names)
    ListFiles(work, folder, loc.mask);
  else
    ListFilesIn(work, folder, loc.mask);
  std::string path;
  for (size_t i = 0; i < work.Count(); ++i) {
    std::string_view text = work.Text(i);
    if (loc.listing == Listing::Names) {
      path.assign(folder).append(text);
    } else {
      path.assign(text);
    }
    const std::string_view name = std::string_view(path).substr(folder.size());
    if (loc.dots == Dots::Skip && IsDotName(name)) continue;
    if (loc.keep && !loc.keep(path, base)) continue;
    const FileFacts* facts = work.Facts(i);
    if (facts)
      staging.Add(path, *facts);
    else
      staging.Add(path);
    if (subfolders && facts && (facts->attributes & FILE_ATTRIBUTE_DIRECTORY) &&
        !(facts->attributes & FILE_ATTRIBUTE_REPARSE_POINT) && !IsDotName(name))
      subfolders->push_back(path + "\\");
  }
}

// ANSI paths end at MAX_PATH, which bounds the depth.
void StageTree(const FileLocation& loc, const std::string& base, const std::string& folder, TextList& work,
               TextList& staging) {
  std::vector<std::string> subfolders;
  StageListing(loc, base, folder, work, staging, &subfolders);
  TextList below;
  for (const std::string& sub : subfolders) StageTree(loc, base, sub, below, staging);
}

}  // namespace

void StageFiles(TCategoryForm& form, std::span<const FileLocation> locations, TextList& staging,
                FolderSnapshot& folders) {
  for (const FileLocation& loc : locations) {
    TextList& work = form.ListBox[loc.workingList];
    const std::string& base = folders.Get(loc.base);
    if (base.empty()) {
      work.Clear();
      continue;
    }
    const std::string folder = base + loc.folder;
    if (loc.depth == Depth::Tree)
      StageTree(loc, base, folder, work, staging);
    else
      StageListing(loc, base, folder, work, staging, nullptr);
  }
}

bool PassesFilter(const std::string& path, const FileFacts* facts, FileFilter filter) {
  switch (filter) {
    case FileFilter::None: return true;
    case FileFilter::Unlocked: return !IsFileLocked(path, facts);
    case FileFilter::ExistingUnlocked:
      return (facts ? FileExists(*facts) : FileExists(path)) && !IsFileLocked(path, facts);
  }
  return false;
}

void AddStagedFiles(TCategoryForm& form, const TextList& staging, FileFilter filter,
                    const std::string& info) {
  for (size_t i = 0; i < staging.Count(); ++i) {
    const std::string path(staging.Text(i));
    const FileFacts* facts = staging.Facts(i);
    if (PassesFilter(path, facts, filter)) form.AddFileTrace(path, facts, info);
  }
}

bool NameTaken(const RegistryRow& row, std::string_view name) {
  switch (row.rule) {
    case NameRule::All: return true;
    case NameRule::AllButMRUList: return name != "MRUList";
    case NameRule::AllNamed: return !name.empty();
    case NameRule::Only: return row.only && name == row.only;
  }
  return false;
}

void ListRegistryNames(Root root, const std::string& key, NameSource names, TextList& memo) {
  memo.Clear();
  TRegistry reg(RootKey(root));
  if (!reg.OpenRegKey(key)) return;
  if (names == NameSource::Values)
    reg.ListValueNames(memo);
  else
    reg.ListSubkeyNames(memo);
}

void ProbeRegistry(TCategoryForm& form, std::span<const RegistryRow> rows, TextList& memo) {
  for (const RegistryRow& row : rows) {
    memo.Clear();
    TRegistry reg(RootKey(row.root));
    if (!reg.OpenRegKey(row.key)) continue;
    if (row.names == NameSource::Values)
      reg.ListValueNames(memo);
    else
      reg.ListSubkeyNames(memo);
    // Each value is read through the key already open: under Wine every fresh open is a
    // round trip to the server with a path lookup.
    for (size_t i = 0; i < memo.Count(); ++i) {
      const std::string name(memo.Text(i));
      if (!NameTaken(row, name)) continue;
      if (row.fixedInfo)
        form.AddRegistryTrace(row.root, row.key, name, row.fixedInfo);
      else
        form.AddRegistryTrace(row.root, row.key, name, reg.CurrentKey());
    }
  }
}

}  // namespace zarn
