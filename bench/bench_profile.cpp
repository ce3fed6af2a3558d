#include "bench/bench_profile.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <stdexcept>
#include <vector>

#include "categories/interexplor.h"
#include "tests/support/databases.h"
#include "traces/registry.h"

namespace zarn::bench {
namespace {

int Scale(int n, double factor) {
  int scaled = static_cast<int>(n * factor + 0.5);
  return scaled < 1 ? 1 : scaled;
}

std::string Num(const char* format, int n) {
  char text[64];
  std::snprintf(text, sizeof text, format, n);
  return text;
}

// A size that differs from file to file, so that "bytes" and "KB" texts both occur.
int SizeOf(int i) { return (i * 7919) % 3000 + 1; }

void SetString(HKEY root, const std::string& key, const std::string& name, const std::string& value,
               DWORD type = REG_SZ) {
  HKEY k = nullptr;
  if (RegCreateKeyExA(root, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &k, nullptr) != ERROR_SUCCESS)
    throw std::runtime_error("cannot create key " + key);
  RegSetValueExA(k, name.c_str(), 0, type, reinterpret_cast<const BYTE*>(value.c_str()),
                 static_cast<DWORD>(value.size() + 1));
  RegCloseKey(k);
}

// A database made afresh from a schema, without the journal a clean may have left, and
// filled by `fill` where one is given, whose first %d is `a` and every later one `b`.
void NewDatabase(const std::string& path, const char* schema, const char* fill = nullptr, int a = 0, int b = 0) {
  DeleteFileA(path.c_str());
  DeleteFileA((path + "-journal").c_str());
  test::MakeDatabase(path, schema);
  if (!fill) return;
  char sql[1024];
  std::snprintf(sql, sizeof sql, fill, a, b, b);
  test::RunSql(path, sql);
}

// Firefox's cookies as Chrome's are filled: n cookies over m sites, every other one set for
// the whole domain.
constexpr char kFirefoxCookies[] =
    "WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < %d - 1) "
    "INSERT INTO moz_cookies (name, value, host, path, expiry, lastAccessed, creationTime, isSecure, isHttpOnly) "
    "SELECT 'name' || i, hex(randomblob(40)), CASE WHEN i %% 2 THEN '.' ELSE '' END || 'site' || (i %% %d) || "
    "'.example', '/', 1800000000, 1700000000000000, 1700000000000000, 1, 0 FROM n";
// n visits over m places, one place in ten bookmarked (its place stays when the history goes).
constexpr char kFirefoxHistory[] =
    "WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < %d - 1) "
    "INSERT INTO moz_historyvisits (from_visit, place_id, visit_date, visit_type, session) "
    "SELECT 0, i %% %d + 1, 1700000000000000 + i, 1, 0 FROM n;"
    "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %d) "
    "INSERT INTO moz_places (id, url, title, rev_host, visit_count, frecency, last_visit_date, guid) "
    "SELECT i, 'https://site' || i || '.example/', 'Page ' || i, 'elpmaxe.' || i || 'etis.', 4, 100, "
    "1700000000000000, 'guid' || i FROM n;"
    "INSERT INTO moz_bookmarks (type, fk, parent, position, title, guid) "
    "SELECT 1, id, 3, id, title, 'bm' || id FROM moz_places WHERE id %% 10 = 0";

// The browsers' databases, of their own schemas: Chrome's cookies in its default profile,
// Firefox's cookies and history in the benchmark's profile.
void SeedDatabases(const Folders& f, const Counts& c) {
  const std::string chrome = f.localAppData + "\\Google\\Chrome\\User Data\\Default\\Network";
  MakeDirs(chrome);
  NewDatabase(chrome + "\\Cookies", test::kChromiumCookiesSchema);
  test::FillChromiumCookies(chrome + "\\Cookies", c.databaseCookies, c.sites);

  const std::string profile = f.appData + "\\Mozilla\\Firefox\\Profiles\\bench.default\\";
  NewDatabase(profile + "cookies.sqlite", test::kFirefoxCookiesSchema, kFirefoxCookies, c.databaseCookies, c.sites);
  const int places = std::max(1, c.visits / 4);
  NewDatabase(profile + "places.sqlite", test::kPlacesSchema, kFirefoxHistory, c.visits, places);
}

}  // namespace

Counts Counts::Scaled(double factor) const {
  Counts c = *this;
  // Equal folders: the document count is a multiple of the folder count.
  c.cacheFiles = std::max(cacheFolders, Scale(cacheFiles, factor) / cacheFolders * cacheFolders);
  c.cookies = Scale(cookies, factor);
  c.firefox = Scale(firefox, factor);
  c.temp = Scale(temp, factor);
  c.logs = Scale(logs, factor);
  c.registry = Scale(registry, factor);
  c.databaseCookies = Scale(databaseCookies, factor);
  c.sites = Scale(sites, factor);
  c.visits = Scale(visits, factor);
  return c;
}

Folders FoldersUnder(const std::string& root) {
  Folders f;
  f.appData = root + "\\Application Data";
  f.localSettings = root + "\\Local Settings";
  f.localAppData = f.localSettings + "\\Application Data";
  f.recent = root + "\\Recent";
  f.cookies = root + "\\Cookies";
  f.cache = f.localSettings + "\\Temporary Internet Files";
  f.programFiles = root + "\\Program Files";
  f.systemRoot = root + "\\WINDOWS";
  return f;
}

void WriteShellFolders(const Folders& f) {
  // Wine's shell rewrites "Shell Folders" from "User Shell Folders" whenever a program
  // (the internet library, at load) asks for a folder, so both name the profile.
  for (const char* key : {"Shell Folders", "User Shell Folders"}) {
    const std::string shell = std::string("Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\") + key;
    DWORD type = key[0] == 'U' ? REG_EXPAND_SZ : REG_SZ;
    SetString(HKEY_CURRENT_USER, shell, "AppData", f.appData, type);
    SetString(HKEY_CURRENT_USER, shell, "Local AppData", f.localAppData, type);
    SetString(HKEY_CURRENT_USER, shell, "Local Settings", f.localSettings, type);
    SetString(HKEY_CURRENT_USER, shell, "Recent", f.recent, type);
    SetString(HKEY_CURRENT_USER, shell, "Cookies", f.cookies, type);
    SetString(HKEY_CURRENT_USER, shell, "Cache", f.cache, type);
  }
  for (const std::string* dir :
       {&f.appData, &f.localAppData, &f.recent, &f.cookies, &f.cache, &f.programFiles, &f.systemRoot})
    MakeDirs(*dir);
}

void MakeDirs(const std::string& path) {
  for (size_t at = path.find('\\', 3); at != std::string::npos; at = path.find('\\', at + 1))
    CreateDirectoryA(path.substr(0, at).c_str(), nullptr);
  CreateDirectoryA(path.c_str(), nullptr);
}

void WriteSizedFile(const std::string& path, int bytes) {
  static const std::vector<char> filler(4096, 'x');
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot write " + path);
  DWORD written = 0;
  WriteFile(file, filler.data(), static_cast<DWORD>(bytes), &written, nullptr);
  CloseHandle(file);
}

void SeedCache(const Folders& f, const Counts& c, int from, int to) {
  const std::string root = f.cache + "\\Content.IE5";
  MakeDirs(root);
  WriteSizedFile(root + "\\index.dat", 32768);
  WriteSizedFile(root + "\\desktop.ini", 67);
  for (int k = 0; k < c.cacheFolders; ++k) MakeDirs(root + Num("\\CACHE%03X", k));
  static const char* const kinds[] = {"htm", "gif", "js", "css", "jpg"};
  for (int i = from; i < to; ++i)
    WriteSizedFile(root + Num("\\CACHE%03X", i % c.cacheFolders) + Num("\\doc%d[1].", i) + kinds[i % 5], SizeOf(i));
}

void SeedRegistry(const Counts& c) {
  // The share of each list in the total, as a real profile might hold them.
  struct List {
    const char* key;
    const char* name;
    const char* data;
    int share;  // per cent
  };
  static const List lists[] = {
      {"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RunMRU", "r%d", "notepad C:\\Work\\notes%d.txt\\1", 20},
      {"Software\\Microsoft\\Internet Explorer\\TypedURLs", "url%d", "http://www.example%d.com/index.html", 20},
      {"Software\\Microsoft\\Office\\12.0\\Word\\File MRU", "Item %d", "[F00000000][T01C8A2B3]*C:\\Docs\\report%d.docx",
       15},
      {"Software\\Microsoft\\Office\\12.0\\Excel\\File MRU", "Item %d", "[F00000000][T01C8A2B3]*C:\\Docs\\sheet%d.xlsx",
       15},
      {"Software\\Microsoft\\Office\\11.0\\PowerPoint\\Recent File List", "File%d", "C:\\Talks\\slides%d.ppt", 10},
      {"Software\\Microsoft\\MediaPlayer\\Player\\RecentFileList", "File%d", "C:\\Music\\track%d.mp3", 20},
  };
  int left = c.registry;
  for (size_t l = 0; l < std::size(lists); ++l) {
    int n = l + 1 == std::size(lists) ? left : c.registry * lists[l].share / 100;
    left -= n;
    for (int i = 0; i < n; ++i)
      SetString(HKEY_CURRENT_USER, lists[l].key, Num(lists[l].name, i), Num(lists[l].data, i));
  }
  SetString(HKEY_CURRENT_USER, lists[0].key, "MRUList", "abc");
  SetString(HKEY_CURRENT_USER, "Software\\Microsoft\\Internet Explorer", "Download Directory", "C:\\Downloads");
}

void SeedAll(const Folders& f, const Counts& c) {
  MakeDirs(f.cookies);
  for (int i = 0; i < c.cookies; ++i) {
    // "user@site" holds no keyword; "doubleclick" is one.
    const std::string name = Num(i % 2 ? "user@site%d[1].txt" : "user@doubleclick%d[1].txt", i);
    if (HasCookieKeyword(name) != (i % 2 == 0)) throw std::logic_error("cookie name chosen badly: " + name);
    WriteSizedFile(f.cookies + "\\" + name, SizeOf(i) / 10 + 20);
  }
  WriteSizedFile(f.cookies + "\\index.dat", 16384);

  const std::string firefox = f.appData + "\\Mozilla\\Firefox";
  MakeDirs(firefox);
  const std::string ini =
      "[General]\r\nStartWithLastProfile=1\r\n\r\n[Profile0]\r\nName=default\r\nIsRelative=1\r\n"
      "Path=Profiles/bench.default\r\n";
  HANDLE file = CreateFileA((firefox + "\\profiles.ini").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  DWORD written = 0;
  WriteFile(file, ini.data(), static_cast<DWORD>(ini.size()), &written, nullptr);
  CloseHandle(file);
  MakeDirs(firefox + "\\Profiles\\bench.default");
  WriteSizedFile(firefox + "\\Profiles\\bench.default\\history.dat", 40000);
  WriteSizedFile(firefox + "\\Profiles\\bench.default\\formhistory.dat", 3000);
  const std::string ffCache = f.localAppData + "\\Mozilla\\Firefox\\Profiles\\bench.default\\Cache";
  MakeDirs(ffCache);
  for (int i = 0; i < c.firefox; ++i)
    WriteSizedFile(ffCache + Num("\\%08Xd01", static_cast<int>(static_cast<unsigned>(i) * 2654435761u)), SizeOf(i));

  const std::string temp = f.localSettings + "\\Temp";
  MakeDirs(temp);
  for (int i = 0; i < c.temp; ++i) WriteSizedFile(temp + Num("\\~tmp%04X.tmp", i), SizeOf(i));

  const std::string debug = f.systemRoot + "\\Debug";
  MakeDirs(debug);
  for (int i = 0; i < c.logs; ++i) WriteSizedFile(debug + Num("\\bench%d.log", i), SizeOf(i));

  SeedRegistry(c);
  SeedDatabases(f, c);
}

}  // namespace zarn::bench
