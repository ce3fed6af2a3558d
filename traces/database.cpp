#include "traces/database.h"

#include <windows.h>

#include <sqlite3.h>

#include <cstring>
#include <vector>

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

enum class Format { NotDatabase, Journal, Wal };

// The first `size` bytes of the file, or fewer when it is shorter or cannot be read.
size_t ReadHead(const std::string& path, unsigned char* head, DWORD size) {
  unique_file file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                               nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  DWORD read = 0;
  if (!file || !ReadFile(file.get(), head, size, &read, nullptr)) return 0;
  return read;
}

// A rollback journal whose first byte is not zero holds a transaction that was cut off:
// SQLite would roll the database back with it on the next open. The browser that wrote it
// repairs its own file; until then the file is neither read nor written here.
bool CutOffTransaction(const std::string& path) {
  unsigned char first = 0;
  return ReadHead(path + "-journal", &first, 1) == 1 && first != 0;
}

Format FormatOf(const std::string& path) {
  unsigned char head[kWalFormatAt + 1] = {};
  if (ReadHead(path, head, sizeof head) != sizeof head || std::memcmp(head, kHeader, kHeaderSize) != 0)
    return Format::NotDatabase;
  if (head[kWalFormatAt] == 2) return Format::Wal;
  return CutOffTransaction(path) ? Format::NotDatabase : Format::Journal;
}

// How a file is opened. A read-only connection to a logging database makes its -wal and
// -shm files where they are missing and leaves them behind. Without a log the file alone
// is the whole database, and is read as one that nobody changes: nothing is created
// beside it.
const char* OpenMode(const std::string& path, Format format, Database::Mode mode) {
  if (mode == Database::Mode::Write) return "mode=rw";
  if (format == Format::Wal && GetFileAttributesA((path + "-wal").c_str()) == INVALID_FILE_ATTRIBUTES)
    return "mode=ro&immutable=1";
  return "mode=ro";
}

bool IsUnreserved(unsigned char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '.' ||
         c == '_' || c == '~' || c == '/' || c == ':';
}

}  // namespace

std::string Utf8Path(const std::string& path) {
  if (GetACP() == CP_UTF8 || path.empty()) return path;
  const int wide = MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, path.data(), static_cast<int>(path.size()),
                                       nullptr, 0);
  if (wide <= 0) return {};
  std::vector<wchar_t> w(static_cast<size_t>(wide));
  MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, path.data(), static_cast<int>(path.size()), w.data(), wide);
  const int bytes = WideCharToMultiByte(CP_UTF8, 0, w.data(), wide, nullptr, 0, nullptr, nullptr);
  if (bytes <= 0) return {};
  std::string utf8(static_cast<size_t>(bytes), '\0');
  WideCharToMultiByte(CP_UTF8, 0, w.data(), wide, utf8.data(), bytes, nullptr, nullptr);
  return utf8;
}

std::string FileUri(const std::string& utf8Path, std::string_view query) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string uri = "file:///";
  for (unsigned char c : utf8Path) {
    if (c == '\\') c = '/';
    if (IsUnreserved(c)) {
      uri += static_cast<char>(c);
    } else {
      uri += '%';
      uri += kHex[c >> 4];
      uri += kHex[c & 15];
    }
  }
  uri += '?';
  uri += query;
  return uri;
}

namespace {

// "C:\x" of "\\?\C:\x", "\\server\x" of "\\?\UNC\server\x".
std::string WithoutLongPrefix(std::string path) {
  if (path.rfind("\\\\?\\UNC\\", 0) == 0) return "\\" + path.substr(7);
  if (path.rfind("\\\\?\\", 0) == 0) return path.substr(4);
  return path;
}

// Whether opening `path` reaches the file of that name itself, not one a symbolic link leads
// to: not every file system marks a link to a file as a reparse point, so the path the open
// ends at is compared with the one asked for. Windows XP knows no links to files.
bool ReachedDirectly(const std::string& path) {
  using FinalPath = DWORD(WINAPI*)(HANDLE, LPSTR, DWORD, DWORD);
  static const auto finalPath = reinterpret_cast<FinalPath>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "GetFinalPathNameByHandleA")));
  if (!finalPath) return true;
  unique_file file(CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  char reached[4 * MAX_PATH], asked[4 * MAX_PATH], full[4 * MAX_PATH];
  const DWORD n = file ? finalPath(file.get(), reached, sizeof reached, 0) : 0;
  const DWORD f = GetFullPathNameA(path.c_str(), sizeof full, full, nullptr);
  if (n == 0 || n >= sizeof reached || f == 0 || f >= sizeof full) return false;
  const DWORD a = GetLongPathNameA(full, asked, sizeof asked);
  if (a == 0 || a >= sizeof asked) return false;
  return _stricmp(WithoutLongPrefix(std::string(reached, n)).c_str(), asked) == 0;
}

}  // namespace

bool OpenableDatabaseFile(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)))
    return false;
  return ReachedDirectly(path) && !IsFileLocked(path);
}

Database::Database(const std::string& path, Mode mode) : mode_(mode) {
  if (!OpenableDatabaseFile(path)) return;
  const Format format = FormatOf(path);
  const std::string utf8 = Utf8Path(path);
  if (format == Format::NotDatabase || utf8.empty()) return;
  const std::string uri = FileUri(utf8, OpenMode(path, format, mode));
  const int flags = (mode == Mode::Read ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE) | SQLITE_OPEN_URI;
  sqlite3* db = nullptr;
  if (sqlite3_open_v2(uri.c_str(), &db, flags, nullptr) != SQLITE_OK) {
    sqlite3_close(db);
    return;
  }
  db_ = db;
  sqlite3_busy_timeout(db_, kBusyTimeoutMs);
  sqlite3_extended_result_codes(db_, 1);
  sqlite3_progress_handler(db_, kStepsBetweenPulses, PulseFromSqlite, nullptr);
  // The quick check reads every page: mapped into memory, a page costs no call to read it,
  // which under Wine is most of the check's time. A clean deletes rows in the order of their
  // sites, not of the file: with the whole database in the cache, no page is written out and
  // read back in between.
  Exec("PRAGMA mmap_size=268435456");
  Exec("PRAGMA cache_size=-65536");
  // Deleted rows are overwritten with zeros, so no freed page keeps a host or a URL.
  if (mode == Mode::Write && !Exec("PRAGMA secure_delete=ON")) {
    sqlite3_close(db_);
    db_ = nullptr;
  }
}

Database::~Database() {
  if (db_) sqlite3_close(db_);
}

bool Database::Exec(const char* sql) { return db_ && sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) == SQLITE_OK; }

bool Database::Attach(const std::string& path, const char* name) {
  if (!db_ || !OpenableDatabaseFile(path)) return false;
  const Format format = FormatOf(path);
  const std::string utf8 = Utf8Path(path);
  if (format == Format::NotDatabase || utf8.empty()) return false;
  Statement attach(*this, "ATTACH ?1 AS ?2");
  return attach.Bind(1, FileUri(utf8, OpenMode(path, format, mode_))) && attach.Bind(2, name) && attach.Run();
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
