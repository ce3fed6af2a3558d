#pragma once
// The hidden string lists of a category form (staging and working lists).
//
// Every entry is stored with one leading blank and read back without it. An entry that
// came from a folder listing also keeps what the listing returned for it, so the
// existence test and the size need no second search of the folder.
#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

namespace zarn {

struct FileFacts {
  DWORD attributes = 0;
  unsigned long long size = 0;
  FILETIME lastWrite{};
};

class TextList {
 public:
  void Clear() { entries_.clear(); }
  void Add(std::string_view text);
  void Add(std::string_view text, const FileFacts& facts);
  void Reserve(size_t n) { entries_.reserve(n); }

  size_t Count() const { return entries_.size(); }
  bool Empty() const { return entries_.empty(); }
  // The text behind the leading blank.
  std::string_view Text(size_t i) const { return std::string_view(entries_[i].stored).substr(1); }
  // The entry as stored, leading blank included.
  const std::string& Stored(size_t i) const { return entries_[i].stored; }
  // What the listing returned for this entry, or null for a text-only entry.
  const FileFacts* Facts(size_t i) const { return entries_[i].hasFacts ? &entries_[i].facts : nullptr; }

 private:
  struct Entry {
    std::string stored;
    FileFacts facts;
    bool hasFacts = false;
  };
  std::vector<Entry> entries_;
};

}  // namespace zarn
