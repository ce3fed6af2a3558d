#pragma once
// What a category's cleaner does with its ticked trace items.
#include <cstddef>
#include <span>

namespace zarn {

class TCategoryForm;
struct RowsKind;

enum class KeyDeletion {
  None,
  // Subkeys named like the trace, under the current user only, between the two value
  // deletions (the Explorer's open/save history keeps one subkey per file type).
  CurrentUserBetween,
  // Subkeys named like the trace under the current user, then under the local machine,
  // after both value deletions.
  BothRootsAfter,
};

struct CleanRules {
  bool clearAttributes = false;  // read-only, hidden and system files are deleted too
  bool everyItemIsFile = false;  // the Type text is not looked at
  KeyDeletion keys = KeyDeletion::None;
  // The names of the SQLite databases among the category's files. The rollback journal, the
  // log and the log's index of a ticked one (its name followed by "-journal", "-wal", "-shm",
  // beside it) are deleted after it, once the database is gone.
  std::span<const char* const> databases = {};
  // The kinds of database whose rows the category's database items stand for; an item of
  // a database of no kind here is left alone.
  std::span<const RowsKind* const> rows = {};
};

// Deletes what the ticked trace items of the form name, then runs the form's own
// closing step. The ticked items of one database go together, when the first of them is
// reached, in one transaction. A trace that cannot be deleted is passed over; the result is
// the number of ticked items still there.
size_t RunCleaner(TCategoryForm& form);

}  // namespace zarn
