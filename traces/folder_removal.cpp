#include "traces/folder_removal.h"

#include <windows.h>

#include <cstring>
#include <string_view>
#include <vector>

#include "traces/database_guard.h"
#include "traces/kernel32_function.h"

namespace zarn {
namespace {

// Both are Vista's; XP does the same by name.
using HandleInformationFn = BOOL(WINAPI*)(HANDLE, FILE_INFO_BY_HANDLE_CLASS, LPVOID, DWORD);
HandleInformationFn SetInformation() {
  static const auto function = Kernel32Function<HandleInformationFn>("SetFileInformationByHandle");
  return function;
}
HandleInformationFn GetInformation() {
  static const auto function = Kernel32Function<HandleInformationFn>("GetFileInformationByHandleEx");
  return function;
}

bool IsLink(DWORD attributes) { return (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0; }

std::string WithoutSlash(std::string path) {
  while (!path.empty() && (path.back() == '\\' || path.back() == '/')) path.pop_back();
  return path;
}

// The folder itself, never what a link in its place points to. Others may go on reading and
// writing it, and deleting in it.
HANDLE OpenFolder(const std::wstring& path, DWORD access, DWORD share) {
  return CreateFileW(path.c_str(), access, share, nullptr, OPEN_EXISTING,
                     FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
}
constexpr DWORD kRemovalAccess = DELETE | FILE_LIST_DIRECTORY | FILE_TRAVERSE | SYNCHRONIZE;
constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// Asks for the attributes alone where Windows can: Wine gives the whole information of a handle
// only after working out its path from the Unix one, which costs more than the open.
bool IsRealFolder(HANDLE folder) {
  DWORD attributes = 0;
  if (const auto getInformation = GetInformation()) {
    FILE_BASIC_INFO basic;
    if (!getInformation(folder, FileBasicInfo, &basic, sizeof basic)) return false;
    attributes = basic.FileAttributes;
  } else {
    BY_HANDLE_FILE_INFORMATION info;
    if (!GetFileInformationByHandle(folder, &info)) return false;
    attributes = info.dwFileAttributes;
  }
  return (attributes & FILE_ATTRIBUTE_DIRECTORY) && !IsLink(attributes);
}

struct Entry {
  std::wstring name;
  DWORD attributes;
};

// What the folder holds, read through its open handle where Windows can (no second open of
// the folder by name), else by name.
std::vector<Entry> EntriesOf(HANDLE folder, const std::wstring& path) {
  std::vector<Entry> entries;
  auto add = [&](std::wstring_view name, DWORD attributes) {
    if (name != L"." && name != L"..") entries.push_back({std::wstring(name), attributes});
  };
  if (const auto getInformation = GetInformation()) {
    std::vector<DWORDLONG> buffer(8192);
    const DWORD bytes = static_cast<DWORD>(buffer.size() * sizeof(DWORDLONG));
    FILE_INFO_BY_HANDLE_CLASS kind = FileFullDirectoryRestartInfo;
    while (getInformation(folder, kind, buffer.data(), bytes)) {
      kind = FileFullDirectoryInfo;
      const auto* at = reinterpret_cast<const unsigned char*>(buffer.data());
      for (;;) {
        const auto* info = reinterpret_cast<const FILE_FULL_DIR_INFO*>(at);
        add({info->FileName, info->FileNameLength / sizeof(wchar_t)}, info->FileAttributes);
        if (info->NextEntryOffset == 0) break;
        at += info->NextEntryOffset;
      }
    }
    if (GetLastError() == ERROR_NO_MORE_FILES) return entries;
    entries.clear();
  }
  WIN32_FIND_DATAW found;
  const unique_hfind find(FindFirstFileW((path + L"\\*").c_str(), &found));
  if (find) {
    do {
      add(found.cFileName, found.dwFileAttributes);
    } while (FindNextFileW(find.get(), &found));
  }
  return entries;
}

// Removes the open, emptied folder: through its handle, which goes when the handle closes,
// or by name on XP.
bool RemoveOpened(unique_file folder, const std::wstring& path) {
  if (const auto setInformation = SetInformation()) {
    FILE_DISPOSITION_INFO disposition = {TRUE};
    return setInformation(folder.get(), FileDispositionInfo, &disposition, sizeof disposition) != FALSE;
  }
  folder.reset();
  return RemoveDirectoryW(path.c_str()) != FALSE;
}

// Empties and removes an open real folder; a link inside goes as the link itself.
bool DeleteTree(unique_file folder, const std::wstring& path) {
  bool whole = true;
  for (const Entry& entry : EntriesOf(folder.get(), path)) {
    const std::wstring child = path + L"\\" + entry.name;
    if (entry.attributes & FILE_ATTRIBUTE_READONLY)
      SetFileAttributesW(child.c_str(), entry.attributes & ~FILE_ATTRIBUTE_READONLY);
    if (!(entry.attributes & FILE_ATTRIBUTE_DIRECTORY)) {
      whole &= DeleteFileW(child.c_str()) != FALSE;
      continue;
    }
    unique_file sub(IsLink(entry.attributes) ? INVALID_HANDLE_VALUE : OpenFolder(child, kRemovalAccess, kShareAll));
    if (sub && IsRealFolder(sub.get())) {
      whole &= DeleteTree(std::move(sub), child);
    } else {
      // A link (or what became one since the listing) is removed itself, never emptied.
      sub.reset();
      whole &= RemoveDirectoryW(child.c_str()) != FALSE;
    }
  }
  return RemoveOpened(std::move(folder), path) && whole;
}

// The NT form of a full path: the form the kernel's rename takes, which stays as it is
// whether or not Windows converts the name first. \\?\C:\x and C:\x are \??\C:\x,
// \\server\share\x is \??\UNC\server\share\x.
std::wstring NtPath(const std::wstring& path) {
  if (path.rfind(L"\\\\?\\", 0) == 0) return L"\\??\\" + path.substr(4);
  if (path.rfind(L"\\\\", 0) == 0) return L"\\??\\UNC\\" + path.substr(2);
  return L"\\??\\" + path;
}

// Moves the open folder to `target`, under `name` or, should a folder of that name be there
// already, under `name` and a number. The folder moved is the one opened and checked, even
// should a link take its name meanwhile (by name on XP).
bool MoveOpened(HANDLE folder, const std::wstring& path, const std::wstring& target, const std::wstring& name,
                std::wstring& moved) {
  const auto setInformation = SetInformation();
  for (int n = 0; n < 100; ++n) {
    moved = target + L"\\" + name + (n ? L"." + std::to_wstring(n) : std::wstring());
    bool done;
    if (setInformation) {
      const std::wstring ntName = NtPath(moved);
      const size_t nameBytes = ntName.size() * sizeof(wchar_t);
      std::vector<DWORDLONG> buffer((sizeof(FILE_RENAME_INFO) + nameBytes) / sizeof(DWORDLONG) + 1);
      auto* rename = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
      rename->ReplaceIfExists = FALSE;
      rename->RootDirectory = nullptr;
      rename->FileNameLength = static_cast<DWORD>(nameBytes);
      std::memcpy(rename->FileName, ntName.c_str(), nameBytes + sizeof(wchar_t));
      done = setInformation(folder, FileRenameInfo, rename, static_cast<DWORD>(buffer.size() * sizeof(DWORDLONG)));
    } else {
      done = MoveFileExW(path.c_str(), moved.c_str(), 0) != FALSE;
    }
    if (done) return true;
    const DWORD error = GetLastError();
    if (error != ERROR_ALREADY_EXISTS && error != ERROR_FILE_EXISTS) return false;
  }
  return false;
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

FolderRemoval::~FolderRemoval() {
  if (!asideFolder_) return;
  asideFolder_.reset();
  // Stays when something in it could not be deleted.
  RemoveDirectoryW(aside_.c_str());
}

bool FolderRemoval::MakeAside() {
  // Made, or tried, once.
  if (!aside_.empty()) return static_cast<bool>(asideFolder_);
  aside_ = Wide(WithoutSlash(profile_) + "\\" + kRemovalFolder);
  if (aside_.empty()) return false;
  CreateDirectoryW(aside_.c_str(), nullptr);  // or there since a clean that was stopped
  // Held without the right to delete or rename it, so that nothing can put a link in its place
  // while folders are moved into it.
  asideFolder_.reset(OpenFolder(aside_, FILE_LIST_DIRECTORY | SYNCHRONIZE, FILE_SHARE_READ | FILE_SHARE_WRITE));
  if (asideFolder_ && !IsRealFolder(asideFolder_.get())) asideFolder_.reset();
  return static_cast<bool>(asideFolder_);
}

bool FolderRemoval::RemoveBelow(const std::string& folder) {
  return RealFolderBelow(profile_, folder) && Remove(folder);
}

bool FolderRemoval::Remove(const std::string& folder) {
  const std::wstring path = Wide(WithoutSlash(folder));
  const size_t slash = path.find_last_of(L'\\');
  if (slash == std::wstring::npos || slash + 1 == path.size()) return false;
  unique_file opened(OpenFolder(path, kRemovalAccess, kShareAll));
  if (!opened || !IsRealFolder(opened.get()) || !MakeAside()) return false;
  // The move fails while a program has a file of the folder open without letting others
  // delete it.
  std::wstring moved;
  if (!MoveOpened(opened.get(), path, aside_, path.substr(slash + 1), moved)) return false;
  return DeleteTree(std::move(opened), moved);
}

}  // namespace zarn
