#pragma once
// The shape of a browser's database as data: the tables a kind reads and deletes from, the
// columns it needs, the text columns it compares, and the foreign-key actions the browser
// itself declares. A file is used only when its schema (sqlite_master) has exactly that
// shape: a table is a table, not a view; no persistent trigger stands anywhere (the browsers
// keep theirs on their own connection); a compared column compares byte by byte; no other
// foreign key deletes or changes rows when the kind deletes. Anything else may turn one
// ticked item into the loss of others, and the file gives no item.
#include <initializer_list>
#include <span>

namespace zarn {

class Database;

struct TableShape {
  const char* schema;  // "main", or the name a kind attaches a file under
  const char* table;
  std::initializer_list<const char*> columns = {};   // every one must be there
  std::initializer_list<const char*> compared = {};  // compared as text: binary collation
  bool optional = false;                             // a version of the browser without it
};

// A foreign key with an action that the browser declares: rows of `child` go (or change)
// with the rows of `parent` they refer to.
struct Cascade {
  const char* schema;
  const char* child;
  const char* parent;
};

struct DatabaseShape {
  std::span<const TableShape> tables;
  std::span<const Cascade> cascades = {};
};

// Whether the open database (with its attached files) has the shape, and its text is UTF-8.
bool HasShape(Database& db, const DatabaseShape& shape);

// Whether the table is there as a table (an optional table that is missing is no table
// either, and passes HasShape).
bool HasShapeTable(Database& db, const char* schema, const char* table);

}  // namespace zarn
