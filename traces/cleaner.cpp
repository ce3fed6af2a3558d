#include "traces/cleaner.h"

#include <windows.h>

#include <vector>

#include "traces/category_form.h"
#include "traces/database_rows.h"
#include "traces/pulse.h"
#include "traces/registry.h"

namespace zarn {
namespace {

void DeleteOneFile(const CleanRules& rules, const std::string& path) {
  if (rules.clearAttributes) SetFileAttributesA(path.c_str(), 0);
  DeleteFileA(path.c_str());
}

bool IsDatabase(const CleanRules& rules, const std::string& name) {
  for (const char* database : rules.databases)
    if (name == database) return true;
  return false;
}

void CleanFile(TCategoryForm& form, const CleanRules& rules, const TraceItem& item) {
  if (form.CleanOwnItem(item)) return;
  const std::string path = item.location + item.name;
  DeleteOneFile(rules, path);
  // A journal that a crash left is what SQLite needs to repair its database: it goes only
  // when the database has gone, never beside one that a running browser still holds.
  if (IsDatabase(rules, item.name) && GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES)
    DeleteOneFile(rules, path + "-journal");
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

void DeleteSubkey(Root root, const TraceItem& item) {
  // A value name may be empty (the default value) or hold backslashes, which would make it
  // address the Location key itself or a path of keys: only a plain subkey name is
  // deleted as a key.
  if (item.name.empty() || item.name.find('\\') != std::string::npos) return;
  std::string key;
  if (!KeyPathUnder(root, item.location, key)) return;
  TRegistry reg(RootKey(root));
  if (reg.OpenRegKey(key)) reg.DeleteRegKeyTree(item.name);
}

void CleanRegistry(const CleanRules& rules, const TraceItem& item) {
  DeleteValue(Root::HKCU, item);
  if (rules.keys == KeyDeletion::CurrentUserBetween) DeleteSubkey(Root::HKCU, item);
  DeleteValue(Root::HKLM, item);
  if (rules.keys == KeyDeletion::BothRootsAfter) {
    DeleteSubkey(Root::HKCU, item);
    DeleteSubkey(Root::HKLM, item);
  }
}

// The ticked items of the database that item `first` names, from it on, each marked done.
void CleanDatabase(const CleanRules& rules, const TraceList& list, size_t first, std::vector<bool>& done) {
  const std::string& path = list.Item(first).location;
  std::vector<std::string> names;
  for (size_t i = first; i < list.Count(); ++i) {
    const TraceItem& item = list.Item(i);
    if (!done[i] && list.IsTicked(i) && item.IsDatabaseRows() && item.location == path) {
      names.push_back(item.name);
      done[i] = true;
    }
  }
  if (const RowsKind* kind = KindOf(rules.rows, path)) CleanDatabaseItems(*kind, path, names);
}

}  // namespace

void RunCleaner(TCategoryForm& form) {
  const CleanRules& rules = form.Clean();
  const TraceList& list = form.Traces();
  // A stop (the program is ending) comes between two items, never inside one, and skips
  // the category's closing step: every item is then deleted whole or not touched.
  std::vector<bool> done(list.Count());
  for (size_t i = 0; i < list.Count(); ++i) {
    if (!Pulse()) return;
    if (!list.IsTicked(i) || done[i]) continue;
    const TraceItem& item = list.Item(i);
    // Rows of a database are never taken for a file: Location + Name would name another.
    if (item.IsDatabaseRows())
      CleanDatabase(rules, list, i, done);
    else if (rules.everyItemIsFile || !item.IsRegistry())
      CleanFile(form, rules, item);
    else
      CleanRegistry(rules, item);
  }
  form.AfterClean();
}

}  // namespace zarn
