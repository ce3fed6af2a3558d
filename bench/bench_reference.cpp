#include "bench/bench_reference.h"

#include <windows.h>
#include <shellapi.h>

#include <sqlite3.h>

#include <charconv>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <map>
#include <optional>
#include <set>
#include <span>
#include <string_view>

#include "app/forms.h"
#include "categories/Adobe.h"
#include "categories/MSoffice.h"
#include "categories/Macromed.h"
#include "categories/Openoffice.h"
#include "categories/chromium_browsers.h"
#include "categories/chromium_profile.h"
#include "categories/chromium_profile_order.h"
#include "categories/firefox_profiles.h"
#include "categories/explorer.h"
#include "categories/interexplor.h"
#include "categories/mediaplay.h"
#include "categories/mozilla_profile.h"
#include "categories/opera.h"
#include "categories/safari.h"
#include "categories/winapplet.h"
#include "categories/windsys.h"
#include "traces/database.h"
#include "traces/probes.h"
#include "traces/registry.h"
#include "traces/scan_engine.h"

namespace zarn::bench {
namespace {

using Items = std::vector<TraceItem>;
using SizeText = std::string (*)(long long bytes);

struct Staged {
  std::string path;
  FileFacts facts;
};

// The categories' own tables: the reference scans walk exactly what the program walks.
const std::span<const FileLocation> kRecent = ExplorerRecent();
const std::span<const RegistryRow> kShellLists = ExplorerShellLists();
const char* const kAcMru = ExplorerAcMru();
const std::span<const FileLocation> kTemporaryFiles = WindsysTemporaryFiles();
const std::span<const FileLocation> kMemoryDumps = WindsysMemoryDumps();
const std::span<const FileLocation> kLogFiles = WindsysLogFiles();
const std::span<const FileLocation> kCookies = InterCookies();
const std::span<const RegistryRow> kBrowserKeys = InterBrowserKeys();
const std::span<const FileLocation> kOpera = OperaFiles();
const std::span<const FileLocation> kSafari = SafariFiles();

// One folder listing, every entry with what the search returned for it.
std::vector<Staged> List(const std::string& folder, const std::string& mask, bool withFolder) {
  std::vector<Staged> out;
  WIN32_FIND_DATAA data;
  HANDLE find = FindFirstFileA((folder + mask).c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return out;
  do {
    Staged s;
    s.path = withFolder ? folder + data.cFileName : std::string(data.cFileName);
    s.facts.attributes = data.dwFileAttributes;
    s.facts.size = (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    s.facts.lastWrite = data.ftLastWriteTime;
    out.push_back(std::move(s));
  } while (FindNextFileA(find, &data));
  FindClose(find);
  return out;
}

bool OpensExclusively(const std::string& path) {
  HANDLE h = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                         nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  CloseHandle(h);
  return true;
}

std::string StandardSize(long long bytes) { return FormatSize(bytes); }
std::string LocalSize(long long bytes) { return FormatSizeLocal(bytes, UserDecimalSeparator()); }

class Ref {
 public:
  explicit Ref(Sequence s) : literal_(s == Sequence::Literal) {}

  Items items;
  FolderSnapshot folders;

  // Whether every folder from `base` down to `base` + `below` is there and is no link, each
  // looked at once: the rule for the folders of a profile the scan works out.
  bool RealFoldersOnTheWay(const std::string& base, std::string_view below) {
    for (size_t end = below.find('\\', 1); end != std::string_view::npos; end = below.find('\\', end + 1)) {
      std::string folder = base;
      folder.append(below.substr(0, end));
      if (real_.count(folder)) continue;
      const DWORD attributes = GetFileAttributesA(folder.c_str());
      if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY) ||
          (attributes & FILE_ATTRIBUTE_REPARSE_POINT))
        return false;
      real_.insert(std::move(folder));
    }
    return true;
  }

  void Stage(std::span<const FileLocation> locations, std::vector<Staged>& staged) {
    for (const FileLocation& loc : locations) {
      const std::string& base = folders.Get(loc.base);
      if (base.empty()) continue;
      if (loc.noLinkOnTheWay && !RealFoldersOnTheWay(base, loc.folder)) continue;
      const std::string folder = base + loc.folder;
      if (loc.depth == Depth::Tree) {
        StageTree(folder, loc.mask, staged);
        continue;
      }
      for (Staged& s : List(folder, loc.mask, loc.listing == Listing::Paths)) {
        if (loc.listing == Listing::Names) s.path = folder + s.path;
        if (loc.dots == Dots::Skip) {
          std::string_view name = std::string_view(s.path).substr(folder.size());
          if (name == "." || name == "..") continue;
        }
        if (loc.keep && !loc.keep(s.path, base)) continue;
        if (loc.except && lstrcmpiA(s.path.c_str() + folder.size(), loc.except) == 0) continue;
        staged.push_back(std::move(s));
      }
    }
  }

  void StageTree(const std::string& folder, const std::string& mask, std::vector<Staged>& staged) {
    std::vector<std::string> subfolders;
    for (Staged& s : List(folder, mask, true)) {
      std::string_view name = std::string_view(s.path).substr(folder.size());
      if (name == "." || name == "..") continue;
      if ((s.facts.attributes & FILE_ATTRIBUTE_DIRECTORY) && !(s.facts.attributes & FILE_ATTRIBUTE_REPARSE_POINT))
        subfolders.push_back(s.path + "\\");
      staged.push_back(std::move(s));
    }
    for (const std::string& sub : subfolders) StageTree(sub, mask, staged);
  }

  void Files(std::span<const FileLocation> locations, FileFilter filter, const std::string& info,
             SizeText size = StandardSize) {
    std::vector<Staged> staged;
    Stage(locations, staged);
    Add(staged, filter, info, size);
  }

  // Whether a staged file passes the filter, and its size.
  bool Passes(const Staged& s, FileFilter filter, long long& bytes) const {
    if (literal_) {
      // Each test searches the folder for the path again, as written.
      bool keep = filter == FileFilter::None || (filter == FileFilter::Existing && FileExists(s.path)) ||
                  (filter == FileFilter::Unlocked && !IsFileLocked(s.path)) ||
                  (filter == FileFilter::ExistingUnlocked && FileExists(s.path) && !IsFileLocked(s.path));
      if (!keep) return false;
      const std::string text = FileSizeText(s.path);
      bytes = -1;
      std::from_chars(text.data(), text.data() + text.size(), bytes);
      return true;
    }
    bool exists = FileExists(s.facts);
    bool keep = filter == FileFilter::None || (filter == FileFilter::Existing && exists) ||
                (filter == FileFilter::Unlocked && !(exists && !OpensExclusively(s.path))) ||
                (filter == FileFilter::ExistingUnlocked && exists && OpensExclusively(s.path));
    bytes = static_cast<long long>(s.facts.size);
    return keep;
  }

  // The items of every staged database that passes the filter, as `list` reads them.
  void Databases(const std::vector<Staged>& staged, FileFilter filter, void (*list)(Ref&, const std::string&)) {
    long long bytes = 0;
    for (const Staged& s : staged)
      if (Passes(s, filter, bytes)) list(*this, s.path);
  }

  void Add(const std::vector<Staged>& staged, FileFilter filter, const std::string& info,
           SizeText size = StandardSize) {
    for (const Staged& s : staged) {
      long long bytes;
      if (!Passes(s, filter, bytes)) continue;
      TraceItem item;
      size_t slash = s.path.rfind('\\');
      item.location = s.path.substr(0, slash + 1);
      item.name = s.path.substr(slash + 1);
      item.type = ExtensionOf(item.name);
      item.info = info;
      item.size = size(bytes);
      items.push_back(std::move(item));
    }
  }

  // The names one row's key lists, in the registry's order.
  std::vector<std::string> Names(Root root, const char* key, NameSource source) {
    std::vector<std::string> names;
    if (literal_) {
      TextList memo;
      ListRegistryNames(root, key, source, memo);
      for (size_t i = 0; i < memo.Count(); ++i) names.emplace_back(memo.Text(i));
      return names;
    }
    HKEY k = nullptr;
    if (RegOpenKeyExA(RootKey(root), key + 1, 0, KEY_READ, &k) != ERROR_SUCCESS) return names;
    DWORD subkeys = 0, longestSubkey = 0, values = 0, longestValue = 0;
    if (RegQueryInfoKeyA(k, nullptr, nullptr, nullptr, &subkeys, &longestSubkey, nullptr, &values, &longestValue,
                         nullptr, nullptr, nullptr) == ERROR_SUCCESS) {
      bool bySubkey = source == NameSource::Subkeys;
      std::vector<char> name((bySubkey ? longestSubkey : longestValue) + 1);
      for (DWORD i = 0; i < (bySubkey ? subkeys : values); ++i) {
        DWORD len = static_cast<DWORD>(name.size());
        LONG rc = bySubkey ? RegEnumKeyExA(k, i, name.data(), &len, nullptr, nullptr, nullptr, nullptr)
                           : RegEnumValueA(k, i, name.data(), &len, nullptr, nullptr, nullptr, nullptr);
        if (rc == ERROR_SUCCESS) names.emplace_back(name.data(), len);
      }
    }
    open_ = k;
    return names;
  }

  std::string Data(Root root, const char* key, const std::string& name) {
    if (literal_ || !open_) return ReadRegString(key + 1, name, RootKey(root));
    unsigned char buffer[256];
    DWORD size = sizeof buffer;
    if (RegQueryValueExA(open_, name.c_str(), nullptr, nullptr, buffer, &size) != ERROR_SUCCESS || size == 0 ||
        size > sizeof buffer)
      return {};
    std::string text(reinterpret_cast<const char*>(buffer), size - 1);
    if (size_t zero = text.find('\0'); zero != std::string::npos) text.resize(zero);
    return text;
  }

  void Close() {
    if (open_) RegCloseKey(open_);
    open_ = nullptr;
  }

  void Registry(std::span<const RegistryRow> rows) {
    for (const RegistryRow& row : rows) {
      if (row.inEachSubkey) {
        std::vector<std::string> keys;
        for (const std::string& sub : Names(row.root, row.key, NameSource::Subkeys))
          keys.push_back(row.key + ("\\" + sub) + "\\" + row.inEachSubkey);
        Close();
        for (const std::string& key : keys) {
          RegistryRow one = row;
          one.key = key.c_str();
          one.inEachSubkey = nullptr;
          Registry(std::span(&one, 1));
        }
        continue;
      }
      for (const std::string& name : Names(row.root, row.key, row.names)) {
        if (!NameTaken(row, name)) continue;
        TraceItem item;
        item.name = name;
        item.location = RootText(row.root) + std::string(row.key);
        item.type = kRegistryData;
        item.info = row.fixedInfo ? std::string(row.fixedInfo) : Data(row.root, row.key, name);
        items.push_back(std::move(item));
      }
      Close();
    }
  }

 private:
  bool literal_;
  HKEY open_ = nullptr;
  std::set<std::string> real_;
};

// SQLite on a database file, read-only and mapped as the program reads it: what it takes
// at the least to read a database's items safely is its check of every page, then the
// queries that give them.
class Sql {
 public:
  explicit Sql(const std::string& path) {
    if (sqlite3_open_v2(Utf8Path(path).c_str(), &db_, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
      sqlite3_close(db_);
      db_ = nullptr;
    }
    if (db_) sqlite3_exec(db_, "PRAGMA mmap_size=268435456", nullptr, nullptr, nullptr);
  }
  ~Sql() { sqlite3_close(db_); }
  Sql(const Sql&) = delete;
  Sql& operator=(const Sql&) = delete;

  // Every row of `sql`, its columns as text; none on any error.
  std::vector<std::vector<std::string>> Rows(const char* sql) const {
    std::vector<std::vector<std::string>> rows;
    sqlite3_stmt* query = nullptr;
    if (!db_ || sqlite3_prepare_v2(db_, sql, -1, &query, nullptr) != SQLITE_OK) return rows;
    int rc;
    while ((rc = sqlite3_step(query)) == SQLITE_ROW) {
      std::vector<std::string>& row = rows.emplace_back();
      for (int i = 0; i < sqlite3_column_count(query); ++i) {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(query, i));
        row.emplace_back(text ? text : "", static_cast<size_t>(sqlite3_column_bytes(query, i)));
      }
    }
    sqlite3_finalize(query);
    if (rc != SQLITE_DONE) rows.clear();
    return rows;
  }
  long long Number(const char* sql) const {
    const auto rows = Rows(sql);
    return rows.size() == 1 && rows[0].size() == 1 ? std::atoll(rows[0][0].c_str()) : -1;
  }
  bool Whole() const {
    const auto rows = Rows("PRAGMA quick_check");
    return rows.size() == 1 && rows[0] == std::vector<std::string>{"ok"};
  }

 private:
  sqlite3* db_ = nullptr;
};

std::string Counted(long long n, const std::string& what) {
  return std::to_string(n) + " " + what + (n == 1 ? "" : "s");
}

TraceItem DatabaseItem(const std::string& path, const std::string& name, const char* info, std::string size) {
  return {.name = name, .location = path, .type = "Database Rows", .info = info, .size = std::move(size)};
}

// What must hold before a database is read, checked the least way: the file is reached
// directly, not through a link (its final path is its own), begins with SQLite's header
// and, where the filter has not tested it already, no other program holds it (one open
// without sharing).
bool SafeToRead(const std::string& path, bool lockTest) {
  const DWORD share = lockTest ? 0 : FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  char reached[4 * MAX_PATH], full[4 * MAX_PATH], head[16] = {};
  const DWORD n = GetFinalPathNameByHandleA(file, reached, sizeof reached, 0);
  DWORD read = 0;
  const bool header = ReadFile(file, head, sizeof head, &read, nullptr) && read == sizeof head &&
                      std::memcmp(head, "SQLite format 3", sizeof head) == 0;
  CloseHandle(file);
  const DWORD f = GetFullPathNameA(path.c_str(), sizeof full, full, nullptr);
  const char* own = std::strncmp(reached, "\\\\?\\", 4) == 0 ? reached + 4 : reached;
  return header && n > 0 && n < sizeof reached && f > 0 && f < sizeof full && lstrcmpiA(own, full) == 0;
}

// Whether each table has at least as many columns as the program reads of it: one look at
// each table's columns, as the program's check of a known shape makes.
bool HasShape(const Sql& db, std::initializer_list<std::pair<const char*, int>> tables) {
  for (const auto& [table, columns] : tables) {
    const std::string sql = std::string("SELECT count(*) FROM pragma_table_info('") + table + "')";
    if (db.Number(sql.c_str()) < columns) return false;
  }
  return true;
}

// One item per site, sorted byte by byte: a host without its leading dot.
void CookieSites(Ref& r, const std::string& path, const char* table, const char* sql) {
  const Sql db(path);
  if (!HasShape(db, {{table, 1}}) || !db.Whole()) return;
  std::map<std::string, long long> sites;
  for (const auto& row : db.Rows(sql)) {
    std::string site = row[0];
    if (!site.empty() && site[0] == '.') site.erase(0, 1);
    if (!site.empty()) sites[site] += std::atoll(row[1].c_str());
  }
  for (const auto& [site, n] : sites) r.items.push_back(DatabaseItem(path, site, "Cookies", Counted(n, "cookie")));
}

void ChromiumCookies(Ref& r, const std::string& path) {
  // The filter's lock test has been made.
  if (!SafeToRead(path, false)) return;
  CookieSites(r, path, "cookies",
              "SELECT host_key, count(*) FROM cookies WHERE typeof(host_key) = 'text' GROUP BY host_key");
}

// A running Firefox holds parent.lock beside its databases without sharing.
bool FirefoxRunning(const std::string& database) {
  const std::string lock = database.substr(0, database.rfind('\\') + 1) + "parent.lock";
  HANDLE file = CreateFileA(lock.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file != INVALID_HANDLE_VALUE) {
    CloseHandle(file);
    return false;
  }
  const DWORD error = GetLastError();
  return error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND;
}

void FirefoxCookies(Ref& r, const std::string& path) {
  if (!FirefoxRunning(path) && SafeToRead(path, true))
    CookieSites(r, path, "moz_cookies",
                "SELECT host, count(*) FROM moz_cookies WHERE typeof(host) = 'text' GROUP BY host");
}

// One item for the whole history, its size the visits, when there is any history: visits,
// places that no bookmark or keyword keeps, or typed input.
void FirefoxHistory(Ref& r, const std::string& path) {
  if (FirefoxRunning(path) || !SafeToRead(path, true)) return;
  const Sql db(path);
  if (!HasShape(db, {{"moz_places", 5}, {"moz_historyvisits", 2}, {"moz_bookmarks", 1}}) || !db.Whole()) return;
  const long long visits = db.Number("SELECT count(*) FROM moz_historyvisits");
  const long long unkept = db.Number(
      "SELECT count(*) FROM moz_places WHERE foreign_count = 0 AND id NOT IN (SELECT fk FROM moz_bookmarks WHERE fk "
      "IS NOT NULL) AND id NOT IN (SELECT place_id FROM moz_keywords WHERE place_id IS NOT NULL)");
  const long long typed = db.Number("SELECT count(*) FROM moz_inputhistory");
  if (visits >= 0 && unkept >= 0 && typed >= 0 && visits + unkept + typed > 0)
    r.items.push_back(DatabaseItem(path, "History", "History", Counted(visits, "visit")));
}

void FirefoxDatabase(Ref& r, const std::string& path) {
  const std::string name = path.substr(path.rfind('\\') + 1);
  if (name == "cookies.sqlite") FirefoxCookies(r, path);
  if (name == "places.sqlite") FirefoxHistory(r, path);
}

void Explorer(Ref& r) {
  r.Files(kRecent, FileFilter::None, "All items listed in Recent Documents");
  r.Registry(ExplorerRunMru());
  std::vector<std::string> keys;
  for (const std::string& sub : r.Names(Root::HKCU, kAcMru, NameSource::Subkeys)) keys.push_back(kAcMru + sub + "\\");
  r.Close();
  for (const std::string& key : keys) {
    const RegistryRow row[] = {{Root::HKCU, key.c_str(), NameSource::Values, NameRule::All}};
    r.Registry(row);
  }
  r.Registry(kShellLists);
  r.Files(ExplorerJumpLists(), FileFilter::None, "All items listed in Jump Lists");
  r.Registry(ExplorerTodaysLists());
}

void System(Ref& r) {
  if (ShellCanQueryRecycleBin(ReadFileVersion("shell32.dll"))) {
    SHQUERYRBINFO info{};
    info.cbSize = sizeof info;
    HRESULT hr = SHQueryRecycleBinA(nullptr, &info);
    if (auto summary = RecycleBinSummary(hr, info)) r.items.push_back(*summary);
  }
  r.Files(kTemporaryFiles, FileFilter::ExistingUnlocked, "All items listed in Temporary Folder");
  if (OpenClipboard(nullptr)) CloseClipboard();
  r.Files(kMemoryDumps, FileFilter::None, "Memory Dump");
  r.Files(kLogFiles, FileFilter::Unlocked, "Log File");
  r.Files(WindsysCrashDumps(), FileFilter::None, "Memory Dump");
  r.Files(WindsysErrorReports(), FileFilter::ExistingUnlocked, "Error Report");
}

bool TakenAsDocument(const std::string& path) {
  const std::string extension = ExtensionOf(path);
  return !extension.empty() && extension != ".IE5";
}
bool IsDotOrIndex(std::string_view name) { return name == "." || name == ".." || name == "index.dat"; }
bool WalkInto(const FileFacts& f) {
  return !(f.attributes & FILE_ATTRIBUTE_REPARSE_POINT) && (f.attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The documents of a cache folder's folder and of the folders in it (the last level whole).
void StageCacheFolder(const std::string& folder, std::vector<Staged>& staged) {
  for (Staged& e2 : List(folder + "\\", "*.*", true)) {
    if (TakenAsDocument(e2.path)) {
      if (!IsDotOrIndex(std::string_view(e2.path).substr(folder.size() + 1))) staged.push_back(std::move(e2));
      continue;
    }
    if (!WalkInto(e2.facts)) continue;
    for (Staged& e3 : List(e2.path + "\\", "*.*", true))
      if (!IsDotOrIndex(std::string_view(e3.path).substr(e2.path.size() + 1))) staged.push_back(std::move(e3));
  }
}

void InternetExplorer(Ref& r) {
  r.Files(kCookies, FileFilter::Unlocked, "Internet Explorer Cookies");
  const std::string cache = ReadBaseFolder(BaseFolder::Cache);
  if (!cache.empty()) {
    const std::string root = cache + "\\Content.IE5";
    std::vector<Staged> staged;
    for (Staged& e1 : List(root + "\\", "*.*", true)) {
      if (TakenAsDocument(e1.path)) {
        std::string_view name = std::string_view(e1.path).substr(root.size() + 1);
        if (!IsDotOrIndex(name) && name != "desktop.ini") staged.push_back(std::move(e1));
        continue;
      }
      if (WalkInto(e1.facts)) StageCacheFolder(e1.path, staged);
    }
    for (const Staged& e1 : List(cache + "\\IE\\", "*.*", true))
      if (!TakenAsDocument(e1.path) && WalkInto(e1.facts)) StageCacheFolder(e1.path, staged);
    r.Add(staged, FileFilter::Unlocked, "Internet Explorer History");
  }
  r.Registry(kBrowserKeys);
  r.Registry(InterTodaysBrowserKeys());
}

void Firefox(Ref& r) {
  const std::string& local = r.folders.Get(BaseFolder::LocalAppData);
  TextList scratch;
  const std::vector<std::string> profiles = ReadProfileNames(r.folders.Get(BaseFolder::AppData), scratch);
  std::vector<Staged> staged;
  std::vector<std::vector<Staged>> databases;
  // Each build's profile: its folders below the roaming and the local folder, on a base.
  const auto stage = [&](const std::string& name, BaseFolder roamingBase, const std::string& roaming,
                         BaseFolder localBase, const std::string& localBelow, bool old) {
    const std::string base = "\\Mozilla\\Firefox\\Profiles\\" + name;
    const std::string cache = localBelow + base + "\\Cache\\", entries = localBelow + base + "\\cache2\\entries\\",
                      doomed = localBelow + base + "\\cache2\\doomed\\", profileFolder = roaming + base + "\\";
    FileLocation era[] = {
        {localBase, cache.c_str(), "*.*", 2, Listing::Names, Dots::Skip},
        {roamingBase, profileFolder.c_str(), "history.dat", 3, Listing::Names, Dots::Skip},
        {roamingBase, profileFolder.c_str(), "formhistory.dat", 4, Listing::Names, Dots::Skip},
    };
    FileLocation today[] = {
        {localBase, entries.c_str(), "*.*", 5, Listing::Names, Dots::Skip},
        {localBase, doomed.c_str(), "*.*", 6, Listing::Names, Dots::Skip},
        {roamingBase, profileFolder.c_str(), "formhistory.sqlite", 7, Listing::Names, Dots::Skip},
    };
    // The databases whose traces are rows, the cookies before the history.
    FileLocation rows[] = {
        {roamingBase, profileFolder.c_str(), "cookies.sqlite", 8, Listing::Paths, Dots::Skip},
        {roamingBase, profileFolder.c_str(), "places.sqlite", 9, Listing::Paths, Dots::Skip},
    };
    // Every folder lies in a profile that profiles.ini names: none on the way may be a link.
    for (std::span<FileLocation> table :
         {std::span<FileLocation>(era), std::span<FileLocation>(today), std::span<FileLocation>(rows)})
      for (FileLocation& loc : table) loc.noLinkOnTheWay = true;
    if (old) r.Stage(era, staged);
    r.Stage(today, staged);
    r.Stage(rows, databases.emplace_back());
  };
  for (const std::string& profile : profiles) stage(profile, BaseFolder::AppData, "", BaseFolder::LocalAppData, "", true);
  const std::string store = "\\Packages\\Mozilla.Firefox_n80bbvh6b1yt2\\LocalCache\\";
  const std::vector<std::string> storeProfiles =
      local.empty() ? std::vector<std::string>() : ReadProfileNames(local + store + "Roaming", scratch);
  for (const std::string& profile : storeProfiles)
    stage(profile, BaseFolder::LocalAppData, store + "Roaming", BaseFolder::LocalAppData, store + "Local", false);
  r.Add(staged, FileFilter::None, "Internet Cache");
  for (const std::vector<Staged>& profileDatabases : databases)
    r.Databases(profileDatabases, FileFilter::Existing, FirefoxDatabase);
}

// One profile of a Chromium-based browser, part after part of the one table; the part that
// holds the cookie databases gives their sites.
void ChromiumProfile(Ref& r, const std::string& below, std::optional<BaseFolder> base) {
  for (const ProfilePart& part : ChromiumProfileParts()) {
    std::vector<Staged> staged;
    r.Stage(LocationsBelow(part.rows, below, base), staged);
    if (part.rows.front().store)
      r.Databases(staged, part.filter, ChromiumCookies);
    else
      r.Add(staged, part.filter, part.info);
  }
}

void Chromium(Ref& r, const ChromiumBrowser& browser) {
  const std::string& local = r.folders.Get(BaseFolder::LocalAppData);
  if (local.empty() || !r.RealFoldersOnTheWay(local, browser.userData)) return;
  std::vector<std::string> names;
  for (const Staged& s : List(local + browser.userData, "*", false)) {
    const bool folder =
        (s.facts.attributes & FILE_ATTRIBUTE_DIRECTORY) && !(s.facts.attributes & FILE_ATTRIBUTE_REPARSE_POINT);
    if (folder && s.path != "." && s.path != "..") names.push_back(s.path);
  }
  for (const std::string& profile : ChromiumProfileOrder(std::move(names)))
    ChromiumProfile(r, browser.userData + profile, BaseFolder::LocalAppData);
}

// The browser of the Chromium browsers' table with that caption, or none: a row added
// there is measured without a line here.
const ChromiumBrowser* ChromiumBrowserOf(const std::string& caption) {
  for (const ChromiumBrowser& browser : ChromiumBrowsers())
    if (caption == browser.form.caption) return &browser;
  return nullptr;
}

void Opera(Ref& r) {
  r.Files(kOpera, FileFilter::ExistingUnlocked, "Internet Cache");
  for (const char* profile : OperaTodaysProfileFolders()) ChromiumProfile(r, profile, {});
}

}  // namespace

const std::vector<std::string>& Captions() {
  static const std::vector<std::string> captions = [] {
    std::vector<std::string> all;
    for (const CategoryKind& kind : CategoryKinds()) all.emplace_back(kind.make()->Traits().caption);
    return all;
  }();
  return captions;
}

Items Reference(const std::string& caption, Sequence sequence) {
  Ref r(sequence);
  if (caption == "Windows Explorer")
    Explorer(r);
  else if (caption == "System")
    System(r);
  else if (caption == "Adobe") {
    r.Files(AdobeFiles(), FileFilter::None, "Adobe Application MRUs");
    r.Registry(AdobeRows());
    r.Registry(AdobeTodaysRows());
  } else if (caption == "Macromedia")
    r.Registry(MacromediaRows());
  else if (caption == "Microsoft Office") {
    r.Files(MsofficeFiles(), FileFilter::None, "Microsoft Office Recentlist");
    r.Registry(MsofficeRows());
    r.Registry(MsofficeTodaysRows());
  } else if (caption == "Internet Explorer")
    InternetExplorer(r);
  else if (caption == "Safari")
    r.Files(kSafari, FileFilter::ExistingUnlocked, "Internet Cache");
  else if (caption == "Media Player") {
    r.Files(MediaplayFiles(), FileFilter::None, "Media Player Recentlist");
    r.Registry(MediaplayRows());
  } else if (caption == "Windows Applets")
    r.Registry(WinappletRows());
  else if (caption == "Mozilla Firefox")
    Firefox(r);
  else if (caption == "Open Office")
    r.Files(OpenofficeFiles(), FileFilter::None, "Open Office Recentlist", LocalSize);
  else if (caption == "Opera")
    Opera(r);
  else if (const ChromiumBrowser* browser = ChromiumBrowserOf(caption))
    Chromium(r, *browser);
  return std::move(r.items);
}

}  // namespace zarn::bench
