#pragma once
// The large profile the benchmark measures: files in a profile folder and values in the
// most-recently-used keys, written through the ordinary Win32 calls.
#include <string>

namespace zarn::bench {

// How many of each kind of trace; Scaled() multiplies every count.
struct Counts {
  int cacheFolders = 16;
  int cacheFiles = 50000;  // Internet Explorer cache documents, spread evenly over the folders
  int cookies = 2000;      // half of them name a listed site
  int firefox = 20000;     // Firefox disk cache entries, in one folder
  int temp = 5000;
  int logs = 1000;
  int registry = 10000;  // values over RunMRU, TypedURLs, three Office lists, Media Player
  // The browsers' databases: Chrome's and Firefox's cookies, this many each, over `sites`
  // sites; Firefox's history, this many visits.
  int databaseCookies = 4000;
  int sites = 800;
  int visits = 4000;

  Counts Scaled(double factor) const;
};

// The folders a profile lives in, as the Shell Folders values and the Windows folder name them.
struct Folders {
  std::string appData, localAppData, localSettings, recent, cookies, cache, programFiles, systemRoot;
};

// Folders below one root, laid out as a Windows XP profile.
Folders FoldersUnder(const std::string& root);

// Points the current user's Shell Folders values at the folders (the registry as the
// calling process sees it: redirected inside a sandbox, the prefix's own outside one).
void WriteShellFolders(const Folders& f);

// Writes every file and value of the profile except the cache documents; idempotent. The
// browsers' databases are written afresh.
void SeedAll(const Folders& f, const Counts& c);
// Writes the Internet Explorer cache root's own files and cache documents number `from`
// to `to` - 1, document i in folder i mod c.cacheFolders, so the folders grow evenly.
void SeedCache(const Folders& f, const Counts& c, int from, int to);
void SeedRegistry(const Counts& c);

void MakeDirs(const std::string& path);
void WriteSizedFile(const std::string& path, int bytes);

}  // namespace zarn::bench
