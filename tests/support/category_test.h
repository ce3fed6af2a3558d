#pragma once
// What the category form tests share: a sandboxed fixture with the common controls
// registered, and the readers that turn a form's list into names and paths.
#include <windows.h>

#include <set>
#include <string>
#include <vector>

#include "tests/support/app_fixture.h"
#include "tests/support/list_reader.h"
#include "tests/support/sandbox.h"
#include "traces/category_form.h"
#include "controls/child_windows.h"

namespace zarn::test {

// A sandbox with the list view classes registered, so that a form can be created.
class CategoryTest : public SandboxTest {
 protected:
  void SetUp() override { ASSERT_TRUE(InitControlsOnce()); }
};

// The first cell of every row: the trace names.
std::vector<std::string> Names(const std::vector<ShownRow>& rows);
// Location and name of every row, joined.
std::vector<std::string> Paths(const std::vector<ShownRow>& rows);
// The paths of what the form's trace list shows now.
std::vector<std::string> ShownPaths(TCategoryForm& form);
// `n` entries from `from` on as a set, for runs whose order the file system decides.
std::set<std::string> Slice(const std::vector<std::string>& v, size_t from, size_t n);

}  // namespace zarn::test
