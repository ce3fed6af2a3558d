#include "traces/folder_walk.h"

#include <windows.h>

#include <vector>

#include "traces/probes.h"

namespace zarn {
namespace {

void AppendFilesBelow(TextList& out, const std::string& folder, TextList& work) {
  ListFilesIn(work, folder, "*");
  std::vector<std::string> subfolders;
  for (size_t i = 0; i < work.Count(); ++i) {
    const std::string_view path = work.Text(i);
    const FileFacts* facts = work.Facts(i);
    if (!facts || IsDotName(path.substr(folder.size()))) continue;
    if (facts->attributes & FILE_ATTRIBUTE_DIRECTORY) {
      if (IsRealFolder(*facts)) subfolders.emplace_back(std::string(path) + "\\");
      continue;
    }
    out.Add(path, *facts);
  }
  for (const std::string& sub : subfolders) AppendFilesBelow(out, sub, work);
}

}  // namespace

bool IsDotName(std::string_view name) { return name == "." || name == ".."; }

bool IsRealFolder(const FileFacts& facts) {
  return (facts.attributes & FILE_ATTRIBUTE_DIRECTORY) && !(facts.attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

bool RealFoldersBelow(const std::string& folder, std::string_view below) {
  std::string path = folder;
  while (!below.empty()) {
    const size_t slash = below.find('\\');
    if (slash == std::string_view::npos) return false;
    path.append(below.substr(0, slash));
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !IsRealFolder(FileFacts{attributes})) return false;
    path.push_back('\\');
    below.remove_prefix(slash + 1);
  }
  return true;
}

void ListRealSubfolders(TextList& list, const std::string& folder) {
  TextList all;
  ListFiles(all, folder, "*");
  list.Clear();
  for (size_t i = 0; i < all.Count(); ++i) {
    const FileFacts* facts = all.Facts(i);
    if (facts && IsRealFolder(*facts) && !IsDotName(all.Text(i))) list.Add(all.Text(i), *facts);
  }
}

void ListFilesBelow(TextList& list, const std::string& folder) {
  list.Clear();
  TextList work;
  AppendFilesBelow(list, folder, work);
}

}  // namespace zarn
