#include "traces/database_vfs.h"

#include <windows.h>

#include <sqlite3.h>

#include <string>

#include "traces/database_guard.h"
#include "traces/handles.h"

namespace zarn {
namespace {

sqlite3_vfs* g_windows = nullptr;  // SQLite's own file system for Windows, which does the work
sqlite3_vfs g_reading, g_writing;

bool Writes(sqlite3_vfs* vfs) { return vfs == &g_writing; }

// The path the file `name` (UTF-8, as SQLite names it) must be reached by: the checked folder
// of its database and its own name there. Empty when its database named no folder.
std::wstring Expected(const char* name) {
  const char* folder = sqlite3_uri_parameter(name, kCheckedFolder);
  if (!folder || !*folder) return {};
  const std::string path = name;
  const size_t slash = path.find_last_of("\\/");
  return Wide(folder, CP_UTF8) + L"\\" + Wide(slash == std::string::npos ? path : path.substr(slash + 1), CP_UTF8);
}

bool IsPlainFile(DWORD attributes) { return !(attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)); }

// The open file's handle is the expected file's and no link.
bool ReachedExpected(HANDLE file, const std::wstring& expected) {
  BY_HANDLE_FILE_INFORMATION info;
  if (!GetFileInformationByHandle(file, &info) || !IsPlainFile(info.dwFileAttributes)) return false;
  return !KnowsFinalPaths() || SamePath(FinalPathOf(file), expected);
}

// SQLite's own methods for an open file, and the two sets the connections use: without the
// shared-memory index, so that SQLite keeps a log's index in the connection's memory and
// never opens the -shm file.
const sqlite3_io_methods* g_windowsFile = nullptr;
sqlite3_io_methods g_readingFile, g_writingFile;

// A scan locks its file for reading only, the one lock a read-only handle takes on every
// system (Wine cannot lock a read-only file for writing); the exclusive mode that keeps the
// log's index in memory is granted to it without a write lock.
int LockForReading(sqlite3_file* file, int level) {
  return level == SQLITE_LOCK_SHARED ? g_windowsFile->xLock(file, level) : SQLITE_OK;
}
int UnlockForReading(sqlite3_file* file, int level) {
  return level == SQLITE_LOCK_NONE ? g_windowsFile->xUnlock(file, level) : SQLITE_OK;
}

// The methods for a file SQLite's own open gave `methods`; null for methods of another kind.
const sqlite3_io_methods* GuardedMethods(const sqlite3_io_methods* methods, bool writes) {
  if (!g_windowsFile) {
    g_windowsFile = methods;
    for (sqlite3_io_methods* m : {&g_readingFile, &g_writingFile}) {
      *m = *methods;
      m->xShmMap = nullptr;
      m->xShmLock = nullptr;
      m->xShmBarrier = nullptr;
      m->xShmUnmap = nullptr;
    }
    g_readingFile.xLock = LockForReading;
    g_readingFile.xUnlock = UnlockForReading;
  }
  if (methods != g_windowsFile) return nullptr;
  return writes ? &g_writingFile : &g_readingFile;
}

int Open(sqlite3_vfs* vfs, sqlite3_filename name, sqlite3_file* file, int flags, int* outFlags) {
  file->pMethods = nullptr;
  // A file without a name is SQLite's own scratch file, kept in memory by this build.
  if (!name) return g_windows->xOpen(g_windows, name, file, flags, outFlags);
  const std::wstring expected = Expected(name), wide = Wide(name, CP_UTF8);
  if (expected.empty() || wide.empty()) return SQLITE_CANTOPEN;
  const DWORD attributes = GetFileAttributesW(wide.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && !IsPlainFile(attributes)) return SQLITE_CANTOPEN;
  if (!Writes(vfs)) {
    // A scan reads what is there and makes nothing.
    if (attributes == INVALID_FILE_ATTRIBUTES) return SQLITE_CANTOPEN;
    flags =
        (flags & ~(SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_EXCLUSIVE | SQLITE_OPEN_DELETEONCLOSE)) |
        SQLITE_OPEN_READONLY;
  } else if (attributes == INVALID_FILE_ATTRIBUTES && (flags & SQLITE_OPEN_CREATE) &&
             !(flags & SQLITE_OPEN_EXCLUSIVE)) {
    // SQLite would open a missing file with "open always", which goes through a link that
    // leads nowhere and makes its target. Made as new here, it is made where its name is.
    unique_file made(CreateFileW(wide.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                 nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!made || !ReachedExpected(made.get(), expected)) return SQLITE_CANTOPEN;
  }
  const int rc = g_windows->xOpen(g_windows, name, file, flags, outFlags);
  if (rc != SQLITE_OK) return rc;
  HANDLE handle = INVALID_HANDLE_VALUE;
  if (file->pMethods->xFileControl(file, SQLITE_FCNTL_WIN32_GET_HANDLE, &handle) != SQLITE_OK ||
      !ReachedExpected(handle, expected)) {
    file->pMethods->xClose(file);
    file->pMethods = nullptr;
    return SQLITE_CANTOPEN;
  }
  if (const sqlite3_io_methods* guarded = GuardedMethods(file->pMethods, Writes(vfs))) {
    file->pMethods = guarded;
    return SQLITE_OK;
  }
  file->pMethods->xClose(file);
  file->pMethods = nullptr;
  return SQLITE_CANTOPEN;
}

// Deletes the file its own handle was checked for, so a link put in its place meanwhile is
// never taken for it.
int Delete(sqlite3_vfs* vfs, const char* name, int) {
  if (!Writes(vfs)) return SQLITE_IOERR_DELETE;
  const std::wstring expected = Expected(name), wide = Wide(name, CP_UTF8);
  if (expected.empty() || wide.empty()) return SQLITE_IOERR_DELETE;
  if (GetFileAttributesW(wide.c_str()) == INVALID_FILE_ATTRIBUTES) {
    const DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? SQLITE_IOERR_DELETE_NOENT
                                                                          : SQLITE_IOERR_DELETE;
  }
  return DeleteReached(wide, expected) ? SQLITE_OK : SQLITE_IOERR_DELETE;
}

void Register() {
  g_windows = sqlite3_vfs_find("win32");
  if (!g_windows) return;
  for (sqlite3_vfs* vfs : {&g_reading, &g_writing}) {
    *vfs = *g_windows;
    vfs->pNext = nullptr;
    vfs->zName = vfs == &g_writing ? "zarn-writing" : "zarn-reading";
    vfs->xOpen = Open;
    vfs->xDelete = Delete;
    sqlite3_vfs_register(vfs, 0);
  }
}

}  // namespace

const char* GuardedFileSystem(bool writes) {
  static const bool registered = (Register(), g_windows != nullptr);
  if (!registered) return nullptr;
  return writes ? g_writing.zName : g_reading.zName;
}

}  // namespace zarn
