#include "bench/bench_cookies.h"

#include <windows.h>

#include <sqlite3.h>

#include <functional>
#include <stdexcept>
#include <vector>

#include "bench/bench_clock.h"
#include "categories/chromium_form.h"
#include "categories/cookie_sites.h"
#include "tests/support/databases.h"

namespace zarn::bench {
namespace {

constexpr int kCookies = 20000, kSites = 4000;

// `work` timed `runs` times, each after a fresh copy of the database.
double Timed(int runs, const std::string& source, const std::string& path, const std::function<void()>& work) {
  std::vector<double> times;
  for (int i = 0; i < runs; ++i) {
    if (!CopyFileA(source.c_str(), path.c_str(), FALSE)) throw std::runtime_error("cannot copy the cookie database");
    const double t0 = Now();
    work();
    times.push_back(Now() - t0);
  }
  return MedianOf(times);
}

// SQLite alone, the way a reader with no checks would go about it.
struct Bare {
  explicit Bare(const std::string& path) {
    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK)
      throw std::runtime_error("cannot open the cookie database");
  }
  ~Bare() { sqlite3_close(db); }
  void Exec(const char* sql) {
    if (sqlite3_exec(db, sql, nullptr, nullptr, nullptr) != SQLITE_OK) throw std::runtime_error(sqlite3_errmsg(db));
  }
  sqlite3* db = nullptr;
};

}  // namespace

CookieFigures MeasureCookies(const std::string& folder, int runs) {
  CreateDirectoryA(folder.c_str(), nullptr);
  const std::string source = folder + "\\Cookies.source", path = folder + "\\Cookies";
  DeleteFileA(source.c_str());
  test::MakeDatabase(source, test::kChromiumCookiesSchema);
  test::FillChromiumCookies(source, kCookies, kSites);

  CookieFigures f;
  std::vector<std::string> sites;
  f.bareQuery = Timed(runs, source, path, [&] {
    Bare bare(path);
    sqlite3_stmt* query = nullptr;
    sqlite3_prepare_v2(bare.db, "SELECT host_key, count(*) FROM cookies GROUP BY host_key", -1, &query, nullptr);
    while (sqlite3_step(query) == SQLITE_ROW) f.cookies += static_cast<size_t>(sqlite3_column_int64(query, 1));
    sqlite3_finalize(query);
  });
  f.cookies /= static_cast<size_t>(runs);
  f.scan = Timed(runs, source, path, [&] {
    Database db(path, Database::Mode::Read);
    if (!HasCookieShape(db, kChromiumCookieTable) || !db.QuickCheck()) throw std::runtime_error("no cookie shape");
    sites.clear();
    for (auto& [site, count] : ListCookieSites(db, kChromiumCookieTable)) sites.push_back(site);
  });
  f.sites = sites.size();
  TChromiumForm form(ChromiumBrowsers()[0]);
  if (!form.Create()) throw std::runtime_error("cannot create the form");
  f.scanIntoList = Timed(runs, source, path, [&] {
    form.Traces().Clear();
    form.Traces().BeginAdding();
    AddStoreTraces(form, kChromiumCookies, {path, folder});
    form.Traces().FinishAdding();
  });
  if (form.Traces().Count() != f.sites) throw std::runtime_error("the form lists another number of sites");

  // The same rows, all of them, in one transaction with the same zero-filling of what goes.
  f.bareDelete = Timed(runs, source, path, [&] {
    Bare bare(path);
    bare.Exec("PRAGMA secure_delete=ON");
    bare.Exec("BEGIN IMMEDIATE");
    bare.Exec("DELETE FROM cookies WHERE host_key IS NOT NULL");
    bare.Exec("COMMIT");
  });
  f.clean = Timed(runs, source, path, [&] {
    if (!kChromiumCookies.DeleteItems({path, folder}, sites)) throw std::runtime_error("the clean failed");
  });
  if (test::Number(path, "SELECT count(*) FROM cookies") != 0) throw std::runtime_error("cookies left after the clean");
  return f;
}

}  // namespace zarn::bench
