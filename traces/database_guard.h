#pragma once
// Which file a path really reaches. A browser's profile may lie anywhere a user keeps it (a
// share, a mapped or substituted drive, a folder behind a junction): what lies above the base
// folder the scan started from is the user's own. Below it, where the browser keeps its files,
// no link is ever followed, and every file is checked again by the handle it is opened with.
#include <windows.h>

#include <string>

namespace zarn {

// A file (or folder) of a profile, and the base folder its scan started from.
struct StorePlace {
  std::string path;
  std::string base;
};

// Whether this Windows says by a handle which file it reached (Vista and later; XP knows no
// links to files, and its folder links are seen by their attributes).
bool KnowsFinalPaths();

// The path the handle's file has, with the "\\?\" of a drive path dropped and "\\?\UNC\"
// written as "\\"; empty when it cannot be told.
std::wstring FinalPathOf(HANDLE file);

// The two paths name the same file, letter case aside, as the file system compares names.
bool SamePath(const std::wstring& a, const std::wstring& b);

// The path the existing plain file at `path` is reached by when neither it nor any folder
// between `base` and it is a link: its final path, or (where final paths are unknown) its full
// long path. Empty when `path` does not lie below `base`, is a folder or a link, or a folder on
// the way is a link or no folder.
std::wstring ReachedBelow(const std::string& base, const std::string& path);
// The same check made on the handle that opens the file with the given access and sharing:
// the handle, with `reached` set, or INVALID_HANDLE_VALUE.
HANDLE OpenBelow(const std::string& base, const std::string& path, DWORD access, DWORD share, std::wstring& reached);

// The same for the file `path` + `suffix` beside a file that ReachedBelow found `reached`:
// a plain file that is reached as `reached` + `suffix`, or empty.
std::wstring ReachedBeside(const std::wstring& reached, const std::string& path, const std::string& suffix);

// Opens the file with the given access and sharing, and keeps the handle only when it reached
// the file `expected` names (ReachedBelow's text) and no link: a link put in its place after
// the checks is never read or written through.
HANDLE OpenReached(const std::string& path, const std::wstring& expected, DWORD access, DWORD share);

// Deletes the file at `path` through a handle that reached the file `expected` names and no
// link, so that a link put in its place is never taken for it (XP, which has no links to
// files, deletes by name after the same check). False when nothing was deleted.
bool DeleteReached(const std::wstring& path, const std::wstring& expected);

// Text in the program's code page as wide text and back, and wide text as UTF-8; empty when
// it does not convert exactly.
std::wstring Wide(const std::string& text, UINT codePage = CP_ACP);
std::string Narrow(const std::wstring& text, UINT codePage);

}  // namespace zarn
