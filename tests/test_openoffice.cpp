// The Open Office scan: one configuration file, sized with the user's decimal separator,
// and a clean that deletes only that file.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "categories/Openoffice.h"
#include "tests/support/category_test.h"

using namespace zarn;
using namespace zarn::test;

namespace {

class OpenofficeTest : public CategoryTest {
 protected:
  const std::string config = sandbox.appData + "\\OpenOffice.org2\\user\\registry\\data\\org\\openoffice\\Office\\";
};

TEST(FormatSizeLocal, UnitsRoundingAndTheGivenSeparator) {
  EXPECT_EQ(FormatSizeLocal(1536, "."), "1.50 KB");
  EXPECT_EQ(FormatSizeLocal(1536, ","), "1,50 KB");
  EXPECT_EQ(FormatSizeLocal(1000, ","), "1000 Byte(s)");
  EXPECT_EQ(FormatSizeLocal(1023, "."), "1023 Byte(s)");
  EXPECT_EQ(FormatSizeLocal(0, "."), "0 Byte(s)");
  EXPECT_EQ(FormatSizeLocal(-1, ","), "-1 Byte(s)");
  EXPECT_EQ(FormatSizeLocal(1024, ","), "1,00 KB");
  EXPECT_EQ(FormatSizeLocal(1048575, "."), "1024.00 KB");
  EXPECT_EQ(FormatSizeLocal(1048576, "."), "1.00 MB");
  EXPECT_EQ(FormatSizeLocal(5 * 1048576 + 524288, ","), "5,50 MB");
  EXPECT_EQ(FormatSizeLocal(1073741824, ","), "1,00 GB");
  EXPECT_EQ(FormatSizeLocal(3LL * 1073741824 + 536870912, "."), "3.50 GB");  // past the 32-bit range
  EXPECT_EQ(FormatSizeLocal(123456789012LL, "."), "114.98 GB");
  EXPECT_EQ(FormatSizeLocal(2560, "::"), "2::50 KB");
}

TEST_F(OpenofficeTest, CommonXcuIsTheOneTraceEvenWhenHeldOpen) {
  Sandbox::WriteFile(config + "Common.xcu", std::string(1536, 'c'));
  Sandbox::WriteFile(config + "Common.xcu.bak");
  Sandbox::WriteFile(config + "Setup.xcu");
  Sandbox::WriteFile(config + "Sub\\Common.xcu");
  HeldOpen held(config + "Common.xcu", GENERIC_READ | GENERIC_WRITE);
  ASSERT_TRUE(held.Held());
  TOpenofficeForm form;
  ASSERT_TRUE(form.Create());
  held.Release();
  auto rows = ReadList(form.Traces().Handle());
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_TRUE(rows[0].ticked);
  EXPECT_EQ(rows[0].Name(), "Common.xcu");
  EXPECT_EQ(rows[0].Location(), config);
  EXPECT_EQ(rows[0].Type(), ".xcu");
  EXPECT_EQ(rows[0].Info(), "Open Office Recentlist");
  EXPECT_EQ(rows[0].Size(), FormatSizeLocal(1536, UserDecimalSeparator()));
  EXPECT_EQ(WindowText(form.StatusLabel()), "1 Files Found");
}

TEST_F(OpenofficeTest, SmallFileReadsInBytes) {
  Sandbox::WriteFile(config + "Common.xcu", std::string(1000, 'c'));
  TOpenofficeForm form;
  ASSERT_TRUE(form.Create());
  auto rows = ReadList(form.Traces().Handle());
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].Size(), "1000 Byte(s)");
}

TEST_F(OpenofficeTest, MissingAppDataLooksNowhere) {
  Sandbox::WriteFile(config + "Common.xcu");
  Sandbox::SetString(Root::HKCU, kShellFolders, "AppData", "");
  TOpenofficeForm form;
  ASSERT_TRUE(form.Create());
  EXPECT_EQ(form.FoundCount(), 0);
}

TEST_F(OpenofficeTest, CleanDeletesOnlyTheTickedFile) {
  Sandbox::WriteFile(config + "Common.xcu");
  Sandbox::WriteFile(config + "Setup.xcu");
  Sandbox::WriteFile(config + "Sub\\Common.xcu");
  TOpenofficeForm form;
  ASSERT_TRUE(form.Create());
  const HWND lv = form.Traces().Handle();
  SetTick(lv, 0, false);
  form.ClickDelete();
  EXPECT_TRUE(Sandbox::Exists(config + "Common.xcu"));

  SetTick(lv, 0, true);
  form.ClickDelete();
  EXPECT_FALSE(Sandbox::Exists(config + "Common.xcu"));
  EXPECT_TRUE(Sandbox::Exists(config + "Setup.xcu"));
  EXPECT_TRUE(Sandbox::Exists(config + "Sub\\Common.xcu"));
  EXPECT_EQ(form.FoundCount(), 1);
}

}  // namespace
