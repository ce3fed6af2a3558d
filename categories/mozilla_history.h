#pragma once
// Firefox's history, deleted as rows of places.sqlite and favicons.sqlite: places.sqlite
// also holds the bookmarks, so the file itself is never a trace. One item per profile.
#include "traces/database_rows.h"

namespace zarn {

// places.sqlite: the item "History", its size the number of visits. Its clean deletes every
// visit, every place that no bookmark or keyword keeps, input history, page metadata and its
// search terms, the annotations of the deleted places and of every download, the origins
// (and in older versions the hosts and icons) no kept place refers to and the icons of pages
// no bookmark points to, and resets the visit count, last visit date, frecency and typed flag
// of the places it keeps. Firefox's bookkeeping triggers live only on its own connection, so
// the clean does their part itself; the side tables go by their foreign-key cascades. Nothing
// is touched while Firefox uses the profile (parent.lock).
class FirefoxHistory final : public DatabaseKind {
 public:
  constexpr FirefoxHistory() = default;

 private:
  const char* HeldBeside() const override;
  bool ForeignKeys() const override { return true; }
  bool Attach(Database& db, const std::string& path) const override;
  bool Usable(Database& db) const override;
  void List(Database& db, ItemSink& sink) const override;
  bool Delete(Database& db, std::span<const std::string> names) const override;
};

extern const FirefoxHistory kFirefoxHistory;

}  // namespace zarn
