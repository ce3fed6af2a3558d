#include "traces/database_rows.h"

#include <windows.h>

#include "traces/category_form.h"
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

// Takes the file `name` beside `path` without sharing, as the browser takes it while it uses
// the profile, so that a browser starting meanwhile finds its profile in use; where the
// browser left no such file, one is made for as long as it is held. Empty when the browser
// holds it.
unique_file HoldBeside(const std::string& path, const char* name) {
  const std::string beside = LocationOf(path) + name;
  HANDLE held = CreateFileA(beside.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (held == INVALID_HANDLE_VALUE && GetLastError() == ERROR_FILE_NOT_FOUND)
    held = CreateFileA(beside.c_str(), GENERIC_READ | GENERIC_WRITE | DELETE, 0, nullptr, CREATE_NEW,
                       FILE_ATTRIBUTE_NORMAL | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  return unique_file(held);
}

class FormSink : public RowsSink {
 public:
  FormSink(TCategoryForm& form, const StorePlace& place) : form_(form), place_(place) {}
  void Add(const std::string& name, const std::string& info, std::string size) override {
    form_.AddDatabaseTrace(place_, name, info, std::move(size));
  }

 private:
  TCategoryForm& form_;
  const StorePlace& place_;
};

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

void AddDatabaseItems(TCategoryForm& form, const RowsKind& kind, const StorePlace& place) {
  if (kind.heldBeside && HeldBeside(place.path, kind.heldBeside)) return;
  Database db(place, Database::Mode::Read);
  FormSink sink(form, place);
  if (Usable(kind, db, place.path) && kind.list) kind.list(db, sink);
}

bool CleanDatabaseItems(const RowsKind& kind, const StorePlace& place, std::span<const std::string> names) {
  if (names.empty() || !kind.deleteRows) return false;
  // The browser may have started since the scan; from here until the file is closed, one
  // that starts finds its profile taken.
  unique_file held;
  if (kind.heldBeside) {
    held = HoldBeside(place.path, kind.heldBeside);
    if (!held) return false;
  }
  Database db(place, Database::Mode::Write);
  if (!db.Ok() || (kind.foreignKeys && !db.Exec("PRAGMA foreign_keys=ON"))) return false;
  if (kind.attach && !kind.attach(db, place.path)) return false;
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
