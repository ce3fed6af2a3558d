#include "categories/chromium_profile_order.h"

#include <algorithm>
#include <charconv>
#include <string_view>

namespace zarn {
namespace {

// The n of "Profile <n>", or nothing for any other name.
bool ProfileNumber(std::string_view name, unsigned long long& n) {
  constexpr std::string_view kPrefix = "Profile ";
  if (name.size() <= kPrefix.size() || name.substr(0, kPrefix.size()) != kPrefix) return false;
  const std::string_view digits = name.substr(kPrefix.size());
  if (!std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; })) return false;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), n);
  return error == std::errc() && end == digits.data() + digits.size();
}

}  // namespace

std::vector<std::string> ChromiumProfileOrder(std::vector<std::string> folderNames) {
  struct Ranked {
    unsigned long long rank;
    std::string name;
  };
  std::vector<Ranked> profiles;
  for (std::string& name : folderNames) {
    unsigned long long n = 0;
    if (name == "Default")
      profiles.push_back({0, std::move(name)});
    else if (ProfileNumber(name, n) && n < ~0ull)
      profiles.push_back({n + 1, std::move(name)});
  }
  std::stable_sort(profiles.begin(), profiles.end(), [](const Ranked& a, const Ranked& b) {
    return a.rank != b.rank ? a.rank < b.rank : a.name < b.name;
  });
  std::vector<std::string> order;
  for (Ranked& p : profiles) order.push_back(std::move(p.name));
  return order;
}

}  // namespace zarn
