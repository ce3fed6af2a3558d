#include "categories/mozilla_profile.h"

#include <windows.h>

#include "traces/handles.h"
#include "traces/probes.h"

namespace zarn {
namespace {

// Splits a byte stream into lines across read chunks; a CR at the end of one chunk may
// be the first half of a CR LF that the next chunk completes.
class LineSplitter {
 public:
  explicit LineSplitter(TextList& lines) : lines_(lines) {}

  void Feed(const char* data, size_t size) {
    for (size_t i = 0; i < size; ++i) {
      const char c = data[i];
      if (afterCr_) {
        afterCr_ = false;
        if (c == '\n') continue;
      }
      if (c == '\r' || c == '\n') {
        lines_.Add(line_);
        line_.clear();
        afterCr_ = c == '\r';
      } else {
        line_.push_back(c);
      }
    }
  }

  // A last line without an end is a line all the same.
  void Finish() {
    if (!line_.empty()) lines_.Add(line_);
    line_.clear();
  }

 private:
  TextList& lines_;
  std::string line_;
  bool afterCr_ = false;
};

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// "..", "..." and the like with blanks: Win32 path parsing may climb out of the folder
// on any of them, so none is taken as a folder name.
bool IsDotSegment(std::string_view segment) {
  int dots = 0;
  for (char c : segment) {
    if (c == '.')
      ++dots;
    else if (c != ' ')
      return false;
  }
  return dots >= 2;
}

}  // namespace

bool ReadTextLines(const std::string& path, TextList& lines) {
  try {
    unique_file file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    LineSplitter splitter(lines);
    std::string buffer(64 * 1024, '\0');
    for (;;) {
      DWORD got = 0;
      if (!ReadFile(file.get(), buffer.data(), static_cast<DWORD>(buffer.size()), &got, nullptr)) return false;
      if (got == 0) break;
      splitter.Feed(buffer.data(), got);
    }
    splitter.Finish();
    return true;
  } catch (...) {
    // Out of memory on a huge file: the same as a file that cannot be read.
    return false;
  }
}

std::string ProfileNameFromLines(const TextList& lines) {
  constexpr std::string_view kKey = "Path=";
  std::string name;
  for (size_t i = 0; i < lines.Count(); ++i) {
    std::string_view line = lines.Text(i);
    if (line.substr(0, kKey.size()) == kKey) name = RemoveText("Path=Profiles/", std::string(line));
  }
  return name;
}

bool StaysInProfiles(std::string_view name) {
  if (name.empty() || IsSeparator(name.front())) return false;
  for (unsigned char c : name) {
    if (c < 0x20) return false;
    switch (c) {
      case ':':  // a drive letter or a stream name
      case '*':
      case '?':  // also the "\\?\" prefix
      case '<':
      case '>':
      case '"':  // the file system's own wildcards
      case '|': return false;
    }
  }
  size_t start = 0;
  while (start <= name.size()) {
    size_t end = name.find_first_of("\\/", start);
    if (end == std::string_view::npos) end = name.size();
    if (IsDotSegment(name.substr(start, end - start))) return false;
    start = end + 1;
  }
  return true;
}

}  // namespace zarn
