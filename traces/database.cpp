#include "traces/database.h"

#include <windows.h>

#include <sqlite3.h>

#include <cstring>
#include <iterator>
#include <vector>

#include "traces/database_vfs.h"
#include "traces/handles.h"
#include "traces/probes.h"
#include "traces/pulse.h"

namespace zarn {
namespace {

// A browser that holds the file gives up its lock within moments or not at all; the
// program's one thread must not wait for it.
constexpr int kBusyTimeoutMs = 100;

// SQLite looks at the window's messages every so many of its steps, so a check or a clean of
// a large database keeps the window answering; a stop (the program is ending) interrupts the
// statement, and the transaction it belongs to is rolled back whole.
constexpr int kStepsBetweenPulses = 10000;
int PulseFromSqlite(void*) { return Pulse() ? 0 : 1; }

// The first bytes of every SQLite database file; byte 18 is 2 when the database keeps a
// write-ahead log.
constexpr char kHeader[] = "SQLite format 3";
constexpr size_t kHeaderSize = sizeof kHeader;  // with its terminating NUL
constexpr size_t kWalFormatAt = 18;

// The files SQLite keeps beside a database: its rollback journal, its log and the log's index.
constexpr const char* kSideFiles[] = {"-journal", "-wal", "-shm"};

// The first `size` bytes of the file that `reached` names, or fewer when it is shorter or
// cannot be read.
size_t ReadHead(const std::string& path, const std::wstring& reached, unsigned char* head, DWORD size) {
  unique_file file(OpenReached(path, reached, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE));
  DWORD read = 0;
  if (!file || !ReadFile(file.get(), head, size, &read, nullptr)) return 0;
  return read;
}

// What the checks found out about a database file that may be opened.
struct Checked {
  std::wstring reached;  // its final path
  bool logWithoutFile;   // it keeps a write-ahead log, and has none beside it now
};

bool IsUnreserved(unsigned char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '.' ||
         c == '_' || c == '~' || c == '/' || c == ':';
}

}  // namespace

std::string Utf8Path(const std::string& path) {
  if (GetACP() == CP_UTF8 || path.empty()) return path;
  return Narrow(Wide(path), CP_UTF8);
}

std::string UriEncoded(std::string_view text) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string encoded;
  for (unsigned char c : text) {
    if (IsUnreserved(c)) {
      encoded += static_cast<char>(c);
    } else {
      encoded += '%';
      encoded += kHex[c >> 4];
      encoded += kHex[c & 15];
    }
  }
  return encoded;
}

std::string FileUri(const std::string& utf8Path, std::string_view query) {
  std::string path = utf8Path;
  for (char& c : path)
    if (c == '\\') c = '/';
  // A share's path keeps its two slashes after the empty authority; a drive path gets one.
  std::string uri = path.rfind("//", 0) == 0 ? "file://" : "file:///";
  uri += UriEncoded(path);
  uri += '?';
  uri += query;
  return uri;
}

bool MapsPagesOf(const std::wstring& reached) {
  if (reached.size() < 3 || reached[1] != L':' || reached[2] != L'\\') return false;
  return GetDriveTypeW(reached.substr(0, 3).c_str()) == DRIVE_FIXED;
}

namespace {

// The checks of a database file, and of every file SQLite keeps beside it, before SQLite may
// open it: each a plain file reached by no link below `base` (a side file in the database's
// own folder), the database held by no other program, no database header or a transaction
// that was cut off (SQLite would roll the file back with its journal, in either journal
// format). Nothing is opened through a link, so a link beside the database is never read.
bool CheckFiles(const std::string& base, const std::string& path, Checked& checked) {
  // The one test of a hold, made on the handle that the link guard checks: a file that cannot
  // be opened for reading and writing without sharing is in use (or read-only), and is not
  // opened. Its header is read through the same handle.
  unique_file file(OpenBelow(base, path, GENERIC_READ | GENERIC_WRITE, 0, checked.reached));
  if (!file) return false;
  bool there[std::size(kSideFiles)] = {};
  for (size_t i = 0; i < std::size(kSideFiles); ++i) {
    there[i] = GetFileAttributesA((path + kSideFiles[i]).c_str()) != INVALID_FILE_ATTRIBUTES;
    if (there[i] && ReachedBeside(checked.reached, path, kSideFiles[i]).empty()) return false;
  }
  unsigned char head[kWalFormatAt + 1] = {};
  DWORD read = 0;
  if (!ReadFile(file.get(), head, sizeof head, &read, nullptr) || read != sizeof head ||
      std::memcmp(head, kHeader, kHeaderSize) != 0)
    return false;
  unsigned char journal = 0;
  if (there[0] && ReadHead(path + kSideFiles[0], checked.reached + L"-journal", &journal, 1) == 1 && journal != 0)
    return false;
  checked.logWithoutFile = head[kWalFormatAt] == 2 && !there[1];
  return true;
}

// The one guard of every file a connection opens, its own or an attached one: the URI that
// opens the file once the checks have passed, or empty. A read-only connection to a logging
// database would make its log where it is missing; without a log the file alone is the whole
// database, and is read as one that nobody changes. `reached` is the file's final path.
std::string GuardedUri(const std::string& base, const std::string& path, Database::Mode mode,
                       std::wstring& reached) {
  Checked checked;
  if (!CheckFiles(base, path, checked)) return {};
  reached = checked.reached;
  const std::string utf8 = Utf8Path(path);
  const size_t slash = reached.find_last_of(L'\\');
  const std::string folder = Narrow(reached.substr(0, slash), CP_UTF8);
  if (utf8.empty() || slash == std::wstring::npos || folder.empty()) return {};
  std::string query = mode == Database::Mode::Write ? "mode=rw"
                      : checked.logWithoutFile      ? "mode=ro&immutable=1"
                                                    : "mode=ro";
  query += std::string("&") + kCheckedFolder + "=" + UriEncoded(folder);
  return FileUri(utf8, query);
}

}  // namespace

Database::Database(const std::string& path, Mode mode) : Database(StorePlace{path, LocationOf(path)}, mode) {}

Database::Database(const StorePlace& place, Mode mode) : mode_(mode), base_(place.base) {
  std::wstring reached;
  const char* vfs = GuardedFileSystem(mode == Mode::Write);
  const std::string uri = vfs ? GuardedUri(base_, place.path, mode, reached) : std::string();
  if (uri.empty()) return;
  const int flags = (mode == Mode::Read ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE) | SQLITE_OPEN_URI;
  sqlite3* db = nullptr;
  if (sqlite3_open_v2(uri.c_str(), &db, flags, vfs) != SQLITE_OK) {
    sqlite3_close(db);
    return;
  }
  db_ = db;
  sqlite3_busy_timeout(db_, kBusyTimeoutMs);
  sqlite3_extended_result_codes(db_, 1);
  sqlite3_progress_handler(db_, kStepsBetweenPulses, PulseFromSqlite, nullptr);
  // Before the first read: the connection keeps a log's index in its own memory, so no -shm
  // file is ever made, read or written, and no other connection shares the file meanwhile.
  // A scan does not fold the log into the file when it closes.
  const bool ready =
      Exec("PRAGMA locking_mode=EXCLUSIVE") &&
      (mode == Mode::Write || sqlite3_db_config(db_, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr) == SQLITE_OK);
  // The quick check reads every page: mapped into memory, a page costs no call to read it,
  // which under Wine is most of the check's time. A clean deletes rows in the order of their
  // sites, not of the file: with the whole database in the cache, no page is written out and
  // read back in between.
  if (MapsPagesOf(reached)) Exec("PRAGMA mmap_size=268435456");
  Exec("PRAGMA cache_size=-65536");
  // Deleted rows are overwritten with zeros, so no freed page keeps a host or a URL.
  if (!ready || (mode == Mode::Write && !Exec("PRAGMA secure_delete=ON"))) {
    sqlite3_close(db_);
    db_ = nullptr;
  }
}

Database::~Database() {
  if (db_) sqlite3_close(db_);
}

bool Database::Exec(const char* sql) { return db_ && sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) == SQLITE_OK; }

bool Database::Attach(const std::string& path, const char* name) {
  std::wstring reached;
  const std::string uri = db_ ? GuardedUri(base_, path, mode_, reached) : std::string();
  Statement attach(*this, "ATTACH ?1 AS ?2");
  return !uri.empty() && attach.Bind(1, uri) && attach.Bind(2, name) && attach.Run();
}

bool Database::HasColumns(const char* schema, const char* table, std::initializer_list<const char*> columns) {
  Statement info(*this, "SELECT name FROM pragma_table_info(?1, ?2)");
  if (!info.Bind(1, table) || !info.Bind(2, schema)) return false;
  std::vector<std::string> present;
  while (info.Step()) present.push_back(info.Text(0));
  if (!info.Done() || present.empty()) return false;
  for (const char* column : columns) {
    bool found = false;
    for (const std::string& name : present) found = found || _stricmp(name.c_str(), column) == 0;
    if (!found) return false;
  }
  return true;
}

bool Database::QuickCheck(const char* schema) {
  Statement check(*this, "SELECT * FROM pragma_quick_check(1, ?1)");
  if (!check.Bind(1, schema)) return false;
  int rows = 0;
  bool ok = true;
  while (check.Step()) {
    ++rows;
    ok = ok && check.Text(0) == "ok";
  }
  return check.Done() && rows == 1 && ok;
}

void Database::Rollback() {
  if (db_ && !sqlite3_get_autocommit(db_)) Exec("ROLLBACK");
}

Statement::Statement(Database& db, const char* sql) {
  if (!db.Ok() || sqlite3_prepare_v2(db.Handle(), sql, -1, &stmt_, nullptr) != SQLITE_OK) {
    sqlite3_finalize(stmt_);
    stmt_ = nullptr;
  }
}

Statement::~Statement() { sqlite3_finalize(stmt_); }

bool Statement::Bind(int index, std::string_view text) {
  return stmt_ && sqlite3_bind_text64(stmt_, index, text.data(), text.size(), SQLITE_TRANSIENT, SQLITE_UTF8) ==
                      SQLITE_OK;
}

bool Statement::Bind(int index, int64_t number) {
  return stmt_ && sqlite3_bind_int64(stmt_, index, number) == SQLITE_OK;
}

bool Statement::Step() {
  if (!stmt_ || done_) return false;
  const int rc = sqlite3_step(stmt_);
  if (rc == SQLITE_ROW) return true;
  done_ = rc == SQLITE_DONE;
  if (!done_) {
    sqlite3_finalize(stmt_);
    stmt_ = nullptr;
  }
  return false;
}

bool Statement::Run() {
  while (Step()) {
  }
  return done_;
}

void Statement::Reset() {
  if (!stmt_) return;
  sqlite3_reset(stmt_);
  sqlite3_clear_bindings(stmt_);
  done_ = false;
}

std::string Statement::Text(int column) const {
  const unsigned char* text = sqlite3_column_text(stmt_, column);
  if (!text) return {};
  return std::string(reinterpret_cast<const char*>(text), static_cast<size_t>(sqlite3_column_bytes(stmt_, column)));
}

int64_t Statement::Int(int column) const { return sqlite3_column_int64(stmt_, column); }

bool Statement::IsText(int column) const { return sqlite3_column_type(stmt_, column) == SQLITE_TEXT; }

int64_t QueryNumber(Database& db, const char* sql) {
  Statement query(db, sql);
  if (!query.Step()) return -1;
  return query.Int(0);
}

}  // namespace zarn
