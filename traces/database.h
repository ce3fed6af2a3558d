#pragma once
// A browser's SQLite database, opened to list or delete rows of it. Only an existing file
// is ever opened (never created), never through a link below the base folder it was found
// in (neither the file nor the journal, log and index SQLite keeps beside it), never while
// another program holds it without sharing; a scan's connection is read-only and writes no
// file at all, a clean's writes inside one transaction that any failure rolls back.
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

#include "traces/database_guard.h"

struct sqlite3;
struct sqlite3_stmt;

namespace zarn {

// A path in the program's code page as SQLite takes file names: UTF-8. Under the UTF-8 code
// page the text already is; an older Windows converts from its ANSI code page. Empty when
// the path does not convert.
std::string Utf8Path(const std::string& path);

// A path as a URI file name ("file:///C:/...", "file:////server/share/..."), every byte that
// a URI could read as syntax percent-encoded, with the query that sets its open mode.
std::string FileUri(const std::string& utf8Path, std::string_view query);
// Text as a URI query value, every byte but letters, digits and "-._~/:" percent-encoded.
std::string UriEncoded(std::string_view text);

// Whether the pages of a database at the final path `reached` may be mapped into memory:
// only on a fixed local disk. A page of a share or a removable disk that goes away while it
// is read would fault where no error can be returned.
bool MapsPagesOf(const std::wstring& reached);

class Statement;

class Database {
 public:
  enum class Mode {
    Read,   // a scan: nothing is written, no side file is created where none is needed
    Write,  // a clean: rows are deleted inside Begin() ... Commit()
  };

  // Opens the existing file at `place.path` (in the program's code page). Ok() is false when
  // it or a file SQLite keeps beside it is no plain file reached directly below `place.base`,
  // another program holds it, it is no database or has a transaction that was cut off, or
  // SQLite cannot open it in that mode.
  Database(const StorePlace& place, Mode mode);
  // A file of its own: the guard starts at its folder.
  Database(const std::string& path, Mode mode);
  ~Database();
  Database(const Database&) = delete;
  Database& operator=(const Database&) = delete;

  bool Ok() const { return db_ != nullptr; }
  sqlite3* Handle() const { return db_; }

  // Runs SQL without parameters or results; false on any error.
  bool Exec(const char* sql);
  // Attaches the existing database file at `path` under `name` in the connection's mode, on
  // the same checks as the connection's own file, from the same base folder.
  bool Attach(const std::string& path, const char* name);

  // Whether `table` of the schema `schema` ("main" or an attached name) exists and has every
  // one of `columns` (more columns are fine: a newer browser adds some).
  bool HasColumns(const char* schema, const char* table, std::initializer_list<const char*> columns);
  // PRAGMA quick_check of one schema says "ok".
  bool QuickCheck(const char* schema = "main");

  // Takes the write lock at once (no reader upgrades half-way) and starts the transaction.
  bool Begin() { return Exec("BEGIN IMMEDIATE"); }
  bool Commit() { return Exec("COMMIT"); }
  void Rollback();

 private:
  sqlite3* db_ = nullptr;
  Mode mode_;
  std::string base_;
};

// One prepared statement; parameters are always bound, never written into the SQL.
class Statement {
 public:
  Statement(Database& db, const char* sql);
  ~Statement();
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  bool Ok() const { return stmt_ != nullptr; }
  // Binds text of any bytes (NULs included) to parameter `index`, counted from 1.
  bool Bind(int index, std::string_view text);
  bool Bind(int index, int64_t number);
  // Steps once: true while there is a row; `Done()` tells a finished statement from an error.
  bool Step();
  bool Done() const { return done_; }
  // Runs a statement that returns no rows to the end; false on any error.
  bool Run();
  // Makes the statement ready to bind and run again.
  void Reset();

  // The column of the current row as text, every byte of it.
  std::string Text(int column) const;
  int64_t Int(int column) const;
  bool IsText(int column) const;

 private:
  sqlite3_stmt* stmt_ = nullptr;
  bool done_ = false;
};

// A single number the SQL returns (a count), or -1 when it fails.
int64_t QueryNumber(Database& db, const char* sql);

}  // namespace zarn
