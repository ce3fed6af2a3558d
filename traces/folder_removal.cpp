#include "traces/folder_removal.h"

#include <windows.h>

#include "traces/handles.h"

namespace zarn {
namespace {

bool IsLink(DWORD attributes) { return (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0; }

std::string WithoutSlash(std::string path) {
  while (!path.empty() && (path.back() == '\\' || path.back() == '/')) path.pop_back();
  return path;
}

// Empties and removes a folder that is no link; a link inside goes as the link itself.
bool DeleteTree(const std::string& folder) {
  WIN32_FIND_DATAA found;
  HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &found);
  bool whole = true;
  if (find != INVALID_HANDLE_VALUE) {
    do {
      const std::string name = found.cFileName;
      if (name == "." || name == "..") continue;
      const std::string path = folder + "\\" + name;
      const DWORD attributes = found.dwFileAttributes;
      if (attributes & FILE_ATTRIBUTE_READONLY) SetFileAttributesA(path.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
      if (attributes & FILE_ATTRIBUTE_DIRECTORY)
        whole &= IsLink(attributes) ? RemoveDirectoryA(path.c_str()) != 0 : DeleteTree(path);
      else
        whole &= DeleteFileA(path.c_str()) != 0;
    } while (FindNextFileA(find, &found));
    FindClose(find);
  }
  return RemoveDirectoryA(folder.c_str()) != 0 && whole;
}

}  // namespace

bool RealFolderBelow(const std::string& base, const std::string& path) {
  const std::string root = WithoutSlash(base), folder = WithoutSlash(path);
  if (root.empty() || folder.size() <= root.size() + 1 || folder.compare(0, root.size(), root) != 0 ||
      folder[root.size()] != '\\')
    return false;
  for (size_t end = folder.find('\\', root.size() + 1);; end = folder.find('\\', end + 1)) {
    const std::string step = folder.substr(0, end);
    const DWORD attributes = GetFileAttributesA(step.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY) || IsLink(attributes))
      return false;
    if (end == std::string::npos) return true;
  }
}

bool FileHeld(const std::string& path) {
  unique_file file(CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  if (file) return false;
  // Only a file that is not there frees the store; any other failure is taken as a hold.
  const DWORD error = GetLastError();
  return error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND;
}

bool RemoveFolderBelow(const std::string& base, const std::string& path) {
  return RealFolderBelow(base, path) && RemoveRealFolder(path);
}

bool RemoveRealFolder(const std::string& path) {
  const std::string folder = WithoutSlash(path);
  const DWORD before = GetFileAttributesA(folder.c_str());
  if (before == INVALID_FILE_ATTRIBUTES || !(before & FILE_ATTRIBUTE_DIRECTORY) || IsLink(before)) return false;
  // A name of the same parent that no store reads as one of its own; the rename fails while
  // a program has a file of the folder open without letting others delete it.
  std::string aside;
  for (int n = 0;; ++n) {
    aside = folder + ".deleted" + (n ? std::to_string(n) : std::string());
    if (MoveFileExA(folder.c_str(), aside.c_str(), 0)) break;
    const DWORD error = GetLastError();
    if ((error != ERROR_ALREADY_EXISTS && error != ERROR_FILE_EXISTS) || n == 99) return false;
  }
  const DWORD attributes = GetFileAttributesA(aside.c_str());
  // What was renamed is what was checked; should a link have taken its place meanwhile, the
  // link alone goes.
  if (attributes != INVALID_FILE_ATTRIBUTES && IsLink(attributes)) return RemoveDirectoryA(aside.c_str()) != 0;
  return DeleteTree(aside);
}

}  // namespace zarn
