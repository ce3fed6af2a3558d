#include "tests/support/fixtures.h"

#include <windows.h>

#include <algorithm>

namespace zarn::test {

bool CopyTree(const std::string& from, const std::string& to) {
  CreateDirectoryA(to.c_str(), nullptr);
  WIN32_FIND_DATAA data;
  HANDLE find = FindFirstFileA((from + "\\*").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return false;
  bool ok = true;
  do {
    const std::string name = data.cFileName;
    if (name == "." || name == "..") continue;
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
      ok = CopyTree(from + "\\" + name, to + "\\" + name) && ok;
    else
      ok = CopyFileA((from + "\\" + name).c_str(), (to + "\\" + name).c_str(), FALSE) && ok;
  } while (FindNextFileA(find, &data));
  FindClose(find);
  return ok;
}

std::string FixturePath(const std::string& relative) {
  std::string path = std::string(ZARN_FIXTURES_DIR) + "\\" + relative;
  std::replace(path.begin(), path.end(), '/', '\\');
  return path.front() == '\\' ? "Z:" + path : path;
}

bool CopyFixture(const std::string& relative, const std::string& target) {
  const size_t slash = target.find_last_of('\\');
  if (slash != std::string::npos) {
    // Parent folders first, one by one.
    for (size_t at = target.find('\\', 3); at != std::string::npos && at <= slash; at = target.find('\\', at + 1))
      CreateDirectoryA(target.substr(0, at).c_str(), nullptr);
  }
  return CopyTree(FixturePath(relative), target);
}

}  // namespace zarn::test
