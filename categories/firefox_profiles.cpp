#include "categories/firefox_profiles.h"

#include <algorithm>

#include "categories/mozilla_profile.h"
#include "traces/probes.h"

namespace zarn {
namespace {

// The folder a profile name stands for, as Windows finds it: letters in either case, either
// separator, doubled and trailing separators, trailing dots and "." segments all lead to the same folder,
// which must be scanned once, or its every file would be listed twice.
std::string FolderKey(std::string_view name) {
  std::string key;
  size_t start = 0;
  while (start <= name.size()) {
    size_t end = name.find_first_of("\\/", start);
    if (end == std::string_view::npos) end = name.size();
    std::string_view segment = name.substr(start, end - start);
    // Win32 drops a segment's trailing dots and blanks ("a." is "a", "." is nothing).
    while (!segment.empty() && (segment.back() == '.' || segment.back() == ' ')) segment.remove_suffix(1);
    if (!segment.empty()) {
      if (!key.empty()) key.push_back('\\');
      for (char c : segment) key.push_back(c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c);
    }
    start = end + 1;
  }
  return key;
}

}  // namespace

std::vector<std::string> ProfileNamesFromLines(const TextList& lines) {
  constexpr std::string_view kKey = "Path=";
  std::vector<std::string> names, keys;
  for (size_t i = 0; i < lines.Count(); ++i) {
    const std::string_view line = lines.Text(i);
    if (line.substr(0, kKey.size()) != kKey) continue;
    std::string name = RemoveText("Path=Profiles/", std::string(line));
    std::string key = FolderKey(name);
    if (StaysInProfiles(name) && !key.empty() && std::find(keys.begin(), keys.end(), key) == keys.end()) {
      names.push_back(std::move(name));
      keys.push_back(std::move(key));
    }
  }
  // The last line's profile first, as the scan has always taken it, under the name that line
  // gives it.
  const std::string last = ProfileNameFromLines(lines);
  const auto found = std::find(keys.begin(), keys.end(), FolderKey(last));
  if (StaysInProfiles(last) && found != keys.end()) {
    const auto at = names.begin() + (found - keys.begin());
    *at = last;
    std::rotate(names.begin(), at, at + 1);
  }
  return names;
}

std::vector<std::string> ReadProfileNames(const std::string& appData, TextList& scratch) {
  // Without the roaming folder there is no profiles.ini to read: never one at the root
  // of the current drive.
  if (appData.empty()) return {};
  const std::string path = appData + "\\Mozilla\\Firefox\\profiles.ini";
  // A file that Firefox or another program holds without sharing reads as missing, so
  // the scan and the wizard go on.
  if (!FileExists(path) || !ReadTextLines(path, scratch)) return {};
  return ProfileNamesFromLines(scratch);
}

}  // namespace zarn
