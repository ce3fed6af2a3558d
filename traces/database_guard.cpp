#include "traces/database_guard.h"

#include <string_view>
#include <vector>

#include "traces/handles.h"
#include "traces/kernel32_function.h"

namespace zarn {
namespace {

using FinalPathFn = DWORD(WINAPI*)(HANDLE, LPWSTR, DWORD, DWORD);
using CompareOrdinalFn = int(WINAPI*)(LPCWSTR, int, LPCWSTR, int, BOOL);
using SetInformationFn = BOOL(WINAPI*)(HANDLE, FILE_INFO_BY_HANDLE_CLASS, LPVOID, DWORD);

FinalPathFn FinalPathFunction() {
  static const auto function = Kernel32Function<FinalPathFn>("GetFinalPathNameByHandleW");
  return function;
}

// The full path, with every short (8.3) name of a folder or file written long. A short name
// that Windows makes always holds a "~": a path without one is long already, and is not
// looked up name by name (which costs a listing of every folder on the way).
std::wstring FullLongPath(const std::wstring& path) {
  std::vector<wchar_t> full(32768), longer(32768);
  const DWORD f = GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
  if (f == 0 || f >= full.size()) return {};
  if (std::wstring_view(full.data(), f).find(L'~') == std::wstring_view::npos) return std::wstring(full.data(), f);
  const DWORD l = GetLongPathNameW(full.data(), longer.data(), static_cast<DWORD>(longer.size()));
  if (l == 0 || l >= longer.size()) return {};
  return std::wstring(longer.data(), l);
}

// "C:" of "C:\", so that a base at a drive's root and a base below one are joined alike.
std::wstring WithoutTrailingSeparator(std::wstring path) {
  if (!path.empty() && (path.back() == L'\\' || path.back() == L'/')) path.pop_back();
  return path;
}

bool IsPlainFolder(DWORD attributes) {
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) &&
         !(attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

bool IsPlainFile(DWORD attributes) {
  return attributes != INVALID_FILE_ATTRIBUTES &&
         !(attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT));
}

// The final path of the file or folder at `path`, opened for no access at all.
std::wstring FinalPathAt(const std::wstring& path) {
  unique_file file(CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                               OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  return file ? FinalPathOf(file.get()) : std::wstring();
}

}  // namespace

bool KnowsFinalPaths() { return FinalPathFunction() != nullptr; }

std::wstring FinalPathOf(HANDLE file) {
  const FinalPathFn finalPath = FinalPathFunction();
  if (!finalPath) return {};
  std::vector<wchar_t> buffer(32768);
  const DWORD n = finalPath(file, buffer.data(), static_cast<DWORD>(buffer.size()), 0);
  if (n == 0 || n >= buffer.size()) return {};
  std::wstring path(buffer.data(), n);
  if (path.rfind(L"\\\\?\\UNC\\", 0) == 0) return L"\\" + path.substr(7);
  if (path.rfind(L"\\\\?\\", 0) == 0) return path.substr(4);
  return path;
}

bool SamePath(const std::wstring& a, const std::wstring& b) {
  static const auto compare = Kernel32Function<CompareOrdinalFn>("CompareStringOrdinal");
  if (compare)
    return compare(a.c_str(), static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
  return _wcsicmp(a.c_str(), b.c_str()) == 0;
}

std::wstring ReachedBeside(const std::wstring& reached, const std::string& path, const std::string& suffix) {
  const std::wstring wide = Wide(path + suffix);
  if (wide.empty() || !IsPlainFile(GetFileAttributesW(wide.c_str()))) return {};
  const std::wstring expected = reached + Wide(suffix);
  if (!KnowsFinalPaths()) return expected;
  return SamePath(FinalPathAt(wide), expected) ? expected : std::wstring();
}

HANDLE OpenBelow(const std::string& base, const std::string& path, DWORD access, DWORD share, std::wstring& reached) {
  reached.clear();
  const std::wstring wideBase = Wide(base), widePath = Wide(path);
  if (wideBase.empty() || widePath.empty()) return INVALID_HANDLE_VALUE;
  const std::wstring baseLong = FullLongPath(wideBase), asked = FullLongPath(widePath);
  const std::wstring baseFolder = WithoutTrailingSeparator(baseLong);
  if (baseFolder.empty() || asked.size() <= baseFolder.size() + 1 || asked[baseFolder.size()] != L'\\' ||
      !SamePath(asked.substr(0, baseFolder.size()), baseFolder))
    return INVALID_HANDLE_VALUE;
  const std::wstring below = asked.substr(baseFolder.size());  // begins with a backslash
  if (!KnowsFinalPaths()) {
    // Every folder on the way by its attributes: on XP a junction is the only link there is.
    for (size_t end = below.find(L'\\', 1); end != std::wstring::npos; end = below.find(L'\\', end + 1))
      if (!IsPlainFolder(GetFileAttributesW((baseFolder + below.substr(0, end)).c_str()))) return INVALID_HANDLE_VALUE;
  }
  unique_file file(CreateFileW(asked.c_str(), access, share, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  BY_HANDLE_FILE_INFORMATION info;
  if (!file || !GetFileInformationByHandle(file.get(), &info) || !IsPlainFile(info.dwFileAttributes))
    return INVALID_HANDLE_VALUE;
  if (KnowsFinalPaths()) {
    // A link on the way, or a symbolic link to a file (which not every file system marks as
    // one), shows in the path the file is reached by: it must be the base folder's own path
    // and the same names below.
    const std::wstring reachedBase = WithoutTrailingSeparator(FinalPathAt(baseLong));
    const std::wstring finalPath = FinalPathOf(file.get());
    if (reachedBase.empty() || finalPath.empty() || !SamePath(finalPath, reachedBase + below))
      return INVALID_HANDLE_VALUE;
    reached = finalPath;
  } else {
    reached = asked;
  }
  return file.release();
}

std::wstring ReachedBelow(const std::string& base, const std::string& path) {
  std::wstring reached;
  unique_file file(OpenBelow(base, path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, reached));
  return file ? reached : std::wstring();
}

namespace {

HANDLE OpenReachedWide(const std::wstring& path, const std::wstring& expected, DWORD access, DWORD share) {
  if (path.empty() || expected.empty()) return INVALID_HANDLE_VALUE;
  unique_file file(CreateFileW(path.c_str(), access, share, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  BY_HANDLE_FILE_INFORMATION info;
  if (!file || !GetFileInformationByHandle(file.get(), &info) || !IsPlainFile(info.dwFileAttributes))
    return INVALID_HANDLE_VALUE;
  if (KnowsFinalPaths() && !SamePath(FinalPathOf(file.get()), expected)) return INVALID_HANDLE_VALUE;
  return file.release();
}

}  // namespace

HANDLE OpenReached(const std::string& path, const std::wstring& expected, DWORD access, DWORD share) {
  return OpenReachedWide(Wide(path), expected, access, share);
}

bool DeleteReached(const std::wstring& path, const std::wstring& expected) {
  static const auto setInformation = Kernel32Function<SetInformationFn>("SetFileInformationByHandle");
  unique_file file(OpenReachedWide(path, expected, DELETE | FILE_READ_ATTRIBUTES,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE));
  if (!file) return false;
  if (!setInformation) {
    file.reset();
    return DeleteFileW(path.c_str()) != FALSE;
  }
  FILE_DISPOSITION_INFO disposition = {TRUE};
  return setInformation(file.get(), FileDispositionInfo, &disposition, sizeof disposition) != FALSE;
}

std::wstring Wide(const std::string& text, UINT codePage) {
  if (text.empty()) return {};
  const int n =
      MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, text.data(), static_cast<int>(text.size()), nullptr, 0);
  if (n <= 0) return {};
  std::wstring wide(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, text.data(), static_cast<int>(text.size()), wide.data(), n);
  return wide;
}

std::string Narrow(const std::wstring& text, UINT codePage) {
  if (text.empty()) return {};
  const int n =
      WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  if (n <= 0) return {};
  std::string narrow(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), narrow.data(), n, nullptr, nullptr);
  return narrow;
}

}  // namespace zarn
