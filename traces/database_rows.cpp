#include "traces/database_rows.h"

#include <windows.h>

#include "traces/handles.h"
#include "traces/probes.h"

namespace zarn {

bool HeldBy(const std::string& path, const char* name) {
  const std::string beside = LocationOf(path) + name;
  unique_file file(
      CreateFileA(beside.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (file) return false;
  // Only a file that is not there frees the profile; any other failure is taken as a hold.
  const DWORD error = GetLastError();
  return error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND;
}

unique_file Hold(const std::string& path, const char* name) {
  const std::string beside = LocationOf(path) + name;
  HANDLE held = CreateFileA(beside.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (held == INVALID_HANDLE_VALUE && GetLastError() == ERROR_FILE_NOT_FOUND)
    held = CreateFileA(beside.c_str(), GENERIC_READ | GENERIC_WRITE | DELETE, 0, nullptr, CREATE_NEW,
                       FILE_ATTRIBUTE_NORMAL | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  return unique_file(held);
}

void DatabaseKind::ListItems(const StorePlace& place, ItemSink& sink) const {
  if (HeldBeside() && HeldBy(place.path, HeldBeside())) return;
  Database db(place, Database::Mode::Read);
  if (db.Ok() && Attach(db, place.path) && Usable(db) && db.QuickCheck()) List(db, sink);
}

bool DatabaseKind::DeleteItems(const StorePlace& place, std::span<const std::string> names) const {
  if (names.empty()) return false;
  // The browser may have started since the scan; from here until the file is closed, one
  // that starts finds its profile taken.
  unique_file held;
  if (HeldBeside()) {
    held = Hold(place.path, HeldBeside());
    if (!held) return false;
  }
  Database db(place, Database::Mode::Write);
  if (!db.Ok() || (ForeignKeys() && !db.Exec("PRAGMA foreign_keys=ON")) || !Attach(db, place.path)) return false;
  // The shape and the check are made inside the transaction, whose lock keeps every other
  // writer out until the rows are gone.
  if (!db.Begin()) return false;
  if (Usable(db) && db.QuickCheck() && Delete(db, names) && db.Commit()) return true;
  db.Rollback();
  return false;
}

}  // namespace zarn
