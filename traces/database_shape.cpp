#include "traces/database_shape.h"

#include <windows.h>

#include <set>
#include <string>
#include <vector>

#include "traces/database.h"

namespace zarn {
namespace {

// The names are the program's own constants, written as quoted names.
std::string Quoted(const char* name) { return std::string("\"") + name + "\""; }

std::string Lower(std::string text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return text;
}

// "table", "view", "virtual" (a table of a module) or "" (none) for a name of the schema;
// "?" on error. Names are found in any letter case, as SQLite finds them.
std::string KindOfName(Database& db, const char* schema, const char* name) {
  const std::string sql = "SELECT type, sql FROM " + Quoted(schema) + ".sqlite_master WHERE name = ?1 COLLATE NOCASE";
  Statement query(db, sql.c_str());
  if (!query.Bind(1, name)) return "?";
  std::string kind;
  while (query.Step()) {
    if (!kind.empty()) return "?";
    kind = query.Text(0);
    if (kind == "table" && Lower(query.Text(1)).rfind("create virtual", 0) == 0) kind = "virtual";
  }
  return query.Done() ? kind : "?";
}

// A column that compares with SQLite's built-in collations as binary text does: "a" is no
// "A" (NOCASE) and no "a " (RTRIM). The column of a compound query takes the collation of its
// first part, whose rows are none here; a collation this program does not know fails.
bool ComparesAsBytes(Database& db, const TableShape& table, const char* column) {
  const std::string sql = "SELECT x = 'A', x = 'a ' FROM (SELECT " + Quoted(column) + " AS x FROM " +
                          Quoted(table.schema) + "." + Quoted(table.table) + " WHERE 0 UNION ALL SELECT 'a')";
  Statement probe(db, sql.c_str());
  return probe.Step() && probe.Int(0) == 0 && probe.Int(1) == 0 && !probe.Step() && probe.Done();
}

bool NoTriggers(Database& db, const char* schema) {
  const std::string sql = "SELECT count(*) FROM " + Quoted(schema) + ".sqlite_master WHERE type = 'trigger'";
  return QueryNumber(db, sql.c_str()) == 0;
}

bool SameName(const std::string& a, const char* b) { return _stricmp(a.c_str(), b) == 0; }

// The tables of one schema that a delete from the shape's tables may change: the shape's own,
// and the children of the browser's cascades. Any other foreign key with an action onto one
// of them fails the shape.
bool OnlyKnownCascades(Database& db, const DatabaseShape& shape, const char* schema) {
  std::set<std::string> touched;
  for (const TableShape& t : shape.tables)
    if (std::string(t.schema) == schema) touched.insert(Lower(t.table));
  std::vector<std::string> tables;
  const std::string list = "SELECT name FROM " + Quoted(schema) + ".sqlite_master WHERE type = 'table'";
  Statement names(db, list.c_str());
  while (names.Step()) tables.push_back(names.Text(0));
  if (!names.Done()) return false;
  for (size_t reached = 0; reached != touched.size();) {
    reached = touched.size();
    for (const std::string& child : tables) {
      Statement keys(db, "SELECT \"table\", on_update, on_delete FROM pragma_foreign_key_list(?1, ?2)");
      if (!keys.Bind(1, child) || !keys.Bind(2, schema)) return false;
      while (keys.Step()) {
        const std::string parent = Lower(keys.Text(0)), update = keys.Text(1), remove = keys.Text(2);
        const auto inert = [](const std::string& action) { return action == "NO ACTION" || action == "RESTRICT"; };
        if (!touched.count(parent) || (inert(update) && inert(remove))) continue;
        bool known = false;
        for (const Cascade& c : shape.cascades)
          known = known || (std::string(c.schema) == schema && SameName(child, c.child) && SameName(parent, c.parent));
        if (!known) return false;
        touched.insert(Lower(child));
      }
      if (!keys.Done()) return false;
    }
  }
  return true;
}

}  // namespace

bool HasShapeTable(Database& db, const char* schema, const char* table) {
  return KindOfName(db, schema, table) == "table";
}

bool HasShape(Database& db, const DatabaseShape& shape) {
  Statement encoding(db, "PRAGMA encoding");
  if (!encoding.Step() || encoding.Text(0) != "UTF-8") return false;
  std::set<std::string> schemas;
  for (const TableShape& table : shape.tables) {
    schemas.insert(table.schema);
    const std::string kind = KindOfName(db, table.schema, table.table);
    if (kind.empty() && table.optional) continue;
    if (kind != "table" || !db.HasColumns(table.schema, table.table, table.columns)) return false;
    for (const char* column : table.compared)
      if (!ComparesAsBytes(db, table, column)) return false;
  }
  for (const std::string& schema : schemas)
    if (!NoTriggers(db, schema.c_str()) || !OnlyKnownCascades(db, shape, schema.c_str())) return false;
  return true;
}

}  // namespace zarn
