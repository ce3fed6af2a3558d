#pragma once
// A store in a profile whose traces are parts of it, not the file itself: the rows of a
// browser's database (cookies, history); a kind of store says what its items are and deletes
// them by name. A location row names the kind of the stores it finds, and every item keeps
// it, so a scan and a clean reach the same code without matching a file name.
#include <span>
#include <string>

#include "traces/database_guard.h"

namespace zarn {

// Where a kind's listing puts the items it finds in one store: the engine hands it one.
class ItemSink {
 public:
  virtual void Add(const std::string& name, const std::string& info, std::string size) = 0;
  // An item whose Location is another file of the store's place: a site of a profile names
  // the cookie database that holds its cookies.
  virtual void AddAt(const std::string& location, const std::string& name, const std::string& info,
                     std::string size) = 0;

 protected:
  ~ItemSink() = default;
};

class StoreKind {
 public:
  // Puts the items of the store at `place` into the sink; none when the store cannot be read
  // as this kind, is held by its program, or has another shape. Writes nothing.
  virtual void ListItems(const StorePlace& place, ItemSink& sink) const = 0;
  // Deletes what the named items of the store at `place` stand for, whole or not at all, after
  // the listing's checks made again. False when nothing was deleted.
  virtual bool DeleteItems(const StorePlace& place, std::span<const std::string> names) const = 0;

 protected:
  ~StoreKind() = default;
};

}  // namespace zarn
