// The clipboard text item under the UTF-8 code page: the text the user copied in any
// language, not the system code page's rendering of it. Changes the machine's clipboard,
// so it runs only in the throwaway prefix.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>

#include "categories/windsys.h"
#include "tests/support/category_test.h"

using namespace zarn;
using namespace zarn::test;

namespace {

class UnicodeClipboardTest : public CategoryTest {
 protected:
  void SetUp() override {
    CategoryTest::SetUp();
    ZARN_REQUIRE_THROWAWAY_PREFIX();
    owner_ = CreateWindowExA(0, "STATIC", "clipboard owner", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(owner_, nullptr);
  }
  void TearDown() override {
    if (!owner_) return;
    if (OpenClipboard(owner_)) {
      EmptyClipboard();
      CloseClipboard();
    }
    DestroyWindow(owner_);
  }
  void Put(UINT format, const void* data, size_t size) {
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, size);
    ASSERT_NE(h, nullptr);
    std::memcpy(GlobalLock(h), data, size);
    GlobalUnlock(h);
    ASSERT_TRUE(OpenClipboard(owner_));
    EmptyClipboard();
    EXPECT_NE(SetClipboardData(format, h), nullptr);
    CloseClipboard();
  }
  std::vector<std::string> ClipboardNames() {
    TWindSysForm form;
    EXPECT_TRUE(form.Create());
    std::vector<std::string> names;
    for (size_t i = 0; i < form.Traces().Count(); ++i)
      if (form.Traces().Item(i).location == "Clipboard") names.push_back(form.Traces().Item(i).name);
    return names;
  }
  HWND owner_ = nullptr;
};

TEST_F(UnicodeClipboardTest, CopiedTextInAnyLanguageIsShownAsCopied) {
  ASSERT_EQ(GetACP(), static_cast<UINT>(CP_UTF8)) << "the manifest asks for the UTF-8 code page";
  const wchar_t wide[] = L"Привет,\r\nΓειά σου, 你好";
  const std::string utf8 = "\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82,\r\n\xCE\x93\xCE\xB5\xCE\xB9\xCE\xAC "
                           "\xCF\x83\xCE\xBF\xCF\x85, \xE4\xBD\xA0\xE5\xA5\xBD";
  Put(CF_UNICODETEXT, wide, sizeof wide);
  EXPECT_EQ(ClipboardNames(), std::vector<std::string>{utf8});
  // Text a program of this code page put as CF_TEXT comes back as it was put.
  Put(CF_TEXT, utf8.c_str(), utf8.size() + 1);
  EXPECT_EQ(ClipboardNames(), std::vector<std::string>{utf8});
}

}  // namespace
