#pragma once
// The stores that the real browsers wrote (tests/fixtures, made by scripts/browser-sites.py),
// copied into a test's sandbox before a test reads or cleans them: the fixtures themselves
// are never written.
#include <string>

namespace zarn::test {

// The fixture folder or file `relative` ('/' or '\' between names) as a Windows path; the
// build names the folder, which under Wine is reached through the drive of the Unix root.
std::string FixturePath(const std::string& relative);

// Copies the folder `from` with everything below it to `to` (its parent there already).
// False when `from` is not there or a file does not copy.
bool CopyTree(const std::string& from, const std::string& to);

// Copies the fixture folder `relative` with everything below it to `target` (created as
// needed). False when the fixture is not there or a file does not copy.
bool CopyFixture(const std::string& relative, const std::string& target);

}  // namespace zarn::test
