// Every reach table of the table-driven categories keeps the shape the engine relies on:
// roots are HKCU or HKLM, keys are paths from the root, folders end in a backslash,
// masks are not empty, and each location has a working list of its own.
#include <gtest/gtest.h>

#include <set>
#include <span>
#include <string>
#include <string_view>

#include "categories/Adobe.h"
#include "categories/MSoffice.h"
#include "categories/Macromed.h"
#include "categories/Openoffice.h"
#include "categories/mediaplay.h"
#include "categories/winapplet.h"

using namespace zarn;

namespace {

void CheckRows(const char* category, std::span<const RegistryRow> rows) {
  for (const RegistryRow& row : rows) {
    SCOPED_TRACE(std::string(category) + " " + (row.key ? row.key : "<null key>"));
    EXPECT_TRUE(row.root == Root::HKCU || row.root == Root::HKLM);
    ASSERT_NE(row.key, nullptr);
    const std::string_view key = row.key;
    ASSERT_GT(key.size(), 1u);
    EXPECT_EQ(key.front(), '\\');
    EXPECT_NE(key.back(), '\\');
    EXPECT_EQ(key.find("\\\\"), std::string_view::npos);
    EXPECT_TRUE(row.names == NameSource::Values || row.names == NameSource::Subkeys);
    if (row.rule == NameRule::Only) {
      ASSERT_NE(row.only, nullptr);
      EXPECT_FALSE(std::string_view(row.only).empty());
    } else {
      EXPECT_EQ(row.only, nullptr);
    }
    if (row.fixedInfo) {
      EXPECT_FALSE(std::string_view(row.fixedInfo).empty());
    }
  }
}

void CheckFiles(const char* category, std::span<const FileLocation> files) {
  std::set<int> lists;
  for (const FileLocation& loc : files) {
    SCOPED_TRACE(std::string(category) + " " + (loc.folder ? loc.folder : "<null folder>"));
    ASSERT_NE(loc.folder, nullptr);
    ASSERT_NE(loc.mask, nullptr);
    const std::string_view folder = loc.folder;
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.front(), '\\');
    EXPECT_EQ(folder.back(), '\\');
    EXPECT_EQ(folder.find("\\\\"), std::string_view::npos);
    EXPECT_FALSE(std::string_view(loc.mask).empty());
    EXPECT_EQ(std::string_view(loc.mask).find('\\'), std::string_view::npos);
    // ListBox[1] is the staging list; the working lists are ListBox[2] to ListBox[12].
    EXPECT_GE(loc.workingList, 2);
    EXPECT_LE(loc.workingList, 12);
    EXPECT_TRUE(lists.insert(loc.workingList).second) << "working list shared: " << loc.workingList;
  }
}

TEST(CategoryTables, RegistryRowsAreWellFormed) {
  CheckRows("Windows Applets", WinappletRows());
  CheckRows("Microsoft Office", MsofficeRows());
  CheckRows("Adobe", AdobeRows());
  CheckRows("Macromedia", MacromediaRows());
  CheckRows("Media Player", MediaplayRows());
}

TEST(CategoryTables, FileLocationsAreWellFormed) {
  CheckFiles("Microsoft Office", MsofficeFiles());
  CheckFiles("Open Office", OpenofficeFiles());
  CheckFiles("Adobe", AdobeFiles());
  CheckFiles("Media Player", MediaplayFiles());
}

TEST(CategoryTables, EveryRowOfTheReachIsThere) {
  EXPECT_EQ(WinappletRows().size(), 5u);
  EXPECT_EQ(MsofficeRows().size(), 44u);  // 37 keys, the Access settings probed eight times
  EXPECT_EQ(MsofficeFiles().size(), 1u);
  EXPECT_EQ(OpenofficeFiles().size(), 1u);
  EXPECT_EQ(AdobeFiles().size(), 6u);
  EXPECT_EQ(AdobeRows().size(), 11u);
  EXPECT_EQ(MacromediaRows().size(), 7u);
  EXPECT_EQ(MediaplayFiles().size(), 11u);
  EXPECT_EQ(MediaplayRows().size(), 7u);
}

}  // namespace
