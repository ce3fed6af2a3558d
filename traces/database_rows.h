#pragma once
// The rows engine: a kind of store that is a browser's SQLite database. The scan and the clean
// open the file the same guarded way (Database); a clean deletes the rows of every ticked item
// of one file in one transaction, and any failure leaves the file as it was. What differs per
// browser is the kind's schema: its shape, its items and the rows each stands for, written in
// categories/ as a class that derives from this one.
#include <span>
#include <string>

#include "traces/database.h"
#include "traces/handles.h"
#include "traces/store_kind.h"

namespace zarn {

// Whether the file `name` beside `path` (in its folder) is there and cannot be opened
// without sharing: the browser holds its profile.
bool HeldBy(const std::string& path, const char* name);
// Takes the file `name` beside `path` without sharing, as the browser takes it while it uses
// the profile, so that a browser starting meanwhile finds its profile in use; where the
// browser left no such file, one is made for as long as it is held. Empty when the browser
// holds it.
unique_file Hold(const std::string& path, const char* name);

class DatabaseKind : public StoreKind {
 public:
  // Lists the items of the database at `place`, or none when the browser holds it, it is no
  // database, has another shape or fails its quick check. Writes nothing.
  void ListItems(const StorePlace& place, ItemSink& sink) const final;
  // Deletes the rows the named items stand for, in one transaction after the same checks as
  // the scan's, made again, with the browser's hold taken for as long as the file is open.
  bool DeleteItems(const StorePlace& place, std::span<const std::string> names) const final;

 protected:
  constexpr DatabaseKind() = default;
  ~DatabaseKind() = default;

  // A file beside the database that the browser holds without sharing while it uses the
  // profile; null when the database's own lock tells.
  virtual const char* HeldBeside() const { return nullptr; }
  // The browser's cascades need foreign keys on, on the connection, before any change.
  virtual bool ForeignKeys() const { return false; }
  // Attaches the other files the kind reads beside `path`; false when one that exists cannot
  // be attached.
  virtual bool Attach(Database&, const std::string& /*path*/) const { return true; }
  // Whether the open database, with what is attached, has the shape the browser makes.
  virtual bool Usable(Database& db) const = 0;
  // Puts the items of the open database into the sink.
  virtual void List(Database& db, ItemSink& sink) const = 0;
  // Deletes the rows the named items stand for, inside the open transaction. False on any
  // error, which rolls the whole transaction back.
  virtual bool Delete(Database& db, std::span<const std::string> names) const = 0;
};

}  // namespace zarn
