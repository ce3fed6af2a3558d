// What the user meets in the detail dialog, the wizard's lists and the about box.
#include <gtest/gtest.h>

#include "app/wizard_lists.h"
#include "tests/support/app_fixture.h"
#include "tests/support/list_reader.h"

using namespace zarn;
using namespace zarn::test;

namespace {

class FormDetailsTest : public AppTest {
 protected:
  // A key as the program's message loop meets it: first the dialog manager, then the window.
  static void Key(HWND target, WPARAM key) {
    for (UINT message : {WM_KEYDOWN, WM_KEYUP}) {
      MSG msg{target, message, key, message == WM_KEYUP ? static_cast<LPARAM>(0xC0000001u) : 1, GetTickCount(), {0, 0}};
      if (!RouteDialogMessage(&msg)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
      }
    }
    PumpMessages();
  }
};

TEST_F(FormDetailsTest, DetailDialogKeysCloseItOnlyThroughItsButtons) {
  // The item goes on the list of the live form's first scan.
  TCategoryForm& form = DetailsForm->Scanned();
  form.AddFileTrace(sandbox.Dir() + "\\a.txt", "info", "1 bytes");
  HWND list = form.Traces().Handle();
  struct Case {
    const char* what;
    bool onOkButton;
    WPARAM key;
    bool staysOpen;
  } const cases[] = {
      {"Escape on the list", false, VK_ESCAPE, true},
      {"Enter on the list", false, VK_RETURN, true},
      {"Escape on OK", true, VK_ESCAPE, true},
      {"Enter on OK", true, VK_RETURN, false},
  };
  for (const Case& c : cases) {
    form.ShowDetail();
    ASSERT_TRUE(IsWindowVisible(form.Handle()));
    HWND target = c.onOkButton ? form.OkButton() : list;
    SetFocus(target);
    Key(target, c.key);
    EXPECT_EQ(IsWindowVisible(form.Handle()) != FALSE, c.staysOpen) << c.what;
  }

  // Space still ticks, and the close box still closes.
  form.ShowDetail();
  SetFocus(list);
  ListView_SetItemState(list, 0, LVIS_FOCUSED | LVIS_SELECTED, LVIS_FOCUSED | LVIS_SELECTED);
  ASSERT_TRUE(form.Traces().IsTicked(0));
  Key(list, VK_SPACE);
  EXPECT_FALSE(form.Traces().IsTicked(0));
  EXPECT_TRUE(IsWindowVisible(form.Handle()));
  SendMessageA(form.Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_FALSE(IsWindowVisible(form.Handle()));
}

}  // namespace

namespace {

TEST_F(FormDetailsTest, WizardRowsWithoutAPictureAskForNone) {
  // The catalogue, and a row of the progress lists that no run has reached yet. (The
  // animation's blink is watched in the wizard's own tests.)
  HWND lvall = Main(TMainForm::kLvall);
  ASSERT_GT(RowCount(lvall), 0);
  EXPECT_EQ(RowImage(lvall, 0), I_IMAGENONE);
  HWND lv2 = Main(TMainForm::kLv2);
  const int row = AddRow(lv2, "x", false);
  EXPECT_EQ(RowImage(lv2, row), I_IMAGENONE);
}

}  // namespace

namespace {

TEST_F(FormDetailsTest, AboutBannerBelongsToTheBoxAndLiesOverTheFrame) {
  HWND about = Formabout->Handle();
  HWND banner = Formabout->Control(TFormabout::kPanel2);
  ASSERT_NE(banner, nullptr);
  EXPECT_EQ(GetParent(banner), about);
  RECT r;
  GetWindowRect(banner, &r);
  MapWindowPoints(nullptr, about, reinterpret_cast<POINT*>(&r), 2);
  EXPECT_EQ(r.left, 0);
  EXPECT_EQ(r.top, 16);
  EXPECT_EQ(r.right - r.left, 393);
  EXPECT_EQ(r.bottom - r.top, 57);
  // Where the banner and the framed panel overlap, the banner is in front.
  EXPECT_EQ(ChildWindowFromPointEx(about, {100, 40}, CWP_ALL), banner);
  HWND image = Formabout->Control(TFormabout::kImage1);
  EXPECT_EQ(GetParent(image), banner);
}

}  // namespace

namespace {

TEST_F(FormDetailsTest, TheProgressListsShareTheFormsImageListWithoutOwningIt) {
  HWND lv2 = Main(TMainForm::kLv2), lvclean = Main(TMainForm::kLvclean);
  HIMAGELIST images = ListView_GetImageList(lv2, LVSIL_SMALL);
  ASSERT_NE(images, nullptr);
  EXPECT_EQ(ListView_GetImageList(lvclean, LVSIL_SMALL), images);
  ASSERT_EQ(ImageList_GetImageCount(images), 3);
  // A list view without LVS_SHAREIMAGELISTS destroys its image list with itself.
  DestroyWindow(lv2);
  EXPECT_EQ(ImageList_GetImageCount(images), 3);
  EXPECT_EQ(ListView_GetImageList(lvclean, LVSIL_SMALL), images);
}

}  // namespace
