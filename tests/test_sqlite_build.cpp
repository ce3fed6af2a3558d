// The SQLite that scripts/build-sqlite.sh builds: the options the cleaner relies on are in
// effect, and file names reach the disk as the UTF-8 that SQLite's interface takes. Runs with
// a single-byte ANSI code page, under which a name sent through the ANSI functions would
// come out mangled.
#include <windows.h>

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <optional>
#include <string>

#include "tests/support/sandbox.h"

namespace {

// A connection, closed at the end of the test.
class Database {
 public:
  explicit Database(const std::string& utf8Name)
      : result_(sqlite3_open_v2(utf8Name.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr)) {}
  ~Database() { sqlite3_close(db_); }
  Database(const Database&) = delete;
  Database& operator=(const Database&) = delete;

  bool Open() const { return result_ == SQLITE_OK; }
  const char* Error() const { return sqlite3_errmsg(db_); }

  // The first column of the first row ("" for no row); nothing when the SQL does not compile.
  std::optional<std::string> Scalar(const char* sql) {
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db_, sql, -1, &statement, nullptr) != SQLITE_OK) {
      return std::nullopt;
    }
    std::string value;
    if (sqlite3_step(statement) == SQLITE_ROW && sqlite3_column_text(statement, 0) != nullptr) {
      value = reinterpret_cast<const char*>(sqlite3_column_text(statement, 0));
    }
    sqlite3_finalize(statement);
    return value;
  }

  bool Exec(const char* sql) { return sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) == SQLITE_OK; }

 private:
  sqlite3* db_ = nullptr;
  int result_;
};

std::string Utf8(const std::wstring& text) {
  int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
  std::string out(size > 0 ? size - 1 : 0, '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, out.data(), size, nullptr, nullptr);
  return out;
}

bool FileExists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

TEST(SqliteBuildTest, CompiledWithTheCleanersOptions) {
  for (const char* option : {"SECURE_DELETE", "OMIT_LOAD_EXTENSION", "DQS=0", "TEMP_STORE=2", "THREADSAFE=0",
                             "DEFAULT_MEMSTATUS=0", "OMIT_DEPRECATED"}) {
    EXPECT_TRUE(sqlite3_compileoption_used(option)) << option;
  }
  EXPECT_EQ(sqlite3_threadsafe(), 0);
  EXPECT_STREQ(sqlite3_libversion(), SQLITE_VERSION) << "the header is not the library's own";
}

TEST(SqliteBuildTest, SqlBehavesAsTheOptionsSay) {
  // What a statement gives, or nullptr where it must not compile.
  const struct {
    const char* sql;
    const char* expected;
  } cases[] = {
      {"SELECT 'text'", "text"},
      {"SELECT \"nosuchcolumn\"", nullptr},  // a double-quoted name never turns into a string
      {"SELECT load_extension('x.dll')", nullptr},
      {"PRAGMA secure_delete", "1"},  // deleted content is overwritten without asking
  };
  Database db(":memory:");
  ASSERT_TRUE(db.Open()) << db.Error();
  for (const auto& c : cases) {
    std::optional<std::string> value = db.Scalar(c.sql);
    if (c.expected == nullptr) {
      EXPECT_FALSE(value.has_value()) << c.sql << " gave " << value.value_or("");
    } else {
      EXPECT_EQ(value, std::optional<std::string>(c.expected)) << c.sql << ": " << db.Error();
    }
  }
}

TEST(SqliteBuildTest, OpensAFileWithANonAsciiNameInWalMode) {
  zarn::test::Sandbox sandbox;
  ASSERT_NE(GetACP(), static_cast<UINT>(CP_UTF8));
  const std::wstring path = std::wstring(sandbox.Dir().begin(), sandbox.Dir().end()) + L"\\Z\u00fcrich.sqlite";
  {
    Database db(Utf8(path));
    ASSERT_TRUE(db.Open()) << db.Error();
    EXPECT_EQ(db.Scalar("PRAGMA journal_mode=WAL"), std::optional<std::string>("wal"));
    ASSERT_TRUE(db.Exec("CREATE TABLE visits(url TEXT); INSERT INTO visits VALUES('https://example.org/')"))
        << db.Error();
    EXPECT_TRUE(FileExists(path));
    EXPECT_TRUE(FileExists(path + L"-wal"));
  }
  // The last connection to close checkpoints the log into the database and removes it.
  EXPECT_TRUE(FileExists(path));
  EXPECT_FALSE(FileExists(path + L"-wal"));
  Database again(Utf8(path));
  EXPECT_EQ(again.Scalar("SELECT url FROM visits"), std::optional<std::string>("https://example.org/"));
}

}  // namespace
