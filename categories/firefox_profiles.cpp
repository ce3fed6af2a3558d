#include "categories/firefox_profiles.h"

#include <algorithm>

#include "categories/mozilla_profile.h"
#include "traces/probes.h"

namespace zarn {

std::vector<std::string> ProfileNamesFromLines(const TextList& lines) {
  constexpr std::string_view kKey = "Path=";
  std::vector<std::string> names;
  for (size_t i = 0; i < lines.Count(); ++i) {
    const std::string_view line = lines.Text(i);
    if (line.substr(0, kKey.size()) != kKey) continue;
    std::string name = RemoveText("Path=Profiles/", std::string(line));
    if (StaysInProfiles(name) && std::find(names.begin(), names.end(), name) == names.end())
      names.push_back(std::move(name));
  }
  // The last line's profile first, as the scan has always taken it.
  const std::string last = ProfileNameFromLines(lines);
  const auto found = std::find(names.begin(), names.end(), last);
  if (found != names.end()) std::rotate(names.begin(), found, found + 1);
  return names;
}

}  // namespace zarn
