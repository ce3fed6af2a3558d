#pragma once
// What a category's cleaner does with its ticked trace items.
#include <cstddef>
#include <span>

namespace zarn {

class TraceList;
struct TraceItem;

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
};

// A category's own cleaning steps, beside its rules.
class CleanSteps {
 public:
  // True for a ticked item that the category cleans itself (the recycle bin, the clipboard).
  virtual bool CleanOwnItem(const TraceItem&) { return false; }
  // Runs once when all items are done.
  virtual void AfterClean() {}

 protected:
  ~CleanSteps() = default;
};

// Deletes what the ticked trace items name, then runs the category's closing step. The
// ticked items of one store (a database) go together, when the first of them is reached,
// through the kind of store each item names. A trace that cannot be deleted is passed over;
// the result is the number of ticked items still there.
size_t RunCleaner(const TraceList& items, const CleanRules& rules, CleanSteps& steps);

}  // namespace zarn
