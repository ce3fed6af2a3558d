// Every reach table of every category keeps the shape the engine relies on: roots are HKCU
// or HKLM, keys are paths from the root, folders end in a backslash, masks are plain and not
// empty, and each location has a working list of its own. The categories are the program's
// own list of forms.
#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <span>
#include <string>
#include <string_view>

#include "app/forms.h"

using namespace zarn;

namespace {

void CheckKey(std::string_view key) {
  ASSERT_GT(key.size(), 1u);
  EXPECT_EQ(key.front(), '\\');
  EXPECT_NE(key.back(), '\\');
  EXPECT_EQ(key.find("\\\\"), std::string_view::npos);
}

void CheckRows(const char* category, std::span<const RegistryRow> rows) {
  for (const RegistryRow& row : rows) {
    SCOPED_TRACE(std::string(category) + " " + (row.key ? row.key : "<null key>"));
    EXPECT_TRUE(row.root == Root::HKCU || row.root == Root::HKLM);
    ASSERT_NE(row.key, nullptr);
    CheckKey(row.key);
    EXPECT_TRUE(row.names == NameSource::Values || row.names == NameSource::Subkeys);
    if (row.rule == NameRule::Only || row.rule == NameRule::Numbered) {
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

void CheckFiles(const char* category, const FileTable& table) {
  // ListBox[0] is unused; each location of a table lists into a list of its own, never
  // the one the table stages into.
  EXPECT_GE(table.staging, 1);
  EXPECT_LE(table.staging, 12);
  std::set<int> lists;
  for (const FileLocation& loc : table.locations) {
    SCOPED_TRACE(std::string(category) + " " + (loc.folder ? loc.folder : "<null folder>"));
    ASSERT_NE(loc.folder, nullptr);
    ASSERT_NE(loc.mask, nullptr);
    const std::string_view folder = loc.folder;
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.front(), '\\');
    EXPECT_EQ(folder.back(), '\\');
    EXPECT_EQ(folder.find("\\\\"), std::string_view::npos);
    EXPECT_FALSE(std::string_view(loc.mask).empty());
    EXPECT_EQ(std::string_view(loc.mask).find_first_of("\\|"), std::string_view::npos);
    EXPECT_GE(loc.workingList, 1);
    EXPECT_LE(loc.workingList, 12);
    EXPECT_NE(loc.workingList, table.staging);
    EXPECT_TRUE(lists.insert(loc.workingList).second) << "working list shared: " << loc.workingList;
  }
}

TEST(CategoryTables, EveryTableOfEveryCategoryIsWellFormed) {
  ASSERT_FALSE(CategoryKinds().empty());
  for (const CategoryKind& kind : CategoryKinds()) {
    const std::string caption = kind.make()->Traits().caption;
    const CategoryTables reach = kind.tables();
    for (const FileTable& files : reach.files) CheckFiles(caption.c_str(), files);
    for (std::span<const RegistryRow> rows : reach.rows) CheckRows(caption.c_str(), rows);
    EXPECT_FALSE(reach.files.empty() && reach.rows.empty()) << caption;
  }
}

// The search assistant's key is a prefix that each field's subkey name is appended to.
TEST(CategoryTables, SearchAssistantKeyIsAPrefix) {
  const std::string_view prefix = ExplorerAcMru();
  ASSERT_FALSE(prefix.empty());
  EXPECT_EQ(prefix.back(), '\\');
  CheckKey(prefix.substr(0, prefix.size() - 1));
}

// Traits are written by name, so a form that forgets one gets the default or nothing.
TEST(CategoryTables, EveryFormNamesItsOwnTraits) {
  std::set<std::string> captions, classes;
  for (const CategoryKind& kind : CategoryKinds()) {
    const std::unique_ptr<TCategoryForm> form = kind.make();
    const FormTraits& traits = form->Traits();
    ASSERT_NE(traits.caption, nullptr);
    SCOPED_TRACE(traits.caption);
    ASSERT_NE(traits.className, nullptr);
    ASSERT_NE(traits.title, nullptr);
    ASSERT_NE(traits.scanButtonName, nullptr);
    EXPECT_TRUE(std::string_view(traits.title).starts_with("Zarn Cleaner - "));
    EXPECT_NE(traits.iconId, 0);
    EXPECT_TRUE(captions.insert(traits.caption).second);
    EXPECT_TRUE(classes.insert(traits.className).second);
  }
  EXPECT_EQ(captions.size(), CategoryKinds().size());
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
