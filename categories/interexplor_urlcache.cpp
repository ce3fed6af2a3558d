// The Internet Explorer category's own cleaning step: the internet library's URL cache.
#include <windows.h>
#include <wininet.h>

#include <vector>

#include "categories/interexplor.h"
#include "traces/pulse.h"

namespace zarn {
namespace {

// One cache entry as the library fills it in; the buffer is sized to what the library
// asked for and is at least one structure long.
class EntryBuffer {
 public:
  void Resize(DWORD size) {
    bytes_.assign(size > sizeof(INTERNET_CACHE_ENTRY_INFOA) ? size : sizeof(INTERNET_CACHE_ENTRY_INFOA), 0);
    if (size != 0) Info()->dwStructSize = size;
  }
  INTERNET_CACHE_ENTRY_INFOA* Info() { return reinterpret_cast<INTERNET_CACHE_ENTRY_INFOA*>(bytes_.data()); }

 private:
  std::vector<BYTE> bytes_;
};

bool StartsWithNoCase(const char* text, const char* prefix) {
  for (; *prefix; ++text, ++prefix) {
    char a = *text, b = *prefix;
    if (a >= 'A' && a <= 'Z') a = static_cast<char>(a - 'A' + 'a');
    if (b >= 'A' && b <= 'Z') b = static_cast<char>(b - 'A' + 'a');
    if (a != b) return false;
  }
  return true;
}

// Windows enumerates only content entries when no pattern is given; Wine also returns
// the cookie ("Cookie:user@host/") and history ("Visited:user@url") entries, which are
// not the cache's to delete.
bool IsContentEntry(const char* url) {
  return url && !StartsWithNoCase(url, "Cookie:") && !StartsWithNoCase(url, "Visited:");
}

// The library's answer to a buffer that is too small is the size it needs; an entry can
// grow between that answer and the fetch, so a few more tries are allowed.
template <typename Fetch>
bool FetchEntry(EntryBuffer& entry, Fetch fetch) {
  DWORD size = 0;
  fetch(nullptr, &size);
  for (int attempt = 0; attempt < 3 && size != 0; ++attempt) {
    entry.Resize(size);
    if (fetch(entry.Info(), &size)) return true;
    if (GetLastError() != ERROR_INSUFFICIENT_BUFFER) return false;
  }
  return false;
}

}  // namespace

void ClearUrlCache() {
  EntryBuffer entry;
  HANDLE find = nullptr;
  const bool first = FetchEntry(entry, [&find](INTERNET_CACHE_ENTRY_INFOA* info, DWORD* size) {
    if (find) FindCloseUrlCache(find);
    find = FindFirstUrlCacheEntryA(nullptr, info, size);
    return find != nullptr;
  });
  if (!first) return;
  const auto next = [find](INTERNET_CACHE_ENTRY_INFOA* info, DWORD* size) {
    return FindNextUrlCacheEntryA(find, info, size) != FALSE;
  };
  do {
    if (IsContentEntry(entry.Info()->lpszSourceUrlName)) DeleteUrlCacheEntryA(entry.Info()->lpszSourceUrlName);
  } while (Pulse() && FetchEntry(entry, next));
  FindCloseUrlCache(find);
}

}  // namespace zarn
