#pragma once
// Traces inside a browser's database: a kind of database names its file, the shape it
// must have, how its items are listed and which rows each item stands for. The scan and
// the clean open the file the same guarded way; a clean deletes the rows of every ticked
// item of one file in one transaction, and any failure leaves the file as it was.
#include <span>
#include <string>

#include "traces/database.h"

namespace zarn {

class TCategoryForm;

// Where a kind's listing puts the items it finds in one database.
class RowsSink {
 public:
  virtual void Add(const std::string& name, const std::string& info, std::string size) = 0;

 protected:
  ~RowsSink() = default;
};

struct RowsKind {
  const char* fileName;  // the database's file name, in any letter case
  // A file in the same folder that the browser holds without sharing while it uses the
  // profile; null when the database's own lock tells. A clean holds it the same way.
  const char* heldBeside = nullptr;
  // The browser's cascades need foreign keys on, on the connection, before any change.
  bool foreignKeys = false;
  // Attaches the other files the kind reads beside `path`; false when one that exists
  // cannot be attached. Null when the one file is all.
  bool (*attach)(Database& db, const std::string& path) = nullptr;
  // Whether every table and column the kind reads and writes is there, as the browser makes it.
  bool (*knownShape)(Database& db) = nullptr;
  // Puts the items of the open database into the sink.
  void (*list)(Database& db, RowsSink& sink) = nullptr;
  // Deletes the rows the named items stand for, inside the open transaction. False on any
  // error, which rolls the whole transaction back.
  bool (*deleteRows)(Database& db, std::span<const std::string> names) = nullptr;
};

// Whether the file `name` beside `path` exists and cannot be opened without sharing.
bool HeldBeside(const std::string& path, const char* name);

// Adds the kind's items for the database at `place`, or none when the file is held, is no
// database, has another shape or fails its quick check. Writes nothing.
void AddDatabaseItems(TCategoryForm& form, const RowsKind& kind, const StorePlace& place);

// Deletes the rows the named items of the database at `place` stand for, in one transaction
// after the same checks as the scan's, made again. False when nothing was deleted.
bool CleanDatabaseItems(const RowsKind& kind, const StorePlace& place, std::span<const std::string> names);

// The kind among `kinds` whose file `path` names, or null.
const RowsKind* KindOf(std::span<const RowsKind* const> kinds, const std::string& path);

}  // namespace zarn
