#pragma once
// The one engine all scanners share. A category describes its reach as tables of file
// locations and registry rows; the engine lists them with the probes and turns what it
// finds into trace items. Quirks that only one category has stay in that category's file.
#include <array>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "traces/base_folders.h"
#include "traces/registry.h"
#include "traces/text_list.h"

namespace zarn {

class TCategoryForm;
class StoreKind;
struct StorePlace;

// The base folders of one scan, each read from the registry at most once, and the folders
// below them that the scan has found to be real folders.
class FolderSnapshot {
 public:
  const std::string& Get(BaseFolder folder);

  // Whether each folder named in `below` (each name follows a backslash or a slash; the
  // text ends with one) exists, taken one after the other from `base`, and none of them is
  // a link. Each folder is looked at once per scan.
  bool NoLinkOnTheWay(const std::string& base, std::string_view below);

 private:
  std::array<std::optional<std::string>, kBaseFolderCount> folders_;
  std::set<std::string> real_;
};

enum class Listing { Names, Paths };  // ListFiles (bare names) or ListFilesIn (full paths)
enum class Dots { Keep, Skip };       // whether "." and ".." are dropped
enum class Depth {
  Flat,  // the folder's own entries, subfolders staged as entries
  Tree,  // also every subfolder below it, depth first after the folder's own entries
};

// One folder listing of a category's reach. The first six fields are written in order in
// every table; what only a few locations have follows with a default, set by name.
struct FileLocation {
  BaseFolder base;
  const char* folder;  // appended to the base folder; ends with a backslash
  const char* mask;
  int workingList;  // index into the form's ListBox
  Listing listing;
  Dots dots;
  // A category's extra rule for this location: false drops the path. `base` is the base
  // folder the location was built on.
  bool (*keep)(const std::string& path, const std::string& base) = nullptr;
  Depth depth = Depth::Flat;
  // A name this location never stages, in any letter case: what users keep among the
  // traces of one folder.
  const char* except = nullptr;
  // The folder is listed only when no folder on the way to it from the base folder is a
  // link. LocationsBelow sets it.
  bool noLinkOnTheWay = false;
  // The files are stores of this kind, whose traces are parts of them (the rows of a
  // browser's database), not the files themselves. AsStore sets it.
  const StoreKind* store = nullptr;
};

// A location whose files are stores of `kind`.
constexpr FileLocation AsStore(FileLocation location, const StoreKind& kind) {
  location.store = &kind;
  return location;
}

// A table whose folders lie below a folder the scan works out (a browser profile): each
// location's folder becomes `below` + its own, on `base` when one is given. `below`
// begins with a backslash and does not end with one. A profile named by a file the
// browser writes, or a folder on the way that a link stands in for, would lead the scan
// and then the cleaner elsewhere: these locations are listed only when no folder on the
// way from the base folder is a link.
class LocationsBelow {
 public:
  LocationsBelow(std::span<const FileLocation> rows, const std::string& below, std::optional<BaseFolder> base = {});
  LocationsBelow(const LocationsBelow&) = delete;  // the locations point into folders_
  LocationsBelow& operator=(const LocationsBelow&) = delete;
  operator std::span<const FileLocation>() const { return locations_; }

 private:
  std::vector<std::string> folders_;
  std::vector<FileLocation> locations_;
};

// Lists each location into its working list and appends folder + name of every kept
// entry to the staging list, with the listing's file data. A location whose base folder
// is empty contributes nothing: the drive root is never listed in its place. A Tree
// location lists each subfolder into a scratch list; a folder link (junction or symbolic
// link) is staged as an entry but never entered, so the listing stays inside the location.
// A location below a worked-out folder with a link on the way contributes nothing.
void StageFiles(TCategoryForm& form, std::span<const FileLocation> locations, TextList& staging,
                FolderSnapshot& folders);

enum class FileFilter {
  None,              // every staged path becomes a trace
  Existing,          // the existence test must hold
  Unlocked,          // IsFileLocked must be false
  ExistingUnlocked,  // the existence test must hold and IsFileLocked be false
};

bool PassesFilter(const std::string& path, const FileFacts* facts, FileFilter filter);

// Adds a file trace with the given Info text for every staged path that passes the filter.
void AddStagedFiles(TCategoryForm& form, const TextList& staging, FileFilter filter, const std::string& info);

// Lists the stores of each location into `staging` and adds the items of every one that
// passes the filter, as the location's kind of store lists them, on the location's base folder.
void AddStoreItems(TCategoryForm& form, std::span<const FileLocation> locations, TextList& staging,
                   FolderSnapshot& folders, FileFilter filter);
// Adds the items of one store, each naming its kind and place.
void AddStoreTraces(TCategoryForm& form, const StoreKind& kind, const StorePlace& place);

enum class NameSource { Values, Subkeys };
enum class NameRule {
  All,            // every name, "MRUList" included
  AllButMRUList,  // every name but "MRUList"; the unnamed default value passes
  AllNamed,       // every name but the empty one (the default value)
  Only,           // only the name given in the row
  Numbered,       // the row's text followed by a decimal number, such as "Item 12"
};

// One registry key of a category's reach. Tables spell rows with the makers below; a
// rarer property is a further field with a default, so that old rows stay as they are.
struct RegistryRow {
  Root root;
  const char* key;  // from the root, with its leading backslash
  NameSource names;
  NameRule rule;
  const char* only = nullptr;       // the name for NameRule::Only
  const char* fixedInfo = nullptr;  // Info text instead of the value's data
  // When set, `key` is a level of keys whose every subkey holds the list below this path
  // (one list per signed-in account, say): each is probed as key\<subkey>\<path>.
  const char* inEachSubkey = nullptr;
};

// Every value but "MRUList": the recent lists that keep their order in that value.
constexpr RegistryRow ValuesButMRUList(Root root, const char* key) {
  return {root, key, NameSource::Values, NameRule::AllButMRUList};
}
// Every value, "MRUList" and the unnamed default value included.
constexpr RegistryRow EveryValue(Root root, const char* key) { return {root, key, NameSource::Values, NameRule::All}; }
// Every value but the unnamed default value.
constexpr RegistryRow NamedValues(Root root, const char* key) {
  return {root, key, NameSource::Values, NameRule::AllNamed};
}
// The one value of that name.
constexpr RegistryRow OneValue(Root root, const char* key, const char* name) {
  return {root, key, NameSource::Values, NameRule::Only, name};
}
// Every subkey but one named "MRUList", each with the fixed Info text when one is given.
constexpr RegistryRow SubkeysButMRUList(Root root, const char* key, const char* fixedInfo = nullptr) {
  return {root, key, NameSource::Subkeys, NameRule::AllButMRUList, nullptr, fixedInfo};
}
// Every value, "MRUList" included, with a fixed Info text: for lists whose data is not text.
constexpr RegistryRow EveryValueAs(Root root, const char* key, const char* fixedInfo) {
  return {root, key, NameSource::Values, NameRule::All, nullptr, fixedInfo};
}
// Every value but "MRUList", with a fixed Info text.
constexpr RegistryRow ValuesButMRUListAs(Root root, const char* key, const char* fixedInfo) {
  return {root, key, NameSource::Values, NameRule::AllButMRUList, nullptr, fixedInfo};
}
// Every subkey.
constexpr RegistryRow EverySubkey(Root root, const char* key) {
  return {root, key, NameSource::Subkeys, NameRule::All};
}
// The values named `prefix` and a number; the other values of such a key are settings.
constexpr RegistryRow NumberedValues(Root root, const char* key, const char* prefix) {
  return {root, key, NameSource::Values, NameRule::Numbered, prefix};
}
// The row's list under each subkey of its key, at `path` below that subkey.
constexpr RegistryRow InEachSubkey(RegistryRow row, const char* path) {
  row.inEachSubkey = path;
  return row;
}

bool NameTaken(const RegistryRow& row, std::string_view name);

// Lists the names of one row's key into `memo` (emptied first; a key that cannot be
// opened with full access leaves it empty).
void ListRegistryNames(Root root, const std::string& key, NameSource names, TextList& memo);

// For every row in order: lists its names into `memo` and adds a registry trace for each
// name the row's rule takes.
void ProbeRegistry(TCategoryForm& form, std::span<const RegistryRow> rows, TextList& memo);

// A file table and the ListBox index its entries are staged into.
struct FileTable {
  std::span<const FileLocation> locations;
  int staging = 1;
};

// Every table a category's scan reads, for the checks that walk them all.
struct CategoryTables {
  std::vector<FileTable> files = {};
  std::vector<std::span<const RegistryRow>> rows = {};
};

}  // namespace zarn
