// The Open Office size text under a comma-decimal locale. Changing the user's decimal
// separator is machine-wide state, so this runs only in the throwaway Wine prefix, and
// puts the old separator back.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "categories/Openoffice.h"
#include "tests/support/category_test.h"

using namespace zarn;
using namespace zarn::test;

namespace {

class DecimalSeparator {
 public:
  explicit DecimalSeparator(const char* separator) {
    char old[16] = "";
    if (GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, old, sizeof old) > 0) old_ = old;
    set_ = SetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, separator) != FALSE;
  }
  ~DecimalSeparator() {
    if (set_ && !old_.empty()) SetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, old_.c_str());
  }
  bool Set() const { return set_; }
  const std::string& Old() const { return old_; }

 private:
  std::string old_;
  bool set_ = false;
};

TEST(MachineOpenoffice, CommaLocaleGivesCommaSizes) {
  ZARN_REQUIRE_THROWAWAY_PREFIX();
  ASSERT_TRUE(InitControlsOnce());
  std::string restored;
  {
    DecimalSeparator comma(",");
    ASSERT_TRUE(comma.Set());
    ASSERT_FALSE(comma.Old().empty());
    restored = comma.Old();
    ASSERT_EQ(UserDecimalSeparator(), ",");
    EXPECT_EQ(FormatSizeLocal(1536), "1,50 KB");
    EXPECT_EQ(FormatSizeLocal(1048576), "1,00 MB");
    EXPECT_EQ(FormatSizeLocal(1000), "1000 Byte(s)");

    Sandbox sandbox;
    const std::string config = sandbox.appData + "\\OpenOffice.org2\\user\\registry\\data\\org\\openoffice\\Office\\";
    Sandbox::WriteFile(config + "Common.xcu", std::string(1536, 'c'));
    TOpenofficeForm form;
    ASSERT_TRUE(form.Create());
    auto rows = ReadList(form.Traces().Handle());
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].Size(), "1,50 KB");
  }
  EXPECT_EQ(UserDecimalSeparator(), restored);
}

}  // namespace
