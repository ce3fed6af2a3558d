#include "traces/probes.h"

#include <windows.h>

#include <charconv>
#include <cstdio>
#include <cstring>
#include <vector>

#include "traces/exact_names.h"
#include "traces/handles.h"
#include "traces/pulse.h"

namespace zarn {
namespace {

FileFacts FactsOf(const WIN32_FIND_DATAA& data) {
  FileFacts f;
  f.attributes = data.dwFileAttributes;
  f.size = (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  f.lastWrite = data.ftLastWriteTime;
  return f;
}

// Finds the first entry matching a path or pattern; false when there is none.
bool FindFirst(const std::string& pattern, WIN32_FIND_DATAA& data) {
  unique_hfind find(FindFirstFileA(pattern.c_str(), &data));
  return static_cast<bool>(find);
}

// The ANSI listing cuts a name to fit cFileName's 260 bytes (a UTF-8 name of 87 Chinese
// characters is already too long), and may leave it without a terminator. A name that
// fills the buffer may be cut: it is never listed, so the cleaner never deletes by a
// shortened name. A '?' cannot be in a file name: it stands for a character the code page
// lacks.
bool NameArrivedWhole(const WIN32_FIND_DATAA& data) {
  const size_t length = strnlen(data.cFileName, sizeof data.cFileName);
  if (length >= sizeof data.cFileName - 1) return false;
  return !MayBeLossy(std::string_view(data.cFileName, length));
}

template <bool WithFolder>
void List(TextList& list, const std::string& folder, const std::string& mask) {
  list.Clear();
  WIN32_FIND_DATAA data;
  unique_hfind find(FindFirstFileA((folder + mask).c_str(), &data));
  if (!find) return;
  std::string text;
  do {
    if (!NameArrivedWhole(data)) continue;
    if constexpr (WithFolder) {
      text.assign(folder);
      text.append(data.cFileName);
      list.Add(text, FactsOf(data));
    } else {
      list.Add(data.cFileName, FactsOf(data));
    }
  } while (Pulse() && FindNextFileA(find.get(), &data));
}

std::string FullPath(const std::string& path) {
  std::vector<char> buffer(MAX_PATH + 1);
  DWORD n = GetFullPathNameA(path.c_str(), static_cast<DWORD>(buffer.size()), buffer.data(), nullptr);
  if (n >= buffer.size()) {
    buffer.resize(n + 1);
    n = GetFullPathNameA(path.c_str(), static_cast<DWORD>(buffer.size()), buffer.data(), nullptr);
  }
  if (n == 0 || n >= buffer.size()) return path;
  return std::string(buffer.data(), n);
}

// Whatever decimal point the C runtime's own locale uses, the integer digits lead and the
// two decimals close the text.
std::string TwoDecimals(long long bytes, long long unit, std::string_view separator, const char* suffix) {
  char text[64];
  int n = std::snprintf(text, sizeof text, "%.2f", static_cast<double>(bytes) / static_cast<double>(unit));
  if (n < 3 || n >= static_cast<int>(sizeof text)) return {};
  std::string_view printed(text, static_cast<size_t>(n));
  size_t digits = printed.find_first_not_of("-0123456789");
  std::string result(printed.substr(0, digits));
  result.append(separator).append(printed.substr(printed.size() - 2)).append(suffix);
  return result;
}

}  // namespace

void ListFiles(TextList& list, const std::string& folder, const std::string& mask) { List<false>(list, folder, mask); }

void ListFilesIn(TextList& list, const std::string& folder, const std::string& mask) { List<true>(list, folder, mask); }

bool IsDotName(std::string_view name) { return name == "." || name == ".."; }

bool IsRealFolder(const FileFacts& facts) {
  return (facts.attributes & FILE_ATTRIBUTE_DIRECTORY) && !(facts.attributes & FILE_ATTRIBUTE_REPARSE_POINT);
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

std::string FileSizeText(const FileFacts& facts) { return std::to_string(static_cast<long long>(facts.size)); }

std::string FileSizeText(const std::string& path) {
  WIN32_FIND_DATAA data;
  if (!FindFirst(FullPath(path), data)) return "-1";
  return FileSizeText(FactsOf(data));
}

std::string FormatSize(long long b, std::string_view decimalSeparator, std::string_view bytesSuffix) {
  constexpr long long kGB = 1073741824, kMB = 1048576, kKB = 1024;
  if (b / kGB != 0) return TwoDecimals(b, kGB, decimalSeparator, " GB");
  if (b / kMB != 0) return TwoDecimals(b, kMB, decimalSeparator, " MB");
  if (b / kKB != 0) return TwoDecimals(b, kKB, decimalSeparator, " KB");
  return std::to_string(b).append(bytesSuffix);
}

std::string FormatSize(long long b) { return FormatSize(b, ".", " bytes"); }

std::string FormatSize(std::string_view decimal) {
  long long b = 0;
  std::from_chars(decimal.data(), decimal.data() + decimal.size(), b);
  return FormatSize(b);
}

bool FileExists(const FileFacts& facts) {
  if (facts.attributes & FILE_ATTRIBUTE_DIRECTORY) return false;
  FILETIME local;
  WORD date, time;
  return FileTimeToLocalFileTime(&facts.lastWrite, &local) && FileTimeToDosDateTime(&local, &date, &time);
}

bool FileExists(const std::string& path) {
  WIN32_FIND_DATAA data;
  return FindFirst(path, data) && FileExists(FactsOf(data));
}

bool IsFileLocked(const std::string& path, const FileFacts* facts) {
  if (!(facts ? FileExists(*facts) : FileExists(path))) return false;
  unique_file file(CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr));
  return !file;
}

std::string RemoveText(std::string_view part, std::string text) {
  if (part.empty()) return text;
  // Deleting the first occurrence can only join a new one that starts at most
  // part.size() - 1 characters earlier, so the next search starts there.
  for (size_t at = text.find(part); at != std::string::npos;) {
    text.erase(at, part.size());
    at = text.find(part, at >= part.size() ? at - part.size() + 1 : 0);
  }
  return text;
}

std::string ExtensionOf(std::string_view name) {
  size_t dot = name.find_last_of(".\\:");
  if (dot == std::string_view::npos || name[dot] != '.') return {};
  return std::string(name.substr(dot));
}

std::string LocationOf(const std::string& path) {
  const size_t slash = path.rfind('\\');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string NameOf(const std::string& path) {
  const size_t slash = path.rfind('\\');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace zarn
