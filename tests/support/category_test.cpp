#include "tests/support/category_test.h"

#include <algorithm>

namespace zarn::test {

std::vector<std::string> Names(const std::vector<ShownRow>& rows) {
  std::vector<std::string> names;
  for (const ShownRow& row : rows) names.push_back(row.Name());
  return names;
}

std::vector<std::string> Paths(const std::vector<ShownRow>& rows) {
  std::vector<std::string> paths;
  for (const ShownRow& row : rows) paths.push_back(row.Location() + row.Name());
  return paths;
}

std::vector<std::string> ShownPaths(TCategoryForm& form) { return Paths(ReadList(form.Traces().Handle())); }

std::set<std::string> Slice(const std::vector<std::string>& v, size_t from, size_t n) {
  return std::set<std::string>(v.begin() + std::min(v.size(), from), v.begin() + std::min(v.size(), from + n));
}

}  // namespace zarn::test
