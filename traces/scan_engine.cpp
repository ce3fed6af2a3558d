#include "traces/scan_engine.h"

#include <windows.h>

#include <vector>

#include "traces/category_form.h"
#include "traces/probes.h"
#include "traces/pulse.h"
#include "traces/store_kind.h"

namespace zarn {

const std::string& FolderSnapshot::Get(BaseFolder folder) {
  auto& slot = folders_[static_cast<size_t>(folder)];
  if (!slot) slot = ReadBaseFolder(folder);
  return *slot;
}

bool FolderSnapshot::NoLinkOnTheWay(const std::string& base, std::string_view below) {
  for (size_t end = below.find_first_of("\\/", 1); end != std::string_view::npos;
       end = below.find_first_of("\\/", end + 1)) {
    std::string folder = base;
    folder.append(below.substr(0, end));
    if (real_.count(folder)) continue;
    const DWORD attributes = GetFileAttributesA(folder.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !IsRealFolder(FileFacts{attributes})) return false;
    real_.insert(std::move(folder));
  }
  return true;
}

namespace {

// Letter case aside, as the file system compares names; the excepted names are ASCII.
bool SameNameAnyCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

// Lists folder + mask into `work` and stages every kept entry. `subfolders`, when given,
// collects the kept entries that are real folders, links excluded.
void StageListing(const FileLocation& loc, const std::string& base, const std::string& folder, TextList& work,
                  TextList& staging, std::vector<std::string>* subfolders) {
  if (loc.listing == Listing::Names)
    ListFiles(work, folder, loc.mask);
  else
    ListFilesIn(work, folder, loc.mask);
  std::string path;
  for (size_t i = 0; i < work.Count() && Pulse(); ++i) {
    std::string_view text = work.Text(i);
    if (loc.listing == Listing::Names) {
      path.assign(folder).append(text);
    } else {
      path.assign(text);
    }
    const std::string_view name = std::string_view(path).substr(folder.size());
    if (loc.dots == Dots::Skip && IsDotName(name)) continue;
    if (loc.except && SameNameAnyCase(name, loc.except)) continue;
    if (loc.keep && !loc.keep(path, base)) continue;
    const FileFacts* facts = work.Facts(i);
    if (facts)
      staging.Add(path, *facts);
    else
      staging.Add(path);
    if (subfolders && facts && IsRealFolder(*facts) && !IsDotName(name)) subfolders->push_back(path + "\\");
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

// Lists the names of one key of a row and adds a trace for each name the row takes.
void ProbeKey(TCategoryForm& form, const RegistryRow& row, const std::string& key, TextList& memo) {
  memo.Clear();
  TRegistry reg(RootKey(row.root));
  if (!reg.OpenRegKey(key)) return;
  if (row.names == NameSource::Values)
    reg.ListValueNames(memo);
  else
    reg.ListSubkeyNames(memo);
  // Each value is read through the key already open: under Wine every fresh open is a
  // round trip to the server with a path lookup.
  for (size_t i = 0; i < memo.Count() && Pulse(); ++i) {
    const std::string name(memo.Text(i));
    if (!NameTaken(row, name)) continue;
    if (row.fixedInfo)
      form.AddRegistryTrace(row.root, key, name, row.fixedInfo);
    else
      form.AddRegistryTrace(row.root, key, name, reg.CurrentKey());
  }
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
    if (loc.noLinkOnTheWay && !folders.NoLinkOnTheWay(base, loc.folder)) {
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

LocationsBelow::LocationsBelow(std::span<const FileLocation> rows, const std::string& below,
                               std::optional<BaseFolder> base) {
  folders_.reserve(rows.size());  // the locations point into these texts
  for (const FileLocation& row : rows) {
    folders_.push_back(below + row.folder);
    FileLocation loc = row;
    loc.folder = folders_.back().c_str();
    if (base) loc.base = *base;
    loc.noLinkOnTheWay = true;
    locations_.push_back(loc);
  }
}

bool PassesFilter(const std::string& path, const FileFacts* facts, FileFilter filter) {
  switch (filter) {
    case FileFilter::None: return true;
    case FileFilter::Existing: return facts ? FileExists(*facts) : FileExists(path);
    case FileFilter::Unlocked: return !IsFileLocked(path, facts);
    case FileFilter::ExistingUnlocked:
      return (facts ? FileExists(*facts) : FileExists(path)) && !IsFileLocked(path, facts);
  }
  return false;
}

void AddStagedFiles(TCategoryForm& form, const TextList& staging, FileFilter filter, const std::string& info) {
  for (size_t i = 0; i < staging.Count() && Pulse(); ++i) {
    const std::string path(staging.Text(i));
    const FileFacts* facts = staging.Facts(i);
    if (PassesFilter(path, facts, filter)) form.AddFileTrace(path, facts, info);
  }
}

namespace {

// The form's items of one store, as its kind lists them.
class FormSink final : public ItemSink {
 public:
  FormSink(TCategoryForm& form, const StoreKind& kind, const StorePlace& place)
      : form_(form), kind_(kind), place_(place) {}
  void Add(const std::string& name, const std::string& info, std::string size) override {
    form_.AddDatabaseTrace(kind_, place_, name, info, std::move(size));
  }
  void AddAt(const std::string& location, const std::string& name, const std::string& info,
             std::string size) override {
    form_.AddDatabaseTrace(kind_, {location, place_.base}, name, info, std::move(size));
  }

 private:
  TCategoryForm& form_;
  const StoreKind& kind_;
  const StorePlace& place_;
};

}  // namespace

void AddStoreTraces(TCategoryForm& form, const StoreKind& kind, const StorePlace& place) {
  FormSink sink(form, kind, place);
  kind.ListItems(place, sink);
}

void AddStoreItems(TCategoryForm& form, std::span<const FileLocation> locations, TextList& staging,
                   FolderSnapshot& folders, FileFilter filter) {
  for (const FileLocation& loc : locations) {
    if (!loc.store) continue;
    staging.Clear();
    StageFiles(form, {&loc, 1}, staging, folders);
    const std::string& base = folders.Get(loc.base);
    for (size_t i = 0; i < staging.Count() && Pulse(); ++i) {
      const std::string path(staging.Text(i));
      if (PassesFilter(path, staging.Facts(i), filter)) AddStoreTraces(form, *loc.store, {path, base});
    }
  }
}

bool NameTaken(const RegistryRow& row, std::string_view name) {
  switch (row.rule) {
    case NameRule::All: return true;
    case NameRule::AllButMRUList: return name != "MRUList";
    case NameRule::AllNamed: return !name.empty();
    case NameRule::Only: return row.only && name == row.only;
    case NameRule::Numbered: {
      if (!row.only) return false;
      const std::string_view prefix = row.only;
      if (name.size() <= prefix.size() || name.substr(0, prefix.size()) != prefix) return false;
      for (char c : name.substr(prefix.size()))
        if (c < '0' || c > '9') return false;
      return true;
    }
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
    if (!row.inEachSubkey) {
      ProbeKey(form, row, row.key, memo);
      continue;
    }
    TextList level;
    ListRegistryNames(row.root, row.key, NameSource::Subkeys, level);
    for (size_t i = 0; i < level.Count(); ++i)
      ProbeKey(form, row, std::string(row.key) + "\\" + std::string(level.Text(i)) + "\\" + row.inEachSubkey, memo);
  }
}

}  // namespace zarn
