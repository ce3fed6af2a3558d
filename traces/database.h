#pragma once
// A browser's SQLite database, opened to list or delete rows of it. Only an existing file
// is ever opened (never created), never through a link, never while another program holds
// it without sharing; a scan's connection is read-only, a clean's writes inside one
// transaction that any failure rolls back.
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

namespace zarn {

// A path in the program's code page as SQLite takes file names: UTF-8. Under the UTF-8 code
// page the text already is; an older Windows converts from its ANSI code page. Empty when
// the path does not convert.
std::string Utf8Path(const std::string& path);

// A path as a URI file name ("file:///C:/..."), every byte that a URI could read as syntax
// percent-encoded, with the query that sets its open mode.
std::string FileUri(const std::string& utf8Path, std::string_view query);

// A file that may be opened as a database of rows: it exists, is not a folder, is reached
// through no link (a reparse point, or a symbolic link to a file that a file system does not
// mark as one), and no program holds it without sharing.
bool OpenableDatabaseFile(const std::string& path);

class Statement;

class Database {
 public:
  enum class Mode {
    Read,   // a scan: nothing is written, no side file is created where none is needed
    Write,  // a clean: rows are deleted inside Begin() ... Commit()
  };

  // Opens the existing file at `path` (in the program's code page). Ok() is false when it is
  // not an openable database file or SQLite cannot open it in that mode.
  Database(const std::string& path, Mode mode);
  ~Database();
  Database(const Database&) = delete;
  Database& operator=(const Database&) = delete;

  bool Ok() const { return db_ != nullptr; }
  sqlite3* Handle() const { return db_; }

  // Runs SQL without parameters or results; false on any error.
  bool Exec(const char* sql);
  // Attaches the existing database file at `path` under `name` in the connection's mode.
  bool Attach(const std::string& path, const char* name);

  // Whether `table` of the schema `schema` ("main" or an attached name) exists and has every
  // one of `columns` (more columns are fine: a newer browser adds some).
  bool HasColumns(const char* schema, const char* table, std::initializer_list<const char*> columns);
  bool HasTable(const char* schema, const char* table) { return HasColumns(schema, table, {}); }
  // PRAGMA quick_check of one schema says "ok".
  bool QuickCheck(const char* schema = "main");

  // Takes the write lock at once (no reader upgrades half-way) and starts the transaction.
  bool Begin() { return Exec("BEGIN IMMEDIATE"); }
  bool Commit() { return Exec("COMMIT"); }
  void Rollback();

 private:
  sqlite3* db_ = nullptr;
  Mode mode_;
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
