#pragma once
// Firefox's history, deleted as rows of places.sqlite and favicons.sqlite: places.sqlite
// also holds the bookmarks, so the file itself is never a trace. One item per profile.
#include "traces/database_rows.h"

namespace zarn {

// What a running Firefox holds in its profile folder, without sharing.
inline constexpr char kFirefoxProfileLock[] = "parent.lock";

// The kind of places.sqlite: the item "History", its size the number of visits. Its clean
// deletes every visit, every place that no bookmark or keyword keeps, input history, page
// metadata and its search terms, the annotations of the deleted places, the origins no place
// refers to and the icons of pages no bookmark points to, and resets the visit count, last
// visit date and frecency of the places it keeps. Firefox's bookkeeping triggers live only
// on its own connection, so the clean does their part itself; the side tables go by their
// foreign-key cascades.
extern const RowsKind kFirefoxHistory;

}  // namespace zarn
