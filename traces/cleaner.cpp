#include "traces/cleaner.h"

#include <windows.h>

#include <vector>

#include "traces/database_guard.h"
#include "traces/pulse.h"
#include "traces/registry.h"
#include "traces/store_kind.h"
#include "traces/trace_list.h"

namespace zarn {
namespace {

bool DeleteOneFile(const CleanRules& rules, const std::string& path) {
  if (rules.clearAttributes) SetFileAttributesA(path.c_str(), 0);
  return DeleteFileA(path.c_str()) != 0;
}

bool IsDatabase(const CleanRules& rules, const std::string& name) {
  for (const char* database : rules.databases)
    if (name == database) return true;
  return false;
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// True when the file went.
bool CleanFile(const CleanRules& rules, const TraceItem& item) {
  const std::string path = item.location + item.name;
  // Only a delete that failed asks again: a file already gone went all the same. (One look
  // more per file would cost as much as a tenth of the clean under Wine.)
  if (!DeleteOneFile(rules, path) && Exists(path)) return false;
  // A journal or a log that a crash left is what SQLite needs to repair its database: each
  // goes only when the database has gone, never beside one that a running browser still
  // holds, and never through a link.
  if (IsDatabase(rules, item.name))
    for (const char* side : {"-journal", "-wal", "-shm"}) {
      const std::string beside = path + side;
      const std::wstring reached = ReachedBelow(item.location, beside);
      if (reached.empty()) continue;
      if (rules.clearAttributes) SetFileAttributesA(beside.c_str(), 0);
      DeleteReached(Wide(beside), reached);
    }
  return true;
}

// The key path a Location names under `root`, or nothing when it names the other root.
bool KeyPathUnder(Root root, const std::string& location, std::string& keyPath) {
  const std::string_view prefix = RootText(root);
  if (location.compare(0, prefix.size(), prefix) != 0) return false;
  keyPath = location.substr(prefix.size());
  return true;
}

void DeleteValue(Root root, const TraceItem& item) {
  std::string key;
  if (!KeyPathUnder(root, item.location, key)) return;
  TRegistry reg(RootKey(root));
  if (reg.OpenRegKey(key)) reg.DeleteRegValue(item.name);
}

// A value name may be empty (the default value) or hold backslashes, which would make it
// address the Location key itself or a path of keys: only a plain subkey name is deleted as
// a key.
bool IsSubkeyName(const std::string& name) { return !name.empty() && name.find('\\') == std::string::npos; }

void DeleteSubkey(Root root, const TraceItem& item) {
  if (!IsSubkeyName(item.name)) return;
  std::string key;
  if (!KeyPathUnder(root, item.location, key)) return;
  TRegistry reg(RootKey(root));
  if (reg.OpenRegKey(key)) reg.DeleteRegKeyTree(item.name);
}

// Whether the value the trace names, or the subkey the category deletes with it, is still
// under the root its Location names.
bool RegistryTraceThere(const CleanRules& rules, const TraceItem& item) {
  for (Root root : {Root::HKCU, Root::HKLM}) {
    std::string key;
    if (!KeyPathUnder(root, item.location, key)) continue;
    TRegistry reg(RootKey(root));
    if (!reg.OpenRegKey(key)) return false;
    if (RegQueryValueExA(reg.CurrentKey(), item.name.c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS)
      return true;
    const bool keysGo = rules.keys == KeyDeletion::BothRootsAfter ||
                        (rules.keys == KeyDeletion::CurrentUserBetween && root == Root::HKCU);
    return keysGo && IsSubkeyName(item.name) && reg.RegKeyExists(item.name);
  }
  return false;
}

// True when the trace went.
bool CleanRegistry(const CleanRules& rules, const TraceItem& item) {
  DeleteValue(Root::HKCU, item);
  if (rules.keys == KeyDeletion::CurrentUserBetween) DeleteSubkey(Root::HKCU, item);
  DeleteValue(Root::HKLM, item);
  if (rules.keys == KeyDeletion::BothRootsAfter) {
    DeleteSubkey(Root::HKCU, item);
    DeleteSubkey(Root::HKLM, item);
  }
  return !RegistryTraceThere(rules, item);
}

// The ticked items of the store that item `first` names, from it on, each marked done; the
// number of them still there afterwards. An item that names no kind of store is left alone.
size_t CleanStore(const TraceList& list, size_t first, std::vector<bool>& done) {
  const TraceItem& one = list.Item(first);
  std::vector<std::string> names;
  for (size_t i = first; i < list.Count(); ++i) {
    const TraceItem& item = list.Item(i);
    if (!done[i] && list.IsTicked(i) && item.IsDatabaseRows() && item.store == one.store &&
        item.location == one.location && item.base == one.base) {
      names.push_back(item.name);
      done[i] = true;
    }
  }
  if (one.store && one.store->DeleteItems({one.location, one.base}, names)) return 0;
  return names.size();
}

}  // namespace

size_t RunCleaner(const TraceList& list, const CleanRules& rules, CleanSteps& steps) {
  // A stop (the program is ending) comes between two items, never inside one, and skips
  // the category's closing step: every item is then deleted whole or not touched.
  std::vector<bool> done(list.Count());
  size_t left = 0;
  for (size_t i = 0; i < list.Count(); ++i) {
    if (!Pulse()) {
      for (size_t j = i; j < list.Count(); ++j) left += list.IsTicked(j) && !done[j];
      return left;
    }
    if (!list.IsTicked(i) || done[i]) continue;
    const TraceItem& item = list.Item(i);
    // Rows of a database are never taken for a file: Location + Name would name another.
    if (item.IsDatabaseRows()) {
      left += CleanStore(list, i, done);
    } else if (rules.everyItemIsFile || !item.IsRegistry()) {
      // The category's own step (the recycle bin, the clipboard) reports nothing.
      if (!steps.CleanOwnItem(item)) left += !CleanFile(rules, item);
    } else {
      left += !CleanRegistry(rules, item);
    }
  }
  steps.AfterClean();
  return left;
}

}  // namespace zarn
