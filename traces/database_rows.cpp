#include "traces/database_rows.h"

#include <windows.h>

#include "traces/handles.h"
#include "traces/probes.h"

namespace zarn {
namespace {

// The kind's files open and attached, of the shape it knows, and whole.
bool Usable(const RowsKind& kind, Database& db, const std::string& path) {
  if (!db.Ok()) return false;
  if (kind.attach && !kind.attach(db, path)) return false;
  return kind.knownShape && kind.knownShape(db) && db.QuickCheck();
}

}  // namespace

bool HeldBeside(const std::string& path, const char* name) {
  const std::string beside = LocationOf(path) + name;
  unique_file file(
      CreateFileA(beside.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (file) return false;
  // Only a file that is not there frees the profile; any other failure is taken as a hold.
  const DWORD error = GetLastError();
  return error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND;
}

void AddDatabaseItems(TCategoryForm& form, const RowsKind& kind, const std::string& path) {
  if (kind.heldBeside && HeldBeside(path, kind.heldBeside)) return;
  Database db(path, Database::Mode::Read);
  if (Usable(kind, db, path) && kind.list) kind.list(db, form, path);
}

bool CleanDatabaseItems(const RowsKind& kind, const std::string& path, std::span<const std::string> names) {
  if (names.empty() || !kind.deleteRows) return false;
  // The browser may have started since the scan: its hold is looked for again.
  if (kind.heldBeside && HeldBeside(path, kind.heldBeside)) return false;
  Database db(path, Database::Mode::Write);
  if (!db.Ok() || (kind.foreignKeys && !db.Exec("PRAGMA foreign_keys=ON"))) return false;
  if (kind.attach && !kind.attach(db, path)) return false;
  // The shape and the check are made inside the transaction, whose lock keeps every other
  // writer out until the rows are gone.
  if (!db.Begin()) return false;
  if (kind.knownShape && kind.knownShape(db) && db.QuickCheck() && kind.deleteRows(db, names) && db.Commit())
    return true;
  db.Rollback();
  return false;
}

const RowsKind* KindOf(std::span<const RowsKind* const> kinds, const std::string& path) {
  const std::string name = NameOf(path);
  for (const RowsKind* kind : kinds)
    if (_stricmp(kind->fileName, name.c_str()) == 0) return kind;
  return nullptr;
}

}  // namespace zarn
